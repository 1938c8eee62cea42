// Installation against the real fontconfig of the temporary home: what other
// programs (fc-list) and the catalogue see.
#include "command_run.h"
#include "font_builder.h"
#include "fonts/font_manager.h"
#include "fonts/opentype_font_file.h"
#include "fonts/type1_font_file.h"
#include "platform/linux/fontconfig_system.h"
#include "platform/linux/replace_file.h"
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
    return test::RunCommand("fc-list --format '%{family[0]}|%{file}\\n'").Output;
}

bool Listed(const std::string& family) {
    const auto& families = FontManager->Families;
    return std::find(families.begin(), families.end(), family) != families.end();
}

fs::path MakeFont(const std::string& fileName, const std::string& family) {
    const fs::path path = test::TestHome().Root() / "incoming" / fileName;
    test::WriteFile(path, test::NamedTrueType(family));
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

TEST_F(SystemInstallTest, ACollectionIsInstalledOnceAndGoesWithItsLastFace) {
    const fs::path incoming = test::TestHome().Root() / "incoming";
    fs::create_directories(incoming);
    const fs::path file = incoming / "lwpair.ttc";
    test::WriteFile(
        file, test::Collection({test::NamedTrueType("LwFirst"), test::NamedTrueType("LwSecond")}));
    const std::vector<std::unique_ptr<TFontFile>> faces =
        TFontManager::ReadFontFaces(file.string());
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(FontManager->InstallFontFile(*faces[1]), TFontManager::irInstalled);
    FontManager->BroadcastFontChange();
    const fs::path installed = fs::path(FontManager->FontsFolder) / "lwpair.ttc";
    EXPECT_NE(FcList().find("LwFirst|" + installed.string()), std::string::npos) << FcList();
    EXPECT_NE(FcList().find("LwSecond|" + installed.string()), std::string::npos);
    FontManager->Refresh();
    EXPECT_TRUE(Listed("LwFirst"));
    EXPECT_TRUE(Listed("LwSecond"));
    // Every face of the file now reads as installed: no second copy.
    EXPECT_TRUE(TOpenTypeFontFile(file.string(), 0).Installed);
    EXPECT_EQ(FontManager->InstallFontFile(*TFontManager::ReadFontFaces(file.string())[0]),
              TFontManager::irAlreadyInstalled);

    // The file holds another family too: the user is asked, and a No keeps it.
    test::TestPrompts().Answers = {TMsgResult::No};
    EXPECT_FALSE(FontManager->UninstallFont("LwFirst Regular", "LwFirst", true, false));
    ASSERT_EQ(test::TestPrompts().Messages.size(), 1u);
    EXPECT_NE(test::TestPrompts().Messages[0].Text.find("LwSecond"), std::string::npos)
        << test::TestPrompts().Messages[0].Text;
    EXPECT_TRUE(fs::exists(installed));
    test::TestPrompts().Reset();
    test::TestPrompts().Answers = {TMsgResult::Yes};
    EXPECT_TRUE(FontManager->UninstallFont("LwFirst Regular", "LwFirst", true, false));
    EXPECT_FALSE(fs::exists(installed));
    EXPECT_EQ(FcList().find("LwSecond|"), std::string::npos);
    FontManager->Refresh();
    EXPECT_FALSE(Listed("LwFirst"));
    EXPECT_FALSE(Listed("LwSecond"));
}

TEST_F(SystemInstallTest, AType1OutlineAndItsAfmAreInstalledAndRemovedTogether) {
    const fs::path system = "/usr/share/fonts/X11/Type1";
    fs::path pfb;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(system, ec)) {
        fs::path afm = entry.path();
        afm.replace_extension(".afm");
        if (entry.path().extension() == ".pfb" && fs::exists(afm)) {
            pfb = entry.path();
            break;
        }
    }
    if (pfb.empty()) {
        GTEST_SKIP() << "no .pfb with an .afm in " << system << " (package t1-cyrillic has some)";
    }
    const fs::path incoming = test::TestHome().Root() / "incoming-type1";
    fs::create_directories(incoming);
    fs::copy_file(pfb, incoming / "lwpair.pfb", fs::copy_options::overwrite_existing);
    fs::copy_file(fs::path(pfb).replace_extension(".afm"), incoming / "lwpair.afm",
                  fs::copy_options::overwrite_existing);
    const std::unique_ptr<TFontFile> font =
        TFontManager::ReadFontFile((incoming / "lwpair.pfb").string());
    ASSERT_TRUE(font);
    ASSERT_FALSE(font->Installed);
    FontManager->InstallFont(*font, true);
    ASSERT_TRUE(test::TestPrompts().Messages.empty()) << test::TestPrompts().Messages[0].Text;
    const fs::path fonts = FontManager->FontsFolder;
    EXPECT_TRUE(fs::exists(fonts / "lwpair.pfb"));
    EXPECT_TRUE(fs::exists(fonts / "lwpair.afm"));
    EXPECT_NE(FcList().find(font->FamilyName + "|" + (fonts / "lwpair.pfb").string()),
              std::string::npos)
        << FcList();
    FontManager->Refresh();
    ASSERT_TRUE(Listed(font->FamilyName));
    EXPECT_TRUE(TFontManager::ReadFontFile((incoming / "lwpair.pfb").string())->Installed);
    // The style's files are the pair, the outline the one it is shown by.
    EXPECT_EQ(FontManager->GetFontFiles(font->FullName, font->FamilyName, font->StyleName),
              TFontFiles("lwpair.afm", "lwpair.pfb"));
    // The command line shows the style by its outline, once.
    const test::TCommandRun styles = test::RunCommand(
        test::BuildBinFolder() + "/letterwell-cli styles '" + font->FamilyName + "'");
    EXPECT_EQ(styles.Status, 0);
    EXPECT_EQ(styles.Output, font->StyleName + "\t" + font->FullName + "\tlwpair.pfb\tType 1\n");

    EXPECT_TRUE(FontManager->UninstallFont(font->FullName, font->FamilyName, true, false));
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
    EXPECT_FALSE(fs::exists(fonts / "lwpair.pfb"));
    EXPECT_FALSE(fs::exists(fonts / "lwpair.afm"));
    EXPECT_EQ(FcList().find((fonts / "lwpair").string()), std::string::npos);
    FontManager->Refresh();
    EXPECT_FALSE(Listed(font->FamilyName));
    fs::remove_all(incoming);
}

