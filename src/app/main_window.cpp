#include "app/main_window.h"
#include "categories/organize_dialog.h"

#include "app/about_dialog.h"
#include "app/font_change_watcher.h"
#include "app/localize.h"
#include "app/menu_items.h"
#include "app/notes_viewer.h"
#include "app/qt_colors.h"
#include "app/qt_translations.h"
#include "app/status_panels.h"
#include "app/string_table.h"
#include "app/strings.h"
#include "app/window_bounds.h"
#include "controls/drive_view.h"
#include "controls/file_list.h"
#include "fileops/font_file_commands.h"
#include "fonts/delete_dialog.h"
#include "fonts/font_manager.h"
#include "options/options_dialog.h"
#include "pages/find_dialog.h"
#include "pages/installed_page.h"
#include "pages/not_installed_page.h"
#include "pages/sample_clipboard.h"
#include "pages/sample_print.h"
#include "pages/simple_combo.h"
#include "platform/linux/linux_platform.h"
#include "platform/services.h"
#include "printing/current_printer.h"
#include "sheets/view_all.h"
#include "sheets/view_all_not_installed.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QBitmap>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QToolButton>

namespace lw {

namespace {

constexpr int kDesignWidth = 725;
constexpr int kDesignHeight = 500;
constexpr int kMoreAbout = 4;
constexpr int kDefaultSampleText = 10025;
constexpr int kShortcutBold = 50;
constexpr int kShortcutItalic = 51;
constexpr int kShortcutUnderline = 52;
constexpr int kShortcutFind = 55;
constexpr int kShortcutSelectAll = 56;
constexpr int kNothingSelected = 9;
constexpr int kSelectionHint = 10031;
constexpr int kPrintQuestion = 10001;
constexpr int kConfirmCaption = 20;
constexpr int kSampleOf = 7;
constexpr int kPrintedTo = 10150;
// The credit at the head of the window's hint, in the language in force.
constexpr int kCredit = 64100;

// Bytes 0x80-0x9F of the Western Windows code page; the five it leaves
// undefined map to the same control characters the system gives them.
constexpr char16_t kWestern80To9F[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QPixmap LanguageGlyph(const char* name) {
    QPixmap glyph;
    if (!LoadLanguageBitmap(glyph, name)) {
        return QPixmap();
    }
    // Silver marks the transparent part of the pictures.
    glyph.setMask(glyph.createMaskFromColor(QColor(192, 192, 192), Qt::MaskInColor));
    return glyph;
}

} // namespace

QString BuildAnsiSampleText() {
    QString text;
    for (int code = 33; code <= 255; ++code) {
        text += (code >= 0x80 && code <= 0x9F) ? QChar(kWestern80To9F[code - 0x80])
                                               : QChar(static_cast<char16_t>(code));
    }
    return text;
}

TfMain_letterwell::TfMain_letterwell(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("fMain_letterwell"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kDesignWidth, kDesignHeight);
    Menu = BuildMainMenu(menuBar(), this);
    BuildPages();
    Panels = new TStatusPanels(this);
    Panels->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->addWidget(Panels, 1);
    FontWatcher = new TFontChangeWatcher(this);
    WireCommands();
    TrackNormalBounds(this);
    FormCreate();
}

TfMain_letterwell::~TfMain_letterwell() {
    FormDestroy();
    // Children still move the focus and may hear font changes while Qt tears
    // them down after this destructor; nothing may reach this object then.
    disconnect(FocusWatch);
    delete FontWatcher;
    FontWatcher = nullptr;
}

void TfMain_letterwell::BuildPages() {
    pcMain = new QTabWidget(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    SetTag(pcMain, 65000);
    Installed = new TInstalledPage(pcMain);
    NotInstalled = new TNotInstalledPage(pcMain);
    pcMain->addTab(Installed, QString());
    pcMain->addTab(NotInstalled, QString());
    setCentralWidget(pcMain);
    for (QWidget* files : {static_cast<QWidget*>(NotInstalled->DriveView),
                           static_cast<QWidget*>(NotInstalled->FileList)}) {
        files->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(files, &QWidget::customContextMenuRequested, this,
                [this, files](const QPoint& at) { Menu.pmFiles->popup(files->mapToGlobal(at)); });
    }
    Installed->cmbFonts->List()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Installed->cmbFonts->List(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) {
                Menu.pmFonts->popup(Installed->cmbFonts->List()->mapToGlobal(at));
            });
}

void TfMain_letterwell::WireCommands() {
    // Everything without its work yet is off, whatever page is shown.
    const QList<QAction*> all = findChildren<QAction*>();
    for (QAction* action : all) {
        if (action->menu() == nullptr && !action->isSeparator()) {
            Unavailable.insert(action);
        }
    }
    for (QAction* ready : {Menu.mnUpdateList,
                           Menu.mnUpdateList0,
                           Menu.mnOpenFontsFolder,
                           Menu.mnExit,
                           Menu.mnEnglish,
                           Menu.mnEspaniol,
                           Menu.mnLanguageEnglish,
                           Menu.mnPrint,
                           Menu.mnConfigurePrinter,
                           Menu.mnUndo,
                           Menu.mnCut,
                           Menu.mnCopy,
                           Menu.mnPaste,
                           Menu.mnSelectAll,
                           Menu.mnFind,
                           Menu.mnFind0,
                           Menu.mnBold,
                           Menu.mnItalic,
                           Menu.mnUnderline,
                           Menu.mnAnsiSample,
                           Menu.mnSampleColor,
                           Menu.mnSize,
                           Menu.mnUndoEx,
                           Menu.mnCutEx,
                           Menu.mnCopyEx,
                           Menu.mnPasteEx,
                           Menu.mnSelectAllEx,
                           Menu.mnInstallFont,
                           Menu.mnInstallTemporarily,
                           Menu.mnRemoveTemporary,
                           Menu.mnUpdateFileList,
                           Menu.mnUpdateFileList0,
                           Menu.mnInstallFont0,
                           Menu.mnInstallFontTemporarily0,
                           Menu.mnCopyFile,
                           Menu.mnMoveFile,
                           Menu.mnRenameFile,
                           Menu.mnDeleteFile,
                           Menu.mnCopyFile0,
                           Menu.mnMoveFile0,
                           Menu.mnRenameFile0,
                           Menu.mnDeleteFile0,
                           Menu.mnDeleteFont,
                           Menu.mnDeleteFont0,
                           Menu.mnViewFolder,
                           Menu.mnViewMix,
                           Menu.mnViewFolder0,
                           Menu.mnViewMix0,
                           Menu.mnSetOptions,
                           Menu.mnNotes,
                           Menu.mnAbout}) {
        Unavailable.remove(ready);
    }
    Installed->btnViewAll0->setEnabled(false);
    for (QAction* action : std::as_const(Unavailable)) {
        action->setEnabled(false);
    }
    connect(Menu.mnUpdateList, &QAction::triggered, this, &TfMain_letterwell::mnUpdateListClick);
    connect(Menu.mnUpdateList0, &QAction::triggered, this, &TfMain_letterwell::mnUpdateListClick);
    connect(Menu.mnOpenFontsFolder, &QAction::triggered, this,
            &TfMain_letterwell::mnOpenFontsFolderClick);
    connect(Menu.mnExit, &QAction::triggered, this, &TfMain_letterwell::mnExitClick);
    for (QAction* refresh : {Menu.mnUpdateFileList, Menu.mnUpdateFileList0}) {
        connect(refresh, &QAction::triggered, NotInstalled,
                &TNotInstalledPage::mnUpdateFileListClick);
    }
    connect(Menu.mnSetOptions, &QAction::triggered, this, &TfMain_letterwell::mnSetOptionsClick);
    connect(Menu.mnNotes, &QAction::triggered, this, &TfMain_letterwell::mnNotesClick);
    connect(Menu.mnAbout, &QAction::triggered, this, [this] { ShowAbout(this, false, kVersion); });
    for (QAction* view : {Menu.mnViewFolder, Menu.mnViewFolder0}) {
        connect(view, &QAction::triggered, this, [this] { ViewFolderClick(false); });
    }
    for (QAction* view : {Menu.mnViewMix, Menu.mnViewMix0}) {
        connect(view, &QAction::triggered, this, [this] { ViewFolderClick(true); });
    }
    connect(NotInstalled->btnViewFolder0, &QPushButton::clicked, this,
            [this] { ViewFolderClick(false); });
    connect(NotInstalled->btnViewMix0, &QPushButton::clicked, this,
            [this] { ViewFolderClick(true); });
    for (QAction* install : {Menu.mnInstallFont, Menu.mnInstallFont0}) {
        connect(install, &QAction::triggered, NotInstalled,
                [this] { NotInstalled->InstallClick(false); });
    }
    for (QAction* install : {Menu.mnInstallTemporarily, Menu.mnInstallFontTemporarily0}) {
        connect(install, &QAction::triggered, NotInstalled,
                [this] { NotInstalled->InstallClick(true); });
    }
    connect(Menu.mnRemoveTemporary, &QAction::triggered, NotInstalled,
            &TNotInstalledPage::mnRemoveTemporaryClick);
    const std::pair<QAction*, void (TNotInstalledPage::*)()> fileCommands[] = {
        {Menu.mnCopyFile, &TNotInstalledPage::mnCopyFileClick},
        {Menu.mnCopyFile0, &TNotInstalledPage::mnCopyFileClick},
        {Menu.mnMoveFile, &TNotInstalledPage::mnMoveFileClick},
        {Menu.mnMoveFile0, &TNotInstalledPage::mnMoveFileClick},
        {Menu.mnRenameFile, &TNotInstalledPage::mnRenameFileClick},
        {Menu.mnRenameFile0, &TNotInstalledPage::mnRenameFileClick},
        {Menu.mnDeleteFile, &TNotInstalledPage::mnDeleteFileClick},
        {Menu.mnDeleteFile0, &TNotInstalledPage::mnDeleteFileClick}};
    for (const auto& [action, command] : fileCommands) {
        connect(action, &QAction::triggered, NotInstalled, command);
    }
    for (QAction* remove : {Menu.mnDeleteFont, Menu.mnDeleteFont0}) {
        connect(remove, &QAction::triggered, this, &TfMain_letterwell::mnDeleteFontClick);
    }
    connect(NotInstalled, &TNotInstalledPage::StatusText, this, [this](const QString& text) {
        if (ActiveSample == NotInstalled->mmSampleNotInst) {
            Panels->SetPanelText(1, text);
        }
    });
    connect(Menu.LanguageGroup, &QActionGroup::triggered, this,
            &TfMain_letterwell::mnLanguageClick);
    connect(pcMain, &QTabWidget::currentChanged, this, &TfMain_letterwell::pcMainChange);
    FocusWatch = connect(qApp, &QApplication::focusChanged, this,
                         [this](QWidget*, QWidget* now) { RememberFocus(now); });
    connect(FontWatcher, &TFontChangeWatcher::FontsChanged, this, &TfMain_letterwell::FontsChanged);
    connect(Installed, &TInstalledPage::SampleFontChanged, this, [this](const QString& family) {
        if (ActiveSample == Installed->mmSample) {
            Panels->SetPanelText(1, family);
        }
    });
    connect(Menu.mnFind, &QAction::triggered, this, &TfMain_letterwell::mnFindClick);
    connect(Menu.mnViewAll, &QAction::triggered, this, &TfMain_letterwell::mnViewAllClick);
    connect(Installed->btnViewAll0, &QPushButton::clicked, this,
            &TfMain_letterwell::mnViewAllClick);
    connect(Menu.mnInterchange, &QAction::triggered, this, &TfMain_letterwell::mnInterchangeClick);
    connect(Menu.mnFind0, &QAction::triggered, this, &TfMain_letterwell::mnFindClick);
    connect(Menu.mnPrint, &QAction::triggered, this, &TfMain_letterwell::mnPrintClick);
    connect(Menu.mnConfigurePrinter, &QAction::triggered, this, [this] { ConfigurePrinter(this); });
    connect(Menu.mnUndo, &QAction::triggered, this, [this] { EditCommand("undo"); });
    connect(Menu.mnCut, &QAction::triggered, this, [this] { EditCommand("cut"); });
    connect(Menu.mnCopy, &QAction::triggered, this, [this] { EditCommand("copy"); });
    connect(Menu.mnPaste, &QAction::triggered, this, [this] { EditCommand("paste"); });
    connect(Menu.mnSelectAll, &QAction::triggered, this, [this] { EditCommand("selectAll"); });
    WireSampleCommands();
    WireFormatCommands();
}

void TfMain_letterwell::WireSampleCommands() {
    connect(Menu.mnUndoEx, &QAction::triggered, this, [this] { SampleCommand("undo"); });
    connect(Menu.mnCutEx, &QAction::triggered, this, [this] { SampleCommand("cut"); });
    connect(Menu.mnCopyEx, &QAction::triggered, this, [this] { SampleCommand("copy"); });
    connect(Menu.mnPasteEx, &QAction::triggered, this, [this] { SampleCommand("paste"); });
    connect(Menu.mnSelectAllEx, &QAction::triggered, this, [this] { SampleCommand("selectAll"); });
    for (QPlainTextEdit* memo : {Installed->mmSample, NotInstalled->mmSampleNotInst}) {
        memo->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(memo, &QWidget::customContextMenuRequested, this,
                [this, memo](const QPoint& at) { Menu.pmSample->popup(memo->mapToGlobal(at)); });
    }
    Installed->mmSample->viewport()->installEventFilter(this);
    Installed->mmSample->installEventFilter(this);
    NotInstalled->mmSampleNotInst->installEventFilter(this);
}

void TfMain_letterwell::WireFormatCommands() {
    const std::pair<QAction*, QToolButton*> styles[] = {
        {Menu.mnBold, Installed->btnBold},
        {Menu.mnItalic, Installed->btnItalic},
        {Menu.mnUnderline, Installed->btnUnderline},
        {Menu.mnAnsiSample, Installed->btnAnsiSample}};
    for (const auto& [item, button] : styles) {
        // The menu item toggles the button; the button sets the item's check.
        connect(item, &QAction::triggered, button, [button = button] { button->toggle(); });
        connect(button, &QToolButton::toggled, item,
                [item = item](bool down) { item->setChecked(down); });
    }
    connect(Installed->btnAnsiSample, &QToolButton::toggled, this,
            &TfMain_letterwell::btnAnsiSampleToggled);
    connect(Menu.mnSampleColor, &QAction::triggered, Installed, &TInstalledPage::ChooseSampleColor);
    connect(Menu.mnSize, &QAction::triggered, Installed, &TInstalledPage::mnSizeClick);
    Installed->OtherSample = NotInstalled->mmSampleNotInst;
}

void TfMain_letterwell::btnAnsiSampleToggled(bool down) {
    if (down) {
        SavedSampleText = Installed->mmSample->toPlainText();
    }
    const QString text = down ? AnsiSampleText : SavedSampleText;
    Installed->mmSample->setPlainText(text);
    NotInstalled->mmSampleNotInst->setPlainText(text);
}

void TfMain_letterwell::EditCommand(const char* slot) {
    QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr) {
        return;
    }
    // An editable combo box has the focus but its line edit has the text.
    if (auto* combo = qobject_cast<QComboBox*>(focused); combo != nullptr && combo->lineEdit()) {
        focused = combo->lineEdit();
    }
    const bool isMemo = focused == Installed->mmSample || focused == NotInstalled->mmSampleNotInst;
    if (isMemo && (qstrcmp(slot, "cut") == 0 || qstrcmp(slot, "copy") == 0)) {
        SampleCommand(slot);
        return;
    }
    if (qstrcmp(slot, "paste") == 0 && !QApplication::clipboard()->mimeData()->hasText()) {
        return;
    }
    QMetaObject::invokeMethod(focused, slot);
}

void TfMain_letterwell::SampleCommand(const char* slot) {
    QPlainTextEdit* memo = ActiveSample;
    if (qstrcmp(slot, "paste") == 0 && !QApplication::clipboard()->mimeData()->hasText()) {
        return;
    }
    memo->setFocus();
    const TColor color = Installed->SampleColor;
    if (qstrcmp(slot, "cut") == 0) {
        CutSampleAsRtf(memo, color);
    } else if (qstrcmp(slot, "copy") == 0) {
        CopySampleAsRtf(memo, color);
    } else {
        QMetaObject::invokeMethod(memo, slot);
    }
}

void TfMain_letterwell::ShowSelectionHint() {
    QString selected = Installed->mmSample->textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const std::string shown =
        selected.isEmpty() ? LoadStr(kNothingSelected) : selected.toStdString();
    const QString hint = QString::fromStdString(FmtLoadStr(kSelectionHint, shown));
    // Status panel only: the sample shows no pop-up hint.
    Installed->mmSample->setProperty("Hint", hint);
    Installed->mmSample->setStatusTip(LongHint(hint));
    ShowHint(LongHint(hint));
}

void TfMain_letterwell::mnFindClick() {
    if (dlgFind == nullptr) {
        dlgFind = new TFindDialog(this);
        connect(dlgFind, &TFindDialog::FindNext, Installed, &TInstalledPage::FindFamilyNext);
    }
    dlgFind->show();
    dlgFind->raise();
    dlgFind->activateWindow();
}

void TfMain_letterwell::mnPrintClick() {
    if (Prompts().MessageBox(LoadStr(kPrintQuestion), LoadStr(kConfirmCaption), TMsgIcon::Question,
                             TMsgButtons::YesNo) != TMsgResult::Yes) {
        return;
    }
    const QFont font = ActiveSample->font();
    const std::string fontName = font.family().toStdString();
    THourglass hourglass;
    const std::optional<std::string> destination =
        PrintSample(LoadStr(kSampleOf) + fontName, ActiveSample->toPlainText().toStdString(),
                    fontName, Installed->SampleColor, font.pointSize());
    if (destination) {
        Panels->SetPanelText(0, QString::fromStdString(FmtLoadStr(kPrintedTo, *destination)));
    }
}

void TfMain_letterwell::FormCreate() {
    SetTag(Menu.mnEnglish, 0);
    SetTag(Menu.mnEspaniol, 1);
    SetTag(Menu.mnLanguageEnglish, kEnglishLanguage);
    Menu.mnUpdateList0->setShortcut(Menu.mnUpdateList->shortcut());
    ActiveSample = Installed->mmSample;
    LastControlInstalled = nullptr;
    LastControlNotInstalled = nullptr;
    lw::LoadSettings(*this);
    ApplyLanguage();
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    Installed->LoadFamilies(0);
    AnsiSampleText = BuildAnsiSampleText();
    SavedSampleText = Installed->mmSample->toPlainText();
    LoadProgress = nullptr;
    NotInstalled->FolderChosen();
    NotInstalled->ShowEmptyInfo();
    pcMain->setCurrentWidget(Installed);
    pcMainChange(pcMain->currentIndex());
    FontWatcher->WatchFontFolders();
    ShowSelectionHint();
    Installed->cmbFonts->setFocus();
}

void TfMain_letterwell::FormShow() {
    Installed->cmbFontsChange();
    if (Options.ShowListWindow && ViewAll != nullptr) {
        ViewAll->show();
    }
}

void TfMain_letterwell::FormActivate() {
    Menu.mnInterchange->setEnabled(ViewAll != nullptr && ViewAll->isVisible());
}

void TfMain_letterwell::FormDestroy() {
    if (Destroyed) {
        return;
    }
    Destroyed = true;
    ShuttingDown = true;
    NotInstalled->ReleasePreviewFont();
    lw::SaveSettings(*this);
}

void TfMain_letterwell::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!e->spontaneous()) {
        FormShow();
    }
}

