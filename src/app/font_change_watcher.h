#pragma once

#include "fonts/font_change.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QTimer>

namespace lw {

// Delivers one FontsChanged for a burst of changes: the program's own
// announcements, and files appearing or leaving in the font folders, which is
// how installations by other programs show.
class TFontChangeWatcher : public QObject {
    Q_OBJECT
public:
    explicit TFontChangeWatcher(QObject* parent = nullptr);
    // Watches the font folders as they are now (call again after a refresh),
    // and the place where a missing one will appear; gives the number of
    // font folders watched that were not before.
    int WatchFontFolders();

signals:
    void FontsChanged();

private:
    QFileSystemWatcher Watcher;
    QSet<QString> WatchedFontFolders;
    QTimer Settle;
    TFontChangeSubscription Subscription;
};

} // namespace lw
