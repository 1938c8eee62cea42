// Installing, backing up and removing fonts in the temporary home with the
// real fontconfig and the real letterwell-cli: names with any bytes, files
// that are no fonts, kills and races. After each, what must stay is
// byte-identical and fontconfig serves nothing half-made, and what other
// programs (fc-list) and the catalogue see is what was installed.
#include "command_run.h"
#include "font_builder.h"
#include "fonts/font_manager.h"
#include "fonts/opentype_font_file.h"
#include "platform/linux/fontconfig_system.h"
#include "platform/linux/replace_file.h"
#include "platform/services.h"
#include "reader_test_support.h"
#include "test_env.h"
#include "test_home.h"
#include "told.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace lw {
namespace {

namespace fs = std::filesystem;

using test::Quote;

std::string Cli() {
    return Quote(test::BuildBinFolder() + "/letterwell-cli");
}

using TRun = test::TCommandRun;

// Runs a shell command line, standard error with standard output.
TRun Shell(const std::string& command) {
    return test::RunCommand(command + " 2>&1");
}

std::string FcFiles() {
    return Shell("fc-list --format '%{family[0]}|%{file}\\n'").Output;
}

class FontSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestPrompts().Reset();
        fs::create_directories(Fonts);
        fs::create_directories(Incoming);
    }
    void TearDown() override {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(Fonts, ec)) {
            fs::remove_all(entry.path(), ec);
        }
        fs::remove_all(Incoming, ec);
        FontManager->BroadcastFontChange();
    }
    fs::path Make(const fs::path& path, const std::string& family, size_t padTo = 0,
                  const std::string& style = "Regular") {
        test::TBytes bytes = test::NamedTrueType(family, style);
        bytes.resize(std::max(bytes.size(), padTo), 0); // trailing bytes no table claims
        test::WriteFile(path, bytes);
        return path;
    }
    // The catalogue sees what fontconfig serves now.
    void Rescan() {
        FontManager->BroadcastFontChange();
        FontManager->Refresh();
    }
    const std::vector<test::TScriptedPrompts::TMessage>& Messages() {
        return test::TestPrompts().Messages;
    }

    const fs::path Fonts = FontManager->FontsFolder;
    const fs::path Incoming = test::TestHome().Root() / "incoming";
};

// A pipe or pattern characters in a file name are part of the name: the
// command line installs and uninstalls that one font, to the trash or for
// good, and every other file of the font folder stays as it was.
TEST_F(FontSafetyTest, APipeOrAPatternInAFileNameNamesThatFontAlone) {
    const test::TBytes other = {'o', 't', 'h', 'e', 'r'};
    const struct {
        const char* Name;
        const char* Family;
        std::vector<std::string> Others;
        bool ToTrash;
    } cases[] = {
        {"Demo|Probe.ttf", "Demo Probe", {"Demo", "Probe.ttf"}, false},
        {"*.ttf", "LwStar", {"a.ttf", "b.ttf", "keep.otf"}, true},
        {"*.ttf", "LwStar", {"a.ttf", "b.ttf", "keep.otf"}, false},
    };
    const fs::path trash = test::TestHome().DataHome() / "Trash";
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + (c.ToTrash ? " to the trash" : " for good"));
        for (const std::string& name : c.Others) {
            test::WriteFile(Fonts / name, other);
        }
        const fs::path source = Make(Incoming / c.Name, c.Family);
        const TRun install = Shell("cd " + Quote(Incoming.string()) + " && " + Cli() + " install " +
                                   Quote(std::string("./") + c.Name));
        EXPECT_TRUE(test::Says(install, 0, ": installed"));
        EXPECT_NE(FcFiles().find(c.Family + ("|" + (Fonts / c.Name).string())), std::string::npos);

        const TRun uninstall =
            Shell(Cli() + " uninstall " + Quote(c.Family) + (c.ToTrash ? " --trash" : ""));
        EXPECT_EQ(uninstall.Status, 0) << uninstall.Output;
        EXPECT_FALSE(fs::exists(Fonts / c.Name));
        for (const std::string& name : c.Others) {
            EXPECT_EQ(test::ReadFile(Fonts / name), other) << name;
            EXPECT_FALSE(fs::exists(trash / "files" / name)) << name;
        }
        EXPECT_EQ(fs::exists(trash / "files" / c.Name), c.ToTrash);
        EXPECT_TRUE(fs::exists(source));
        fs::remove(trash / "files" / c.Name);
        fs::remove(trash / "info" / (std::string(c.Name) + ".trashinfo"));
    }
}

