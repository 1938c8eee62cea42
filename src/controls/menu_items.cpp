#include "controls/menu_items.h"

#include "base/strings.h"
#include "controls/localize.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace lw {

namespace {
void Name(QMenu* menu, const char* name, int tag) {
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    SetTag(menu->menuAction(), tag);
}
} // namespace

QMenu* AddTaggedMenu(QMenuBar* bar, const char* name, int tag) {
    QMenu* menu = bar->addMenu(QString::fromLatin1(name));
    Name(menu, name, tag);
    return menu;
}

QMenu* AddTaggedSubmenu(QMenu* parent, const char* name, int tag) {
    QMenu* menu = parent->addMenu(QString::fromLatin1(name));
    Name(menu, name, tag);
    return menu;
}

QAction* AddTaggedItem(QMenu* menu, const char* name, int tag, const QKeySequence& shortcut) {
    QAction* action = menu->addAction(QString::fromLatin1(name));
    action->setObjectName(QString::fromLatin1(name));
    if (tag != 0) {
        SetTag(action, tag);
    }
    action->setShortcut(shortcut);
    return action;
}

QKeySequence ShortcutFromString(int id) {
    const QKeySequence sequence =
        QKeySequence::fromString(QString::fromStdString(LoadStr(id)), QKeySequence::PortableText);
    if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) {
        return QKeySequence();
    }
    return sequence;
}

} // namespace lw