TEST_F(SystemInstallTest, ALoneType1OutlineIsInstalledAndRemovedAsOneFile) {
    const fs::path system = "/usr/share/fonts/X11/Type1";
    fs::path pfb;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(system, ec)) {
        if (entry.path().extension() == ".pfb") {
            pfb = entry.path();
            break;
        }
    }
    if (pfb.empty()) {
        GTEST_SKIP() << "no .pfb in " << system << " (package fonts-urw-base35 has some)";
    }
    const fs::path incoming = test::TestHome().Root() / "incoming-lone";
    fs::create_directories(incoming);
    fs::copy_file(pfb, incoming / "lwlone.pfb", fs::copy_options::overwrite_existing);
    const std::unique_ptr<TFontFile> font =
        TFontManager::ReadFontFile((incoming / "lwlone.pfb").string());
    ASSERT_TRUE(font);
    FontManager->InstallFont(*font, true);
    ASSERT_TRUE(test::TestPrompts().Messages.empty()) << test::TestPrompts().Messages[0].Text;
    const fs::path fonts = FontManager->FontsFolder;
    FontManager->Refresh();
    ASSERT_TRUE(Listed(font->FamilyName));
    EXPECT_EQ(FontManager->GetFontFiles(font->FullName, font->FamilyName, font->StyleName),
              TFontFiles("lwlone.pfb"));
    EXPECT_TRUE(FontManager->UninstallFont(font->FullName, font->FamilyName, true, false));
    EXPECT_TRUE(test::TestPrompts().Messages.empty()) << test::TestPrompts().Messages[0].Text;
    EXPECT_FALSE(fs::exists(fonts / "lwlone.pfb"));
    FontManager->Refresh();
    EXPECT_FALSE(Listed(font->FamilyName));
    fs::remove_all(incoming);
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

