#include "app/qt_app_fonts.h"

#include "platform/services.h"

#include <QFontDatabase>
#include <QString>

namespace lw {

TQtApplicationFonts::TQtApplicationFonts() {
    FontSystem().SetProcessFontObserver(this);
}

TQtApplicationFonts::~TQtApplicationFonts() {
    if (Platform().Fonts != nullptr) {
        FontSystem().SetProcessFontObserver(nullptr);
    }
}

void TQtApplicationFonts::FontFileLoaded(const std::string& path) {
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(path));
    if (id >= 0) {
        Ids.emplace(path, id);
    }
}

void TQtApplicationFonts::FontFileReleased(const std::string& path) {
    const auto it = Ids.find(path);
    if (it != Ids.end()) {
        QFontDatabase::removeApplicationFont(it->second);
        Ids.erase(it);
    }
}

} // namespace lw
