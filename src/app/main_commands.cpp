#include "app/main_window.h"

// Which page, sheet or dialog each of the main window's commands goes to.

#include "app/about_dialog.h"
#include "app/font_change_watcher.h"
#include "controls/localize.h"
#include "controls/status_panels.h"
#include "pages/installed_page.h"
#include "pages/not_installed_page.h"
#include "pages/sample_commands.h"
#include "pages/simple_combo.h"
#include "printing/current_printer.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace lw {

namespace {
constexpr int kDisableFont = 30308;
constexpr int kEnableFont = 30309;
constexpr int kDisableStyle = 30320;
constexpr int kEnableStyle = 30321;
} // namespace

void TfMain_letterwell::WireCommands() {
    // The sheets' and the categories' commands wait for their windows.
    Unavailable = {Menu.mnViewAll, Menu.mnInterchange, Menu.mnOrganizeCategories};
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
    connect(Menu.mnAbout, &QAction::triggered, this,
            [this] { ShowAbout(this, false, ProgramVersion()); });
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
        connect(remove, &QAction::triggered, Installed, &TInstalledPage::mnDeleteFontClick);
    }
    for (QAction* disable : {Menu.mnDisableFont, Menu.mnDisableFont0}) {
        connect(disable, &QAction::triggered, Installed,
                [this] { Installed->DisableClick(false); });
    }
    for (QAction* enable : {Menu.mnEnableFont, Menu.mnEnableFont0}) {
        connect(enable, &QAction::triggered, Installed, [this] { Installed->DisableClick(true); });
    }
    connect(Menu.mnProperties, &QAction::triggered, this, [this] {
        if (pcMain->currentWidget() == Installed) {
            Installed->PropertiesClick();
        } else {
            NotInstalled->PropertiesClick();
        }
    });
    connect(Menu.mnProperties0, &QAction::triggered, Installed, &TInstalledPage::PropertiesClick);
    connect(Menu.mnFileProperties0, &QAction::triggered, NotInstalled,
            &TNotInstalledPage::PropertiesClick);
    // With a style chosen the same commands act on that style, and say so.
    connect(Installed, &TInstalledPage::StyleChosen, this, [this](bool chosen) {
        for (QAction* disable : {Menu.mnDisableFont, Menu.mnDisableFont0}) {
            SetTag(disable, chosen ? kDisableStyle : kDisableFont);
            LocalizeMenu(disable);
        }
        for (QAction* enable : {Menu.mnEnableFont, Menu.mnEnableFont0}) {
            SetTag(enable, chosen ? kEnableStyle : kEnableFont);
            LocalizeMenu(enable);
        }
    });
    connect(Installed, &TInstalledPage::StatusText, this, &TfMain_letterwell::ShowStatus);
    connect(NotInstalled, &TNotInstalledPage::StatusText, this, [this](const QString& text) {
        if (Samples->ActiveSample == NotInstalled->mmSampleNotInst) {
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
        if (Samples->ActiveSample == Installed->mmSample) {
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
    connect(Menu.mnUndo, &QAction::triggered, this, [this] { Samples->EditCommand("undo"); });
    connect(Menu.mnCut, &QAction::triggered, this, [this] { Samples->EditCommand("cut"); });
    connect(Menu.mnCopy, &QAction::triggered, this, [this] { Samples->EditCommand("copy"); });
    connect(Menu.mnPaste, &QAction::triggered, this, [this] { Samples->EditCommand("paste"); });
    connect(Menu.mnSelectAll, &QAction::triggered, this,
            [this] { Samples->EditCommand("selectAll"); });
    WireSampleCommands();
    WireFormatCommands();
}

void TfMain_letterwell::WireSampleCommands() {
    connect(Menu.mnUndoEx, &QAction::triggered, this, [this] { Samples->SampleCommand("undo"); });
    connect(Menu.mnCutEx, &QAction::triggered, this, [this] { Samples->SampleCommand("cut"); });
    connect(Menu.mnCopyEx, &QAction::triggered, this, [this] { Samples->SampleCommand("copy"); });
    connect(Menu.mnPasteEx, &QAction::triggered, this, [this] { Samples->SampleCommand("paste"); });
    connect(Menu.mnSelectAllEx, &QAction::triggered, this,
            [this] { Samples->SampleCommand("selectAll"); });
    for (QPlainTextEdit* memo : {Installed->mmSample, NotInstalled->mmSampleNotInst}) {
        memo->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(memo, &QWidget::customContextMenuRequested, this,
                [this, memo](const QPoint& at) { Menu.pmSample->popup(memo->mapToGlobal(at)); });
    }
    Installed->mmSample->viewport()->installEventFilter(this);
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
    connect(Installed->btnAnsiSample, &QToolButton::toggled, Samples,
            &TSampleCommands::SetAnsiSample);
    connect(Menu.mnSampleColor, &QAction::triggered, Installed, &TInstalledPage::ChooseSampleColor);
    connect(Menu.mnSize, &QAction::triggered, Installed, &TInstalledPage::mnSizeClick);
    Installed->OtherSample = NotInstalled->mmSampleNotInst;
}

} // namespace lw