TEST_F(FontSafetyTest, ABackupOntoTheFontItselfFailsAndTheFontStays) {
    const fs::path installed = Make(Fonts / "lwself.ttf", "LwSelf");
    const test::TBytes bytes = test::ReadFile(installed);
    Rescan();
    fs::create_symlink(Fonts, test::TestHome().Root() / "fonts-link");
    for (const std::string& folder :
         {Fonts.string(), Fonts.string() + "/", Fonts.string() + "/../fonts",
          (test::TestHome().Root() / "fonts-link").string()}) {
        test::TestPrompts().Reset();
        EXPECT_FALSE(FontManager->BackupFontFiles("LwSelf Regular", "LwSelf", folder)) << folder;
        ASSERT_TRUE(test::ToldOnce("Greska pri kopiranju  " + installed.string() + "  u  " +
                                   folder + ".\n\nOdrediste je sam izvorni fajl."))
            << folder;
        EXPECT_EQ(test::ReadFile(installed), bytes);
    }
    // The command line backs up before it removes: a failed backup keeps the style.
    const TRun run = Shell(Cli() + " uninstall LwSelf --backup " + Quote(Fonts.string() + "/"));
    EXPECT_TRUE(test::Says(run, 1, "LwSelf Regular: not uninstalled"));
    EXPECT_EQ(test::ReadFile(installed), bytes);
    fs::remove(test::TestHome().Root() / "fonts-link");
}

// A font in a sub-folder of the user's font folder is the user's to remove,
// and so is the user's own copy of a system font, listed before the system's.
TEST_F(FontSafetyTest, TheUsersFontsInSubFoldersAndCopiesOfSystemFontsAreListedAndRemoved) {
    const fs::path file = Make(Fonts / "family" / "styles" / "lwsub.ttf", "LwSub");
    const fs::path system = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    ASSERT_TRUE(fs::exists(system));
    fs::copy_file(system, Fonts / "MyDejaVuBold.ttf");
    Rescan();
    EXPECT_EQ(FontManager->GetFontFileName("LwSub Regular", "LwSub", "Regular"), file.string());
    EXPECT_TRUE(FontManager->UninstallFont("LwSub Regular", "LwSub", true, false));
    EXPECT_TRUE(Messages().empty()) << Messages().front().Text;
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(FcFiles().find("LwSub|"), std::string::npos);

    EXPECT_EQ(FontManager->GetFontFileName("DejaVu Sans Bold", "DejaVu Sans", "Bold"),
              "MyDejaVuBold.ttf");
    EXPECT_TRUE(FontManager->UninstallFont("DejaVu Sans Bold", "DejaVu Sans", true, false));
    EXPECT_TRUE(Messages().empty()) << Messages().front().Text;
    EXPECT_FALSE(fs::exists(Fonts / "MyDejaVuBold.ttf"));
    EXPECT_TRUE(fs::exists(system));
    // With the user's copy gone the system's is listed again, and stays.
    FontManager->Refresh();
    EXPECT_EQ(FontManager->GetFontFileName("DejaVu Sans Bold", "DejaVu Sans", "Bold"),
              system.string());
    EXPECT_FALSE(FontManager->UninstallFont("DejaVu Sans Bold", "DejaVu Sans", true, false));
    EXPECT_TRUE(fs::exists(system));
}

