// The file commands on the not-installed page's file and the removal of
// whole families, on real files in the temporary home. After each, the files
// that must stay are byte-identical, and no file but the selected one and its
// outline partner was touched.
#include "base/options.h"
#include "controls/status_panels.h"
#include "fonts/font_file_commands.h"
#include "modal_window.h"
#include "not_installed_fixture.h"
#include "pages/installed_page.h"
#include "pages/simple_combo.h"
#include "told.h"

#include <QAction>
#include <QPushButton>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::NotInstalledPageTest;
using test::TrueTypeFace;

class FileCommandsTest : public NotInstalledPageTest {
protected:
    void SetUp() override {
        NotInstalledPageTest::SetUp();
        Elsewhere = Folder.parent_path() / (Folder.filename().string() + "-elsewhere");
        fs::create_directories(Elsewhere);
        Options.MoveToTrash = false;
        Options.DeleteReadOnly = false;
    }
    void TearDown() override {
        fs::remove_all(Elsewhere);
        NotInstalledPageTest::TearDown();
    }
    std::vector<std::string> Listed() {
        std::vector<std::string> names;
        for (int row = 0; row < Page().FileList->count(); ++row) {
            names.push_back(Page().FileList->ItemName(row));
        }
        return names;
    }
    std::string Last() { return Messages().empty() ? std::string() : Messages().back().Text; }
    // The command run with its folder or name box answered by `answer`.
    static void Answering(const std::string& answer, QAction* command) {
        test::TestPrompts().TextAnswers = {answer};
        command->trigger();
    }
    // The command run with its question answered `answer`.
    static void Answering(TMsgResult answer, QAction* command) {
        test::TestPrompts().Answers = {answer};
        command->trigger();
    }

    fs::path Elsewhere;
};

TEST_F(FileCommandsTest, DeletingKeepsTheSelectionsPlaceAndTakesTheOutlineAlong) {
    MakeFont("a.ttf", "LwA", "Regular");
    MakeFont("b.ttf", "LwB", "Regular");
    MakePair("C.PFM", "C.pfb");
    OpenFolder();
    ASSERT_EQ(Listed(), (std::vector<std::string>{"a.ttf", "b.ttf", "C.PFM"}));
    // An upper-case metrics file takes its outline along; the last item
    // deleted, the new last one is selected.
    ClickFile("C.PFM");
    Answering(TMsgResult::Yes, Window->Menu.mnDeleteFile);
    EXPECT_EQ(Messages().front().Text,
              "Sigurno zelite da obrisete fajl  " + (Folder / "C.PFM").string() + "?");
    EXPECT_FALSE(fs::exists(Folder / "C.PFM"));
    EXPECT_FALSE(fs::exists(Folder / "C.pfb"));
    EXPECT_EQ(Listed(), (std::vector<std::string>{"a.ttf", "b.ttf"}));
    EXPECT_EQ(Page().FileList->currentRow(), 1);
    EXPECT_NE(Page().PreviewFontFile(), nullptr) << "the selected file is shown";
    // No is no.
    Answering(TMsgResult::No, Window->Menu.mnDeleteFile0);
    EXPECT_TRUE(fs::exists(Folder / "b.ttf"));
    Answering(TMsgResult::Yes, Window->Menu.mnDeleteFile);
    // The only item deleted: no selection, the sample falls back.
    ClickFile("a.ttf");
    Answering(TMsgResult::Yes, Window->Menu.mnDeleteFile);
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(Page().FileList->currentRow(), -1);
    EXPECT_EQ(Window->Panels->PanelText(1), QStringLiteral("MS Sans Serif"));
    // Nothing selected: said so.
    test::TestPrompts().Reset();
    Window->Menu.mnDeleteFile->trigger();
    ASSERT_TRUE(test::ToldOnce("Nisi selektovao font."));
}

