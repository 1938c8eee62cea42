// Installation against the real fontconfig of the temporary home: what other
// programs (fc-list) and the catalogue see.
#include "font_builder.h"
#include "fonts/font_manager.h"
#include "fonts/opentype_font_file.h"
#include "platform/linux/fontconfig_system.h"
#include "platform/services.h"
#include "test_env.h"
#include "test_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace lw {
namespace {

namespace fs = std::filesystem;

std::string FcList() {
    std::string out;
    FILE* pipe = ::popen("fc-list --format '%{family[0]}|%{file}\\n'", "r");
    if (pipe == nullptr) {
        return out;
    }
    char buf[4096];
    while (std::fgets(buf, sizeof buf, pipe) != nullptr) {
        out += buf;
    }
    ::pclose(pipe);
    return out;
}

bool Listed(const std::string& family) {
    const auto& families = FontManager->Families;
    return std::find(families.begin(), families.end(), family) != families.end();
}

fs::path MakeFont(const std::string& fileName, const std::string& family) {
    test::TNameTableBuilder names;
    names.Windows(1, family)
        .Windows(2, "Regular")
        .Windows(4, family + " Regular")
        .Windows(6, family + "-Regular");
    const fs::path path = test::TestHome().Root() / "incoming" / fileName;
    fs::create_directories(path.parent_path());
    test::WriteFile(path, test::MinimalTrueType(names));
    return path;
}

class SystemInstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestPrompts().Reset();
        fs::create_directories(FontManager->FontsFolder);
    }
};

TEST_F(SystemInstallTest, InstalledFontsReachOtherProgramsAndUninstallingToTrashTakesThemAway) {
    const fs::path file = MakeFont("lwprobe.ttf", "LwProbe");
    TOpenTypeFontFile font(file.string());
    ASSERT_FALSE(font.Installed);
    FontManager->InstallFont(font, true);
    ASSERT_TRUE(test::TestPrompts().Messages.empty()) << test::TestPrompts().Messages[0].Text;
    const fs::path installed = fs::path(FontManager->FontsFolder) / "lwprobe.ttf";
    EXPECT_TRUE(fs::exists(installed));
    EXPECT_NE(FcList().find("LwProbe|" + installed.string()), std::string::npos) << FcList();
    FontManager->Refresh();
    EXPECT_TRUE(Listed("LwProbe"));
    // The same font read again now counts as installed, by its bare name.
    EXPECT_TRUE(TOpenTypeFontFile(file.string()).Installed);
    EXPECT_EQ(FontManager->GetFontFileName("LwProbe Regular", "LwProbe", "Regular"), "lwprobe.ttf");

    EXPECT_TRUE(FontManager->UninstallFont("LwProbe Regular", "LwProbe", true, true));
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
    EXPECT_FALSE(fs::exists(installed));
    EXPECT_TRUE(fs::exists(test::TestHome().DataHome() / "Trash" / "files" / "lwprobe.ttf"));
    EXPECT_EQ(FcList().find("LwProbe|"), std::string::npos);
    FontManager->Refresh();
    EXPECT_FALSE(Listed("LwProbe"));
    fs::remove(test::TestHome().DataHome() / "Trash" / "files" / "lwprobe.ttf");
}

TEST_F(SystemInstallTest, TemporaryFontsAreSeenByOtherProgramsUntilRemoved) {
    const fs::path file = MakeFont("lwtemp.ttf", "LwTemp");
    TOpenTypeFontFile font(file.string());
    FontManager->InstallTemporarily(font, true);
    EXPECT_NE(FcList().find("LwTemp|"), std::string::npos);
    FontManager->Refresh();
    EXPECT_TRUE(Listed("LwTemp"));
    EXPECT_EQ(FontManager->GetFontFileName("LwTemp Regular", "LwTemp", "Regular"), file.string());
    FontManager->RemoveTemporaryFonts();
    EXPECT_EQ(FcList().find("LwTemp|"), std::string::npos);
    FontManager->Refresh();
    EXPECT_FALSE(Listed("LwTemp"));
    EXPECT_TRUE(fs::exists(file));
}

TEST_F(SystemInstallTest, LinksLeftByAKilledRunAreRemovedAtTheNextStart) {
    const fs::path fonts = FontManager->FontsFolder;
    const fs::path stale = fonts / "Letterwell temporary" / "999999999";
    fs::create_directories(stale);
    fs::create_symlink(MakeFont("lwstale.ttf", "LwStale"), stale / "lwstale.ttf");
    const fs::path live = fonts / "Letterwell temporary" / std::to_string(::getpid());
    fs::create_directories(live);
    TFontconfigSystem next(fonts.string());
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live)) << "a running program keeps its links";
    EXPECT_EQ(FcList().find("LwStale|"), std::string::npos);
    fs::remove_all(live);
}

} // namespace
} // namespace lw
