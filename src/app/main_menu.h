#pragma once

#include <QString>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QWidget;

namespace lw {

// Every command of the main window's menu, by its design name.
struct TMainMenu {
    QMenu* mnFile = nullptr;
    QAction* mnUpdateList = nullptr;
    QAction* mnUpdateFileList = nullptr;
    QAction* mnOpenFontsFolder = nullptr;
    QAction* mnDeleteFont = nullptr;
    QAction* mnDisableFont = nullptr;
    QAction* mnEnableFont = nullptr;
    QAction* mnProperties = nullptr;
    QAction* mnCopyFile = nullptr;
    QAction* mnMoveFile = nullptr;
    QAction* mnRenameFile = nullptr;
    QAction* mnDeleteFile = nullptr;
    QAction* mnPrint = nullptr;
    QAction* mnConfigurePrinter = nullptr;
    QAction* mnExit = nullptr;

    QMenu* mnEdit = nullptr;
    QAction* mnUndo = nullptr;
    QAction* mnCut = nullptr;
    QAction* mnCopy = nullptr;
    QAction* mnPaste = nullptr;
    QAction* mnSelectAll = nullptr;
    QAction* mnFind = nullptr;

    QMenu* mnFormat = nullptr;
    QAction* mnBold = nullptr;
    QAction* mnItalic = nullptr;
    QAction* mnUnderline = nullptr;
    QAction* mnAnsiSample = nullptr;
    QAction* mnSampleColor = nullptr;
    QAction* mnSize = nullptr;

    QMenu* mnFonts = nullptr;
    QAction* mnInstallFont = nullptr;
    QAction* mnInstallTemporarily = nullptr;
    QAction* mnViewFolder = nullptr;
    QAction* mnViewMix = nullptr;
    QAction* mnRemoveTemporary = nullptr;

    QMenu* mnView = nullptr;
    QAction* mnViewAll = nullptr;
    QAction* mnInterchange = nullptr;

    QMenu* mnOptions = nullptr;
    QAction* mnSetOptions = nullptr;
    QAction* mnOrganizeCategories = nullptr;
    QMenu* mnChooseLanguage = nullptr;
    QAction* mnEnglish = nullptr;
    QAction* mnEspaniol = nullptr;
    QAction* mnLanguageEnglish = nullptr;
    QActionGroup* LanguageGroup = nullptr;

    QMenu* mnHelp = nullptr;
    QAction* mnNotes = nullptr;
    QAction* mnAbout = nullptr;

    // The font list's pop-up menu.
    QMenu* pmFonts = nullptr;
    QAction* mnUpdateList0 = nullptr;
    QAction* mnDeleteFont0 = nullptr;
    QAction* mnDisableFont0 = nullptr;
    QAction* mnEnableFont0 = nullptr;
    QAction* mnFind0 = nullptr;
    QAction* mnProperties0 = nullptr;

    // The pop-up menu of both sample memos.
    // The not-installed page's pop-up (folder tree and file list).
    QMenu* pmFiles = nullptr;
    QAction* mnUpdateFileList0 = nullptr;
    QAction* mnCopyFile0 = nullptr;
    QAction* mnMoveFile0 = nullptr;
    QAction* mnRenameFile0 = nullptr;
    QAction* mnDeleteFile0 = nullptr;
    QAction* mnInstallFont0 = nullptr;
    QAction* mnInstallFontTemporarily0 = nullptr;
    QAction* mnViewFolder0 = nullptr;
    QAction* mnViewMix0 = nullptr;
    QAction* mnFileProperties0 = nullptr;

    QMenu* pmSample = nullptr;
    QAction* mnUndoEx = nullptr;
    QAction* mnCutEx = nullptr;
    QAction* mnCopyEx = nullptr;
    QAction* mnPasteEx = nullptr;
    QAction* mnSelectAllEx = nullptr;
};

// Builds the menu bar and the pop-up menus with their Tags, design shortcuts
// and fixed texts; captions and hints come from the strings when localised.
TMainMenu BuildMainMenu(QMenuBar* bar, QWidget* owner);

} // namespace lw