TEST_F(FileCommandsTest, DeletingGoesToTheTrashOrIsErasedAndAReadOnlyFileNeedsTheOption) {
    // The trashed file's name is a pattern that every other file matches.
    MakeFont("*.ttf", "LwT", "Regular");
    MakeFont("erased.ttf", "LwE", "Regular");
    MakeFont("locked.ttf", "LwL", "Regular");
    fs::permissions(Folder / "locked.ttf", fs::perms::owner_read);
    const test::TBytes erased = test::ReadFile(Folder / "erased.ttf");
    OpenFolder();
    Options.MoveToTrash = true;
    ClickFile("*.ttf");
    Answering(TMsgResult::Yes, Window->Menu.mnDeleteFile);
    const fs::path trashed = test::TestHome().DataHome() / "Trash" / "files" / "*.ttf";
    EXPECT_TRUE(fs::exists(trashed));
    EXPECT_EQ(test::ReadFile(Folder / "erased.ttf"), erased);
    EXPECT_TRUE(fs::exists(Folder / "locked.ttf"));
    fs::remove(trashed);
    fs::remove(test::TestHome().DataHome() / "Trash" / "info" / "*.ttf.trashinfo");
    Options.MoveToTrash = false;
    ClickFile("erased.ttf");
    Answering(TMsgResult::Yes, Window->Menu.mnDeleteFile);
    EXPECT_FALSE(fs::exists(Folder / "erased.ttf"));
    EXPECT_FALSE(fs::exists(test::TestHome().DataHome() / "Trash" / "files" / "erased.ttf"));

    const test::TBytes locked = test::ReadFile(Folder / "locked.ttf");
    ClickFile("locked.ttf");
    test::TestPrompts().Reset();
    Answering(TMsgResult::Yes, Window->Menu.mnDeleteFile);
    EXPECT_EQ(Last(),
              "Greska brisanja  " + (Folder / "locked.ttf").string() + ".\n\nPermission denied");
    EXPECT_EQ(Messages().back().Caption, "Greska ");
    EXPECT_EQ(test::ReadFile(Folder / "locked.ttf"), locked);
    Options.DeleteReadOnly = true;
    Answering(TMsgResult::Yes, Window->Menu.mnDeleteFile);
    EXPECT_FALSE(fs::exists(Folder / "locked.ttf"));
}