TEST_F(FontSafetyTest, APipeNamedLikeAFontIsNoFontAndNothingWaitsForIt) {
    const fs::path fifo = Incoming / "fifo.ttf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    const TRun info = Shell("timeout 20 " + Cli() + " info " + Quote(fifo.string()));
    const TRun install = Shell("timeout 20 " + Cli() + " install " + Quote(fifo.string()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(test::Says(info, 1, "not a font file"));
    EXPECT_EQ(install.Status, 1) << install.Output;
    EXPECT_FALSE(fs::exists(Fonts / "fifo.ttf"));
    EXPECT_EQ(FontSystem().FacesServed(TFontFiles(fifo.string())), 0);
    EXPECT_FALSE(FileShell().CopyFileOver(fifo.string(), (Incoming / "copy.ttf").string()));
}

TEST_F(FontSafetyTest, ACommandLinePathMeansWhatTheShellMeans) {
    Make(Fonts / "same.ttf", "LwInFontFolder");
    Make(Incoming / "same.ttf", "LwInCurrentFolder");
    const TRun run = Shell("cd " + Quote(Incoming.string()) + " && " + Cli() + " info same.ttf");
    EXPECT_TRUE(test::Says(run, 0, "\"FamilyName\": \"LwInCurrentFolder\""));
    EXPECT_NE(run.Output.find("\"FileName\": \"" + (Incoming / "same.ttf").string() + "\""),
              std::string::npos)
        << run.Output;
}

TEST_F(FontSafetyTest, AFontTheConfigurationRefusesIsReportedAndNeverInstalled) {
    const fs::path source = Make(Incoming / "lwrefused.ttf", test::kRejectedFamily);
    const TRun run = Shell(Cli() + " install " + Quote(source.string()));
    EXPECT_TRUE(test::Says(run, 1, ": Something went wrong."));
    EXPECT_EQ(FcFiles().find(test::kRejectedFamily), std::string::npos);
    EXPECT_FALSE(TOpenTypeFontFile(source.string()).Installed);
}

TEST_F(FontSafetyTest, AFileThatWillNotLoadNeverReplacesAnInstalledFont) {
    const fs::path good = Make(Incoming / "good" / "MyFont.ttf", "LwKeepMe");
    ASSERT_EQ(Shell(Cli() + " install " + Quote(good.string())).Status, 0);
    const test::TBytes installed = test::ReadFile(Fonts / "MyFont.ttf");
    ASSERT_FALSE(installed.empty());
    for (const test::TBytes& hostile :
         {test::TBytes{}, test::TBytes{0, 1, 0, 0}, test::TBytes(4096, 0xFF),
          test::TBytes{'O', 'T', 'T', 'O', 0, 9}}) {
        test::WriteFile(Incoming / "bad" / "MyFont.ttf", hostile);
        const TRun run =
            Shell(Cli() + " install " + Quote((Incoming / "bad" / "MyFont.ttf").string()));
        EXPECT_EQ(run.Status, 1) << run.Output;
        EXPECT_EQ(test::ReadFile(Fonts / "MyFont.ttf"), installed);
        EXPECT_EQ(test::FolderEntries(Fonts), std::vector<std::string>{"MyFont.ttf"});
    }
    EXPECT_NE(FcFiles().find("LwKeepMe|" + (Fonts / "MyFont.ttf").string()), std::string::npos);
}

TEST_F(FontSafetyTest, AKillDuringAnInstallLeavesTheFontWholeOrAbsent) {
    const fs::path source = Make(Incoming / "lwbig.ttf", "LwBig", 48u << 20);
    const test::TBytes bytes = test::ReadFile(source);
    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::execl((test::BuildBinFolder() + "/letterwell-cli").c_str(), "letterwell-cli",
                    "install", source.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 120));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        for (const std::string& name : test::FolderEntries(Fonts)) {
            if (name == "lwbig.ttf") {
                EXPECT_EQ(fs::file_size(Fonts / name), bytes.size()) << "round " << round;
            } else {
                // Only a hidden file fontconfig never reads may be left, for the next start.
                EXPECT_EQ(name.rfind(".letterwell-", 0), 0u) << name;
            }
        }
        EXPECT_EQ(FcFiles().find(".letterwell"), std::string::npos);
        fs::remove(Fonts / "lwbig.ttf");
    }
    // The next start of any Letterwell program clears what killed ones left,
    // also the part files earlier versions copied through.
    test::WriteFile(Fonts / "older.ttf.letterwell-part", {'p'});
    ASSERT_EQ(Shell(Cli() + " --version").Status, 0);
    EXPECT_TRUE(test::FolderEntries(Fonts).empty()) << test::FolderEntries(Fonts).front();
}

