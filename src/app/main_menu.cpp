#include "app/main_menu.h"

#include "controls/localize.h"
#include "controls/menu_items.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace lw {

namespace {

constexpr int kLocalizedMenu = 65535;
constexpr int kProperties = 30401;
const QKeySequence kPropertiesKey(Qt::ALT | Qt::Key_Return);

QAction* AddCheckItem(QMenu* menu, const char* name, int tag) {
    QAction* action = AddTaggedItem(menu, name, tag);
    action->setCheckable(true);
    return action;
}

} // namespace

TMainMenu BuildMainMenu(QMenuBar* bar, QWidget* owner) {
    TMainMenu m;
    bar->setObjectName(QStringLiteral("mmMain"));
    SetTag(bar, kLocalizedMenu);

    m.mnFile = AddTaggedMenu(bar, "mnFile", 10108);
    m.mnUpdateList = AddTaggedItem(m.mnFile, "mnUpdateList", 10109, Qt::Key_F5);
    m.mnUpdateFileList = AddTaggedItem(m.mnFile, "mnUpdateFileList", 13104, Qt::CTRL | Qt::Key_F5);
    m.mnOpenFontsFolder = AddTaggedItem(m.mnFile, "mnOpenFontsFolder", 10132);
    m.mnFile->addSeparator();
    m.mnDeleteFont = AddTaggedItem(m.mnFile, "mnDeleteFont", 10136, Qt::CTRL | Qt::Key_Delete);
    m.mnDisableFont =
        AddTaggedItem(m.mnFile, "mnDisableFont", 30308, Qt::CTRL | Qt::SHIFT | Qt::Key_D);
    m.mnEnableFont =
        AddTaggedItem(m.mnFile, "mnEnableFont", 30309, Qt::CTRL | Qt::SHIFT | Qt::Key_E);
    m.mnProperties = AddTaggedItem(m.mnFile, "mnProperties", kProperties, kPropertiesKey);
    m.mnFile->addSeparator();
    m.mnCopyFile = AddTaggedItem(m.mnFile, "mnCopyFile", 13116, Qt::CTRL | Qt::Key_O);
    m.mnMoveFile = AddTaggedItem(m.mnFile, "mnMoveFile", 13114, Qt::CTRL | Qt::Key_M);
    m.mnRenameFile = AddTaggedItem(m.mnFile, "mnRenameFile", 13115, Qt::CTRL | Qt::Key_R);
    m.mnDeleteFile = AddTaggedItem(m.mnFile, "mnDeleteFile", 13113, Qt::SHIFT | Qt::Key_Delete);
    m.mnFile->addSeparator();
    m.mnPrint = AddTaggedItem(m.mnFile, "mnPrint", 10110, Qt::CTRL | Qt::Key_P);
    m.mnConfigurePrinter = AddTaggedItem(m.mnFile, "mnConfigurePrinter", 10111);
    m.mnFile->addSeparator();
    m.mnExit = AddTaggedItem(m.mnFile, "mnExit", 10112);

    m.mnEdit = AddTaggedMenu(bar, "mnEdit", 10113);
    m.mnUndo = AddTaggedItem(m.mnEdit, "mnUndo", 10143, Qt::CTRL | Qt::Key_Z);
    m.mnEdit->addSeparator();
    m.mnCut = AddTaggedItem(m.mnEdit, "mnCut", 10114, Qt::CTRL | Qt::Key_X);
    m.mnCopy = AddTaggedItem(m.mnEdit, "mnCopy", 10115, Qt::CTRL | Qt::Key_C);
    m.mnPaste = AddTaggedItem(m.mnEdit, "mnPaste", 10116, Qt::CTRL | Qt::Key_V);
    m.mnSelectAll = AddTaggedItem(m.mnEdit, "mnSelectAll", 10117);
    m.mnEdit->addSeparator();
    m.mnFind = AddTaggedItem(m.mnEdit, "mnFind", 10118);

    m.mnFormat = AddTaggedMenu(bar, "mnFormat", 10107);
    m.mnBold = AddCheckItem(m.mnFormat, "mnBold", 10120);
    m.mnItalic = AddCheckItem(m.mnFormat, "mnItalic", 10121);
    m.mnUnderline = AddCheckItem(m.mnFormat, "mnUnderline", 10122);
    m.mnFormat->addSeparator();
    m.mnAnsiSample = AddCheckItem(m.mnFormat, "mnAnsiSample", 10141);
    m.mnSampleColor = AddTaggedItem(m.mnFormat, "mnSampleColor", 10123);
    m.mnSize = AddTaggedItem(m.mnFormat, "mnSize", 10142);

    m.mnFonts = AddTaggedMenu(bar, "mnFonts", 13118);
    m.mnInstallFont = AddTaggedItem(m.mnFonts, "mnInstallFont", 13105);
    m.mnInstallTemporarily = AddTaggedItem(m.mnFonts, "mnInstallTemporarily", 13106);
    m.mnFonts->addSeparator();
    m.mnViewFolder = AddTaggedItem(m.mnFonts, "mnViewFolder", 13103);
    m.mnViewMix = AddTaggedItem(m.mnFonts, "mnViewMix", 13111);
    m.mnFonts->addSeparator();
    m.mnRemoveTemporary = AddTaggedItem(m.mnFonts, "mnRemoveTemporary", 13117);

    m.mnView = AddTaggedMenu(bar, "mnView", 10119);
    m.mnViewAll = AddTaggedItem(m.mnView, "mnViewAll", 10125, Qt::CTRL | Qt::Key_T);
    m.mnInterchange = AddTaggedItem(m.mnView, "mnInterchange", 10126, Qt::Key_F2);

    m.mnOptions = AddTaggedMenu(bar, "mnOptions", 10127);
    m.mnSetOptions = AddTaggedItem(m.mnOptions, "mnSetOptions", 10137);
    m.mnOrganizeCategories = AddTaggedItem(m.mnOptions, "mnOrganizeCategories", 10140);
    m.mnChooseLanguage = AddTaggedSubmenu(m.mnOptions, "mnChooseLanguage", 10128);
    // The language items keep their own fixed texts in every language.
    m.mnEnglish = AddCheckItem(m.mnChooseLanguage, "mnEnglish", 0);
    m.mnEnglish->setText(QStringLiteral("&SRPSKI"));
    SetHint(m.mnEnglish, QStringLiteral("Srbija do Tokija"));
    m.mnEspaniol = AddCheckItem(m.mnChooseLanguage, "mnEspaniol", 0);
    m.mnEspaniol->setText(QStringLiteral("Spanski"));
    SetHint(m.mnEspaniol, QStringLiteral("Spanska sela ne rade"));
    m.mnLanguageEnglish = AddCheckItem(m.mnChooseLanguage, "mnLanguageEnglish", 0);
    m.mnLanguageEnglish->setText(QStringLiteral("&English"));
    SetHint(m.mnLanguageEnglish, QStringLiteral("The program in English"));
    m.LanguageGroup = new QActionGroup(owner);
    m.LanguageGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    m.LanguageGroup->addAction(m.mnEnglish);
    m.LanguageGroup->addAction(m.mnEspaniol);
    m.LanguageGroup->addAction(m.mnLanguageEnglish);

    m.mnHelp = AddTaggedMenu(bar, "mnHelp", 10129);
    m.mnNotes = AddTaggedItem(m.mnHelp, "mnNotes", 10130, Qt::Key_F1);
    m.mnAbout = AddTaggedItem(m.mnHelp, "mnAbout", 10131);

    m.pmFonts = new QMenu(owner);
    m.pmFonts->setObjectName(QStringLiteral("pmFonts"));
    SetTag(m.pmFonts, kLocalizedMenu);
    m.mnUpdateList0 = AddTaggedItem(m.pmFonts, "mnUpdateList0", 10109);
    m.mnDeleteFont0 = AddTaggedItem(m.pmFonts, "mnDeleteFont0", 10136, Qt::CTRL | Qt::Key_Delete);
    m.mnDisableFont0 =
        AddTaggedItem(m.pmFonts, "mnDisableFont0", 30308, Qt::CTRL | Qt::SHIFT | Qt::Key_D);
    m.mnEnableFont0 =
        AddTaggedItem(m.pmFonts, "mnEnableFont0", 30309, Qt::CTRL | Qt::SHIFT | Qt::Key_E);
    m.pmFonts->addSeparator();
    m.mnFind0 = AddTaggedItem(m.pmFonts, "mnFind0", 10118);
    m.pmFonts->addSeparator();
    m.mnProperties0 = AddTaggedItem(m.pmFonts, "mnProperties0", kProperties, kPropertiesKey);

    m.pmFiles = new QMenu(owner);
    m.pmFiles->setObjectName(QStringLiteral("pmFiles"));
    SetTag(m.pmFiles, kLocalizedMenu);
    m.mnUpdateFileList0 = AddTaggedItem(m.pmFiles, "mnUpdateFileList0", 13104);
    m.pmFiles->addSeparator();
    m.mnCopyFile0 = AddTaggedItem(m.pmFiles, "mnCopyFile0", 13116);
    m.mnMoveFile0 = AddTaggedItem(m.pmFiles, "mnMoveFile0", 13114);
    m.mnRenameFile0 = AddTaggedItem(m.pmFiles, "mnRenameFile0", 13115);
    m.mnDeleteFile0 = AddTaggedItem(m.pmFiles, "mnDeleteFile0", 13113);
    m.pmFiles->addSeparator();
    m.mnInstallFont0 = AddTaggedItem(m.pmFiles, "mnInstallFont0", 13105);
    m.mnInstallFontTemporarily0 = AddTaggedItem(m.pmFiles, "mnInstallFontTemporarily0", 13106);
    m.pmFiles->addSeparator();
    m.mnViewFolder0 = AddTaggedItem(m.pmFiles, "mnViewFolder0", 13103);
    m.mnViewMix0 = AddTaggedItem(m.pmFiles, "mnViewMix0", 13111);
    m.pmFiles->addSeparator();
    m.mnFileProperties0 =
        AddTaggedItem(m.pmFiles, "mnFileProperties0", kProperties, kPropertiesKey);

    m.pmSample = new QMenu(owner);
    m.pmSample->setObjectName(QStringLiteral("pmSample"));
    SetTag(m.pmSample, kLocalizedMenu);
    m.mnUndoEx = AddTaggedItem(m.pmSample, "mnUndoEx", 10143, Qt::CTRL | Qt::Key_Z);
    m.pmSample->addSeparator();
    m.mnCutEx = AddTaggedItem(m.pmSample, "mnCutEx", 10114, Qt::CTRL | Qt::Key_X);
    m.mnCopyEx = AddTaggedItem(m.pmSample, "mnCopyEx", 10115, Qt::CTRL | Qt::Key_C);
    m.mnPasteEx = AddTaggedItem(m.pmSample, "mnPasteEx", 10116, Qt::CTRL | Qt::Key_V);
    m.pmSample->addSeparator();
    m.mnSelectAllEx = AddTaggedItem(m.pmSample, "mnSelectAllEx", 10117);
    return m;
}

} // namespace lw
