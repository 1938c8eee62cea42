// letterwell-cli's category commands on the files the organize window wrote,
// with the real settings file, fontconfig and a copy of the program in a
// folder of its own, as a portable copy stands.
#include "categories/organize_dialog.h"
#include "command_run.h"
#include "font_builder.h"
#include "fonts/font_manager.h"
#include "test_env.h"
#include "test_home.h"

#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace lw {
namespace {

namespace fs = std::filesystem;

using test::ReadText;

class CategoryCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestPrompts().Reset();
        Root = test::TestHome().Root() / "category-cli";
        fs::remove_all(Root);
        fs::create_directories(Root / "program");
        fs::copy_file(test::BuildBinFolder() + "/letterwell-cli",
                      Root / "program" / "letterwell-cli");
        fs::remove(test::TestHome().SettingsFile());
        Places = TCategoryPlaces{(Root / "program").string(), (Root / "data").string()};
        for (const char* family : {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono"}) {
            ASSERT_NE(std::find(FontManager->Families.begin(), FontManager->Families.end(), family),
                      FontManager->Families.end())
                << family << " is not installed";
        }
    }
    void TearDown() override {
        fs::remove_all(Root);
        fs::remove(test::TestHome().SettingsFile());
    }
    // The copied program, its standard error after its standard output.
    test::TCommandRun Cli(const std::string& arguments) {
        return test::RunCommand("'" + (Root / "program" / "letterwell-cli").string() + "' " +
                                arguments + " 2>&1");
    }
    fs::path Folder() const { return Root / "program" / "Categories"; }
    // A run of the copied program that ends with this status and, where
    // given, says exactly this and nothing else.
    void ExpectRun(const std::string& arguments, int status,
                   const std::optional<std::string>& output = std::nullopt) {
        const test::TCommandRun run = Cli(arguments);
        EXPECT_EQ(run.Status, status) << arguments << "\n" << run.Output;
        if (output) {
            EXPECT_EQ(run.Output, *output) << arguments;
        }
    }
    fs::path Root;
    TCategoryPlaces Places;
};