// Two fonts that share a file name are two fonts: both stay installed, each
// whole, also when two programs install them at the same moment. Only a file
// of the same family, whatever its other names, replaces one of them.
TEST_F(FontSafetyTest, TwoFontsOfOneFileNameAreBothKeptAndOnlyTheirFamilyReplacesOne) {
    // Names a newer version of the family no longer has.
    const fs::path a = Make(Incoming / "a" / "race.ttf", "LwRaceA", 8u << 20, "Book");
    const fs::path b = Make(Incoming / "b" / "race.ttf", "LwRaceB", 8u << 20, "Book");
    const test::TBytes bytesA = test::ReadFile(a);
    const test::TBytes bytesB = test::ReadFile(b);
    const std::vector<std::string> both = {"race-2.ttf", "race.ttf"};
    for (int round = 0; round < 20; ++round) {
        fs::remove(Fonts / "race.ttf");
        fs::remove(Fonts / "race-2.ttf");
        FILE* first = ::popen((Cli() + " install " + Quote(a.string()) + " 2>&1").c_str(), "r");
        FILE* second = ::popen((Cli() + " install " + Quote(b.string()) + " 2>&1").c_str(), "r");
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        // Read to the end, so neither is cut off by a closed pipe.
        for (FILE* run : {first, second}) {
            char line[4096];
            while (std::fgets(line, sizeof line, run) != nullptr) {
            }
        }
        EXPECT_EQ(::pclose(first), 0) << "round " << round;
        EXPECT_EQ(::pclose(second), 0) << "round " << round;
        ASSERT_EQ(test::FolderEntries(Fonts), both) << "round " << round;
        const test::TBytes plain = test::ReadFile(Fonts / "race.ttf");
        const test::TBytes numbered = test::ReadFile(Fonts / "race-2.ttf");
        EXPECT_TRUE((plain == bytesA && numbered == bytesB) ||
                    (plain == bytesB && numbered == bytesA))
            << "round " << round;
    }
    const bool plainIsA = test::ReadFile(Fonts / "race.ttf") == bytesA;
    const std::string plainFamily = plainIsA ? "LwRaceA" : "LwRaceB";
    const test::TBytes numbered = test::ReadFile(Fonts / "race-2.ttf");
    const std::string served = FcFiles();
    EXPECT_NE(served.find(plainFamily + "|" + (Fonts / "race.ttf").string()), std::string::npos)
        << served;
    EXPECT_NE(served.find((plainIsA ? "LwRaceB|" : "LwRaceA|") + (Fonts / "race-2.ttf").string()),
              std::string::npos)
        << served;

    const fs::path newer = Make(Incoming / "c" / "race.ttf", plainFamily);
    const TRun update = Shell(Cli() + " install " + Quote(newer.string()));
    EXPECT_EQ(update.Status, 0) << update.Output;
    EXPECT_EQ(test::FolderEntries(Fonts), both);
    EXPECT_EQ(test::ReadFile(Fonts / "race.ttf"), test::ReadFile(newer));
    EXPECT_EQ(test::ReadFile(Fonts / "race-2.ttf"), numbered);
}

TEST_F(FontSafetyTest, AFontFolderThatCannotBeWrittenIsNamedWithTheReason) {
    test::WriteFile(test::TestHome().Root() / "a-file", {'x'});
    TFontconfigSystem blocked((test::TestHome().Root() / "a-file" / "fonts").string());
    IFontSystem* previous = Platform().Fonts;
    Platform().Fonts = &blocked;
    {
        TFontManager fonts;
        TOpenTypeFontFile font(Make(Incoming / "lwblocked.ttf", "LwBlocked").string());
        EXPECT_EQ(fonts.InstallFontFile(font), TFontManager::irNoRegistry);
        EXPECT_EQ(fonts.GetErrorText(TFontManager::irNoRegistry),
                  "Ne mogu da pisem u folder sa fontovima  " +
                      (test::TestHome().Root() / "a-file" / "fonts").string() +
                      ".\n\nNot a directory");
    }
    Platform().Fonts = previous;
}

