#pragma once

#include "fonts/font_change.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace lw {

// Delivers one FontsChanged for a burst of changes: the program's own
// announcements, and files appearing or leaving in the font folders, which is
// how installations by other programs show.
class TFontChangeWatcher : public QObject {
    Q_OBJECT
public:
    explicit TFontChangeWatcher(QObject* parent = nullptr);
    // Watches the font folders as they are now (call again after a refresh).
    void WatchFontFolders();

signals:
    void FontsChanged();

private:
    QFileSystemWatcher Watcher;
    QTimer Settle;
    TFontChangeSubscription Subscription;
};

} // namespace lw
