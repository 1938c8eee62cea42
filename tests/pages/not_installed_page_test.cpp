// The not-installed page driven as a person drives it: a click on a folder,
// a click on a file, keys to the focused widget, the menu commands.
#include "app/main_window.h"
#include "base/strings.h"
#include "categories/auto_categories.h"
#include "controls/drive_view.h"
#include "controls/file_list.h"
#include "controls/status_panels.h"
#include "font_builder.h"
#include "not_installed_fixture.h"
#include "pages/drawable_preview.h"
#include "pages/not_installed_page.h"
#include "told.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::NotInstalledPageTest;
using test::TrueTypeFace;

TEST_F(NotInstalledPageTest, AFileIsReadPreviewedInItsFaceItsLabelsFilledAndItsFolderStored) {
    MakeFont("probe.ttf", "LwPreview", "Regular");
    test::WriteFile(Folder / "notes.txt", {'n'});
    const auto face = test::NamedTrueType;
    test::WriteFile(Folder / "family.ttc",
                    test::Collection({face("LwOne", "Regular"), face("LwTwo", "Regular"),
                                      face("LwTwo", "Bold")}));
    OpenFolder();
    EXPECT_EQ(Page().FileList->count(), 2) << "font files only, a collection as one";
    EXPECT_EQ(Page().lblNumberDir->text(), QStringLiteral("Broj fontova u folderu:  2"));
    EXPECT_EQ(fs::current_path(), Folder) << "the folder chosen is the current folder";
    ClickFile("probe.ttf");
    ASSERT_NE(Page().PreviewFontFile(), nullptr);
    EXPECT_EQ(Fonts.Loaded, std::vector<std::string>{(Folder / "probe.ttf").string()});
    EXPECT_EQ(Label(Page().lblFontNameNotInst), "Puni naziv fonta:  LwPreview Regular");
    EXPECT_EQ(Label(Page().lblFontFamilyNotInst), "Vrsta:  LwPreview");
    EXPECT_EQ(Label(Page().lblFontSubFamilyNotInst), "Podvrsta:  Regular");
    EXPECT_EQ(Label(Page().lblFontTypeNotInst), "Tip:  TrueType");
    EXPECT_EQ(Label(Page().lblFontVersionNotInst), "Verzija:  Version 1.5");
    EXPECT_EQ(Label(Page().lblInstalled), "Ne instalirani");
    EXPECT_EQ(Page().mmSampleNotInst->font().family(), QStringLiteral("LwPreview"));
    EXPECT_EQ(Window->Panels->PanelText(1), QStringLiteral("LwPreview"));

    // Leaving the page lets the file go; coming back reads it again.
    Window->pcMain->setCurrentIndex(0);
    EXPECT_EQ(Fonts.Unloaded, std::vector<std::string>{(Folder / "probe.ttf").string()});
    EXPECT_EQ(Page().PreviewFontFile(), nullptr);
    Window->pcMain->setCurrentIndex(1);
    EXPECT_EQ(Fonts.Loaded.size(), 2u);
    EXPECT_NE(Page().PreviewFontFile(), nullptr);

    // The probe maps none of the sample's letters: said, never drawn in
    // another font; a face of another script shows a sentence of its own.
    EXPECT_FALSE(Page().DrawableNotInst->isHidden());
    EXPECT_EQ(Page().DrawableNotInst->lblMark->text().toStdString(), LoadStr(30550));
    const fs::path arabic = "/usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf";
    if (fs::exists(arabic)) {
        fs::copy_file(arabic, Folder / "arabic.ttf");
        OpenFolder();
        ClickFile("arabic.ttf");
        EXPECT_EQ(Page().DrawableNotInst->lblMark->text(),
                  QString::fromStdString(LocalScriptName("Arab")).toLower());
        ASSERT_FALSE(Page().DrawableNotInst->imgSample->pixmap().isNull());
        EXPECT_GT(Page().DrawableNotInst->imgSample->pixmap().width(), 50);
        // A sample typed in the face's own script wins.
        Page().mmSampleNotInst->setPlainText(QStringLiteral("سلام عليكم"));
        EXPECT_TRUE(Page().DrawableNotInst->isHidden());
    }

    // A collection shows its first face and names every family and style.
    const size_t loaded = Fonts.Loaded.size();
    ClickFile("family.ttc");
    ASSERT_NE(Page().PreviewFontFile(), nullptr);
    EXPECT_EQ(std::vector<std::string>(Fonts.Loaded.begin() + long(loaded), Fonts.Loaded.end()),
              std::vector<std::string>{(Folder / "family.ttc").string()});
    EXPECT_EQ(Label(Page().lblFontNameNotInst), "Puni naziv fonta:  LwOne Regular");
    EXPECT_EQ(Label(Page().lblFontFamilyNotInst), "Vrsta:  LwOne, LwTwo");
    EXPECT_EQ(Label(Page().lblFontSubFamilyNotInst), "Podvrsta:  Regular, Bold");
    EXPECT_EQ(Label(Page().lblFontTypeNotInst), "Tip:  TrueType Collection");
    EXPECT_EQ(Page().mmSampleNotInst->font().family(), QStringLiteral("LwOne"));

    // The folder shown is stored and comes back at the next start.
    Window.reset();
    EXPECT_EQ(Stored().at("Not installed tab path").Text, Folder.string() + "/");
    Window = std::make_unique<TfMain_letterwell>();
    EXPECT_EQ(Window->NotInstalled->DriveView->Path(), Folder.string() + "/");
    EXPECT_EQ(Window->NotInstalled->FileList->Directory(), Folder.string() + "/");
}

