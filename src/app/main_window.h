#pragma once

#include "app/main_menu.h"
#include "base/settings.h"
#include "platform/font_system.h"
#include "sheets/sheet_host.h"

#include <QMainWindow>
#include <QPointer>
#include <QSet>

class QPlainTextEdit;
class QProgressBar;
class QTabWidget;

namespace lw {

class TFindDialog;
class TfViewAll;
class TfOrganize;
class TFontChangeWatcher;
class TInstalledPage;
class TNotInstalledPage;
class TSampleCommands;
class TStatusPanels;

inline constexpr int kMinimumWidth = 925;
inline constexpr int kMinimumHeight = 800;
inline constexpr const char* kApplicationTitle = "Kestrova Letterwell";

// The main window: two pages, the menus, the status bar, window placement,
// the language and the settings it loads and saves.
class TfMain_letterwell : public QMainWindow, public ISettingsHost, public ISheetHost {
    Q_OBJECT
public:
    explicit TfMain_letterwell(QWidget* parent = nullptr);
    ~TfMain_letterwell() override;

    void ApplyLanguage();
    void StartLoading() override;
    void ShowStatus(const QString& text) override;
    void StopLoading() override;
    // The installed-font sheet, once it exists; F2 follows its visibility.
    void SetViewAllWindow(TfViewAll* sheet);
    TfViewAll* ViewAllWindow() const;
    // The organize-categories dialog, holder of the categories.
    void SetOrganizeWindow(TfOrganize* organize);
    // The not-installed page's folder on a sheet of its own, alone or with
    // the installed families.
    void ViewFolderClick(bool mixed);
    // Options > Settings: the options dialog, then the new settings applied
    // and saved.
    void mnSetOptionsClick();
    // Help > Notes (F1): the notes beside the program.
    void mnNotesClick();
    // Where the notes file lies; empty: where the program's own files are
    // (beside it, or in the data folder of an installed program).
    std::string NotesFolder;
    void mnOrganizeCategoriesClick();
    void mnViewAllClick();
    void mnInterchangeClick();
    // Shows the installed page with a family selected, as the sheet asks.
    void ShowInstalledFamily(int index) override;
    bool Terminating() const override { return ShuttingDown; }
    void BringForward() override;
    TNotInstalledPage* NotInstalledPage() const override { return NotInstalled; }
    QProgressBar* LoadProgressBar() const override { return LoadProgress; }
    bool LoadWasCancelled() const override { return LoadCancelled; }

    // Commands.
    void mnUpdateListClick();
    void mnOpenFontsFolderClick();
    void mnExitClick();
    void mnLanguageClick(QAction* item);
    void mnFindClick();
    void mnPrintClick();
    // The installed sample's hint: its selection, shown in panel 0.
    void ShowSelectionHint();
    // A font change announced by this program or seen in the font folders.
    void FontsChanged();
    // The catalogue's first look, taken on another thread, came.
    void FontsRead(std::unique_ptr<TFontReading> reading);

    // ISettingsHost
    TSize MonitorSize() const override;
    TBounds WindowBounds() const override;
    void SetWindowSize(int width, int height) override;
    void SetWindowPosition(int left, int top) override;
    bool IsMaximized() const override;
    void SetMaximized() override;
    std::string NotInstalledPath() const override;
    void SetNotInstalledPath(const std::string& path) override;
    void RebuildFolderTree() override;
    void ApplySettings() override;

    TMainMenu Menu;
    QTabWidget* pcMain = nullptr;
    TInstalledPage* Installed = nullptr;
    TNotInstalledPage* NotInstalled = nullptr;
    TStatusPanels* Panels = nullptr;

    TSampleCommands* Samples = nullptr;
    QPointer<QWidget> LastControlInstalled;
    QPointer<QWidget> LastControlNotInstalled;
    QProgressBar* LoadProgress = nullptr;
    bool LoadCancelled = false;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormDestroy();
    void BuildPages();
    void WireCommands();
    void pcMainChange(int index);
    void RememberFocus(QWidget* now);
    void SetCommandEnabled(QAction* action, bool enabled);
    void ApplyLanguageGlyphs();
    void ApplyStringShortcuts();
    void ShowHint(const QString& hint);
    void WireSampleCommands();
    void WireFormatCommands();

    TFontChangeWatcher* FontWatcher = nullptr;
    TFindDialog* dlgFind = nullptr;
    QMetaObject::Connection FocusWatch;
    QPointer<TfViewAll> ViewAll;
    QPointer<TfOrganize> Organize;
    // Commands whose work arrives later stay disabled whatever the page.
    QSet<QAction*> Unavailable;
    QPointer<QWidget> LastFocusInstalled;
    QPointer<QWidget> LastFocusNotInstalled;
    bool HintRouting = true;
    bool ShuttingDown = false;
    bool Destroyed = false;
};

} // namespace lw
