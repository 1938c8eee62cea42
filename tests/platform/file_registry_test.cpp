#include "base/regfile.h"
#include "base/registry.h"
#include "font_builder.h"
#include "platform/file_shell.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/replace_file.h"
#include "platform/services.h"
#include "small_disk.h"
#include "test_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace lw {
namespace {

namespace fs = std::filesystem;

using test::ReadText;
using test::WriteText;

class FileHiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = test::TestHome().Root() / "hive";
        fs::remove_all(Folder);
        File = Folder / "Kestrova" / "Letterwell.reg";
    }
    void TearDown() override { fs::remove_all(Folder); }

    std::vector<std::string> FolderEntries() const {
        return test::FolderEntries(File.parent_path());
    }

    fs::path Folder;
    fs::path File;
    const TRegKeys Keys = {{"HKEY_CURRENT_USER\\A", {{"v", TRegValue::FromInteger(1)}}}};
};

TEST_F(FileHiveTest, TheDefaultFileFollowsXdgConfigHomeAndSavesTypedValuesWithNoTemporaryFile) {
    EXPECT_EQ(fs::path(TFileRegistryHive::DefaultPath()), test::TestHome().SettingsFile());
    TFileRegistryHive hive(File.string());
    EXPECT_TRUE(hive.Load().empty());
    {
        TRegistry r(hive);
        ASSERT_TRUE(r.OpenKey(kProgramKey, true));
        r.WriteInteger("Font Size", 24);
        r.WriteString("Sample text", "Ćao \"svete\"");
        r.WriteFloat("Print top margin", 1.0);
        r.CloseKey();
    }
    const std::string text = ReadText(File);
    EXPECT_EQ(text.rfind("REGEDIT4\n", 0), 0u);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Kestrova\\Letterwell]"), std::string::npos);
    EXPECT_NE(text.find("\"Font Size\"=dword:00000018"), std::string::npos);
    EXPECT_NE(text.find("\"Print top margin\"=hex:00,00,00,00,00,00,f0,3f"), std::string::npos);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Letterwell.reg"});
    TRegistry r(hive);
    ASSERT_TRUE(r.OpenKey(kProgramKey, false));
    EXPECT_EQ(r.ReadString("Sample text"), "Ćao \"svete\"");
}

TEST_F(FileHiveTest, AFailedSaveKeepsThePreviousFileWhole) {
    TFileRegistryHive hive(File.string());
    hive.Save(Keys);
    const std::string before = ReadText(File);
    // A folder where the temporary file should be renamed over makes the
    // final step fail, even for root.
    TFileRegistryHive blocked((File.parent_path() / "blocked").string());
    fs::create_directories(File.parent_path() / "blocked" / "inside");
    EXPECT_THROW(blocked.Save(Keys), ERegistryError);
    EXPECT_EQ(ReadText(File), before);
    // No temporary file is left behind, whatever it was named.
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"Letterwell.reg", "blocked"}));
    // A parent that is a file cannot hold the settings at all.
    WriteText(Folder / "plainfile", "x");
    TFileRegistryHive impossible((Folder / "plainfile" / "Letterwell.reg").string());
    EXPECT_THROW(impossible.Save(Keys), ERegistryError);
    EXPECT_THROW(TFileRegistryHive(Folder.string()).Load(), ERegistryError);
}

TEST_F(FileHiveTest, ADamagedFileIsReportedThenKeptAsideBeforeItIsReplaced) {
    const std::string damaged =
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Kestrova\\Letterwell]\n\"Font Size\"=dword:zz\n";
    WriteText(File, damaged);
    TFileRegistryHive hive(File.string());
    EXPECT_THROW(hive.Load(), ERegistryDamaged);
    {
        TRegistry r(hive);
        ASSERT_TRUE(r.OpenKey(kProgramKey, true));
        r.WriteInteger("Font Size", 30);
        r.CloseKey();
    }
    EXPECT_EQ(ReadText(File.string() + ".damaged"), damaged);
    EXPECT_NO_THROW(hive.Load());
    // A second damage never overwrites the first copy.
    WriteText(File, "garbage");
    hive.Save(TRegKeys{});
    EXPECT_EQ(ReadText(File.string() + ".damaged"), damaged);
    EXPECT_EQ(ReadText(File.string() + ".damaged.1"), "garbage");
}

