#include "options/options_dialog.h"

#include "base/strings.h"
#include "controls/localize.h"
#include "controls/qt_colors.h"
#include "fileops/shell_operations.h"
#include "platform/services.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

#include <array>

namespace lw {

namespace {

constexpr int kFolderTitle = 10023;
constexpr int kSizeHint = 10802;
constexpr int kFolderHint = 19800;
constexpr int kColorHint = 19801;
const QStringList kSizes = {"8", "10", "12", "14", "16", "18", "24", "36", "48", "64", "72"};
const QStringList kColumns = {"0", "1", "2", "3", "4", "5"};

// The system colours the colour dialog offers as its custom colours, in
// the order of its fifteen places: active caption, button face, window,
// highlight, application workspace, desktop, tooltip background, inactive
// caption, caption text, button text, window text, highlighted text,
// tooltip text, grey text, inactive caption text.
constexpr std::array<int, 15> kCustomColorIndexes = {2, 15, 5, 13, 12, 1,  24, 3,
                                                     9, 18, 8, 14, 23, 17, 19};

template <typename T>
T* Placed(QWidget* parent, const char* name, int tag, int left, int top, int width, int height) {
    T* widget = MakeTagged<T>(parent, name, tag);
    widget->setGeometry(left, top, width, height);
    return widget;
}

QComboBox* NumberBox(QWidget* parent, const char* name, const QStringList& items, int left,
                     int top) {
    auto* box = Placed<QComboBox>(parent, name, 0, left, top, 43, 21);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    return box;
}

// The number typed, or the setting as it was when the text is no number.
int32_t NumberOr(const QComboBox* box, int32_t previous) {
    bool ok = false;
    const int value = box->currentText().trimmed().toInt(&ok, 10);
    return ok ? value : previous;
}

// Lines as the settings keep them: each followed by CR LF.
std::string StoredLines(const QString& text) {
    if (text.isEmpty()) {
        return std::string();
    }
    std::string stored;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        stored += line.toStdString() + "\r\n";
    }
    return stored;
}

QString ShownLines(const std::string& stored) {
    QString text = QString::fromStdString(stored);
    text.remove(QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text;
}

} // namespace

TColorPanel::TColorPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void TColorPanel::SetColor(TColor color) {
    Value = color;
    update();
}

void TColorPanel::Choose() {
    if (const std::optional<TColor> chosen = Prompts().PickColor(Value)) {
        SetColor(*chosen);
    }
}

void TColorPanel::mousePressEvent(QMouseEvent*) {
    Choose();
}

void TColorPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        Choose();
        return;
    }
    QFrame::keyPressEvent(event);
}

void TColorPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(contentsRect(), ResolveColor(Value, palette()));
    painter.end();
    QFrame::paintEvent(event);
}

void SetCustomColorsFromSystem() {
    for (size_t i = 0; i < kCustomColorIndexes.size(); ++i) {
        QColorDialog::setCustomColor(static_cast<int>(i),
                                     ResolveColor(SystemColor(kCustomColorIndexes[i])));
    }
}

