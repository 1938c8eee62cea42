#include "categories/category_dialogs.h"

#include "base/strings.h"
#include "controls/localize.h"
#include "platform/services.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

namespace lw {

namespace {

constexpr int kAllFonts = 8;
constexpr int kResultsCaption = 16350;
constexpr int kFoundIn = 16351;
constexpr int kFoundNowhere = 16009;

QFont DialogFont(int pixels, bool bold = false) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The small dialogs share their frame: fixed size, the dialog font, centred.
void SetUpDialog(QDialog* dialog, const char* name, int tag, int width, int height) {
    dialog->setObjectName(QString::fromLatin1(name));
    SetTag(dialog, tag);
    dialog->setFixedSize(width, height);
    dialog->setFont(DialogFont(11));
}

void CentreAndLocalize(QDialog* dialog) {
    LocalizeForm(dialog);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        dialog->move(screen->geometry().center() - dialog->rect().center());
    }
}

QListWidget* NameList(QWidget* parent, const char* name, const QRect& place,
                      const std::vector<std::string>& names) {
    auto* list = MakeTagged<QListWidget>(parent, name);
    list->setGeometry(place);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const std::string& text : names) {
        list->addItem(QString::fromStdString(text));
    }
    return list;
}

} // namespace

TfAdd::TfAdd(const std::vector<std::string>& categories, QWidget* parent) : QDialog(parent) {
    SetUpDialog(this, "fAdd", 16300, 246, 274);
    lblCategories = MakeTagged<QLabel>(this, "lblCategories", 16301);
    lblCategories->move(10, 5);
    lstCategories = NameList(this, "lstCategories", QRect(10, 20, 226, 212), categories);
    lstCategories->setCurrentRow(0);
    btnOK = MakeButton(this, "btnOK", 16302, QRect(40, 240, 75, 25));
    btnOK->setDefault(true);
    btnCancel = MakeButton(this, "btnCancel", 16303, QRect(135, 240, 75, 25));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstCategories, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    CentreAndLocalize(this);
    lstCategories->setFocus();
}

std::optional<std::string> ChooseCategory(const std::vector<std::string>& categories) {
    TfAdd dialog(categories);
    if (dialog.exec() != QDialog::Accepted || dialog.lstCategories->currentItem() == nullptr) {
        return std::nullopt;
    }
    return dialog.lstCategories->currentItem()->text().toStdString();
}