// A failed copy or move lets the preview go, as a delete does; the file is
// still there and still good, and is read again when wanted.
TEST_F(FileCommandsTest, ACopyMoveOrRenameNeverReplacesAndTheFileIsReadAgainAfter) {
    MakeFont("same.ttf", "LwSame", "Regular");
    MakeFont("other.ttf", "LwOther", "Regular");
    const test::TBytes mine = test::ReadFile(Folder / "same.ttf");
    test::WriteFile(Elsewhere / "same.ttf", {'t', 'h', 'e', 'i', 'r', 's'});
    OpenFolder();
    ClickFile("same.ttf");
    ASSERT_NE(Page().PreviewFontFile(), nullptr);
    Options.LastFileOpFolder = test::TestHome().Documents().string();
    Answering(Elsewhere.string(), Window->Menu.mnCopyFile);
    EXPECT_EQ(test::TestPrompts().Offered.back(), test::TestHome().Documents().string());
    EXPECT_EQ(Options.LastFileOpFolder, Elsewhere.string()) << "the chosen folder is kept";
    EXPECT_EQ(Last(), "Greska pri kopiranju  " + (Folder / "same.ttf").string() + "  u  " +
                          Elsewhere.string() + "/.\n\nFile exists");
    EXPECT_EQ(test::ReadFile(Elsewhere / "same.ttf"), (test::TBytes{'t', 'h', 'e', 'i', 'r', 's'}));
    EXPECT_EQ(test::ReadFile(Folder / "same.ttf"), mine);
    EXPECT_EQ(Page().PreviewFontFile(), nullptr);
    ClickFile("same.ttf");
    ASSERT_NE(Page().PreviewFontFile(), nullptr) << "a click on the same file reads it";

    test::TestPrompts().Reset();
    Answering(Elsewhere.string(), Window->Menu.mnMoveFile0);
    ASSERT_TRUE(test::ToldOnce("Greska kopiranja  " + (Folder / "same.ttf").string() + "  to  " +
                               Elsewhere.string() + "/.\n\nFile exists"));
    EXPECT_EQ(test::ReadFile(Elsewhere / "same.ttf"), (test::TBytes{'t', 'h', 'e', 'i', 'r', 's'}));
    EXPECT_EQ(test::ReadFile(Folder / "same.ttf"), mine);
    // Enter in the list reads the file again to ask about installing it.
    test::TestPrompts().Reset();
    test::TestPrompts().Answers = {TMsgResult::No};
    Page().FileList->setFocus();
    QTest::keyClick(Page().FileList, Qt::Key_Return);
    ASSERT_TRUE(test::ToldOnce("Da li zelis da instaliras font LwSame Regular?"));
    EXPECT_NE(Page().PreviewFontFile(), nullptr);

    // Renaming onto the other file's name fails the same way.
    test::TestPrompts().Reset();
    Answering("other", Window->Menu.mnRenameFile);
    EXPECT_EQ(Last(), "Greska kopiranja  " + (Folder / "same.ttf").string() +
                          "  to  other.ttf.\n\nFile exists");
    EXPECT_EQ(test::ReadFile(Folder / "same.ttf"), mine);

    // Cancelling the folder changes nothing, the setting neither.
    test::TestPrompts().Reset();
    Options.LastFileOpFolder = "/kept";
    Window->Menu.mnCopyFile->trigger();
    EXPECT_EQ(Options.LastFileOpFolder, "/kept");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FileCommandsTest,
       ACopyAMoveARenameAndADeleteTakeTheOutlineOrItsMetricsAlongOrNameTheOneMissed) {
    MakeFont("Arial.ttf", "LwArial", "Regular");
    MakePair();
    OpenFolder();
    ClickFile("Arial.ttf");
    Answering("Arial2", Window->Menu.mnRenameFile0);
    EXPECT_EQ(test::TestPrompts().Offered.back(), "Arial") << "the name without extension";
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Arial2.ttf", "pair.pfm"}));
    EXPECT_EQ(Page().FileList->currentRow(), 0);

    ClickFile("pair.pfm");
    Answering("renamed", Window->Menu.mnRenameFile);
    EXPECT_TRUE(fs::exists(Folder / "renamed.pfm"));
    EXPECT_TRUE(fs::exists(Folder / "renamed.pfb"));
    EXPECT_FALSE(fs::exists(Folder / "pair.pfb"));

    ClickFile("renamed.pfm");
    Answering(Elsewhere.string(), Window->Menu.mnCopyFile);
    const std::vector<std::string> pair = {"renamed.pfb", "renamed.pfm"};
    EXPECT_EQ(test::FolderEntries(Elsewhere), pair);
    EXPECT_TRUE(fs::exists(Folder / "renamed.pfb"));
    fs::remove(Elsewhere / "renamed.pfm");
    fs::remove(Elsewhere / "renamed.pfb");

    Answering(Elsewhere.string(), Window->Menu.mnMoveFile);
    EXPECT_EQ(test::FolderEntries(Elsewhere), pair);
    EXPECT_FALSE(fs::exists(Folder / "renamed.pfm"));
    EXPECT_FALSE(fs::exists(Folder / "renamed.pfb"));
    EXPECT_EQ(Listed(), std::vector<std::string>{"Arial2.ttf"});

    // An outline takes its ".afm" along, and a lone outline goes alone.
    test::WriteFile(Folder / "gothic.pfb", test::PfbFile("/FontName /LwGothic-Book def\n"
                                                         "/FamilyName (LwGothic) readonly def\n"));
    test::WriteFile(Folder / "Gothic.AFM", {'F', 'o', 'n', 't', 'N', 'a', 'm', 'e', ' ', 'X'});
    test::WriteFile(Folder / "lone.pfb", test::PfbFile("/FontName /LwLone def\n"));
    Page().mnUpdateFileListClick();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Arial2.ttf", "gothic.pfb", "lone.pfb"}));
    ClickFile("gothic.pfb");

    Answering("book", Window->Menu.mnRenameFile);
    EXPECT_TRUE(fs::exists(Folder / "book.pfb"));
    EXPECT_TRUE(fs::exists(Folder / "book.AFM")) << "the metrics keep their extension";
    EXPECT_FALSE(fs::exists(Folder / "Gothic.AFM"));

    ClickFile("book.pfb");
    Answering(Elsewhere.string(), Window->Menu.mnCopyFile);
    ClickFile("lone.pfb");
    Answering(Elsewhere.string(), Window->Menu.mnMoveFile);
    EXPECT_EQ(test::FolderEntries(Elsewhere),
              (std::vector<std::string>{"book.AFM", "book.pfb", "lone.pfb", "renamed.pfb",
                                        "renamed.pfm"}));
    EXPECT_TRUE(Messages().empty()) << Last() << ": a lone outline needs no metrics";

    ClickFile("book.pfb");
    Answering(TMsgResult::Yes, Window->Menu.mnDeleteFile);
    EXPECT_FALSE(fs::exists(Folder / "book.pfb"));
    EXPECT_FALSE(fs::exists(Folder / "book.AFM"));
    EXPECT_EQ(Listed(), std::vector<std::string>{"Arial2.ttf"});
    EXPECT_TRUE(fs::exists(Elsewhere / "book.AFM")) << "only the selected pair goes";

    // A metrics file without its outline is copied, renamed and deleted, and
    // each command names the outline it missed.
    test::WriteFile(Folder / "alone.pfm", test::TPfmBuilder().Build());
    Page().mnUpdateFileListClick();
    ClickFile("alone.pfm");
    const std::string metrics = (Folder / "alone.pfm").string();
    test::TestPrompts().Reset();
    Answering(Elsewhere.string(), Window->Menu.mnCopyFile);
    EXPECT_TRUE(fs::exists(Elsewhere / "alone.pfm"));
    EXPECT_EQ(Last(), "Greska pri kopiranju  " + metrics + "  u  " + Elsewhere.string() +
                          "/.\n\nNo such file or directory");

    test::TestPrompts().Reset();
    Answering("moved", Window->Menu.mnRenameFile);
    EXPECT_TRUE(fs::exists(Folder / "moved.pfm"));
    EXPECT_EQ(Last(),
              "Greska kopiranja  " + metrics + "  to  moved.pfb.\n\nNo such file or directory");

    test::TestPrompts().Reset();
    ClickFile("moved.pfm");
    Answering(TMsgResult::Yes, Window->Menu.mnDeleteFile);
    EXPECT_FALSE(fs::exists(Folder / "moved.pfm"));
    EXPECT_EQ(Last(), "Greska brisanja  " + (Folder / "moved.pfb").string() +
                          ".\n\nNo such file or directory");
}

