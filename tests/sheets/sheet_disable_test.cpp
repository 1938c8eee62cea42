// The sheet's selection disabled and enabled in one change, against the
// real fontconfig of the temporary home.
#include "app/main_window.h"
#include "base/options.h"
#include "base/strings.h"
#include "command_run.h"
#include "font_builder.h"
#include "fonts/disabled_fonts.h"
#include "fonts/font_manager.h"
#include "memory_hive.h"
#include "scripted_prompts.h"
#include "sheets/sample_delegate.h"
#include "sheets/sheet_status_bar.h"
#include "sheets/view_all.h"
#include "test_env.h"
#include "test_home.h"
#include "told.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QListView>
#include <QStringListModel>
#include <gtest/gtest.h>

#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;

std::string FcFamilies() {
    return test::RunCommand("fc-list --format '%{family[0]}\\n'").Output;
}

class SheetDisableTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestPrompts().Reset();
        SetLanguage(0);
        for (const char* family : {"LwSheetA", "LwSheetB", "LwSheetC"}) {
            const fs::path file =
                fs::path(FontManager->FontsFolder) / (std::string(family) + ".ttf");
            test::WriteFile(file, test::NamedTrueType(family));
            Files.push_back(file);
        }
        FontManager->Refresh();
        Main = std::make_unique<TfMain_letterwell>();
        Sheet = std::make_unique<TfViewAll>(Main.get());
        Main->SetViewAllWindow(Sheet.get());
        Main->show();
        Sheet->show();
    }
    void TearDown() override {
        Main->SetViewAllWindow(nullptr);
        Sheet.reset();
        Main.reset();
        for (const fs::path& file : Files) {
            fs::remove(file);
        }
        fs::remove_all(test::TestHome().ConfigHome() / "fontconfig");
        FontManager->Refresh();
    }
    void Select(const QStringList& families) {
        Sheet->lstFonts->clearSelection();
        for (const QString& family : families) {
            const int row = static_cast<int>(Sheet->Items().indexOf(family));
            ASSERT_GE(row, 0) << family.toStdString();
            Sheet->lstFonts->selectionModel()->select(Sheet->Model->index(row),
                                                      QItemSelectionModel::Select);
        }
    }

    test::TScopedMemoryHive Hive;
    std::vector<fs::path> Files;
    std::unique_ptr<TfMain_letterwell> Main;
    std::unique_ptr<TfViewAll> Sheet;
};