TfMixCategories::TfMixCategories(const std::vector<std::string>& categories, QWidget* parent,
                                 const TAutoCategories* automatic)
    : QDialog(parent) {
    SetUpDialog(this, "fMixCategories", 18100, 517, 298);
    std::vector<std::string> operands = categories;
    if (operands.empty()) {
        operands.emplace_back();
    }
    operands[0] = LoadStr(kAllFonts);
    lblCategory1 = MakeTagged<QLabel>(this, "lblCategory1", 18103);
    lblCategory1->move(10, 10);
    lstCategory1 = NameList(this, "lstCategory1", QRect(10, 25, 206, 226), operands);
    lblCategory2 = MakeTagged<QLabel>(this, "lblCategory2", 18104);
    lblCategory2->move(310, 10);
    lstCategory2 = NameList(this, "lstCategory2", QRect(305, 25, 206, 226), operands);
    auto* operations = new QButtonGroup(this);
    operations->setExclusive(true);
    int top = 35;
    for (auto [button, name, tag] :
         {std::tuple{&btnPlus, "btnPlus", 18105}, std::tuple{&btnMinus, "btnMinus", 18106},
          std::tuple{&btnAnd, "btnAnd", 18107}}) {
        *button = MakeButton(this, name, tag, QRect(225, top, 71, 26));
        (*button)->setCheckable(true);
        (*button)->setFont(DialogFont(13, true));
        operations->addButton(*button);
        top += 35;
    }
    // The automatic categories after the user's, known by their ids.
    if (automatic != nullptr) {
        for (const std::string& id : automatic->Ids()) {
            for (QListWidget* list : {lstCategory1, lstCategory2}) {
                auto* item = new QListWidgetItem(QString::fromStdString(AutoCategoryName(id)));
                item->setData(Qt::UserRole, QString::fromStdString(id));
                QFont font = item->font();
                font.setItalic(true);
                item->setFont(font);
                list->addItem(item);
            }
        }
    }
    btnPlus->setChecked(true);
    btnViewMix = MakeButton(this, "btnViewMix", 18101, QRect(155, 265, 106, 26));
    btnViewMix->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    btnViewMix->setDefault(true);
    btnCancel = MakeButton(this, "btnCancel", 18102, QRect(286, 265, 76, 26));
    connect(btnViewMix, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    lstCategory1->setCurrentRow(0);
    lstCategory2->setCurrentRow(0);
    CentreAndLocalize(this);
}

const QListWidget* TfMixCategories::List(int which) const {
    return which == 1 ? lstCategory1 : lstCategory2;
}

TCategoryOperand TfMixCategories::Operand(int which) const {
    const int row = List(which)->currentRow();
    if (row < 1) {
        return TCategoryOperand{true, {}};
    }
    const QListWidgetItem* item = List(which)->item(row);
    const QString id = item->data(Qt::UserRole).toString();
    if (!id.isEmpty()) {
        return TCategoryOperand{false, id.toStdString(), true};
    }
    return TCategoryOperand{false, item->text().toStdString()};
}

std::string TfMixCategories::OperandText(int which) const {
    const int row = std::max(List(which)->currentRow(), 0);
    return List(which)->item(row)->text().toStdString();
}

TCombineOp TfMixCategories::Operation() const {
    if (btnMinus->isChecked()) {
        return TCombineOp::Minus;
    }
    return btnAnd->isChecked() ? TCombineOp::And : TCombineOp::Plus;
}

std::string TfMixCategories::ResultLabel() const {
    const char* sign = " [+] ";
    if (Operation() == TCombineOp::Minus) {
        sign = " [-] ";
    } else if (Operation() == TCombineOp::And) {
        sign = " [*] ";
    }
    return OperandText(1) + sign + OperandText(2);
}

TfResults::TfResults(const std::string& font, const std::vector<std::string>& categories,
                     QWidget* parent)
    : QDialog(parent) {
    SetUpDialog(this, "fResults", 16350, 266, 323);
    lblText = MakeTagged<QLabel>(this, "lblText");
    lblText->setGeometry(10, 5, 226, 26);
    lblText->setWordWrap(true);
    lstCategories = NameList(this, "lstCategories", QRect(10, 35, 246, 247), categories);
    btnOK = MakeButton(this, "btnOK", 16302, QRect(95, 290, 75, 25));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    // Display only: a click selects nothing and hands the focus to OK.
    connect(lstCategories, &QListWidget::itemPressed, this, [this] {
        lstCategories->clearSelection();
        lstCategories->setCurrentRow(-1, QItemSelectionModel::Clear);
        btnOK->setFocus();
    });
    connect(lstCategories, &QListWidget::itemSelectionChanged, this, [this] {
        if (!lstCategories->selectedItems().isEmpty()) {
            lstCategories->clearSelection();
            btnOK->setFocus();
        }
    });
    CentreAndLocalize(this);
    lblText->setText(QString::fromStdString(FmtLoadStr(kFoundIn, font)));
    lstCategories->setFocus();
}

void ShowFindResults(const std::string& font, const std::vector<std::string>& categories) {
    // "Found in these:" over an empty list would read as a hit.
    if (categories.empty()) {
        Prompts().MessageBox(FmtLoadStr(kFoundNowhere, font), LoadStr(kResultsCaption),
                             TMsgIcon::Information, TMsgButtons::Ok);
        return;
    }
    TfResults dialog(font, categories);
    dialog.exec();
}

} // namespace lw
