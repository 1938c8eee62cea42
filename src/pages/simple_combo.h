#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;

namespace lw {

// A list that is always open with an edit line above it. Typing selects the
// first item that starts with the typed text; every change of selection, by
// click, key or typing, emits Changed.
class TSimpleComboBox : public QWidget {
    Q_OBJECT
public:
    explicit TSimpleComboBox(QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    // Adds items drawn greyed and in italics, each with its hint.
    void AddGreyedItems(const QStringList& items, const QStringList& hints);
    bool ItemGreyed(int index) const;
    int Count() const;
    QString Item(int index) const;
    int ItemIndex() const;
    // Selects an item (or none with -1) without emitting Changed.
    void SetItemIndex(int index);
    QString Text() const;

    QLineEdit* Edit() const { return EditLine; }
    QListWidget* List() const { return Items; }

signals:
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EditTyped(const QString& text);
    void ListRowChanged(int row);

    QLineEdit* EditLine;
    QListWidget* Items;
    bool Updating = false;
};

} // namespace lw
