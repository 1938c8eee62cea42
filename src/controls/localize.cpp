#include "controls/localize.h"

#include "base/strings.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariant>

namespace lw {

namespace {

constexpr const char* kTagProperty = "Tag";
constexpr const char* kHintProperty = "Hint";
constexpr int kLocalizedAbove = 10000;
constexpr int kNoHintFrom = 65000;
constexpr int kHintOffset = 400;

QString Str(int id) {
    return QString::fromStdString(LoadStr(id));
}

QStringList LinesOf(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return t.split(QLatin1Char('\n'));
}

bool IsToolBarButton(const QWidget* w) {
    return qobject_cast<const QToolButton*>(w) != nullptr &&
           qobject_cast<const QToolBar*>(w->parentWidget()) != nullptr;
}

// The page of a tab widget shows its caption on the tab, not on itself.
QTabWidget* TabWidgetOfPage(QWidget* w) {
    auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
    return stack == nullptr ? nullptr : qobject_cast<QTabWidget*>(stack->parentWidget());
}

// The window a component belongs to. Pop-up menus and file dialogs are
// windows of their own in Qt but components of the window that owns them.
QWidget* WindowOf(QObject* object) {
    QObject* o = object;
    if (qobject_cast<QMenu*>(o) != nullptr || qobject_cast<QFileDialog*>(o) != nullptr) {
        o = o->parent();
    }
    for (; o != nullptr; o = o->parent()) {
        if (auto* w = qobject_cast<QWidget*>(o)) {
            return w->window();
        }
    }
    return nullptr;
}

void LocalizeComponent(QObject* object, int tag) {
    auto* w = qobject_cast<QWidget*>(object);
    if (w != nullptr && tag < kNoHintFrom) {
        SetHint(w, Str(tag + kHintOffset));
    }
    const QString text = Str(tag);
    if (auto* group = qobject_cast<TRadioGroup*>(object)) {
        group->setTitle(text);
        const QList<QRadioButton*> items = group->Items();
        for (int k = 0; k < items.size(); ++k) {
            items[k]->setText(Str(tag + k + 1));
        }
    } else if (auto* box = qobject_cast<QGroupBox*>(object)) {
        box->setTitle(text);
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(text);
    } else if (w != nullptr && IsToolBarButton(w)) {
        auto* button = static_cast<QToolButton*>(w);
        const QString caption = QString::fromStdString(StripMenuMarks(text.toStdString()));
        button->setText(caption);
        if (HintOf(button).isEmpty()) {
            SetHint(button, caption);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(object)) {
        edit->setText(text);
    } else if (qobject_cast<QMenuBar*>(object) != nullptr ||
               qobject_cast<QMenu*>(object) != nullptr) {
        LocalizeMenuItems(w);
    } else if (auto* rich = qobject_cast<QTextEdit*>(object)) {
        if (!text.isEmpty()) {
            rich->setPlainText(text);
        }
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(object)) {
        if (!text.isEmpty()) {
            memo->setPlainText(text);
        }
    } else if (auto* list = qobject_cast<QListWidget*>(object)) {
        if (!text.isEmpty()) {
            list->clear();
            list->addItems(LinesOf(text));
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
        if (!text.isEmpty()) {
            combo->clear();
            combo->addItems(LinesOf(text));
        }
    } else if (auto* dialog = qobject_cast<QFileDialog*>(object)) {
        dialog->setWindowTitle(text);
        dialog->setNameFilters(Str(tag + 1).split(QStringLiteral(";;")));
    } else if (w != nullptr) {
        if (QTabWidget* tabs = TabWidgetOfPage(w)) {
            tabs->setTabText(tabs->indexOf(w), text);
        }
    }
}

} // namespace

void SetTag(QObject* object, int tag) {
    object->setProperty(kTagProperty, tag);
}

int TagOf(const QObject* object) {
    bool ok = false;
    const int tag = object->property(kTagProperty).toInt(&ok);
    return ok ? tag : 0;
}

QPushButton* MakeButton(QWidget* parent, const char* name, int tag, const QRect& place) {
    auto* button = MakeTagged<QPushButton>(parent, name, tag);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int tag, int left, int top) {
    auto* label = MakeTagged<QLabel>(parent, name, tag);
    label->move(left, top);
    return label;
}

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent) {
    SetItemLayout(new QVBoxLayout);
}

// The items share the room under the caption, as a radio group's do; the
// style's usual margins would leave a group sized for them too little.
void TRadioGroup::SetItemLayout(QBoxLayout* items) {
    delete layout();
    items->setContentsMargins(8, 0, 8, 0);
    items->setSpacing(0);
    setLayout(items);
}

QRadioButton* TRadioGroup::AddItem(const QString& text) {
    auto* button = new QRadioButton(text, this);
    layout()->addWidget(button);
    return button;
}

QList<QRadioButton*> TRadioGroup::Items() const {
    return findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

int TRadioGroup::ItemIndex() const {
    const QList<QRadioButton*> items = Items();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->isChecked()) {
            return i;
        }
    }
    return -1;
}

void TRadioGroup::SetItemIndex(int index) {
    const QList<QRadioButton*> items = Items();
    if (index >= 0 && index < items.size()) {
        items[index]->setChecked(true);
    }
}

QString LongHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetHint(QObject* object, const QString& hint) {
    object->setProperty(kHintProperty, hint);
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    const QString shortPart = bar < 0 ? hint : hint.left(bar);
    const QString longPart = LongHint(hint);
    if (auto* w = qobject_cast<QWidget*>(object)) {
        w->setToolTip(shortPart);
        w->setStatusTip(longPart);
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setToolTip(shortPart);
        action->setStatusTip(longPart);
    }
}

QString HintOf(const QObject* object) {
    return object->property(kHintProperty).toString();
}

void LocalizeForm(QWidget* form) {
    if (TagOf(form) > kLocalizedAbove) {
        form->setWindowTitle(Str(TagOf(form)));
    }
    const QList<QObject*> components = form->findChildren<QObject*>();
    for (QObject* component : components) {
        const int tag = TagOf(component);
        // Menu items are reached through their menus; other windows localise themselves.
        if (tag <= kLocalizedAbove || qobject_cast<QAction*>(component) != nullptr ||
            WindowOf(component) != form) {
            continue;
        }
        LocalizeComponent(component, tag);
    }
}

void LocalizeMenu(QAction* item) {
    if (QMenu* sub = item->menu()) {
        LocalizeMenuItems(sub);
    }
    const int tag = TagOf(item);
    if (tag > kLocalizedAbove) {
        item->setText(Str(tag));
        SetHint(item, Str(tag + kHintOffset));
    }
}

void LocalizeMenuItems(QWidget* menu) {
    const QList<QAction*> items = menu->actions();
    for (QAction* item : items) {
        LocalizeMenu(item);
    }
}

bool LoadLanguageBitmap(QPixmap& bitmap, const std::string& name) {
    const auto bytes = LoadLanguageBitmapData(name);
    if (!bytes) {
        return false;
    }
    return bitmap.loadFromData(bytes->data(), static_cast<uint>(bytes->size()));
}

} // namespace lw
