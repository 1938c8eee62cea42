#include "app/font_change_watcher.h"

#include "platform/services.h"

#include <QFile>
#include <QFileInfo>

namespace lw {

namespace {
// Copying a family of fonts touches a folder many times in a row.
constexpr int kSettleMilliseconds = 300;
} // namespace

TFontChangeWatcher::TFontChangeWatcher(QObject* parent)
    : QObject(parent), Subscription([this] { emit FontsChanged(); }) {
    Settle.setSingleShot(true);
    Settle.setInterval(kSettleMilliseconds);
    connect(&Settle, &QTimer::timeout, this, &TFontChangeWatcher::FontsChanged);
    connect(&Watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString& path) {
        // A folder above a font folder yet to be made changes for many
        // reasons; only the font folder appearing is news.
        const bool fontFolder = WatchedFontFolders.contains(path);
        if (WatchFontFolders() > 0 || fontFolder) {
            Settle.start();
        }
    });
}

int TFontChangeWatcher::WatchFontFolders() {
    QStringList folders;
    int added = 0;
    for (const std::string& folder : FontSystem().FontFolders()) {
        // A folder that does not exist yet is waited for in the nearest
        // folder above it that does.
        QString path = QFile::decodeName(folder.c_str());
        const bool exists = QFileInfo(path).isDir();
        if (exists && !WatchedFontFolders.contains(path)) {
            WatchedFontFolders.insert(path);
            ++added;
        }
        while (!QFileInfo(path).isDir() && path.size() > 1) {
            path = QFileInfo(path).path();
        }
        if (!Watcher.directories().contains(path) && !folders.contains(path)) {
            folders << path;
        }
    }
    if (!folders.isEmpty()) {
        Watcher.addPaths(folders);
    }
    return added;
}

} // namespace lw