void TfMain_letterwell::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
        FormActivate();
    }
}

void TfMain_letterwell::closeEvent(QCloseEvent* e) {
    QMainWindow::closeEvent(e);
    if (e->isAccepted()) {
        ShuttingDown = true;
        // The sheet may still be open; closing the main window ends the program.
        QCoreApplication::quit();
    }
}

bool TfMain_letterwell::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TfMain_letterwell::ShowHint(const QString& hint) {
    if (!HintRouting) {
        return;
    }
    // Widgets carry the long part as their status tip. A panel is one line:
    // a selection of several lines is shown with its line breaks as blanks.
    QString line = hint;
    for (QChar& c : line) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator ||
            c == QChar::LineSeparator) {
            c = QLatin1Char(' ');
        }
    }
    Panels->SetPanelText(0, line);
}

// While a folder sheet loads the window sees keys first: Esc stops the load.
bool TfMain_letterwell::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Installed->mmSample->viewport() && e->type() == QEvent::MouseButtonRelease) {
        ShowSelectionHint();
    }
    // The keyboard's copy and cut in a sample copy rich text too.
    auto* memo = qobject_cast<QPlainTextEdit*>(watched);
    if (memo != nullptr && e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut)) {
            ActiveSample = memo;
            SampleCommand(key->matches(QKeySequence::Copy) ? "copy" : "cut");
            return true;
        }
    }
    if (LoadProgress != nullptr && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        LoadCancelled = true;
        return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

void TfMain_letterwell::StartLoading() {
    qApp->installEventFilter(this);
    LoadCancelled = false;
    HintRouting = false;
    statusBar()->setSizeGripEnabled(false);
    LoadProgress = new QProgressBar(Panels);
    LoadProgress->setObjectName(QStringLiteral("LoadProgress"));
    LoadProgress->setTextVisible(false);
    LoadProgress->hide();
    Panels->SetPanel1Widget(LoadProgress);
    Panels->update();
    LoadProgress->show();
}

void TfMain_letterwell::StopLoading() {
    Panels->SetPanel1Widget(nullptr);
    delete LoadProgress;
    LoadProgress = nullptr;
    qApp->removeEventFilter(this);
    HintRouting = true;
    statusBar()->setSizeGripEnabled(true);
}

void TfMain_letterwell::SetViewAllWindow(TfViewAll* sheet) {
    ViewAll = sheet;
    for (QAction* ready : {Menu.mnInterchange, Menu.mnViewAll}) {
        Unavailable.remove(ready);
    }
    Menu.mnViewAll->setEnabled(true);
    Installed->btnViewAll0->setEnabled(true);
    FormActivate();
}

TfViewAll* TfMain_letterwell::ViewAllWindow() const {
    return ViewAll;
}

void TfMain_letterwell::ViewFolderClick(bool mixed) {
    constexpr int kLoading = 13015;
    TNotInstalledPage& page = *NotInstalled;
    const int remembered = page.FileList->currentRow();
    page.mnUpdateFileListClick();
    page.ReleasePreviewFont();
    std::vector<std::string> names;
    for (int row = 0; row < page.FileList->count(); ++row) {
        names.push_back(page.FileList->ItemName(row));
    }
    {
        TfViewAllNotInstalled sheet(this, ViewAll);
        StartLoading();
        Panels->SetPanelText(0, QString::fromStdString(LoadStr(kLoading)));
        const std::string folder = page.FileList->Directory();
        const bool changed = mixed ? sheet.ShowFolderSheetMixed(folder, names, LoadProgress)
                                   : sheet.ShowFolderSheet(folder, names, LoadProgress);
        if (changed) {
            page.mnUpdateFileListClick();
        }
    }
    StopLoading();
    if (remembered >= 0 && page.FileList->count() > remembered) {
        page.FileList->setCurrentRow(remembered);
    }
    page.FileListClick();
}

void TfMain_letterwell::mnSetOptionsClick() {
    if (EditOptions(Options, this)) {
        ApplySettings();
        lw::SaveSettings(*this);
    }
}

void TfMain_letterwell::mnNotesClick() {
    constexpr int kNotesCaption = 10013;
    constexpr int kNotesFile = 10014;
    const std::string name = LoadStr(kNotesFile);
    const std::string path = NotesFolder.empty() ? ProgramDataFile(name) : NotesFolder + "/" + name;
    ShowNotes(LoadStr(kNotesCaption), path, this, QIcon(), false);
}

void TfMain_letterwell::SetOrganizeWindow(TfOrganize* organize) {
    Organize = organize;
    Unavailable.remove(Menu.mnOrganizeCategories);
    Menu.mnOrganizeCategories->setEnabled(true);
    connect(Menu.mnOrganizeCategories, &QAction::triggered, this,
            &TfMain_letterwell::mnOrganizeCategoriesClick, Qt::UniqueConnection);
    Organize->SampleText = [this] {
        return ViewAll != nullptr ? ViewAll->SampleText() : QString();
    };
    if (ViewAll != nullptr) {
        ViewAll->SetOrganizeWindow(organize);
    }
}

void TfMain_letterwell::mnOrganizeCategoriesClick() {
    if (Organize != nullptr) {
        Organize->Execute();
    }
}

void TfMain_letterwell::mnViewAllClick() {
    if (dlgFind != nullptr) {
        dlgFind->hide();
    }
    if (ViewAll != nullptr) {
        ViewAll->show();
        ViewAll->raise();
        ViewAll->activateWindow();
    }
}

void TfMain_letterwell::mnInterchangeClick() {
    if (dlgFind != nullptr) {
        dlgFind->hide();
    }
    if (ViewAll != nullptr && ViewAll->isVisible()) {
        ViewAll->raise();
        ViewAll->activateWindow();
    }
}

void TfMain_letterwell::ShowInstalledFamily(int index) {
    pcMain->setCurrentWidget(Installed);
    Installed->cmbFonts->SetItemIndex(index);
    Installed->cmbFontsChange();
}

void TfMain_letterwell::RememberFocus(QWidget* now) {
    if (now == nullptr) {
        return;
    }
    if (Installed->isAncestorOf(now)) {
        LastFocusInstalled = now;
    } else if (NotInstalled->isAncestorOf(now)) {
        LastFocusNotInstalled = now;
    }
}

void TfMain_letterwell::SetCommandEnabled(QAction* action, bool enabled) {
    action->setEnabled(enabled && !Unavailable.contains(action));
}

void TfMain_letterwell::pcMainChange(int index) {
    const bool installed = pcMain->widget(index) == Installed;
    // Where the focus was when each page was last left.
    LastControlInstalled = LastFocusInstalled;
    LastControlNotInstalled = LastFocusNotInstalled;
    for (QAction* action : {Menu.mnBold, Menu.mnItalic, Menu.mnUnderline, Menu.mnDeleteFont,
                            Menu.mnFind, Menu.mnUpdateList}) {
        SetCommandEnabled(action, installed);
    }
    for (QToolButton* button :
         {Installed->btnBold, Installed->btnItalic, Installed->btnUnderline}) {
        button->setEnabled(installed);
    }
    for (QAction* action : {Menu.mnInstallFont, Menu.mnInstallTemporarily, Menu.mnViewFolder,
                            Menu.mnViewMix, Menu.mnCopyFile, Menu.mnMoveFile, Menu.mnDeleteFile,
                            Menu.mnRenameFile, Menu.mnUpdateFileList}) {
        SetCommandEnabled(action, !installed);
    }
    if (installed) {
        NotInstalled->ReleasePreviewFont();
        Panels->SetPanelText(1, Installed->mmSample->font().family());
        if (LastControlInstalled != nullptr) {
            LastControlInstalled->setFocus();
        }
        ActiveSample = Installed->mmSample;
    } else {
        ActiveSample = NotInstalled->mmSampleNotInst;
        if (NotInstalled->FileList->currentRow() >= 0) {
            NotInstalled->FileListClick();
        }
        Panels->SetPanelText(1, NotInstalled->mmSampleNotInst->font().family());
        if (LastControlNotInstalled != nullptr) {
            LastControlNotInstalled->setFocus();
        }
        ActiveSample = NotInstalled->mmSampleNotInst;
    }
}

void TfMain_letterwell::ApplyLanguage() {
    UseQtTranslations(GetLanguage());
    LocalizeForm(this);
    ApplyLanguageGlyphs();
    ApplyStringShortcuts();
    SetHint(this, QString::fromStdString(LoadStr(kCredit) + LoadStr(kMoreAbout)));
    // The page backgrounds show the window's hint too.
    for (QWidget* page : {static_cast<QWidget*>(Installed), static_cast<QWidget*>(NotInstalled)}) {
        page->setStatusTip(statusTip());
    }
    Installed->ShowFamilyCount();
    NotInstalled->ShowFileCount();
    FontManager->LoadFontTypeNames();
    NotInstalled->FileListClick();
    if (dlgFind != nullptr) {
        dlgFind->Localize();
    }
    if (ViewAll != nullptr) {
        ViewAll->UpdateLanguage();
    }
    if (Organize != nullptr) {
        Organize->UpdateLanguage();
    }
}

void TfMain_letterwell::ApplyLanguageGlyphs() {
    const std::pair<QToolButton*, QAction*> targets[] = {
        {Installed->btnBold, Menu.mnBold},
        {Installed->btnItalic, Menu.mnItalic},
        {Installed->btnUnderline, Menu.mnUnderline}};
    for (size_t i = 0; i < std::size(targets); ++i) {
        const QIcon icon(LanguageGlyph(kLanguageBitmapNames[i]));
        targets[i].first->setIcon(icon);
        targets[i].second->setIcon(icon);
    }
}

void TfMain_letterwell::ApplyStringShortcuts() {
    Menu.mnBold->setShortcut(ShortcutFromString(kShortcutBold));
    Menu.mnItalic->setShortcut(ShortcutFromString(kShortcutItalic));
    Menu.mnUnderline->setShortcut(ShortcutFromString(kShortcutUnderline));
    Menu.mnFind->setShortcut(ShortcutFromString(kShortcutFind));
    Menu.mnSelectAll->setShortcut(ShortcutFromString(kShortcutSelectAll));
    Menu.mnFind0->setShortcut(Menu.mnFind->shortcut());
    Menu.mnSelectAllEx->setShortcut(Menu.mnSelectAll->shortcut());
}

void TfMain_letterwell::mnLanguageClick(QAction* item) {
    SetLanguage(TagOf(item));
    item->setChecked(true);
    Options.SampleText = LoadStr(kDefaultSampleText);
    const QString sample = QString::fromStdString(Options.SampleText);
    Installed->mmSample->setPlainText(sample);
    NotInstalled->mmSampleNotInst->setPlainText(sample);
    ApplyLanguage();
}

void TfMain_letterwell::mnUpdateListClick() {
    Installed->UpdateList();
    if (ViewAll != nullptr) {
        ViewAll->mnAllClick();
    }
}

void TfMain_letterwell::FontsChanged() {
    if (ShuttingDown) {
        return;
    }
    mnUpdateListClick();
    FontWatcher->WatchFontFolders();
}

void TfMain_letterwell::mnDeleteFontClick() {
    const std::string family = Installed->SelectedFamily().toStdString();
    if (!family.empty()) {
        // Interactive: the font change it announces refreshes the list
        // before it returns.
        RemoveInstalledFont(family, Options.DefaultCopyFolder, Options.MoveToTrash, true,
                            Options.CopyBeforeDelete,
                            [this](const std::string& name, std::vector<std::string>& fullNames) {
                                TfDelete dialog(this);
                                return dialog.Execute(name, fullNames) == QDialog::Accepted;
                            });
    }
    Installed->cmbFontsChange();
}

void TfMain_letterwell::mnOpenFontsFolderClick() {
    FontManager->OpenFontsFolder();
}

void TfMain_letterwell::mnExitClick() {
    close();
}

TSize TfMain_letterwell::MonitorSize() const {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (s == nullptr) {
        return {kMinimumWidth, kMinimumHeight};
    }
    return {s->geometry().width(), s->geometry().height()};
}

TBounds TfMain_letterwell::WindowBounds() const {
    const QRect normal = NormalBounds(this);
    return {normal.x(), normal.y(), normal.width(), normal.height()};
}

void TfMain_letterwell::SetWindowSize(int width, int height) {
    resize(width, height);
}

void TfMain_letterwell::SetWindowPosition(int left, int top) {
    move(left, top);
}

bool TfMain_letterwell::IsMaximized() const {
    return isMaximized();
}

void TfMain_letterwell::SetMaximized() {
    setWindowState(windowState() | Qt::WindowMaximized);
}

std::string TfMain_letterwell::NotInstalledPath() const {
    return NotInstalled->DriveView->Path();
}

void TfMain_letterwell::SetNotInstalledPath(const std::string& path) {
    NotInstalled->DriveView->SetPath(path);
}

void TfMain_letterwell::RebuildFolderTree() {
    NotInstalled->DriveView->Rebuild();
}

void TfMain_letterwell::ApplySettings() {
    Installed->DialogColor = Options.FontColor;
    Installed->SampleColor = Options.FontColor;
    for (QPlainTextEdit* memo : {Installed->mmSample, NotInstalled->mmSampleNotInst}) {
        QPalette palette = memo->palette();
        palette.setColor(QPalette::Text, ResolveColor(Options.FontColor));
        palette.setColor(QPalette::Base, ResolveColor(Options.BackgroundColor));
        memo->setPalette(palette);
    }
    Installed->cmbSize->setEditText(QString::number(Options.FontSize));
    Installed->cmbSizeClick();
    const QString sample = QString::fromStdString(Options.SampleText);
    Installed->mmSample->setPlainText(sample);
    NotInstalled->mmSampleNotInst->setPlainText(sample);
    if (ViewAll != nullptr) {
        ViewAll->SetListFontSize(Options.ListFontSize);
        ViewAll->LoadListColors();
        ViewAll->SetSampleText(QString::fromStdString(Options.ListSampleText));
    }
}

} // namespace lw
