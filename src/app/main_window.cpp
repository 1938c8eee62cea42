#include "app/main_window.h"
#include "categories/organize_dialog.h"

#include "app/about_dialog.h"
#include "app/font_change_watcher.h"
#include "app/notes_viewer.h"
#include "app/qt_translations.h"
#include "base/string_table.h"
#include "base/strings.h"
#include "controls/drive_view.h"
#include "controls/file_list.h"
#include "controls/localize.h"
#include "controls/menu_items.h"
#include "controls/qt_colors.h"
#include "controls/status_panels.h"
#include "controls/window_bounds.h"
#include "fonts/font_file_commands.h"
#include "fonts/font_manager.h"
#include "options/options_dialog.h"
#include "pages/details_window.h"
#include "pages/find_dialog.h"
#include "pages/installed_page.h"
#include "pages/not_installed_page.h"
#include "pages/sample_commands.h"
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

#include <filesystem>

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
constexpr int kPrintedTo = 10150;
// The credit at the head of the window's hint, in the language in force.
constexpr int kCredit = 64100;

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
    Samples = new TSampleCommands(Installed, NotInstalled, this);
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

void TfMain_letterwell::ShowSelectionHint() {
    const QString hint = Samples->SelectionHint();
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
    if (const std::optional<std::string> destination = Samples->PrintActiveSample()) {
        Panels->SetPanelText(0, QString::fromStdString(FmtLoadStr(kPrintedTo, *destination)));
    }
}

void TfMain_letterwell::FormCreate() {
    SetTag(Menu.mnEnglish, 0);
    SetTag(Menu.mnEspaniol, 1);
    SetTag(Menu.mnLanguageEnglish, kEnglishLanguage);
    Menu.mnUpdateList0->setShortcut(Menu.mnUpdateList->shortcut());
    LastControlInstalled = nullptr;
    LastControlNotInstalled = nullptr;
    lw::LoadSettings(*this);
    ApplyLanguage();
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    Installed->LoadFamilies(0);
    Samples->SavedSampleText = Installed->mmSample->toPlainText();
    LoadProgress = nullptr;
    NotInstalled->FolderChosen();
    NotInstalled->ShowEmptyInfo();
    pcMain->setCurrentWidget(Installed);
    pcMainChange(pcMain->currentIndex());
    // The font folders are known once the fonts are read.
    if (!FontManager->AwaitingReading()) {
        FontWatcher->WatchFontFolders();
    }
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
    TfViewAllNotInstalled::ViewFolder(*this, ViewAll, *NotInstalled, mixed);
}

void TfMain_letterwell::ShowStatus(const QString& text) {
    Panels->SetPanelText(0, text);
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
    const auto notesPath = [this](const std::string& name) {
        return NotesFolder.empty() ? ProgramDataFile(name) : NotesFolder + "/" + name;
    };
    std::string path = notesPath(LoadStr(kNotesFile));
    // A language whose notes are not shipped shows the built-in language's;
    // when neither is there, the missing file told is the language's own.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        const std::string builtIn = notesPath(LoadBuiltInStr(kNotesFile));
        if (std::filesystem::is_regular_file(builtIn, ec)) {
            path = builtIn;
        }
    }
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

void TfMain_letterwell::BringForward() {
    show();
    raise();
    activateWindow();
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
        Samples->ActiveSample = Installed->mmSample;
    } else {
        Samples->ActiveSample = NotInstalled->mmSampleNotInst;
        if (NotInstalled->FileList->currentRow() >= 0) {
            NotInstalled->FileListClick();
        }
        Panels->SetPanelText(1, NotInstalled->mmSampleNotInst->font().family());
        if (LastControlNotInstalled != nullptr) {
            LastControlNotInstalled->setFocus();
        }
        Samples->ActiveSample = NotInstalled->mmSampleNotInst;
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
    Installed->ShowFamilyDetails();
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
    UpdateDetailsLanguage();
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
        ViewAll->FacesChanged();
        ViewAll->AutomaticCategoriesStale();
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

void TfMain_letterwell::FontsRead(std::unique_ptr<TFontReading> reading) {
    if (ShuttingDown) {
        return;
    }
    FontManager->AdoptReading(std::move(reading));
    Installed->ShowCatalogue();
    if (ViewAll != nullptr) {
        ViewAll->FacesChanged();
        ViewAll->ShowCatalogue();
    }
    FontWatcher->WatchFontFolders();
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
