#include "app/qt_app_fonts.h"

#include "platform/services.h"

#include <QFile>
#include <QFontDatabase>
#include <QString>

#include <fstream>
#include <iterator>

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
    // Qt opens files by names it can spell; a name that is not UTF-8 is
    // handed over as the font's bytes instead.
    const QString name = QFile::decodeName(path.c_str());
    int id = -1;
    if (QFile::encodeName(name).toStdString() == path) {
        id = QFontDatabase::addApplicationFont(name);
    } else if (std::ifstream in(path, std::ios::binary); in) {
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        id = QFontDatabase::addApplicationFontFromData(QByteArray::fromStdString(bytes));
    }
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
