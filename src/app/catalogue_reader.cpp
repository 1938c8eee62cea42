#include "app/catalogue_reader.h"

namespace lw {

TCatalogueReader::TCatalogueReader(IFontSystem& fonts) {
    Worker = std::thread([this, &fonts] {
        // Shared, as a queued call is copied; the reading moves out once.
        auto reading = std::make_shared<std::unique_ptr<TFontReading>>();
        try {
            *reading = fonts.ReadInstalledFonts();
        } catch (const std::exception&) {
            // No reading: the look is taken where it is adopted.
        }
        QMetaObject::invokeMethod(
            this,
            [this, reading] {
                if (Read) {
                    Read(std::move(*reading));
                }
            },
            Qt::QueuedConnection);
    });
}

TCatalogueReader::~TCatalogueReader() {
    Worker.join();
}

} // namespace lw
