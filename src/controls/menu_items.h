#pragma once

#include <QKeySequence>

class QAction;
class QMenu;
class QMenuBar;

namespace lw {

// Menus and items carry their design name as objectName and their caption
// string's number as Tag, so localisation and tests find them.
QMenu* AddTaggedMenu(QMenuBar* bar, const char* name, int tag);
QMenu* AddTaggedSubmenu(QMenu* menu, const char* name, int tag);
QAction* AddTaggedItem(QMenu* menu, const char* name, int tag, const QKeySequence& shortcut = {});

// A shortcut from a string such as "Ctrl+B" in the language in force; an
// unreadable text gives no shortcut.
QKeySequence ShortcutFromString(int id);

} // namespace lw
