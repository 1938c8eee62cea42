#include "pages/simple_combo.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace lw {

TSimpleComboBox::TSimpleComboBox(QWidget* parent)
    : QWidget(parent), EditLine(new QLineEdit(this)), Items(new QListWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(EditLine);
    layout->addWidget(Items, 1);
    Items->setUniformItemSizes(true); // thousands of families: no per-item measuring
    setFocusProxy(EditLine);
    EditLine->installEventFilter(this);
    connect(EditLine, &QLineEdit::textEdited, this, &TSimpleComboBox::EditTyped);
    connect(Items, &QListWidget::currentRowChanged, this, &TSimpleComboBox::ListRowChanged);
}

void TSimpleComboBox::SetItems(const QStringList& items) {
    Updating = true;
    Items->clear();
    Items->addItems(items);
    Updating = false;
}

void TSimpleComboBox::AddGreyedItems(const QStringList& items, const QStringList& hints) {
    Updating = true;
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto* item = new QListWidgetItem(items[i], Items);
        item->setForeground(Items->palette().brush(QPalette::Disabled, QPalette::Text));
        QFont font = item->font();
        font.setItalic(true);
        item->setFont(font);
        item->setToolTip(i < hints.size() ? hints[i] : QString());
        item->setData(Qt::UserRole, true);
    }
    Updating = false;
}

bool TSimpleComboBox::ItemGreyed(int index) const {
    const QListWidgetItem* item = Items->item(index);
    return item != nullptr && item->data(Qt::UserRole).toBool();
}

int TSimpleComboBox::Count() const {
    return Items->count();
}

QString TSimpleComboBox::Item(int index) const {
    const QListWidgetItem* item = Items->item(index);
    return item == nullptr ? QString() : item->text();
}

int TSimpleComboBox::ItemIndex() const {
    return Items->currentRow();
}

void TSimpleComboBox::SetItemIndex(int index) {
    Updating = true;
    Items->setCurrentRow(index);
    if (index < 0) {
        Items->clearSelection();
    } else {
        Items->scrollToItem(Items->item(index));
    }
    EditLine->setText(Item(index));
    Updating = false;
}

QString TSimpleComboBox::Text() const {
    return EditLine->text();
}

void TSimpleComboBox::EditTyped(const QString& text) {
    for (int i = 0; i < Items->count(); ++i) {
        if (Items->item(i)->text().startsWith(text, Qt::CaseInsensitive)) {
            Updating = true;
            Items->setCurrentRow(i);
            Items->scrollToItem(Items->item(i));
            Updating = false;
            break;
        }
    }
    emit Changed();
}

void TSimpleComboBox::ListRowChanged(int row) {
    if (Updating) {
        return;
    }
    EditLine->setText(Item(row));
    emit Changed();
}

// Up and down in the edit line move through the list, as in a combo box.
bool TSimpleComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditLine && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int row = Items->currentRow();
        switch (key->key()) {
        case Qt::Key_Down:
            if (row + 1 < Items->count()) {
                Items->setCurrentRow(row + 1);
            }
            return true;
        case Qt::Key_Up:
            if (row > 0) {
                Items->setCurrentRow(row - 1);
            }
            return true;
        case Qt::Key_PageDown:
        case Qt::Key_PageUp:
            QCoreApplication::sendEvent(Items, event);
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lw