// What other programs (fc-list) and the catalogue see of an installation.
using SystemInstallTest = FontSafetyTest;

// Whether the catalogue, refreshed from what fontconfig serves now, lists the family.
bool Listed(const std::string& family) {
    FontManager->Refresh();
    const auto& families = FontManager->Families;
    return std::find(families.begin(), families.end(), family) != families.end();
}

// Whatever bytes its name holds: a name that is not UTF-8 is the font's name
// for other programs and in the trash's record.
TEST_F(SystemInstallTest, InstalledFontsReachOtherProgramsAndGoToTheTrashByteForByte) {
    const std::string name = "caf\xE9 \xFF.ttf"; // Latin-1 bytes, invalid as UTF-8
    const fs::path file = Make(Incoming / name, "LwProbe");
    const test::TBytes bytes = test::ReadFile(file);
    TOpenTypeFontFile font(file.string());
    ASSERT_FALSE(font.Installed);
    FontManager->InstallFont(font, true);
    ASSERT_TRUE(Messages().empty()) << Messages()[0].Text;
    const fs::path installed = Fonts / name;
    EXPECT_EQ(test::ReadFile(installed), bytes);
    EXPECT_NE(FcFiles().find("LwProbe|" + installed.string()), std::string::npos) << FcFiles();
    EXPECT_TRUE(Listed("LwProbe"));
    // The same font read again now counts as installed, by its bare name.
    EXPECT_TRUE(TOpenTypeFontFile(file.string()).Installed);
    EXPECT_EQ(FontManager->GetFontFileName("LwProbe Regular", "LwProbe", "Regular"), name);

    EXPECT_TRUE(FontManager->UninstallFont("LwProbe Regular", "LwProbe", true, true));
    EXPECT_TRUE(Messages().empty()) << Messages().front().Text;
    EXPECT_FALSE(fs::exists(installed));
    const fs::path trash = test::TestHome().DataHome() / "Trash";
    EXPECT_EQ(test::ReadFile(trash / "files" / name), bytes);
    const std::string record = test::ReadText(trash / "info" / (name + ".trashinfo"));
    EXPECT_NE(record.find("Path=" + Fonts.string() + "/caf%E9%20%FF.ttf\n"), std::string::npos)
        << record;
    EXPECT_NE(record.find("DeletionDate="), std::string::npos);
    EXPECT_EQ(FcFiles().find("LwProbe|"), std::string::npos);
    EXPECT_FALSE(Listed("LwProbe"));
    // A second file of the same name does not overwrite the first in the trash.
    Make(Fonts / name, "LwLatin");
    EXPECT_TRUE(FileShell().MoveToTrash((Fonts / name).string()));
    EXPECT_EQ(test::ReadFile(trash / "files" / name), bytes);
    EXPECT_TRUE(fs::exists(trash / "files" / (name + ".2")));
}

TEST_F(SystemInstallTest, ACollectionIsInstalledOnceAndGoesWithItsLastFace) {
    const fs::path file = Incoming / "lwpair.ttc";
    test::WriteFile(
        file, test::Collection({test::NamedTrueType("LwFirst"), test::NamedTrueType("LwSecond")}));
    const std::vector<std::unique_ptr<TFontFile>> faces =
        TFontManager::ReadFontFaces(file.string());
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(FontManager->InstallFontFile(*faces[1]), TFontManager::irInstalled);
    FontManager->BroadcastFontChange();
    const fs::path installed = Fonts / "lwpair.ttc";
    EXPECT_NE(FcFiles().find("LwFirst|" + installed.string()), std::string::npos) << FcFiles();
    EXPECT_NE(FcFiles().find("LwSecond|" + installed.string()), std::string::npos);
    EXPECT_TRUE(Listed("LwFirst"));
    EXPECT_TRUE(Listed("LwSecond"));
    // Every face of the file now reads as installed: no second copy.
    EXPECT_TRUE(TOpenTypeFontFile(file.string(), 0).Installed);
    EXPECT_EQ(FontManager->InstallFontFile(*TFontManager::ReadFontFaces(file.string())[0]),
              TFontManager::irAlreadyInstalled);

    // The file holds another family too: the user is asked, and a No keeps it.
    test::TestPrompts().Answers = {TMsgResult::No};
    EXPECT_FALSE(FontManager->UninstallFont("LwFirst Regular", "LwFirst", true, false));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].Text.find("LwSecond"), std::string::npos) << Messages()[0].Text;
    EXPECT_TRUE(fs::exists(installed));
    test::TestPrompts().Reset();
    test::TestPrompts().Answers = {TMsgResult::Yes};
    EXPECT_TRUE(FontManager->UninstallFont("LwFirst Regular", "LwFirst", true, false));
    EXPECT_FALSE(fs::exists(installed));
    EXPECT_EQ(FcFiles().find("LwSecond|"), std::string::npos);
    EXPECT_FALSE(Listed("LwFirst"));
    EXPECT_FALSE(Listed("LwSecond"));
}

