#include "pages/delete_dialog.h"

#include "controls/localize.h"
#include "fonts/font_manager.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace lw {

TfDelete::TfDelete(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fDelete"));
    SetTag(this, 17100);
    setFixedSize(242, 123);
    lblStyles = new QLabel(this);
    lblStyles->setObjectName(QStringLiteral("lblStyles"));
    SetTag(lblStyles, 17101);
    lblStyles->move(10, 10);
    lstFullNames = new QListWidget(this);
    lstFullNames->setObjectName(QStringLiteral("lstFullNames"));
    lstFullNames->setGeometry(10, 25, 221, 56);
    // Every click toggles an item.
    lstFullNames->setSelectionMode(QAbstractItemView::MultiSelection);
    QFont listFont(QStringLiteral("MS Sans Serif"));
    listFont.setPixelSize(11);
    lstFullNames->setFont(listFont);
    lstFullNames->setUniformItemSizes(true);
    btnDelete = new QPushButton(this);
    btnDelete->setObjectName(QStringLiteral("btnDelete"));
    SetTag(btnDelete, 17102);
    btnDelete->setGeometry(34, 90, 75, 25);
    btnDelete->setDefault(true);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    SetTag(btnCancel, 17103);
    btnCancel->setGeometry(134, 90, 75, 25);
    connect(btnDelete, &QPushButton::clicked, this, &TfDelete::btnDeleteClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    LocalizeForm(this);
    lblStyles->adjustSize();
}

int TfDelete::Execute(const std::string& family, std::vector<std::string>& fullNames) {
    std::vector<std::string> names;
    FontManager->GetFamilyFullNames(family, names);
    lstFullNames->clear();
    for (const std::string& name : names) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), lstFullNames);
        item->setSizeHint(QSize(0, 13));
        item->setSelected(true);
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    lstFullNames->setFocus();
    Chosen = &fullNames;
    const int result = exec();
    Chosen = nullptr;
    return result;
}

void TfDelete::btnDeleteClick() {
    if (Chosen != nullptr) {
        Chosen->clear();
        for (int i = 0; i < lstFullNames->count(); ++i) {
            if (lstFullNames->item(i)->isSelected()) {
                Chosen->push_back(lstFullNames->item(i)->text().toStdString());
            }
        }
    }
    accept();
}

} // namespace lw
