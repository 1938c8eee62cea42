#include "app/main_menu.h"

#include "app/localize.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace lw {

namespace {

constexpr int kLocalizedMenu = 65535;

QMenu* AddMenu(QMenuBar* bar, const char* name, int tag) {
    QMenu* menu = bar->addMenu(QString::fromLatin1(name));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    SetTag(menu->menuAction(), tag);
    return menu;
}

QAction* AddItem(QMenu* menu, const char* name, int tag, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(QString::fromLatin1(name));
    action->setObjectName(QString::fromLatin1(name));
    if (tag != 0) {
        SetTag(action, tag);
    }
    action->setShortcut(shortcut);
    return action;
}

QAction* AddCheckItem(QMenu* menu, const char* name, int tag) {
    QAction* action = AddItem(menu, name, tag);
    action->setCheckable(true);
    return action;
}

} // namespace

TMainMenu BuildMainMenu(QMenuBar* bar, QWidget* owner) {
    TMainMenu m;
    bar->setObjectName(QStringLiteral("mmMain"));
    SetTag(bar, kLocalizedMenu);

    m.mnFile = AddMenu(bar, "mnFile", 10108);
    m.mnUpdateList = AddItem(m.mnFile, "mnUpdateList", 10109, Qt::Key_F5);
    m.mnUpdateFileList = AddItem(m.mnFile, "mnUpdateFileList", 13104, Qt::CTRL | Qt::Key_F5);
    m.mnOpenFontsFolder = AddItem(m.mnFile, "mnOpenFontsFolder", 10132);
    m.mnFile->addSeparator();
    m.mnDeleteFont = AddItem(m.mnFile, "mnDeleteFont", 10136, Qt::CTRL | Qt::Key_Delete);
    m.mnFile->addSeparator();
    m.mnCopyFile = AddItem(m.mnFile, "mnCopyFile", 13116, Qt::CTRL | Qt::Key_O);
    m.mnMoveFile = AddItem(m.mnFile, "mnMoveFile", 13114, Qt::CTRL | Qt::Key_M);
    m.mnRenameFile = AddItem(m.mnFile, "mnRenameFile", 13115, Qt::CTRL | Qt::Key_R);
    m.mnDeleteFile = AddItem(m.mnFile, "mnDeleteFile", 13113, Qt::SHIFT | Qt::Key_Delete);
    m.mnFile->addSeparator();
    m.mnPrint = AddItem(m.mnFile, "mnPrint", 10110, Qt::CTRL | Qt::Key_P);
    m.mnConfigurePrinter = AddItem(m.mnFile, "mnConfigurePrinter", 10111);
    m.mnFile->addSeparator();
    m.mnExit = AddItem(m.mnFile, "mnExit", 10112);

    m.mnEdit = AddMenu(bar, "mnEdit", 10113);
    m.mnUndo = AddItem(m.mnEdit, "mnUndo", 10143, Qt::CTRL | Qt::Key_Z);
    m.mnEdit->addSeparator();
    m.mnCut = AddItem(m.mnEdit, "mnCut", 10114, Qt::CTRL | Qt::Key_X);
    m.mnCopy = AddItem(m.mnEdit, "mnCopy", 10115, Qt::CTRL | Qt::Key_C);
    m.mnPaste = AddItem(m.mnEdit, "mnPaste", 10116, Qt::CTRL | Qt::Key_V);
    m.mnSelectAll = AddItem(m.mnEdit, "mnSelectAll", 10117);
    m.mnEdit->addSeparator();
    m.mnFind = AddItem(m.mnEdit, "mnFind", 10118);

    m.mnFormat = AddMenu(bar, "mnFormat", 10107);
    m.mnBold = AddCheckItem(m.mnFormat, "mnBold", 10120);
    m.mnItalic = AddCheckItem(m.mnFormat, "mnItalic", 10121);
    m.mnUnderline = AddCheckItem(m.mnFormat, "mnUnderline", 10122);
    m.mnFormat->addSeparator();
    m.mnAnsiSample = AddCheckItem(m.mnFormat, "mnAnsiSample", 10141);
    m.mnSampleColor = AddItem(m.mnFormat, "mnSampleColor", 10123);
    m.mnSize = AddItem(m.mnFormat, "mnSize", 10142);

    m.mnFonts = AddMenu(bar, "mnFonts", 13118);
    m.mnInstallFont = AddItem(m.mnFonts, "mnInstallFont", 13105);
    m.mnInstallTemporarily = AddItem(m.mnFonts, "mnInstallTemporarily", 13106);
    m.mnFonts->addSeparator();
    m.mnViewFolder = AddItem(m.mnFonts, "mnViewFolder", 13103);
    m.mnViewMix = AddItem(m.mnFonts, "mnViewMix", 13111);
    m.mnFonts->addSeparator();
    m.mnRemoveTemporary = AddItem(m.mnFonts, "mnRemoveTemporary", 13117);

    m.mnView = AddMenu(bar, "mnView", 10119);
    m.mnViewAll = AddItem(m.mnView, "mnViewAll", 10125, Qt::CTRL | Qt::Key_T);
    m.mnInterchange = AddItem(m.mnView, "mnInterchange", 10126, Qt::Key_F2);

    m.mnOptions = AddMenu(bar, "mnOptions", 10127);
    m.mnSetOptions = AddItem(m.mnOptions, "mnSetOptions", 10137);
    m.mnOrganizeCategories = AddItem(m.mnOptions, "mnOrganizeCategories", 10140);
    m.mnChooseLanguage = m.mnOptions->addMenu(QStringLiteral("mnChooseLanguage"));
    m.mnChooseLanguage->setObjectName(QStringLiteral("mnChooseLanguage"));
    m.mnChooseLanguage->menuAction()->setObjectName(QStringLiteral("mnChooseLanguage"));
    SetTag(m.mnChooseLanguage->menuAction(), 10128);
    // The language items keep their own fixed texts in every language.
    m.mnEnglish = AddCheckItem(m.mnChooseLanguage, "mnEnglish", 0);
    m.mnEnglish->setText(QStringLiteral("&SRPSKI"));
    SetHint(m.mnEnglish, QStringLiteral("Srbija do Tokija"));
    m.mnEspaniol = AddCheckItem(m.mnChooseLanguage, "mnEspaniol", 0);
    m.mnEspaniol->setText(QStringLiteral("Spanski"));
    SetHint(m.mnEspaniol, QStringLiteral("Spanska sela ne rade"));
    m.LanguageGroup = new QActionGroup(owner);
    m.LanguageGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    m.LanguageGroup->addAction(m.mnEnglish);
    m.LanguageGroup->addAction(m.mnEspaniol);

    m.mnHelp = AddMenu(bar, "mnHelp", 10129);
    m.mnNotes = AddItem(m.mnHelp, "mnNotes", 10130, Qt::Key_F1);
    m.mnAbout = AddItem(m.mnHelp, "mnAbout", 10131);

    m.pmFonts = new QMenu(owner);
    m.pmFonts->setObjectName(QStringLiteral("pmFonts"));
    SetTag(m.pmFonts, kLocalizedMenu);
    m.mnUpdateList0 = AddItem(m.pmFonts, "mnUpdateList0", 10109);
    m.mnDeleteFont0 = AddItem(m.pmFonts, "mnDeleteFont0", 10136, Qt::CTRL | Qt::Key_Delete);
    m.pmFonts->addSeparator();
    m.mnFind0 = AddItem(m.pmFonts, "mnFind0", 10118);

    m.pmSample = new QMenu(owner);
    m.pmSample->setObjectName(QStringLiteral("pmSample"));
    SetTag(m.pmSample, kLocalizedMenu);
    m.mnUndoEx = AddItem(m.pmSample, "mnUndoEx", 10143, Qt::CTRL | Qt::Key_Z);
    m.pmSample->addSeparator();
    m.mnCutEx = AddItem(m.pmSample, "mnCutEx", 10114, Qt::CTRL | Qt::Key_X);
    m.mnCopyEx = AddItem(m.pmSample, "mnCopyEx", 10115, Qt::CTRL | Qt::Key_C);
    m.mnPasteEx = AddItem(m.pmSample, "mnPasteEx", 10116, Qt::CTRL | Qt::Key_V);
    m.pmSample->addSeparator();
    m.mnSelectAllEx = AddItem(m.pmSample, "mnSelectAllEx", 10117);
    return m;
}

} // namespace lw
