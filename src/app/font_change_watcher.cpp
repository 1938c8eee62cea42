#include "app/font_change_watcher.h"

#include "platform/services.h"

#include <QDir>

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
    connect(&Watcher, &QFileSystemWatcher::directoryChanged, &Settle, qOverload<>(&QTimer::start));
}

void TFontChangeWatcher::WatchFontFolders() {
    QStringList folders;
    for (const std::string& folder : FontSystem().FontFolders()) {
        const QString path = QString::fromStdString(folder);
        if (QDir(path).exists() && !Watcher.directories().contains(path)) {
            folders << path;
        }
    }
    if (!folders.isEmpty()) {
        Watcher.addPaths(folders);
    }
}

} // namespace lw
