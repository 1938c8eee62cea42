#pragma once

#include "platform/font_system.h"

#include <QObject>

#include <functional>
#include <memory>
#include <thread>

namespace lw {

// Takes the font system's first look at the installed fonts on a thread of
// its own, so that the windows show at once even when fontconfig has to
// scan every font folder first; the reading reaches Read on the thread that
// made this object, once its event loop runs. Going away waits for the look.
class TCatalogueReader : public QObject {
public:
    explicit TCatalogueReader(IFontSystem& fonts);
    ~TCatalogueReader() override;
    TCatalogueReader(const TCatalogueReader&) = delete;
    TCatalogueReader& operator=(const TCatalogueReader&) = delete;

    std::function<void(std::unique_ptr<TFontReading>)> Read;

private:
    std::thread Worker;
};

} // namespace lw
