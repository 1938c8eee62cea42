#include "app/main_window.h"

#include "app/font_change_watcher.h"
#include "app/localize.h"
#include "app/qt_colors.h"
#include "app/status_panels.h"
#include "app/string_table.h"
#include "app/strings.h"
#include "fonts/font_manager.h"
#include "pages/installed_page.h"
#include "pages/not_installed_page.h"
#include "pages/simple_combo.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
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
constexpr const char* kCredit = "Kestrova Letterwell, upravljanje fontovima";

// Bytes 0x80-0x9F of the Western Windows code page; the five it leaves
// undefined map to the same control characters the system gives them.
constexpr char16_t kWestern80To9F[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// A shortcut text such as "Ctrl+B"; an unreadable one gives no shortcut.
QKeySequence ShortcutFromString(int id) {
    const QKeySequence sequence =
        QKeySequence::fromString(QString::fromStdString(LoadStr(id)), QKeySequence::PortableText);
    if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) {
        return QKeySequence();
    }
    return sequence;
}

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
    for (QAction* ready : {Menu.mnUpdateList, Menu.mnUpdateList0, Menu.mnOpenFontsFolder, Menu.mnExit,
                           Menu.mnEnglish, Menu.mnEspaniol}) {
        Unavailable.remove(ready);
    }
    for (QAction* action : std::as_const(Unavailable)) {
        action->setEnabled(false);
    }
    connect(Menu.mnUpdateList, &QAction::triggered, this, &TfMain_letterwell::mnUpdateListClick);
    connect(Menu.mnUpdateList0, &QAction::triggered, this, &TfMain_letterwell::mnUpdateListClick);
    connect(Menu.mnOpenFontsFolder, &QAction::triggered, this,
            &TfMain_letterwell::mnOpenFontsFolderClick);
    connect(Menu.mnExit, &QAction::triggered, this, &TfMain_letterwell::mnExitClick);
    connect(Menu.LanguageGroup, &QActionGroup::triggered, this, &TfMain_letterwell::mnLanguageClick);
    connect(pcMain, &QTabWidget::currentChanged, this, &TfMain_letterwell::pcMainChange);
    FocusWatch = connect(qApp, &QApplication::focusChanged, this,
                         [this](QWidget*, QWidget* now) { RememberFocus(now); });
    connect(FontWatcher, &TFontChangeWatcher::FontsChanged, this, &TfMain_letterwell::FontsChanged);
    connect(Installed, &TInstalledPage::SampleFontChanged, this, [this](const QString& family) {
        if (ActiveSample == Installed->mmSample) {
            Panels->SetPanelText(1, family);
        }
    });
}

void TfMain_letterwell::FormCreate() {
    SetTag(Menu.mnEnglish, 0);
    SetTag(Menu.mnEspaniol, 1);
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
    pcMain->setCurrentWidget(Installed);
    pcMainChange(pcMain->currentIndex());
    FontWatcher->WatchFontFolders();
    Installed->cmbFonts->setFocus();
}

void TfMain_letterwell::FormShow() { Installed->cmbFontsChange(); }

void TfMain_letterwell::FormActivate() {
    Menu.mnInterchange->setEnabled(ViewAll != nullptr && ViewAll->isVisible());
}

void TfMain_letterwell::FormDestroy() {
    if (Destroyed) {
        return;
    }
    Destroyed = true;
    ShuttingDown = true;
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
    // Widgets carry the long part as their status tip; a one-part hint is both.
    Panels->SetPanelText(0, hint.section(QLatin1Char('|'), -1));
}