TEST_F(SheetDisableTest,
       TheSelectionIsDisabledShownUninstalledAndOnlyACategoryKeptThenAllComeBack) {
    Select({QStringLiteral("LwSheetA"), QStringLiteral("LwSheetB")});
    Sheet->mnDisableFonts->trigger();
    std::string listed = FcFamilies();
    EXPECT_EQ(listed.find("LwSheetA"), std::string::npos);
    EXPECT_EQ(listed.find("LwSheetB"), std::string::npos);
    EXPECT_NE(listed.find("LwSheetC"), std::string::npos);
    // Back to all fonts, which no longer hold them.
    EXPECT_FALSE(Sheet->Items().contains(QStringLiteral("LwSheetA")));
    EXPECT_TRUE(Sheet->Items().contains(QStringLiteral("LwSheetC")));
    EXPECT_EQ(Sheet->Status->PanelText(0), QString::fromStdString(LoadStr(30303)));

    Sheet->mnDisabled->trigger();
    EXPECT_EQ(Sheet->Items(),
              (QStringList{QStringLiteral("LwSheetA"), QStringLiteral("LwSheetB")}));
    EXPECT_EQ(Sheet->Status->PanelText(2).toStdString(), StripMenuMarks(LoadStr(30306)));
    // Greyed and marked as on the installed page, drawn from their files.
    const QString mark = QString::fromStdString(FmtLoadStr(30307, kDisabledConfName));
    for (int row = 0; row < 2; ++row) {
        const TSampleItem item = Sheet->Delegate->Describe(Sheet->Model->index(row));
        EXPECT_TRUE(item.Greyed);
        EXPECT_EQ(item.Family, Sheet->Items()[row]);
        EXPECT_EQ(item.Name, Sheet->Items()[row] + QStringLiteral("  (") + mark + QLatin1Char(')'));
        EXPECT_EQ(item.FaceFile, Files[static_cast<size_t>(row)].string());
    }

    Select({QStringLiteral("LwSheetB")});
    Sheet->mnEnableFonts0->trigger();
    EXPECT_NE(FcFamilies().find("LwSheetB"), std::string::npos);
    EXPECT_EQ(FcFamilies().find("LwSheetA"), std::string::npos);
    // The disabled view stays, less the family enabled.
    EXPECT_EQ(Sheet->Items(), QStringList{QStringLiteral("LwSheetA")});
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
    Sheet->mnAllClick();
    for (int row = 0; row < Sheet->Model->rowCount(); ++row) {
        EXPECT_FALSE(Sheet->Delegate->Describe(Sheet->Model->index(row)).Greyed) << row;
    }

    Sheet->lstFonts->clearSelection();
    Sheet->mnEnableFonts->trigger();
    ASSERT_TRUE(test::ToldOnce(LoadStr(13000)));

    // Only the category shown stays of the user's fonts; with none shown it
    // is told.
    test::TestPrompts().Reset();
    Sheet->mnEnableOnlyCategory->trigger();
    ASSERT_TRUE(test::ToldOnce(LoadStr(11009)));
    EXPECT_NE(FcFamilies().find("LwSheetB"), std::string::npos);

    // A category view as the organize window shows one.
    Sheet->Model->setStringList({QStringLiteral("LwSheetA")});
    Sheet->CategoryName = QStringLiteral("Pick");
    test::TestPrompts().Answers = {TMsgResult::No};
    Sheet->mnEnableOnlyCategory->trigger();
    ASSERT_EQ(test::TestPrompts().Messages.size(), 2u);
    // LwSheetB and LwSheetC; DejaVu and the fixture fonts are the system's.
    EXPECT_EQ(test::TestPrompts().Messages[1].Text, FmtLoadStr(30317, 2, "Pick"));
    EXPECT_NE(FcFamilies().find("LwSheetB"), std::string::npos);

    test::TestPrompts().Answers = {TMsgResult::Yes};
    Sheet->mnEnableOnlyCategory->trigger();
    listed = FcFamilies();
    EXPECT_NE(listed.find("LwSheetA"), std::string::npos) << "the disabled member comes back";
    EXPECT_EQ(listed.find("LwSheetB"), std::string::npos);
    EXPECT_EQ(listed.find("LwSheetC"), std::string::npos);
    EXPECT_NE(listed.find("DejaVu Sans"), std::string::npos);

    // A disabled family is uninstalled from its view with its rule alone.
    Sheet->mnDisabled->trigger();
    ASSERT_EQ(Sheet->Items(),
              (QStringList{QStringLiteral("LwSheetB"), QStringLiteral("LwSheetC")}));
    Select({QStringLiteral("LwSheetB")});
    Options.CopyBeforeDelete = false;
    Options.MoveToTrash = false;
    test::TestPrompts().Reset();
    test::TestPrompts().Answers = {TMsgResult::Yes};
    Sheet->mnDeleteFonts0->trigger();
    EXPECT_FALSE(fs::exists(Files[1]));
    EXPECT_TRUE(fs::exists(Files[0]) && fs::exists(Files[2]));
    const std::vector<TDisabledFace> left = UserDisabledFonts().Disabled();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].File, Files[2].string());
    EXPECT_EQ(test::TestPrompts().Messages.size(), 1u); // the question alone

    Sheet->mnEnableAll->trigger();
    EXPECT_NE(FcFamilies().find("LwSheetC"), std::string::npos);
    EXPECT_TRUE(UserDisabledFonts().Disabled().empty());
}

} // namespace
} // namespace lw
