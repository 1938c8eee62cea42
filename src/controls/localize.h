#pragma once

#include <QGroupBox>
#include <QStringList>

#include <string>

class QAction;
class QLabel;
class QPushButton;
class QRect;
class QBoxLayout;
class QMenu;
class QPixmap;
class QRadioButton;
class QWidget;

namespace lw {

// A component's Tag names its caption string; Tag + 400 is its hint.
void SetTag(QObject* object, int tag);
int TagOf(const QObject* object);

// A control of a window, named for tests and with its Tag (0: none).
template <typename T> T* MakeTagged(QWidget* parent, const char* name, int tag = 0) {
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    if (tag != 0) {
        SetTag(widget, tag);
    }
    return widget;
}

// A push button at its place, pressed by Enter only when made the default.
QPushButton* MakeButton(QWidget* parent, const char* name, int tag, const QRect& place);
// A label at its place, sized by its text.
QLabel* MakeLabel(QWidget* parent, const char* name, int tag, int left, int top);

// A group box of radio buttons whose items take strings Tag + 1, Tag + 2, ...
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);
    QRadioButton* AddItem(const QString& text);
    QList<QRadioButton*> Items() const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    // Items one under the other (the default) or, in a QHBoxLayout, side
    // by side; set before the items are added.
    void SetItemLayout(QBoxLayout* items);
};

// Sets a hint in its two-part form: the short part before the first "|" is
// the pop-up hint, the part after it goes to the status bar.
void SetHint(QObject* object, const QString& hint);
// The part of a hint the status bar shows: after the first "|", or all of it.
QString LongHint(const QString& hint);
QString HintOf(const QObject* object);

// Localises a window and every component it owns from their Tags.
void LocalizeForm(QWidget* form);
// A menu item and every item below it.
void LocalizeMenu(QAction* item);
// Every item of a menu bar or pop-up menu.
void LocalizeMenuItems(QWidget* menu);

// Loads the language's picture `name` into bitmap; false when it has none.
bool LoadLanguageBitmap(QPixmap& bitmap, const std::string& name);

} // namespace lw