TEST_F(SystemInstallTest, AnEndLeavesNoLinkFolderEvenOneEmptiedBefore) {
    const fs::path fonts = FontManager->FontsFolder;
    const fs::path root = fonts / "Letterwell temporary";
    const TFontFiles file(MakeFont("lwbrief.ttf", "LwBrief").string());
    for (const bool removedFirst : {true, false}) {
        {
            TFontconfigSystem run(fonts.string());
            ASSERT_EQ(run.AddTemporaryFont(file), 1);
            ASSERT_TRUE(fs::exists(fs::symlink_status(root / ProcessStamp() / "lwbrief.ttf")));
            if (removedFirst) {
                ASSERT_TRUE(run.RemoveTemporaryFont(file));
            }
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(root))) << removedFirst;
        EXPECT_TRUE(fs::exists(file.File));
    }
    // What is not the program's own keeps the shared folder in place.
    const fs::path other = root / "999999999.1" / "notes.txt";
    test::WriteFile(other, {'n'});
    { TFontconfigSystem run(fonts.string()); }
    EXPECT_TRUE(fs::exists(other));
    fs::remove_all(root);
}

TEST_F(SystemInstallTest, AStartRemovesOnlyTheLinksOfProgramsThatAreGone) {
    const fs::path fonts = FontManager->FontsFolder;
    const fs::path root = fonts / "Letterwell temporary";
    const fs::path target = MakeFont("lwstale.ttf", "LwStale");
    // Gone: a process id that no process has, and a live id (this process)
    // with another start time, as when the id was given to another program.
    const fs::path stale = root / "999999999.1";
    const fs::path reused = root / (std::to_string(::getpid()) + ".1");
    for (const fs::path& folder : {stale, reused}) {
        fs::create_directories(folder / "kept-folder");
        fs::create_symlink(target, folder / "lwstale.ttf");
        test::WriteFile(folder / "not-a-link.ttf", {'k'});
    }
    const fs::path live = root / ProcessStamp();
    fs::create_directories(live);
    fs::create_symlink(target, live / "lwlive.ttf");

    TFontconfigSystem next(fonts.string());
    for (const fs::path& folder : {stale, reused}) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "lwstale.ttf")));
        // Only links are the program's; anything else in there is the user's.
        EXPECT_TRUE(fs::exists(folder / "not-a-link.ttf"));
        EXPECT_TRUE(fs::exists(folder / "kept-folder"));
    }
    EXPECT_TRUE(fs::exists(target)) << "a link's target is never touched";
    EXPECT_TRUE(fs::exists(fs::symlink_status(live / "lwlive.ttf")))
        << "a running program keeps its links";
    EXPECT_EQ(FcList().find(stale.string() + "/"), std::string::npos) << FcList();
    EXPECT_EQ(FcList().find(reused.string() + "/"), std::string::npos) << FcList();
    fs::remove_all(root);
}

TEST_F(SystemInstallTest, ALinkInPlaceOfTheLinkFolderIsNeverFollowed) {
    const fs::path fonts = FontManager->FontsFolder;
    const fs::path elsewhere = test::TestHome().Root() / "precious";
    fs::create_directories(elsewhere / "999999999.1");
    fs::create_symlink(MakeFont("lwprecious.ttf", "LwPrecious"),
                       elsewhere / "999999999.1" / "lwprecious.ttf");
    test::WriteFile(elsewhere / "notes.txt", {'n'});
    fs::create_symlink(elsewhere, fonts / "Letterwell temporary");

    TFontconfigSystem next(fonts.string());
    EXPECT_TRUE(fs::exists(elsewhere / "notes.txt"));
    EXPECT_TRUE(fs::exists(fs::symlink_status(elsewhere / "999999999.1" / "lwprecious.ttf")));
    fs::remove(fonts / "Letterwell temporary");
    fs::remove_all(elsewhere);
}

} // namespace
} // namespace lw