TEST_F(CategoryCliTest, TheCommandLineReadsAndChangesWhatTheWindowWrote) {
    {
        // "Pair" made as the window makes categories (its buttons are driven
        // in the organize window's tests); the index is saved as it closes.
        TfOrganize organize(Places);
        organize.show();
        test::TestPrompts().TextAnswers.push_back("Pair");
        organize.Store().AddFontsToCategory("<Novi>", {"DejaVu Serif", "DejaVu Sans"});
        // A file written by hand elsewhere, LF ends and a byte-order mark.
        test::WriteText(Root / "Hand.lst", "\xEF\xBB\xBF"
                                           "DejaVu Serif\nDejaVu Sans Mono\n");
        test::WriteText(Root / "Wide.lst", std::string("\xFF\xFE"
                                                       "D\0e\0",
                                                       6));
        organize.Store().ImportCategoryFiles(
            {(Root / "Hand.lst").string(), (Root / "Wide.lst").string()});
    }
    ASSERT_TRUE(test::TestPrompts().Messages.empty());

    test::TCommandRun run = Cli("categories");
    EXPECT_TRUE(test::Says(run, 1, "Hand\t2\n")) << "one file cannot be read";
    EXPECT_TRUE(test::Says(run, 1, "Pair\t2\n"));
    EXPECT_TRUE(test::Says(run, 1, "Greska otvaranja " + (Folder() / "Wide.lst").string()));

    ExpectRun("category show pair", 0, "DejaVu Sans\nDejaVu Serif\n");
    // Refused whole, never read in part.
    ExpectRun("category show Wide", 1,
              "Greska : Greska otvaranja " + (Folder() / "Wide.lst").string() + ".\n");
    ExpectRun("category show Nothing", 1);

    ExpectRun("category combine Pair and Hand", 0, "DejaVu Serif\n");
    run = Cli("category combine --all minus Pair");
    EXPECT_TRUE(test::Says(run, 0, "DejaVu Sans Mono\n"));
    EXPECT_EQ(run.Output.find("DejaVu Sans\n"), std::string::npos) << run.Output;

    ExpectRun("category add Pair 'dejavu sans mono' 'No Such Family'", 1);
    EXPECT_EQ(ReadText(Folder() / "Pair.lst"),
              "DejaVu Sans\r\nDejaVu Sans Mono\r\nDejaVu Serif\r\n");
    ExpectRun("category remove Pair 'DejaVu Sans'", 0);
    EXPECT_EQ(ReadText(Folder() / "Pair.lst"), "DejaVu Sans Mono\r\nDejaVu Serif\r\n");
    ExpectRun("category add Mono 'DejaVu Sans Mono'", 0);
    EXPECT_EQ(ReadText(Folder() / "Mono.lst"), "DejaVu Sans Mono\r\n");
    run = Cli("category add 'a/b' 'DejaVu Sans'");
    EXPECT_TRUE(test::Says(run, 1, "Neispravan naziv kategorije."));
    // Only unknown families: nothing made, not even an index entry (the
    // window's list below would show it).
    run = Cli("category add Empty 'No Such Family' 'Nor This'");
    EXPECT_TRUE(test::Says(run, 1, "no installed family is named \"Nor This\""));
    EXPECT_FALSE(fs::exists(Folder() / "Empty.lst"));

    // The automatic categories by their ids, alone and with the user's own.
    run = Cli("categories --auto");
    EXPECT_TRUE(test::Says(run, 0, "\nscript:Cyrl\t"));
    EXPECT_EQ(run.Output.rfind("monospace\t", 0), 0u) << run.Output;
    EXPECT_TRUE(fs::exists(test::TestHome().Home() / ".cache" / "letterwell" / "face-facts.cache"));
    ExpectRun("category combine --auto monospace and --auto italic", 0, "DejaVu Sans Mono\n");
    ExpectRun("category combine Pair minus --auto serif", 0, "DejaVu Sans Mono\n");
    ExpectRun("category show --auto weight:extralight", 0, "DejaVu Sans\n");
    ExpectRun("category show --auto nothing:such", 1);
    ExpectRun("category combine --auto monospace and", 2);

    // Moving in from font-manager: nested collections flattened, families
    // not installed told and skipped, a category of the same name kept
    // unless the command line says to replace it.
    test::WriteText(Root / "Collections.json", R"({"entries": {
        "Work": {"name": "Work", "comment": "", "active": true,
                 "families": ["DejaVu Serif", "No Such Family"],
                 "children": [{"name": "Code", "families": ["dejavu sans mono"], "children": []}]},
        "Pair": {"name": "Pair", "families": ["DejaVu Sans"], "children": []}}})");
    const std::string collections = "'" + (Root / "Collections.json").string() + "'";
    run = Cli("category import-collections " + collections);
    EXPECT_TRUE(test::Says(run, 0, "not installed, skipped: No Such Family (Work)"));
    EXPECT_EQ(ReadText(Folder() / "Work.lst"), "DejaVu Serif\r\n");
    EXPECT_EQ(ReadText(Folder() / "Work - Code.lst"), "DejaVu Sans Mono\r\n");
    EXPECT_EQ(ReadText(Folder() / "Pair.lst"), "DejaVu Sans Mono\r\nDejaVu Serif\r\n");
    ExpectRun("category import-collections --replace " + collections, 0);
    EXPECT_EQ(ReadText(Folder() / "Pair.lst"), "DejaVu Sans\r\n");
    ExpectRun("category import-collections '" + (Root / "Hand.lst").string() + "'", 1);
    // Put back as the window expects it below.
    test::WriteText(Root / "Collections.json",
                    R"({"entries": {"Pair": {"families": ["DejaVu Sans Mono", "DejaVu Serif"]}}})");
    ExpectRun("category import-collections --replace " + collections, 0);
    EXPECT_EQ(ReadText(Folder() / "Pair.lst"), "DejaVu Sans Mono\r\nDejaVu Serif\r\n");

    // The window sees what the command line did.
    TfOrganize organize(Places);
    TCategoryStore& store = organize.Store();
    EXPECT_EQ(store.Categories(), (std::vector<std::string>{"<Novi>", "Hand", "Mono", "Pair",
                                                            "Wide", "Work", "Work - Code"}));
    EXPECT_EQ(store.ShowCategory(store.PositionOf("Pair")),
              (std::vector<std::string>{"DejaVu Sans Mono", "DejaVu Serif"}));
    EXPECT_FALSE(fs::exists(Root / "program" / "a"));
}

