#include "printing/print_dialog.h"

#include "base/options.h"
#include "base/strings.h"
#include "controls/localize.h"
#include "platform/services.h"
#include "printing/current_printer.h"
#include "printing/print_job.h"

#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace lw {

namespace {

constexpr int kPages = 14000;
constexpr int kBadNumber = 14001;
constexpr int kFonts = 14002;
constexpr int kErrorCaption = 22;
constexpr const char* kMarginProperty = "lwMargin";
enum TMargin { mTop, mBottom, mRight, mLeft };

QString TwoDecimals(double value) {
    return QLocale().toString(value, 'f', 2);
}

QLineEdit* MarginBox(QWidget* parent, const char* name, TMargin margin, int left, int top) {
    auto* box = MakeTagged<QLineEdit>(parent, name);
    box->setGeometry(left, top, 40, 21);
    box->setProperty(kMarginProperty, static_cast<int>(margin));
    return box;
}

} // namespace

TfPrint::TfPrint(TPrintSource source, QWidget* parent)
    : QDialog(parent), Source(std::move(source)) {
    setObjectName(QStringLiteral("fPrint"));
    SetTag(this, 14100);
    setFixedSize(437, 178);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    gbMargins = MakeTagged<QGroupBox>(this, "gbMargins", 14101);
    gbMargins->setGeometry(10, 5, 246, 106);
    lblTop = MakeLabel(gbMargins, "lblTop", 14102, 10, 25);
    edTop = MarginBox(gbMargins, "edTop", mTop, 65, 20);
    lblBottom = MakeLabel(gbMargins, "lblBottom", 14103, 135, 25);
    edBottom = MarginBox(gbMargins, "edBottom", mBottom, 190, 20);
    lblLeft = MakeLabel(gbMargins, "lblLeft", 14105, 10, 55);
    edLeft = MarginBox(gbMargins, "edLeft", mLeft, 65, 50);
    lblRight = MakeLabel(gbMargins, "lblRight", 14104, 135, 55);
    edRight = MarginBox(gbMargins, "edRight", mRight, 190, 50);
    rbCentimeters = MakeTagged<QRadioButton>(gbMargins, "rbCentimeters", 14116);
    rbCentimeters->setGeometry(10, 80, 96, 17);
    rbInches = MakeTagged<QRadioButton>(gbMargins, "rbInches", 14117);
    rbInches->setGeometry(105, 80, 70, 17);

    rgRange = MakeTagged<TRadioGroup>(this, "rgRange", 14106);
    rgRange->setGeometry(265, 5, 166, 81);
    for (int i = 0; i < 3; ++i) {
        rgRange->AddItem(QString());
    }
    rgOrientation = MakeTagged<TRadioGroup>(this, "rgOrientation", 14110);
    rgOrientation->setGeometry(265, 90, 166, 41);
    // Two columns: the items side by side.
    rgOrientation->SetItemLayout(new QHBoxLayout);
    for (int i = 0; i < 2; ++i) {
        rgOrientation->AddItem(QString());
    }
    lblNumberOfPages = MakeLabel(this, "lblNumberOfPages", 0, 10, 117);
    lblNumberOfFonts = MakeLabel(this, "lblNumberOfFonts", 0, 130, 117);
    btnOK = MakeButton(this, "btnOK", 14113, QRect(10, 140, 80, 27));
    btnOK->setDefault(true);
    btnCancel = MakeButton(this, "btnCancel", 14114, QRect(105, 140, 80, 27));
    btnConfigure = MakeButton(this, "btnConfigure", 14115, QRect(305, 140, 125, 27));

    for (QLineEdit* box : {edTop, edBottom, edLeft, edRight}) {
        box->installEventFilter(this);
    }
    QWidget* const order[] = {edTop,   edBottom,      edLeft, edRight,   rbCentimeters, rbInches,
                              rgRange, rgOrientation, btnOK,  btnCancel, btnConfigure};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    const QList<QRadioButton*> orientations = rgOrientation->Items();
    for (int i = 0; i < orientations.size(); ++i) {
        connect(orientations[i], &QRadioButton::clicked, this, [this, i] { OrientationChosen(i); });
    }
    connect(btnOK, &QPushButton::clicked, this, &TfPrint::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnConfigure, &QPushButton::clicked, this, &TfPrint::btnConfigureClick);
    LocalizeForm(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

void TfPrint::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Activate();
}

void TfPrint::Activate() {
    THourglass busy;
    Estimate();
    ShowOrientation();
    const TPrintOptions& print = Options.Print;
    edTop->setText(TwoDecimals(print.TopMargin));
    edBottom->setText(TwoDecimals(print.BottomMargin));
    edLeft->setText(TwoDecimals(print.LeftMargin));
    edRight->setText(TwoDecimals(print.RightMargin));
    rgRange->SetItemIndex(print.Range);
    (print.UseCentimeters ? rbCentimeters : rbInches)->setChecked(true);
    edTop->setFocus();
}

void TfPrint::Estimate() {
    TPrintOptions print = Options.Print;
    // The count for every page: the range chosen does not change it.
    print.Range = 0;
    const TPrintLayout layout = PrinterLayout(CurrentPrinter(), print, Source);
    lblNumberOfFonts->setText(QString::fromStdString(FmtLoadStr(kFonts, layout.Count)));
    lblNumberOfFonts->adjustSize();
    lblNumberOfPages->setText(QString::fromStdString(FmtLoadStr(kPages, layout.Pages)));
    lblNumberOfPages->adjustSize();
}

void TfPrint::ShowOrientation() {
    const bool portrait = CurrentPrinter().pageLayout().orientation() == QPageLayout::Portrait;
    rgOrientation->SetItemIndex(portrait ? 0 : 1);
}

void TfPrint::OrientationChosen(int item) {
    CurrentPrinter().setPageOrientation(item == 0 ? QPageLayout::Portrait : QPageLayout::Landscape);
    Estimate();
}

double& TfPrint::MarginOf(const QLineEdit* box) {
    TPrintOptions& print = Options.Print;
    switch (box->property(kMarginProperty).toInt()) {
    case mTop:
        return print.TopMargin;
    case mBottom:
        return print.BottomMargin;
    case mRight:
        return print.RightMargin;
    default:
        return print.LeftMargin;
    }
}

bool TfPrint::StoreMargin(QLineEdit* box) {
    bool ok = false;
    const double value = QLocale().toDouble(box->text().trimmed(), &ok);
    if (!ok || !std::isfinite(value)) {
        Prompts().MessageBox(LoadStr(kBadNumber), LoadStr(kErrorCaption), TMsgIcon::Error,
                             TMsgButtons::Ok);
        box->setText(QStringLiteral("0"));
        box->setFocus();
        return false;
    }
    box->setText(TwoDecimals(value));
    // The number shown, so rounded to two decimals, and kept even on Cancel.
    MarginOf(box) = QLocale().toDouble(box->text());
    return true;
}

bool TfPrint::eventFilter(QObject* watched, QEvent* e) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr) {
        return QDialog::eventFilter(watched, e);
    }
    if (e->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(e)->text();
        // Either separator types the locale's own.
        if (typed == QStringLiteral(".") || typed == QStringLiteral(",")) {
            box->insert(QLocale().decimalPoint());
            return true;
        }
    } else if (e->type() == QEvent::FocusOut && isVisible()) {
        // A box refused keeps the focus; leaving it for the dialog's own
        // message, or the window, is no leaving.
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (StoreMargin(box)) {
                Estimate();
            }
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TfPrint::btnOKClick() {
    for (QLineEdit* box : {edTop, edBottom, edRight, edLeft}) {
        if (!StoreMargin(box)) {
            return;
        }
    }
    TPrintOptions& print = Options.Print;
    print.Range = static_cast<uint8_t>(std::max(rgRange->ItemIndex(), 0));
    print.UseCentimeters = rbCentimeters->isChecked();
    print.UnitFactor = print.UseCentimeters ? 2.54 : 1.0;
    CurrentPrinter().setPageOrientation(rgOrientation->ItemIndex() == 1 ? QPageLayout::Landscape
                                                                        : QPageLayout::Portrait);
    accept();
}

void TfPrint::btnConfigureClick() {
    ConfigurePrinter(this);
    ShowOrientation();
    Estimate();
}

} // namespace lw