TEST_F(FileCommandsTest, RemovingAFamilyBacksUpEachStyleAndKeepsOneWhoseBackupFailed) {
    const fs::path backup = Folder / "backup";
    fs::create_directories(backup);
    test::WriteFile(FontFolder / "kept.ttf", {'k'});
    Fonts.AddFace("LwFamily", TrueTypeFace("LwFamily Bold", "Bold", NTM_BOLD));
    Fonts.AddFace("LwFamily", TrueTypeFace("LwFamily Regular", "Regular", NTM_REGULAR));
    Fonts.Fonts["LwFamily Bold (TrueType)"] = TRegValue::FromString("gone.ttf");
    Fonts.Fonts["LwFamily Regular (TrueType)"] = TRegValue::FromString("kept.ttf");
    // Not interactive: every style, into the folder given.
    EXPECT_TRUE(RemoveInstalledFont("LwFamily", backup.string(), false, false, true, nullptr));
    EXPECT_TRUE(fs::exists(backup / "kept.ttf"));
    EXPECT_FALSE(fs::exists(FontFolder / "kept.ttf"));
    EXPECT_EQ(Fonts.Fonts.count("LwFamily Regular (TrueType)"), 0u);
    EXPECT_EQ(Fonts.Fonts.count("LwFamily Bold (TrueType)"), 1u)
        << "its backup failed: the style stays";
    EXPECT_NE(Last().find("gone.ttf"), std::string::npos) << Last();
    EXPECT_EQ(Fonts.Changes, 0) << "no broadcast when not interactive";

    // A family of a kind that cannot be removed.
    test::TestPrompts().Reset();
    Fonts.AddFace("LwBitmap", TFaceInfo{"LwBitmap", "Regular", RASTER_FONTTYPE, 0});
    EXPECT_TRUE(RemoveInstalledFont("LwBitmap", backup.string(), false, false, true, nullptr));
    ASSERT_TRUE(test::ToldOnce("LwBitmap:\nNepodrzan nepoznat tip.", "Upozorenje"));
    // Interactive and cancelled: nothing.
    EXPECT_FALSE(
        RemoveInstalledFont("LwFamily", backup.string(), false, true, true,
                            [](const std::string&, std::vector<std::string>&) { return false; }));
    EXPECT_EQ(Fonts.Fonts.count("LwFamily Bold (TrueType)"), 1u);

    // Styles chosen, the backup folder cancelled: the copy the user wanted
    // was never made, so nothing goes.
    test::TestPrompts().Reset();
    test::WriteFile(FontFolder / "wanted.ttf", {'w'});
    Fonts.AddFace("LwWanted", TrueTypeFace("LwWanted", "Regular", NTM_REGULAR));
    Fonts.Fonts["LwWanted (TrueType)"] = TRegValue::FromString("wanted.ttf");
    EXPECT_FALSE(
        RemoveInstalledFont("LwWanted", backup.string(), false, true, true,
                            [](const std::string&, std::vector<std::string>&) { return true; }));
    EXPECT_EQ(test::TestPrompts().Asked,
              std::vector<std::string>{"Odaberi folder za kopiranje fontova:"});
    EXPECT_EQ(test::ReadFile(FontFolder / "wanted.ttf"), test::TBytes{'w'});
    EXPECT_EQ(Fonts.Fonts.count("LwWanted (TrueType)"), 1u);
    EXPECT_TRUE(Messages().empty()) << Last();
    EXPECT_EQ(Fonts.Changes, 0);

    // Installed for every user: refused with one message before the styles
    // or a folder are asked for.
    test::TestPrompts().Reset();
    const fs::path shared = Folder / "shared";
    fs::create_directories(shared);
    for (const char* style : {"Regular", "Bold"}) {
        const std::string fullName = std::string("LwShared ") + style;
        test::WriteFile(shared / (fullName + ".ttf"), {'s'});
        Fonts.AddFace("LwShared", TrueTypeFace(fullName, style, NTM_REGULAR));
        Fonts.Fonts[fullName + " (TrueType)"] =
            TRegValue::FromString((shared / fullName).string() + ".ttf");
    }
    bool chooserAsked = false;
    EXPECT_TRUE(RemoveInstalledFont("LwShared", backup.string(), false, true, true,
                                    [&](const std::string&, std::vector<std::string>&) {
                                        chooserAsked = true;
                                        return true;
                                    }));
    EXPECT_FALSE(chooserAsked);
    EXPECT_TRUE(test::TestPrompts().Asked.empty());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].Text.find("instaliran je za sve korisnike sistema"), std::string::npos)
        << Messages()[0].Text;
    EXPECT_EQ(Messages()[0].Caption, "Upozorenje");
    for (const char* file : {"LwShared Regular.ttf", "LwShared Bold.ttf"}) {
        EXPECT_EQ(test::ReadFile(shared / file), test::TBytes{'s'}) << file;
    }
    EXPECT_EQ(Fonts.Fonts.count("LwShared Bold (TrueType)"), 1u);
}