TEST_F(NotInstalledPageTest, WhatCannotBePreviewedShowsTheEmptyFormAndTheReason) {
    MakeFont("refused.ttf", "LwRefused", "Regular");
    test::WriteFile(Folder / "pack.ttc", {1, 2, 3});
    Fonts.RefusedLoads = {"refused.ttf"};
    OpenFolder();
    ClickFile("refused.ttf");
    EXPECT_EQ(Page().PreviewFontFile(), nullptr);
    EXPECT_EQ(Label(Page().lblFontNameNotInst), "Puni naziv fonta:  ");
    EXPECT_EQ(Label(Page().lblInstalled), "Ne instalirani");
    EXPECT_EQ(Window->Panels->PanelText(1), QStringLiteral("Ostecen neispravan font.: GRESKA "));
    // Installing what could not be read says so.
    Window->Menu.mnInstallFont->trigger();
    ASSERT_TRUE(test::ToldOnce("Ostecen neispravan font.", std::nullopt, TMsgIcon::Error));

    // A collection without its header is no font, even where the system
    // would take it.
    ClickFile("pack.ttc");
    EXPECT_EQ(Page().PreviewFontFile(), nullptr);
    EXPECT_EQ(Label(Page().lblFontNameNotInst), "Puni naziv fonta:  ");
    EXPECT_EQ(Window->Panels->PanelText(1), QStringLiteral("not a font file: GRESKA "));

    // No file chosen: the sample falls back, and installing asks for a file.
    Page().FileList->setCurrentRow(-1);
    Page().FileListClick();
    EXPECT_EQ(Page().mmSampleNotInst->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(Window->Panels->PanelText(1), QStringLiteral("MS Sans Serif"));
    test::TestPrompts().Reset();
    Window->Menu.mnInstallTemporarily->trigger();
    ASSERT_TRUE(test::ToldOnce("Nisi selektovao font.", "Upozorenje"));
}

TEST_F(NotInstalledPageTest,
       AnInstalledFileListsItsStylesOthersAreInstalledAfterAskingOrForASession) {
    MakeFont("probe-bold.ttf", "LwInstalled", "Bold");
    Fonts.AddFace("LwInstalled", TrueTypeFace("LwInstalled Bold", "Bold", NTM_BOLD));
    Fonts.AddFace("LwInstalled", TrueTypeFace("LwInstalled Regular", "Regular", NTM_REGULAR));
    Fonts.Fonts["LwInstalled Bold (TrueType)"] = TRegValue::FromString("probe-bold.ttf");
    MakeFont("fresh.ttf", "LwFresh", "Regular");
    OpenFolder();
    ClickFile("probe-bold.ttf");
    ASSERT_NE(Page().PreviewFontFile(), nullptr);
    EXPECT_TRUE(Page().PreviewFontFile()->Installed);
    EXPECT_EQ(Label(Page().lblInstalled), "Instalirana podgrupa: Bold, Regular");
    EXPECT_TRUE(Page().mmSampleNotInst->font().bold());
    // Enter in the list installs: this one is installed already.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(test::ToldOnce("ODABRANI FONT JE ODUVEK INSTALIRAN!!!.", "Upozorenje"));
    EXPECT_TRUE(fs::is_empty(FontFolder)) << "nothing was copied";

    test::TestPrompts().Reset();
    ClickFile("fresh.ttf");
    test::TestPrompts().Answers = {TMsgResult::No};
    QTest::mouseClick(Page().btnInstallFont0, Qt::LeftButton);
    ASSERT_TRUE(test::ToldOnce("Da li zelis da instaliras font LwFresh Regular?", std::nullopt,
                               std::nullopt, TMsgButtons::YesNo));
    EXPECT_FALSE(fs::exists(FontFolder / "fresh.ttf")) << "No installs nothing";

    test::TestPrompts().Answers = {TMsgResult::Yes};
    QTest::mouseClick(Page().btnInstallFont0, Qt::LeftButton);
    EXPECT_TRUE(fs::exists(FontFolder / "fresh.ttf"));
    EXPECT_EQ(Fonts.Fonts.count("LwFresh Regular (TrueType)"), 1u);
    // The file is read again: now it is installed.
    ASSERT_NE(Page().PreviewFontFile(), nullptr);
    EXPECT_TRUE(Page().PreviewFontFile()->Installed);

    MakeFont("session.ttf", "LwSession", "Regular");
    Page().mnUpdateFileListClick();
    ClickFile("session.ttf");
    test::TestPrompts().Answers = {TMsgResult::Yes};
    Window->Menu.mnInstallTemporarily->trigger();
    EXPECT_EQ(Fonts.TemporaryLoaded, std::vector<std::string>{(Folder / "session.ttf").string()});
    EXPECT_TRUE(FontManager->IsTemporary("LwSession Regular"));
    EXPECT_FALSE(fs::exists(FontFolder / "session.ttf"));

    test::TestPrompts().Reset();
    test::TestPrompts().Answers = {TMsgResult::Yes};
    Window->Menu.mnRemoveTemporary->trigger();
    ASSERT_TRUE(test::ToldOnce("Da li zelis da deinstaliras privremeno instaliran font?"));
    EXPECT_FALSE(FontManager->IsTemporary("LwSession Regular"));
}

} // namespace
} // namespace lw