TfOptions::TfOptions(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fOptions"));
    SetTag(this, 19100);
    setFixedSize(442, 398);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    SetCustomColorsFromSystem();
    BuildGeneral();
    BuildViewAll();
    btnRestoreColors = Placed<QPushButton>(this, "btnRestoreColors", 19120, 10, 367, 121, 26);
    btnOK = Placed<QPushButton>(this, "btnOK", 19121, 270, 367, 75, 26);
    btnOK->setDefault(true);
    btnCancel = Placed<QPushButton>(this, "btnCancel", 19122, 360, 367, 75, 26);
    for (QPushButton* button : {btnRestoreColors, btnCancel}) {
        button->setAutoDefault(false);
    }

    QWidget* const order[] = {cbDeleteReadOnly,
                              cbMoveToTrash,
                              cbCopyBeforeDelete,
                              edDefaultCopyFolder,
                              btnGetFolder,
                              pnlFontColor,
                              pnlBackgroundColor,
                              cmbFontSize,
                              mmDefaultSample,
                              cmbColumns,
                              cmbListFontSize,
                              pnlListFontColor,
                              pnlListSelectionColor,
                              pnlListBackgroundColor,
                              edListSample,
                              btnRestoreColors,
                              btnOK,
                              btnCancel};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    connect(cbCopyBeforeDelete, &QCheckBox::toggled, this, &TfOptions::CopyBeforeDeleteChanged);
    connect(btnGetFolder, &QToolButton::clicked, this, &TfOptions::btnGetFolderClick);
    connect(btnRestoreColors, &QPushButton::clicked, this, &TfOptions::btnRestoreColorsClick);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    LocalizeForm(this);
    const QString colorHint = QString::fromStdString(LoadStr(kColorHint));
    for (TColorPanel* panel : {pnlFontColor, pnlBackgroundColor, pnlListFontColor,
                               pnlListSelectionColor, pnlListBackgroundColor}) {
        SetHint(panel, colorHint);
    }
    SetHint(btnGetFolder, QString::fromStdString(LoadStr(kFolderHint)));
    for (QComboBox* size : {cmbFontSize, cmbListFontSize}) {
        SetHint(size, QString::fromStdString(LoadStr(kSizeHint)));
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

void TfOptions::BuildGeneral() {
    gbGeneral = Placed<QGroupBox>(this, "gbGeneral", 19101, 10, 5, 426, 216);
    cbDeleteReadOnly = Placed<QCheckBox>(gbGeneral, "cbDeleteReadOnly", 19102, 10, 20, 256, 17);
    cbMoveToTrash = Placed<QCheckBox>(gbGeneral, "cbMoveToTrash", 19103, 10, 45, 256, 17);
    cbCopyBeforeDelete = Placed<QCheckBox>(gbGeneral, "cbCopyBeforeDelete", 19104, 10, 70, 256, 17);
    edDefaultCopyFolder = Placed<QLineEdit>(gbGeneral, "edDefaultCopyFolder", 0, 28, 93, 351, 21);
    btnGetFolder = Placed<QToolButton>(gbGeneral, "btnGetFolder", 0, 385, 92, 28, 27);
    btnGetFolder->setAutoRaise(true);
    btnGetFolder->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    lblFontColor = MakeLabel(gbGeneral, "lblFontColor", 19105, 270, 20);
    pnlFontColor = Placed<TColorPanel>(gbGeneral, "pnlFontColor", 0, 373, 15, 43, 21);
    lblBackgroundColor = MakeLabel(gbGeneral, "lblBackgroundColor", 19106, 270, 45);
    pnlBackgroundColor = Placed<TColorPanel>(gbGeneral, "pnlBackgroundColor", 0, 373, 40, 43, 21);
    lblFontSize = MakeLabel(gbGeneral, "lblFontSize", 19107, 270, 70);
    cmbFontSize = NumberBox(gbGeneral, "cmbFontSize", kSizes, 373, 66);
    lblDefaultSample = MakeLabel(gbGeneral, "lblDefaultSample", 19108, 10, 125);
    mmDefaultSample = Placed<QPlainTextEdit>(gbGeneral, "mmDefaultSample", 0, 10, 140, 406, 66);
    mmDefaultSample->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmDefaultSample->setTabChangesFocus(true);
}

void TfOptions::BuildViewAll() {
    gbViewAll = Placed<QGroupBox>(this, "gbViewAll", 19110, 10, 230, 426, 126);
    lblColumns = MakeLabel(gbViewAll, "lblColumns", 19111, 10, 25);
    cmbColumns = NumberBox(gbViewAll, "cmbColumns", kColumns, 175, 20);
    lblListFontSize = MakeLabel(gbViewAll, "lblListFontSize", 19112, 10, 50);
    cmbListFontSize = NumberBox(gbViewAll, "cmbListFontSize", kSizes, 175, 45);
    lblListSample = MakeLabel(gbViewAll, "lblListSample", 19113, 10, 80);
    edListSample = Placed<QLineEdit>(gbViewAll, "edListSample", 0, 10, 95, 406, 21);
    lblListFontColor = MakeLabel(gbViewAll, "lblListFontColor", 19114, 270, 20);
    pnlListFontColor = Placed<TColorPanel>(gbViewAll, "pnlListFontColor", 0, 373, 15, 43, 21);
    lblListSelectionColor = MakeLabel(gbViewAll, "lblListSelectionColor", 19115, 270, 45);
    pnlListSelectionColor =
        Placed<TColorPanel>(gbViewAll, "pnlListSelectionColor", 0, 373, 40, 43, 21);
    lblListBackgroundColor = MakeLabel(gbViewAll, "lblListBackgroundColor", 19116, 270, 70);
    pnlListBackgroundColor =
        Placed<TColorPanel>(gbViewAll, "pnlListBackgroundColor", 0, 373, 65, 43, 21);
}

void TfOptions::ShowSettings(const TOptions& options) {
    cbDeleteReadOnly->setChecked(options.DeleteReadOnly);
    cbMoveToTrash->setChecked(options.MoveToTrash);
    cbCopyBeforeDelete->setChecked(options.CopyBeforeDelete);
    edDefaultCopyFolder->setText(QString::fromStdString(options.DefaultCopyFolder));
    cmbFontSize->setEditText(QString::number(options.FontSize));
    cmbColumns->setEditText(QString::number(options.ListColumns));
    cmbListFontSize->setEditText(QString::number(options.ListFontSize));
    pnlFontColor->SetColor(options.FontColor);
    pnlBackgroundColor->SetColor(options.BackgroundColor);
    pnlListFontColor->SetColor(options.ListNormalColor);
    pnlListSelectionColor->SetColor(options.ListSelectedColor);
    pnlListBackgroundColor->SetColor(options.ListBackgroundColor);
    mmDefaultSample->setPlainText(ShownLines(options.SampleText));
    edListSample->setText(QString::fromStdString(options.ListSampleText));
    CopyBeforeDeleteChanged();
}

void TfOptions::StoreSettings(TOptions& options) const {
    options.DeleteReadOnly = cbDeleteReadOnly->isChecked();
    options.MoveToTrash = cbMoveToTrash->isChecked();
    options.CopyBeforeDelete = cbCopyBeforeDelete->isChecked();
    options.DefaultCopyFolder = edDefaultCopyFolder->text().toStdString();
    options.FontSize = NumberOr(cmbFontSize, options.FontSize);
    options.ListColumns = NumberOr(cmbColumns, options.ListColumns);
    options.ListFontSize = NumberOr(cmbListFontSize, options.ListFontSize);
    options.FontColor = pnlFontColor->Color();
    options.BackgroundColor = pnlBackgroundColor->Color();
    options.ListNormalColor = pnlListFontColor->Color();
    options.ListSelectedColor = pnlListSelectionColor->Color();
    options.ListBackgroundColor = pnlListBackgroundColor->Color();
    options.SampleText = StoredLines(mmDefaultSample->toPlainText());
    options.ListSampleText = edListSample->text().toStdString();
}

void TfOptions::CopyBeforeDeleteChanged() {
    const bool on = cbCopyBeforeDelete->isChecked();
    edDefaultCopyFolder->setEnabled(on);
    btnGetFolder->setEnabled(on);
}

void TfOptions::btnGetFolderClick() {
    std::string folder = edDefaultCopyFolder->text().toStdString();
    if (BrowseForFolder(LoadStr(kFolderTitle), folder)) {
        edDefaultCopyFolder->setText(QString::fromStdString(folder));
    }
}

// References to the system's colours, not their values now: they follow a
// later change of the colour scheme.
void TfOptions::btnRestoreColorsClick() {
    pnlFontColor->SetColor(clWindowText);
    pnlListFontColor->SetColor(clWindowText);
    pnlBackgroundColor->SetColor(clWindow);
    pnlListBackgroundColor->SetColor(clWindow);
    pnlListSelectionColor->SetColor(clHighlight);
}

bool EditOptions(TOptions& options, QWidget* owner) {
    TfOptions dialog(owner);
    dialog.ShowSettings(options);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    dialog.StoreSettings(options);
    return true;
}

} // namespace lw