// While a folder sheet loads the window sees keys first: Esc stops the load.
bool TfMain_letterwell::eventFilter(QObject* watched, QEvent* e) {
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

void TfMain_letterwell::SetViewAllWindow(QWidget* sheet) {
    ViewAll = sheet;
    Unavailable.remove(Menu.mnInterchange);
    FormActivate();
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
    for (QToolButton* button : {Installed->btnBold, Installed->btnItalic, Installed->btnUnderline}) {
        button->setEnabled(installed);
    }
    for (QAction* action : {Menu.mnInstallFont, Menu.mnInstallTemporarily, Menu.mnViewFolder,
                            Menu.mnViewMix, Menu.mnCopyFile, Menu.mnMoveFile, Menu.mnDeleteFile,
                            Menu.mnRenameFile, Menu.mnUpdateFileList}) {
        SetCommandEnabled(action, !installed);
    }
    if (installed) {
        Panels->SetPanelText(1, Installed->mmSample->font().family());
        if (LastControlInstalled != nullptr) {
            LastControlInstalled->setFocus();
        }
        ActiveSample = Installed->mmSample;
    } else {
        Panels->SetPanelText(1, NotInstalled->mmSampleNotInst->font().family());
        if (LastControlNotInstalled != nullptr) {
            LastControlNotInstalled->setFocus();
        }
        ActiveSample = NotInstalled->mmSampleNotInst;
    }
}

void TfMain_letterwell::ApplyLanguage() {
    LocalizeForm(this);
    ApplyLanguageGlyphs();
    ApplyStringShortcuts();
    SetHint(this, QString::fromUtf8(kCredit) + QString::fromStdString(LoadStr(kMoreAbout)));
    // The page backgrounds show the window's hint too.
    for (QWidget* page : {static_cast<QWidget*>(Installed), static_cast<QWidget*>(NotInstalled)}) {
        page->setStatusTip(statusTip());
    }
    Installed->LoadFamilies(Installed->cmbFonts->ItemIndex());
    FontManager->LoadFontTypeNames();
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

void TfMain_letterwell::mnUpdateListClick() { Installed->UpdateList(); }

void TfMain_letterwell::FontsChanged() {
    if (ShuttingDown) {
        return;
    }
    mnUpdateListClick();
    FontWatcher->WatchFontFolders();
}

void TfMain_letterwell::mnOpenFontsFolderClick() { FontManager->OpenFontsFolder(); }

void TfMain_letterwell::mnExitClick() { close(); }

TSize TfMain_letterwell::MonitorSize() const {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (s == nullptr) {
        return {kMinimumWidth, kMinimumHeight};
    }
    return {s->geometry().width(), s->geometry().height()};
}

TBounds TfMain_letterwell::WindowBounds() const {
    const QRect normal = isMaximized() ? normalGeometry() : QRect(pos(), size());
    return {normal.x(), normal.y(), normal.width(), normal.height()};
}

void TfMain_letterwell::SetWindowSize(int width, int height) { resize(width, height); }

void TfMain_letterwell::SetWindowPosition(int left, int top) { move(left, top); }

bool TfMain_letterwell::IsMaximized() const { return isMaximized(); }

void TfMain_letterwell::SetMaximized() { setWindowState(windowState() | Qt::WindowMaximized); }

void TfMain_letterwell::RestoreNormal() { setWindowState(windowState() & ~Qt::WindowMaximized); }

std::string TfMain_letterwell::NotInstalledPath() const { return NotInstalledFolder; }

void TfMain_letterwell::SetNotInstalledPath(const std::string& path) { NotInstalledFolder = path; }

void TfMain_letterwell::RebuildFolderTree() {}

void TfMain_letterwell::ApplySettings() {
    DialogColor = ResolveColor(Options.FontColor);
    const QString sample = QString::fromStdString(Options.SampleText);
    for (QPlainTextEdit* memo : {Installed->mmSample, NotInstalled->mmSampleNotInst}) {
        QPalette palette = memo->palette();
        palette.setColor(QPalette::Text, ResolveColor(Options.FontColor));
        palette.setColor(QPalette::Base, ResolveColor(Options.BackgroundColor));
        memo->setPalette(palette);
        QFont font = memo->font();
        if (Options.FontSize > 0) {
            font.setPointSize(Options.FontSize);
        }
        memo->setFont(font);
        memo->setPlainText(sample);
    }
    Installed->cmbSize->setEditText(QString::number(Options.FontSize));
}

} // namespace lw
