#include "app/qt_app_fonts.h"

#include "platform/services.h"

#include <QFile>
#include <QFontDatabase>
#include <QString>

#include <fstream>
#include <iterator>

namespace lw {

TQtApplicationFonts::TQtApplicationFonts() {
    IdleFlush.setSingleShot(true);
    QObject::connect(&IdleFlush, &QTimer::timeout, [this] { RemoveRetired(); });
    FontSystem().SetProcessFontObserver(this);
}

TQtApplicationFonts::~TQtApplicationFonts() {
    RemoveRetired();
    if (Platform().Fonts != nullptr) {
        FontSystem().SetProcessFontObserver(nullptr);
    }
}

void TQtApplicationFonts::FontFileLoaded(const std::string& path) {
    // Let go a moment ago and back again (a preview clicked twice): Qt
    // still has it.
    if (const auto retired = Retired.find(path); retired != Retired.end()) {
        Ids.emplace(path, retired->second);
        Retired.erase(retired);
        return;
    }
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
    if (it == Ids.end()) {
        return;
    }
    // Each removal makes Qt read every installed font again at its next
    // drawing (tens of milliseconds on a large installation), which a
    // preview clicked through a folder would pay at every click: fonts let
    // go are removed from Qt some at a time.
    Retired.emplace(path, it->second);
    Ids.erase(it);
    if (Retired.size() > 4 * RetiredLimit) {
        RemoveRetired();
    } else if (Retired.size() > RetiredLimit) {
        // When the user pauses, so the reading happens then, not at a click.
        IdleFlush.start(IdleFlushMilliseconds);
    }
}

void TQtApplicationFonts::RemoveRetired() {
    IdleFlush.stop();
    if (Retired.empty()) {
        return;
    }
    for (const auto& [path, id] : Retired) {
        QFontDatabase::removeApplicationFont(id);
    }
    Retired.clear();
    // Qt reads the installed fonts again now rather than at the next drawing.
    QFontDatabase::families();
}

} // namespace lw
