// Whether Flatpak applications see the disabled fonts, asked of a fake
// flatpak on a PATH the test sets.
#include "base/strings.h"
#include "fonts/flatpak_access.h"
#include "platform/linux/program_run.h"
#include "reader_test_support.h"
#include "scripted_prompts.h"
#include "test_env.h"
#include "test_home.h"
#include "told.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace lw {
namespace {

namespace fs = std::filesystem;

class FlatpakAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The fake prints the override of --user or the global one, and
        // notes every call.
        std::ofstream script(Bin / "flatpak");
        script << "#!/bin/sh\n"
               << "echo \"$*\" >> '" << (Bin / "calls").string() << "'\n"
               << "case \"$*\" in\n"
               << "  --version) echo 'Flatpak 1.14.4' ;;\n"
               << "  'override --user --show') cat '" << (Bin / "user").string()
               << "' 2>/dev/null ;;\n"
               << "  'override --show') cat '" << (Bin / "global").string() << "' 2>/dev/null ;;\n"
               << "esac\nexit 0\n";
        script.close();
        fs::permissions(Bin / "flatpak", fs::perms::owner_all);
    }
    void TearDown() override { ::setenv("PATH", SavedPath.c_str(), 1); }
    void Override(const char* which, const std::string& filesystems) {
        std::ofstream(Bin / which) << "[Context]\nfilesystems=" << filesystems << "\n";
    }

    const test::TScratchFolder BinFolder{"fake-bin"};
    const fs::path Bin = BinFolder.Path;
    const std::string SavedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
};

TEST_F(FlatpakAccessTest, TheOverridesSayWhetherApplicationsReadTheFolderAndGrantingAddsOne) {
    // Without flatpak nothing is said.
    ::setenv("PATH", (test::TestHome().Root() / "empty-bin").c_str(), 1);
    EXPECT_FALSE(ProgramOnPath("flatpak"));
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::NoFlatpak);

    ::setenv("PATH", (Bin.string() + ":/usr/bin:/bin").c_str(), 1);
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::CannotRead);
    Override("user", "xdg-download;xdg-config/fontconfig:ro;");
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::Reads);
    // A folder that holds it does too; one only to be created does not.
    Override("user", "home");
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::Reads);
    // ":create" reads and writes, making the folder when it is missing.
    Override("user", "xdg-config/fontconfig:create");
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::Reads);
    // Each place has its own state: taking back home leaves the folder given.
    Override("user", "xdg-config/fontconfig:ro;home;!home");
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::Reads);
    Override("user", "xdg-config/fontconfig:ro;!xdg-config/fontconfig;home:ro;!home");
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::CannotRead);
    fs::remove(Bin / "user");
    Override("global", "xdg-config/fontconfig:ro");
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::Reads);
    // The user's override takes back what the global one gives.
    Override("user", "!xdg-config/fontconfig");
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::CannotRead);

    // Granting adds the user's read-only override, in one call.
    fs::remove(Bin / "calls");
    EXPECT_TRUE(GrantFlatpakFontconfigAccess(RunProgram));
    std::ifstream calls(Bin / "calls");
    std::string line;
    std::getline(calls, line);
    EXPECT_EQ(line, "override --user --filesystem=xdg-config/fontconfig:ro");
    EXPECT_FALSE(std::getline(calls, line));
}

// The question after a disable: no is left at that, a failed override told.
TEST(FlatpakAccessOffer, YesAddsTheOverrideAndAFailureIsTold) {
    std::vector<std::string> granted;
    const TProgramRunner run =
        [&](const std::vector<std::string>& argv) -> std::optional<std::string> {
        if (argv.size() == 4 && argv[1] == "override" && argv[3].starts_with("--filesystem=")) {
            granted.push_back(argv[3]);
            return std::nullopt; // flatpak refused
        }
        return std::string(); // a version, no override
    };
    test::TestPrompts().Reset();
    test::TestPrompts().Answers = {TMsgResult::No};
    OfferFlatpakFontconfigAccess(run);
    ASSERT_TRUE(test::ToldOnce(LoadStr(30310)));
    EXPECT_TRUE(granted.empty());

    test::TestPrompts().Reset();
    test::TestPrompts().Answers = {TMsgResult::Yes};
    OfferFlatpakFontconfigAccess(run);
    ASSERT_EQ(test::TestPrompts().Messages.size(), 2u);
    EXPECT_EQ(test::TestPrompts().Messages[1].Text, LoadStr(30311));
    EXPECT_EQ(test::TestPrompts().Messages[1].Icon, TMsgIcon::Error);
    EXPECT_EQ(granted, std::vector<std::string>{"--filesystem=xdg-config/fontconfig:ro"});
    test::TestPrompts().Reset();
}

// The real flatpak, its user and system installations in the temporary home.
TEST(FlatpakAccessReal, TheOverrideOfferedIsTheOneFlatpakThenShows) {
    if (!ProgramOnPath("flatpak")) {
        GTEST_SKIP() << "flatpak is not installed: the real program's overrides are not checked";
    }
    // The home starts with the access given; this test starts without.
    const fs::path overrides = test::TestHome().FlatpakUserDir() / "overrides";
    fs::rename(overrides, overrides.string() + ".given");
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::CannotRead);
    EXPECT_TRUE(GrantFlatpakFontconfigAccess(RunProgram));
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::Reads);
    EXPECT_TRUE(fs::exists(overrides / "global"));
    // Taken back by flatpak's own command, as a user would.
    EXPECT_TRUE(
        RunProgram({"flatpak", "override", "--user", "--nofilesystem=xdg-config/fontconfig"}));
    EXPECT_EQ(FlatpakFontconfigAccess(RunProgram), TFlatpakAccess::CannotRead);
    fs::remove_all(overrides);
    fs::rename(overrides.string() + ".given", overrides);
}

} // namespace
} // namespace lw