TEST_F(FileCommandsTest, UninstallingTheLastFamilyLeavesTheListWhereItCanBe) {
    test::WriteFile(FontFolder / "last.ttf", {'l'});
    Fonts.AddFace("Zeta", TrueTypeFace("Zeta", "Regular", NTM_REGULAR));
    Fonts.Fonts["Zeta (TrueType)"] = TRegValue::FromString("last.ttf");
    Window->Installed->UpdateList();
    TInstalledPage& page = *Window->Installed;
    page.SelectFamily(page.cmbFonts->Count() - 1);
    ASSERT_EQ(page.SelectedFamily(), QStringLiteral("Zeta"));
    Options.CopyBeforeDelete = false;
    Window->pcMain->setCurrentIndex(0);
    // The dialog opens with every style chosen; OK removes them.
    test::WhileModal(
        [](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnDelete")),
                              Qt::LeftButton);
        },
        [this] { Window->Menu.mnDeleteFont->trigger(); });
    EXPECT_FALSE(fs::exists(FontFolder / "last.ttf"));
    Fonts.Faces.erase("Zeta");
    Fonts.FaceFamilies.pop_back();
    Window->Installed->UpdateList();
    EXPECT_EQ(page.cmbFonts->Count(), 3);
    EXPECT_NE(page.SelectedFamily(), QStringLiteral("Zeta"));
}

} // namespace
} // namespace lw
