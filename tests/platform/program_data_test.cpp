#include "base/strings.h"
#include "font_builder.h"
#include "platform/linux/linux_platform.h"
#include "test_env.h"
#include "test_home.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;

using test::WriteText;

// An installed tree of its own: <prefix>/bin for the program, and
// <prefix>/share/letterwell for what it ships.
class ProgramDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        Prefix = test::TestHome().Root() / "prefix";
        fs::remove_all(Prefix);
        fs::create_directories(Bin());
    }
    void TearDown() override { fs::remove_all(Prefix); }
    fs::path Bin() const { return Prefix / "bin"; }
    fs::path Shared() const { return Prefix / "share" / "letterwell"; }

    fs::path Prefix;
};

TEST_F(ProgramDataTest,
       ACopyBesideTheExecutableWinsThenTheInstalledOneAndTheRunningProgramFindsItsBundle) {
    // Without either copy the path beside the executable is given; a folder
    // of that name is no file of the program's.
    EXPECT_EQ(ProgramDataFileIn(Bin().string(), "notes.txt"), (Bin() / "notes.txt").string());
    fs::create_directories(Shared() / "notes.txt");
    EXPECT_EQ(ProgramDataFileIn(Bin().string(), "notes.txt"), (Bin() / "notes.txt").string());
    fs::remove(Shared() / "notes.txt");

    // The installed copy in the shared data folder of the same prefix, also
    // through a folder given with a trailing separator.
    WriteText(Shared() / "notes.txt", "installed");
    EXPECT_EQ(ProgramDataFileIn(Bin().string(), "notes.txt"), (Shared() / "notes.txt").string());
    EXPECT_EQ(ProgramDataFileIn(Bin().string() + "/", "notes.txt"),
              (Shared() / "notes.txt").string());
    WriteText(Bin() / "notes.txt", "build tree");
    EXPECT_EQ(ProgramDataFileIn(Bin().string(), "notes.txt"), (Bin() / "notes.txt").string());
    // No program folder gives no path.
    EXPECT_EQ(ProgramDataFileIn("", "notes.txt"), "");

    // The test programs run from the build's folder of executables, where the
    // build puts the bundle: the running program's own lookup must find it there.
    EXPECT_EQ(fs::canonical(ProgramFolder()), fs::canonical(test::BuildBinFolder()));
    const std::string bundle = ProgramDataFile(kLanguageBundleFile);
    EXPECT_EQ(fs::path(bundle), fs::path(ProgramFolder()) / kLanguageBundleFile);
    EXPECT_TRUE(fs::is_regular_file(bundle));
}

// An installed program's folder holds every program's executables: its
// categories go to the user's data folder, never beside it.
TEST_F(ProgramDataTest, OnlyAProgramKeepingItsFilesBesideItKeepsDataThere) {
    WriteText(Shared() / "lw_esp.lwb", "installed");
    EXPECT_EQ(PortableProgramFolderOf(Bin().string()), "");
    WriteText(Bin() / "lw_esp.lwb", "build tree");
    EXPECT_EQ(PortableProgramFolderOf(Bin().string()), Bin().string());
    // A copy without its files anywhere is taken as portable, as before.
    fs::remove_all(Prefix / "share");
    fs::remove(Bin() / "lw_esp.lwb");
    EXPECT_EQ(PortableProgramFolderOf(Bin().string()), Bin().string());
}

TEST_F(ProgramDataTest, BundleIsReadFromTheInstalledDataFolderButNeverThroughAFolderInItsName) {
    WriteText(Shared() / kLanguageBundleFile, "installed bundle");
    const TFolderBundleSource source(Bin().string());
    const auto bytes = source.ReadBundle(kLanguageBundleFile);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "installed bundle");

    WriteText(Bin() / kLanguageBundleFile, "bundle beside");
    const auto beside = source.ReadBundle(kLanguageBundleFile);
    ASSERT_TRUE(beside);
    EXPECT_EQ(std::string(beside->begin(), beside->end()), "bundle beside");

    // Refused even where the file exists.
    WriteText(Shared() / "sub" / "x.lwb", "elsewhere");
    WriteText(Bin() / "sub" / "x.lwb", "elsewhere");
    EXPECT_FALSE(TFolderBundleSource(Bin().string()).ReadBundle("sub/x.lwb"));
}

} // namespace
} // namespace lw