// Two command lines at once, round after round: each keeps both changes,
// to the index and to one category's members.
TEST_F(CategoryCliTest, TwoProcessesAtOnceKeepBothChanges) {
    const std::string add =
        "'" + (Root / "program" / "letterwell-cli").string() + "' category add ";
    for (int round = 0; round < 20; ++round) {
        const std::string n = std::to_string(round);
        // All four are started before any is waited for; then each one's status.
        const test::TCommandRun run = test::RunCommand(
            add + "One" + n + " 'DejaVu Sans' & one=$!; " + add + "Two" + n +
            " 'DejaVu Serif' & two=$!; " + add + "Same" + n + " 'DejaVu Sans' & same=$!; " + add +
            "Same" + n + " 'DejaVu Sans Mono' & again=$!; " +
            "for child in $one $two $same $again; do wait $child; echo $?; done");
        EXPECT_EQ(run.Output, "0\n0\n0\n0\n") << "round " << round;
        EXPECT_EQ(ReadText(Folder() / ("Same" + n + ".lst")), "DejaVu Sans\r\nDejaVu Sans Mono\r\n")
            << "round " << round;
    }
    const test::TCommandRun run = Cli("categories");
    for (int round = 0; round < 20; ++round) {
        const std::string n = std::to_string(round);
        for (const std::string& line :
             {"One" + n + "\t1\n", "Two" + n + "\t1\n", "Same" + n + "\t2\n"}) {
            EXPECT_TRUE(test::Says(run, 0, line));
        }
    }
    for (const std::string& name : test::FolderEntries(Folder())) {
        EXPECT_TRUE(name == ".lock" || name.ends_with(".lst")) << "left behind: " << name;
    }
}

TEST_F(CategoryCliTest, TheWindowTakesInWhatTheCommandLineChangesWhileItRuns) {
    {
        TfOrganize organize(Places);
        organize.show();
        test::TCommandRun run = Cli("category add Outside 'DejaVu Serif'");
        ASSERT_EQ(run.Status, 0) << run.Output;
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return organize.cmbCategories->findText("Outside") > 0; }, 5000));
        // A change in the folder that leaves every list as it was (as the
        // window's own writes do) keeps what the user has selected.
        organize.cmbCategories->setCurrentIndex(organize.cmbCategories->findText("Outside"));
        ASSERT_GT(organize.lstFonts->count(), 0);
        organize.lstFonts->item(0)->setSelected(true);
        auto* reload = organize.findChild<QTimer*>(QStringLiteral("ReloadTimer"));
        ASSERT_NE(reload, nullptr);
        test::WriteText(Folder() / "passing.tmp", "x");
        EXPECT_TRUE(QTest::qWaitFor([&] { return reload->isActive(); }, 5000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !reload->isActive(); }, 5000));
        fs::remove(Folder() / "passing.tmp");
        EXPECT_TRUE(organize.lstFonts->item(0)->isSelected());
        // Closing the window writes the index as it now stands on disk.
    }
    ExpectRun("categories", 0, "Outside\t1\n");
}

} // namespace
} // namespace lw