// An outline of the system's with its .afm, installed as a pair and then
// alone: each goes in and out with its own files, and the style is shown by
// its outline.
TEST_F(SystemInstallTest, AType1OutlineIsInstalledAndRemovedWithItsAfmOrAlone) {
    fs::path pfb;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/share/fonts/X11/Type1", ec)) {
        if (entry.path().extension() == ".pfb" &&
            fs::exists(fs::path(entry.path()).replace_extension(".afm"))) {
            pfb = entry.path();
            break;
        }
    }
    if (pfb.empty()) {
        GTEST_SKIP() << "no .pfb with an .afm in /usr/share/fonts/X11/Type1 (package t1-cyrillic "
                        "has some)";
    }
    for (const bool withAfm : {true, false}) {
        SCOPED_TRACE(withAfm ? "with its .afm" : "alone");
        const std::string name = withAfm ? "lwpair" : "lwlone";
        fs::copy_file(pfb, Incoming / (name + ".pfb"));
        if (withAfm) {
            fs::copy_file(fs::path(pfb).replace_extension(".afm"), Incoming / (name + ".afm"));
        }
        const std::unique_ptr<TFontFile> font =
            TFontManager::ReadFontFile((Incoming / (name + ".pfb")).string());
        ASSERT_TRUE(font);
        ASSERT_FALSE(font->Installed);
        FontManager->InstallFont(*font, true);
        ASSERT_TRUE(Messages().empty()) << Messages()[0].Text;
        EXPECT_TRUE(fs::exists(Fonts / (name + ".pfb")));
        EXPECT_EQ(fs::exists(Fonts / (name + ".afm")), withAfm);
        EXPECT_NE(FcFiles().find(font->FamilyName + "|" + (Fonts / (name + ".pfb")).string()),
                  std::string::npos)
            << FcFiles();
        ASSERT_TRUE(Listed(font->FamilyName));
        EXPECT_TRUE(TFontManager::ReadFontFile((Incoming / (name + ".pfb")).string())->Installed);
        EXPECT_EQ(FontManager->GetFontFiles(font->FullName, font->FamilyName, font->StyleName),
                  withAfm ? TFontFiles(name + ".afm", name + ".pfb") : TFontFiles(name + ".pfb"));
        // The command line shows the style by its outline, once.
        const TRun styles = test::RunCommand(Cli() + " styles " + Quote(font->FamilyName));
        EXPECT_EQ(styles.Status, 0);
        EXPECT_EQ(styles.Output,
                  font->StyleName + "\t" + font->FullName + "\t" + name + ".pfb\tType 1\n");

        EXPECT_TRUE(FontManager->UninstallFont(font->FullName, font->FamilyName, true, false));
        EXPECT_TRUE(Messages().empty()) << Messages()[0].Text;
        EXPECT_FALSE(fs::exists(Fonts / (name + ".pfb")));
        EXPECT_FALSE(fs::exists(Fonts / (name + ".afm")));
        EXPECT_EQ(FcFiles().find((Fonts / name).string()), std::string::npos);
        EXPECT_FALSE(Listed(font->FamilyName));
    }
}