TEST_F(FileHiveTest, KillsDuringSavesLeaveTheFileWholeAndNothingBeside) {
    TRegKeys keys;
    keys["HKEY_CURRENT_USER\\Software\\Kestrova\\Letterwell"]["Sample text"] =
        TRegValue::FromString(std::string(200000, 'x'));
    TFileRegistryHive(File.string()).Save(keys);
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TFileRegistryHive hive(File.string());
            for (;;) {
                hive.Save(keys);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        // At most, for an instant between naming the finished copy and
        // putting it in place, a hidden file: the next start clears it.
        for (const std::string& name : FolderEntries()) {
            EXPECT_TRUE(name == "Letterwell.reg" || name.rfind(".letterwell-", 0) == 0) << name;
        }
        EXPECT_EQ(TFileRegistryHive(File.string()).Load(), keys);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Letterwell.reg"}) << "round " << round;
    }
}

TEST_F(FileHiveTest, AStartClearsWhatEarlierKilledSavesLeftAndNothingElse) {
    const std::string live = ".letterwell-" + ProcessStamp() + "-0123456789abcdef";
    // The user's own copies, whatever they are called, and names that only
    // look like the program's: all kept. Only a hidden file of the exact
    // shape, of a process that is gone, is the program's leftover.
    const std::vector<std::string> kept = {"Letterwell.reg.240101",
                                           "Letterwell.reg.BACKUP",
                                           "Letterwell.reg.2024v1",
                                           "Letterwell.reg.aB3xYz",
                                           "Letterwell.reg.damaged",
                                           ".letterwell-999999999.1-00ff",
                                           ".letterwell-999999999.1-0123456789abcdeX",
                                           ".letterwell-mine-0123456789abcdef",
                                           "notes.txt",
                                           live};
    for (const std::string& name : kept) {
        WriteText(File.parent_path() / name, "x");
    }
    WriteText(File.parent_path() / ".letterwell-999999999.1-0123456789abcdef", "x");
    TFileRegistryHive(File.string()).Save(Keys);
    std::vector<std::string> expected = kept;
    expected.push_back("Letterwell.reg");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(), expected);
}

// Every file the program writes, on a disk with no room left: the write
// fails with the disk's own reason, the file there stays byte for byte and
// nothing half made is left beside it.
TEST(FullDisk, FilesAndSettingsThatDoNotFitFailWithTheReasonAndLeaveEverythingAsItWas) {
    const fs::path root = test::TestHome().Root() / "full-disk";
    const test::TSmallDisk disk(root);
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Reason();
    }
    const fs::path old = root / "old";
    const fs::path damaged = root / "damaged";
    const fs::path source = test::TestHome().Root() / "large-source";
    const std::string before =
        FormatRegistryText({{"HKEY_CURRENT_USER\\A", {{"v", TRegValue::FromInteger(7)}}}});
    const std::string large(200000, 'n');
    WriteText(old, before);
    WriteText(damaged, "garbage");
    WriteText(source, std::string(300000, 's'));
    disk.Fill();
    const auto expectNothingLost = [&] {
        EXPECT_EQ(ReadText(old), before);
        EXPECT_EQ(ReadText(damaged), "garbage");
        EXPECT_EQ(disk.Entries(), (std::vector<std::string>{"damaged", "old"}));
    };

    const auto writeLarge = [&](int fd) { return WriteAll(fd, large.data(), large.size()); };
    const auto noRoom = [&](const char* what, const std::function<bool()>& write) {
        errno = 0;
        EXPECT_FALSE(write()) << what;
        EXPECT_EQ(errno, ENOSPC) << what;
        expectNothingLost();
    };
    noRoom("replace", [&] { return ReplaceFile(old.string(), 0600, writeLarge); });
    noRoom("create", [&] { return CreateNewFile((root / "new").string(), 0600, writeLarge); });
    noRoom("write over", [&] { return FileShell().WriteFileOver(old.string(), large); });
    noRoom("copy over", [&] { return FileShell().CopyFileOver(source.string(), old.string()); });
    EXPECT_FALSE(FileShell().CopyNewFile(source.string(), (root / "copy").string()));
    expectNothingLost();

    // A damaged file is kept aside first; a copy with no room is no copy.
    const TRegKeys keys = {{"HKEY_CURRENT_USER\\A", {{"v", TRegValue::FromString(large)}}}};
    for (const fs::path& settings : {old, damaged}) {
        try {
            TFileRegistryHive(settings.string()).Save(keys);
            ADD_FAILURE() << "a save onto a full disk reported success: " << settings;
        } catch (const ERegistryError& e) {
            EXPECT_NE(std::string(e.what()).find(std::strerror(ENOSPC)), std::string::npos)
                << e.what();
        }
    }
    expectNothingLost();
    fs::remove(source);
}
} // namespace
} // namespace lw
