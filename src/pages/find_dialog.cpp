#include "pages/find_dialog.h"

#include "base/strings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lw {

namespace {
constexpr int kCaption = 10160;
constexpr int kTextLabel = 10161;
constexpr int kWholeWord = 10162;
constexpr int kFindNext = 10163;
constexpr int kClose = 10164;

QString Str(int id) {
    return QString::fromStdString(LoadStr(id));
}
} // namespace

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgFind"));
    setModal(false);
    edFindText = new QLineEdit(this);
    edFindText->setObjectName(QStringLiteral("edFindText"));
    cbWholeWord = new QCheckBox(this);
    cbWholeWord->setObjectName(QStringLiteral("cbWholeWord"));
    btnFindNext = new QPushButton(this);
    btnFindNext->setObjectName(QStringLiteral("btnFindNext"));
    btnFindNext->setDefault(true);
    btnClose = new QPushButton(this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("lblFindText"));
    label->setBuddy(edFindText);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(edFindText, 0, 1);
    layout->addWidget(btnFindNext, 0, 2);
    layout->addWidget(cbWholeWord, 1, 0, 1, 2);
    layout->addWidget(btnClose, 1, 2);
    connect(btnFindNext, &QPushButton::clicked, this, [this] {
        if (!edFindText->text().isEmpty()) {
            emit FindNext(edFindText->text(), cbWholeWord->isChecked());
        }
    });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::hide);
    Localize();
}

void TFindDialog::Localize() {
    setWindowTitle(Str(kCaption));
    findChild<QLabel*>(QStringLiteral("lblFindText"))->setText(Str(kTextLabel));
    cbWholeWord->setText(Str(kWholeWord));
    btnFindNext->setText(Str(kFindNext));
    btnClose->setText(Str(kClose));
}

} // namespace lw
