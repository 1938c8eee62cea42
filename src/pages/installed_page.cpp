#include "pages/installed_page.h"

#include "app/localize.h"
#include "app/strings.h"
#include "fonts/font_manager.h"
#include "pages/installed_styles.h"
#include "pages/simple_combo.h"
#include "platform/services.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace lw {

namespace {

constexpr int kFamilyCount = 10010;

template <typename T> T* Make(QWidget* parent, const char* name, int tag = 0) {
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    if (tag != 0) {
        SetTag(widget, tag);
    }
    return widget;
}

QToolButton* MakeToggle(QWidget* parent, const char* name, int tag) {
    auto* button = Make<QToolButton>(parent, name, tag);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setIconSize(QSize(16, 16));
    return button;
}

} // namespace

TInstalledPage::TInstalledPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tsInstalled"));
    SetTag(this, 10134);
    lblFonts = Make<QLabel>(this, "lblFonts", 10100);
    cmbFonts = Make<TSimpleComboBox>(this, "cmbFonts", 10400);
    lblNumber = Make<QLabel>(this, "lblNumber");
    pnlFontProperties = Make<QFrame>(this, "pnlFontProperties");
    cmbSize = Make<QComboBox>(pnlFontProperties, "cmbSize", 10402);
    cmbSize->setEditable(true);
    cmbSize->addItems({QStringLiteral("8"), QStringLiteral("10"), QStringLiteral("12"),
                       QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
                       QStringLiteral("24"), QStringLiteral("36"), QStringLiteral("48"),
                       QStringLiteral("64"), QStringLiteral("72")});
    btnBold = MakeToggle(pnlFontProperties, "btnBold", 10403);
    btnItalic = MakeToggle(pnlFontProperties, "btnItalic", 10404);
    btnUnderline = MakeToggle(pnlFontProperties, "btnUnderline", 10405);
    btnColor = Make<QPushButton>(pnlFontProperties, "btnColor", 10406);
    btnAnsiSample = MakeToggle(pnlFontProperties, "btnAnsiSample", 10407);
    btnViewAll0 = Make<QPushButton>(pnlFontProperties, "btnViewAll0", 10106);
    lblSample0 = Make<QLabel>(this, "lblSample0", 10104);
    mmSample = Make<QPlainTextEdit>(this, "mmSample");
    mmSample->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    gbFont = Make<QGroupBox>(this, "gbFont", 10101);
    lblFontType = Make<QLabel>(gbFont, "lblFontType");
    lblAvailableStyles = Make<QLabel>(gbFont, "lblAvailableStyles", 10139);
    lstStyles = Make<QListWidget>(gbFont, "lstStyles");
    BuildLayout();
    connect(cmbFonts, &TSimpleComboBox::Changed, this, &TInstalledPage::cmbFontsChange);
}

void TInstalledPage::BuildLayout() {
    auto* properties = new QHBoxLayout(pnlFontProperties);
    properties->setContentsMargins(0, 0, 0, 0);
    properties->addWidget(cmbSize);
    properties->addWidget(btnBold);
    properties->addWidget(btnItalic);
    properties->addWidget(btnUnderline);
    properties->addWidget(btnColor);
    properties->addWidget(btnAnsiSample);
    properties->addStretch(1);
    properties->addWidget(btnViewAll0);

    auto* left = new QVBoxLayout;
    left->addWidget(lblFonts);
    left->addWidget(cmbFonts, 1);
    left->addWidget(lblNumber);

    auto* font = new QVBoxLayout(gbFont);
    font->addWidget(lblFontType);
    font->addWidget(lblAvailableStyles);
    font->addWidget(lstStyles, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(pnlFontProperties);
    right->addWidget(lblSample0);
    right->addWidget(mmSample, 3);
    right->addWidget(gbFont, 2);

    auto* page = new QHBoxLayout(this);
    page->addLayout(left, 1);
    page->addLayout(right, 3);
}

QString TInstalledPage::SelectedFamily() const { return cmbFonts->Item(cmbFonts->ItemIndex()); }

void TInstalledPage::ShowFamilyCount() {
    lblNumber->setText(QString::fromStdString(
        FmtLoadStr(kFamilyCount, static_cast<long long>(FontManager->Families.size()))));
}

void TInstalledPage::LoadFamilies(int index) {
    QStringList families;
    families.reserve(static_cast<qsizetype>(FontManager->Families.size()));
    for (const std::string& family : FontManager->Families) {
        families << QString::fromStdString(family);
    }
    cmbFonts->SetItems(families);
    if (index >= 0 && index < cmbFonts->Count()) {
        cmbFonts->SetItemIndex(index);
    }
    ShowFamilyCount();
}

void TInstalledPage::UpdateList() {
    THourglass hourglass;
    const int selected = cmbFonts->ItemIndex();
    FontManager->Refresh();
    LoadFamilies(selected);
}

void TInstalledPage::cmbFontsChange() {
    const int index = cmbFonts->ItemIndex();
    if (index < 0) {
        return;
    }
    lstStyles->clear();
    const QString family = cmbFonts->Item(index);
    QFont sampleFont = mmSample->font();
    sampleFont.setFamily(family);
    mmSample->setFont(sampleFont);
    emit SampleFontChanged(family);
    const TFamilyDescription description = DescribeFamily(*FontManager, family.toStdString());
    if (description.HasStyles) {
        lblFontType->setText(QString::fromStdString(description.TypeLine));
    }
    for (const std::string& line : description.StyleLines) {
        lstStyles->addItem(QString::fromStdString(line));
    }
    lstStyles->setCurrentRow(-1);
}

} // namespace lw