TEST_F(SystemInstallTest, TemporaryFontsAreOneStyleSeenByOtherProgramsUntilRemoved) {
    const fs::path file = Make(Incoming / "lwtemp.ttf", "LwTemp");
    TOpenTypeFontFile font(file.string());
    FontManager->InstallTemporarily(font, true);
    EXPECT_NE(FcFiles().find("LwTemp|"), std::string::npos);
    EXPECT_TRUE(Listed("LwTemp"));
    std::vector<std::string> fullNames;
    FontManager->GetFamilyFullNames("LwTemp", fullNames);
    EXPECT_EQ(fullNames, std::vector<std::string>{"LwTemp Regular"});
    EXPECT_EQ(FontManager->GetFontFileName("LwTemp Regular", "LwTemp", "Regular"), file.string());
    FontManager->RemoveTemporaryFonts();
    EXPECT_EQ(FcFiles().find("LwTemp|"), std::string::npos);
    EXPECT_FALSE(Listed("LwTemp"));
    FontManager->GetFamilyFullNames("LwTemp", fullNames);
    EXPECT_TRUE(fullNames.empty());
    EXPECT_TRUE(fs::exists(file));
}

// The folder of links to temporary fonts: an end takes the run's links away,
// and the folder with them when nothing else is in it; a start removes only
// the links of programs that are gone; a link in the folder's place is never
// followed.
TEST_F(SystemInstallTest, TheLinkFolderKeepsOnlyLiveProgramsLinksAndIsNeverFollowed) {
    const fs::path root = Fonts / "Letterwell temporary";
    const fs::path target = Make(Incoming / "lwlinked.ttf", "LwLinked");
    const TFontFiles file(target.string());
    for (const bool removedFirst : {true, false}) {
        {
            TFontconfigSystem run(Fonts.string());
            ASSERT_EQ(run.AddTemporaryFont(file), 1);
            ASSERT_TRUE(fs::exists(fs::symlink_status(root / ProcessStamp() / "lwlinked.ttf")));
            if (removedFirst) {
                ASSERT_TRUE(run.RemoveTemporaryFont(file));
            }
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(root))) << removedFirst;
        EXPECT_TRUE(fs::exists(target));
    }

    // Gone: a process id that no process has, and a live id (this process)
    // with another start time, as when the id was given to another program.
    const fs::path stale = root / "999999999.1";
    const fs::path reused = root / (std::to_string(::getpid()) + ".1");
    for (const fs::path& folder : {stale, reused}) {
        fs::create_directories(folder / "kept-folder");
        fs::create_symlink(target, folder / "lwlinked.ttf");
        test::WriteFile(folder / "not-a-link.ttf", {'k'});
    }
    const fs::path live = root / ProcessStamp();
    fs::create_directories(live);
    fs::create_symlink(target, live / "lwlive.ttf");
    {
        TFontconfigSystem next(Fonts.string());
        for (const fs::path& folder : {stale, reused}) {
            EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "lwlinked.ttf")));
            // Only links are the program's; anything else in there is the user's.
            EXPECT_TRUE(fs::exists(folder / "not-a-link.ttf"));
            EXPECT_TRUE(fs::exists(folder / "kept-folder"));
        }
        EXPECT_TRUE(fs::exists(target)) << "a link's target is never touched";
        EXPECT_TRUE(fs::exists(fs::symlink_status(live / "lwlive.ttf")))
            << "a running program keeps its links";
        EXPECT_EQ(FcFiles().find(stale.string() + "/"), std::string::npos) << FcFiles();
        EXPECT_EQ(FcFiles().find(reused.string() + "/"), std::string::npos) << FcFiles();
    }
    // What is not the program's own keeps the shared folder in place.
    EXPECT_TRUE(fs::exists(stale / "not-a-link.ttf"));

    fs::remove_all(root);
    const fs::path elsewhere = Incoming / "precious";
    fs::create_directories(elsewhere / "999999999.1");
    fs::create_symlink(target, elsewhere / "999999999.1" / "lwlinked.ttf");
    test::WriteFile(elsewhere / "notes.txt", {'n'});
    fs::create_symlink(elsewhere, root);
    TFontconfigSystem next(Fonts.string());
    EXPECT_TRUE(fs::exists(elsewhere / "notes.txt"));
    EXPECT_TRUE(fs::exists(fs::symlink_status(elsewhere / "999999999.1" / "lwlinked.ttf")));
}

} // namespace
} // namespace lw
