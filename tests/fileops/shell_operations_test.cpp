#include "fileops/shell_operations.h"

#include "base/strings.h"
#include "font_builder.h"
#include "platform/services.h"
#include "test_env.h"
#include "test_home.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace lw {
namespace {

namespace fs = std::filesystem;

using test::ReadText;

fs::path HomeTrash() {
    return test::TestHome().DataHome() / "Trash";
}

// A path as a .trashinfo record writes it: bytes outside the unreserved
// set as %XX. Qt's encoder rather than a copy of the program's, so a
// fault in the program's escaping shows.
std::string RecordedPath(const std::string& path) {
    return QByteArray::fromStdString(path).toPercentEncoding("/").toStdString();
}

// The entry a trash holds for the original path, found through its
// .trashinfo record; empty when the file never arrived there.
fs::path TrashedCopyOf(const fs::path& trash, const fs::path& original) {
    std::error_code ec;
    for (const fs::directory_entry& info : fs::directory_iterator(trash / "info", ec)) {
        if (info.path().extension() != ".trashinfo") {
            continue;
        }
        const std::string record = ReadText(info.path());
        if (record.find("[Trash Info]") != std::string::npos &&
            record.find("\nPath=" + RecordedPath(original.string()) + "\n") != std::string::npos) {
            return trash / "files" / info.path().stem();
        }
    }
    return fs::path();
}

void MakeReadOnly(const fs::path& path) {
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

class ShellOperationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestPrompts().Reset();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        Scratch = test::TestHome().Root() / "shell-operations" /
                  (std::string(info->test_suite_name()) + "." + info->name());
        fs::remove_all(Scratch);
        fs::create_directories(Scratch);
        StartFolder = fs::current_path();
    }

    void TearDown() override {
        // Working in a folder must never mean moving the process into it.
        EXPECT_EQ(fs::current_path(), StartFolder);
        // Put back even when a test that moves on purpose failed half way.
        fs::current_path(StartFolder);
        ::setenv("XDG_DATA_HOME", test::TestHome().DataHome().c_str(), 1);
        std::error_code ec;
        fs::remove_all(Scratch, ec);
    }

    fs::path Make(const fs::path& relative, const std::string& text = "font data") {
        const fs::path path = Scratch / relative;
        test::WriteText(path, text);
        return path;
    }

    std::string Folder(const fs::path& relative) const { return (Scratch / relative).string(); }

    fs::path Scratch;
    fs::path StartFolder;
};

using DeleteFontFileTest = ShellOperationsTest;
using SplitFileOperationTest = ShellOperationsTest;
using FileOperationListTest = ShellOperationsTest;
using ConfirmationTest = ShellOperationsTest;
using TrashFolderTest = ShellOperationsTest;
using BrowseForFolderTest = ShellOperationsTest;

TEST_F(DeleteFontFileTest, TrashesAnyFileErasesAReadOnlyOneOnlyWithTheOptionAndFailsOnAMissingOne) {
    const fs::path font = Make("Fonts/Trashed.ttf", "trashed font");
    const fs::path readOnly = Make("Fonts/Locked.ttf", "locked font");
    MakeReadOnly(readOnly);

    EXPECT_TRUE(DeleteFontFile(font.string(), false, true));
    // The trash keeps read-only files too; only erasing honours the attribute.
    EXPECT_TRUE(DeleteFontFile(readOnly.string(), false, true));

    EXPECT_FALSE(fs::exists(font));
    EXPECT_FALSE(fs::exists(readOnly));
    const fs::path trashed = TrashedCopyOf(HomeTrash(), font);
    ASSERT_FALSE(trashed.empty());
    EXPECT_EQ(ReadText(trashed), "trashed font");
    EXPECT_EQ(ReadText(TrashedCopyOf(HomeTrash(), readOnly)), "locked font");

    const fs::path erased = Make("Fonts/Erased.ttf");
    EXPECT_TRUE(DeleteFontFile(erased.string(), false, false));
    EXPECT_FALSE(fs::exists(erased));
    EXPECT_TRUE(TrashedCopyOf(HomeTrash(), erased).empty());

    const fs::path erasedReadOnly = Make("Fonts/ReadOnly.ttf");
    MakeReadOnly(erasedReadOnly);

    errno = 0;
    EXPECT_FALSE(DeleteFontFile(erasedReadOnly.string(), false, false));
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(SystemErrors().LastErrorText(), SystemErrors().ErrorText(EACCES));
    EXPECT_TRUE(fs::exists(erasedReadOnly));

    EXPECT_TRUE(DeleteFontFile(erasedReadOnly.string(), true, false));
    EXPECT_FALSE(fs::exists(erasedReadOnly));
    EXPECT_TRUE(test::TestPrompts().Messages.empty());

    const fs::path missing = Scratch / "Fonts" / "Missing.ttf";
    for (bool toTrash : {false, true}) {
        errno = 0;
        EXPECT_FALSE(DeleteFontFile(missing.string(), false, toTrash)) << toTrash;
        EXPECT_EQ(errno, ENOENT) << toTrash;
    }
}

TEST_F(DeleteFontFileTest, ReadOnlyOptionNeverReachesThroughALink) {
    const fs::path target = Make("Elsewhere/Linked.ttf");
    MakeReadOnly(target);
    const fs::path link = Scratch / "Fonts" / "Linked.ttf";
    fs::create_directories(link.parent_path());
    fs::create_symlink(target, link);

    EXPECT_TRUE(DeleteFontFile(link.string(), true, false));
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_TRUE(fs::exists(target));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(SplitFileOperationTest, SplitsAfterTheSeparatorAnEmptyFolderIsTheFilesOwnABareNameHasNone) {
    using Split = std::pair<std::string, std::string>;
    EXPECT_EQ(SplitFolderAndName("/x/Fonts/a.ttf"), Split("/x/Fonts/", "a.ttf"));
    EXPECT_EQ(SplitFolderAndName("/a.ttf"), Split("/", "a.ttf"));
    EXPECT_EQ(SplitFolderAndName("a.ttf"), Split("", "a.ttf"));

    const fs::path font = Make("x/Fonts/a.ttf", "a");
    bool aborted = true;
    // A relative destination resolves against the working folder, which
    // shows which folder that was.
    EXPECT_TRUE(FileOperation("", "Backup", font.string(), TFileOp::Copy, false, false, aborted));
    EXPECT_FALSE(aborted);
    EXPECT_EQ(ReadText(Scratch / "x" / "Fonts" / "Backup" / "a.ttf"), "a");

    // With a folder given, the file name is taken as it stands, inside it.
    EXPECT_TRUE(
        FileOperation(Folder("x/Fonts/"), "", "a.ttf", TFileOp::Delete, false, false, aborted));
    EXPECT_FALSE(fs::exists(font));
    EXPECT_TRUE(fs::exists(Scratch / "x" / "Fonts" / "Backup" / "a.ttf"));

    // A bare name without a folder has no folder to work in.
    aborted = true;
    EXPECT_FALSE(FileOperation("", "", "a.ttf", TFileOp::Delete, false, false, aborted));
    EXPECT_TRUE(aborted);
}

TEST_F(FileOperationListTest, CopyAndMoveKeepNamesAndWithoutConfirmationReplaceSilently) {
    Make("Src/a.ttf", "a");
    Make("Src/sub/b.otf", "b");
    const fs::path absolute = Make("Other/c.ttf", "c");
    const std::vector<std::string> names{"a.ttf", "sub/b.otf", absolute.string()};

    bool aborted = true;
    EXPECT_TRUE(FileOperationList(Folder("Src"), Folder("Copies/New"), names, TFileOp::Copy, false,
                                  false, aborted));
    EXPECT_FALSE(aborted);
    EXPECT_EQ(ReadText(Scratch / "Copies/New/a.ttf"), "a");
    EXPECT_EQ(ReadText(Scratch / "Copies/New/b.otf"), "b");
    EXPECT_EQ(ReadText(Scratch / "Copies/New/c.ttf"), "c");
    EXPECT_TRUE(fs::exists(Scratch / "Src/a.ttf"));
    EXPECT_TRUE(fs::exists(absolute));

    // A relative destination is taken inside the working folder.
    EXPECT_TRUE(FileOperationListDone(Folder("Src"), "Moved", names, TFileOp::Move, false, false));
    EXPECT_EQ(ReadText(Scratch / "Src/Moved/a.ttf"), "a");
    EXPECT_EQ(ReadText(Scratch / "Src/Moved/b.otf"), "b");
    EXPECT_EQ(ReadText(Scratch / "Src/Moved/c.ttf"), "c");
    EXPECT_FALSE(fs::exists(Scratch / "Src/a.ttf"));
    EXPECT_FALSE(fs::exists(Scratch / "Src/sub/b.otf"));
    EXPECT_FALSE(fs::exists(absolute));

    // Without confirmation, a file already there is replaced unasked.
    Make("Src/a.ttf", "new a");
    Make("Src/b.ttf", "new b");
    Make("Dest/a.ttf", "old a");
    Make("Dest/b.ttf", "old b");

    EXPECT_TRUE(FileOperationListDone(Folder("Src"), Folder("Dest"), {"a.ttf"}, TFileOp::Copy,
                                      false, true));
    EXPECT_TRUE(FileOperationListDone(Folder("Src"), Folder("Dest"), {"b.ttf"}, TFileOp::Move,
                                      false, true));

    EXPECT_EQ(ReadText(Scratch / "Dest/a.ttf"), "new a");
    EXPECT_EQ(ReadText(Scratch / "Dest/b.ttf"), "new b");
    EXPECT_FALSE(fs::exists(Scratch / "Src/b.ttf"));
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
}

TEST_F(FileOperationListTest, RenameGivesTheOneFileTheNewName) {
    Make("Fonts/old.ttf", "old");
    Make("Fonts/taken.ttf", "taken");
    const std::string fonts = Folder("Fonts");

    // A bare new name stays in the file's folder, even for a file named by
    // its full path from another working folder.
    EXPECT_TRUE(FileOperationListDone(Folder(""), "new.ttf", {fonts + "/old.ttf"}, TFileOp::Rename,
                                      false, false));
    EXPECT_EQ(ReadText(Scratch / "Fonts/new.ttf"), "old");
    EXPECT_FALSE(fs::exists(Scratch / "Fonts/old.ttf"));
    EXPECT_FALSE(fs::exists(Scratch / "new.ttf"));

    // A rename never replaces another file.
    errno = 0;
    EXPECT_FALSE(
        FileOperationListDone(fonts, "taken.ttf", {"new.ttf"}, TFileOp::Rename, false, false));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadText(Scratch / "Fonts/taken.ttf"), "taken");
    EXPECT_EQ(ReadText(Scratch / "Fonts/new.ttf"), "old");

    // A new name with a folder part resolves against the working folder.
    fs::create_directories(Scratch / "Fonts/Renamed");
    EXPECT_TRUE(FileOperationListDone(fonts, "Renamed/final.ttf", {"new.ttf"}, TFileOp::Rename,
                                      false, false));
    EXPECT_EQ(ReadText(Scratch / "Fonts/Renamed/final.ttf"), "old");

    // Two files cannot take one name.
    EXPECT_FALSE(FileOperationListDone(fonts, "both.ttf", {"taken.ttf", "Renamed/final.ttf"},
                                       TFileOp::Rename, false, false));
    EXPECT_TRUE(fs::exists(Scratch / "Fonts/taken.ttf"));
    EXPECT_FALSE(fs::exists(Scratch / "Fonts/both.ttf"));
}

TEST_F(FileOperationListTest, DeleteErasesOrTrashesTheList) {
    const fs::path a = Make("Fonts/a.ttf", "a");
    const fs::path b = Make("Fonts/b.ttf", "b");
    const fs::path folder = Make("Fonts/Family/c.ttf", "c").parent_path();

    EXPECT_TRUE(FileOperationListDone(Folder("Fonts"), "", {"a.ttf", "Family"}, TFileOp::Delete,
                                      false, false));
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(TrashedCopyOf(HomeTrash(), a).empty());

    EXPECT_TRUE(
        FileOperationListDone(Folder("Fonts"), "", {"b.ttf"}, TFileOp::Delete, false, true));
    EXPECT_FALSE(fs::exists(b));
    EXPECT_EQ(ReadText(TrashedCopyOf(HomeTrash(), b)), "b");
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
}

// Pattern characters, a line feed and bytes that are no UTF-8 are all
// legal in a file name: each name stands for that one file, never for its
// neighbours.
TEST_F(FileOperationListTest, NamesAreExactFilesNeverPatterns) {
    const std::vector<std::string> odd = {"*.ttf", "?.ttf", "[ab].ttf", "line\nfeed.ttf",
                                          "bad\xff\xfe.ttf"};
    const std::vector<std::string> plain = {"a.ttf", "b.ttf", "keep.otf"};
    const auto makeAll = [&](const std::string& folder) {
        for (const std::string& name : odd) {
            Make(fs::path(folder) / name, "odd " + name);
        }
        for (const std::string& name : plain) {
            Make(fs::path(folder) / name, "plain " + name);
        }
    };
    const auto plainKept = [&](const std::string& folder) {
        for (const std::string& name : plain) {
            EXPECT_EQ(ReadText(Scratch / folder / name), "plain " + name) << folder << name;
        }
    };

    makeAll("Erase");
    EXPECT_TRUE(FileOperationListDone(Folder("Erase"), "", odd, TFileOp::Delete, false, false));
    for (const std::string& name : odd) {
        EXPECT_FALSE(fs::exists(Scratch / "Erase" / name)) << name;
    }
    plainKept("Erase");

    makeAll("Trash");
    EXPECT_TRUE(FileOperationListDone(Folder("Trash"), "", odd, TFileOp::Delete, false, true));
    for (const std::string& name : odd) {
        EXPECT_EQ(ReadText(TrashedCopyOf(HomeTrash(), Scratch / "Trash" / name)), "odd " + name)
            << name;
    }
    plainKept("Trash");
    EXPECT_TRUE(TrashedCopyOf(HomeTrash(), Scratch / "Trash/a.ttf").empty());

    makeAll("Move");
    EXPECT_TRUE(FileOperationListDone(Folder("Move"), "Out", {"*.ttf", "[ab].ttf"}, TFileOp::Move,
                                      false, false));
    EXPECT_EQ(ReadText(Scratch / "Move/Out/*.ttf"), "odd *.ttf");
    EXPECT_EQ(ReadText(Scratch / "Move/Out/[ab].ttf"), "odd [ab].ttf");
    EXPECT_FALSE(fs::exists(Scratch / "Move/Out/a.ttf"));
    plainKept("Move");

    EXPECT_TRUE(FileOperationListDone(Folder("Move"), "renamed.ttf", {"?.ttf"}, TFileOp::Rename,
                                      false, false));
    EXPECT_EQ(ReadText(Scratch / "Move/renamed.ttf"), "odd ?.ttf");
    EXPECT_FALSE(fs::exists(Scratch / "Move/?.ttf"));
    plainKept("Move");
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
}

TEST_F(FileOperationListTest, AnEmptyNameEndsTheListAndAFailureStopsItKeepingTheReason) {
    Make("Fonts/a.ttf");
    Make("Fonts/b.ttf");
    // An empty name never stands for the folder itself.
    EXPECT_TRUE(FileOperationListDone(Folder("Fonts"), "", {"a.ttf", "", "b.ttf"}, TFileOp::Delete,
                                      false, false));
    EXPECT_FALSE(fs::exists(Scratch / "Fonts/a.ttf"));
    EXPECT_TRUE(fs::exists(Scratch / "Fonts/b.ttf"));

    Make("Fonts/a.ttf");
    Make("Fonts/c.ttf");
    bool aborted = true;
    errno = 0;
    EXPECT_FALSE(FileOperationList(Folder("Fonts"), "", {"a.ttf", "missing.ttf", "c.ttf"},
                                   TFileOp::Delete, false, false, aborted));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(SystemErrors().LastErrorText(), SystemErrors().ErrorText(ENOENT));
    EXPECT_FALSE(aborted);
    EXPECT_FALSE(fs::exists(Scratch / "Fonts/a.ttf"));
    EXPECT_TRUE(fs::exists(Scratch / "Fonts/c.ttf"));
}

TEST_F(FileOperationListTest, UnusableFolderFailsWithoutTouchingAborted) {
    Make("Fonts/a.ttf");
    const fs::path plainFile = Make("NotAFolder");
    for (bool start : {true, false}) {
        bool aborted = start;
        errno = 0;
        EXPECT_FALSE(FileOperationList(Folder("Missing"), "", {Folder("Fonts/a.ttf")},
                                       TFileOp::Delete, false, false, aborted));
        EXPECT_EQ(errno, ENOENT);
        EXPECT_EQ(aborted, start);
        EXPECT_FALSE(FileOperationList(plainFile.string(), "", {Folder("Fonts/a.ttf")},
                                       TFileOp::Delete, false, false, aborted));
        EXPECT_EQ(errno, ENOTDIR);
        EXPECT_EQ(aborted, start);
        EXPECT_FALSE(FileOperationList("", "", {Folder("Fonts/a.ttf")}, TFileOp::Delete, false,
                                       false, aborted));
        EXPECT_EQ(aborted, start);
    }
    EXPECT_TRUE(fs::exists(Scratch / "Fonts/a.ttf"));
}

TEST_F(FileOperationListTest, MoveToAnotherVolumeCopiesAndRemoves) {
    const fs::path shm = "/dev/shm";
    struct stat here {};
    struct stat there {};
    if (::stat(Scratch.c_str(), &here) != 0 || ::stat(shm.c_str(), &there) != 0 ||
        here.st_dev == there.st_dev || ::access(shm.c_str(), W_OK) != 0) {
        GTEST_SKIP() << "no second writable volume";
    }
    std::string pattern = (shm / "letterwell-move-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path other = pattern;
    Make("Fonts/a.ttf", "a");
    const bool moved = FileOperationListDone(Folder("Fonts"), other.string(), {"a.ttf"},
                                             TFileOp::Move, false, false);
    const std::string arrived = ReadText(other / "a.ttf");
    fs::remove_all(other);
    EXPECT_TRUE(moved);
    EXPECT_EQ(arrived, "a");
    EXPECT_FALSE(fs::exists(Scratch / "Fonts/a.ttf"));
}

TEST_F(ConfirmationTest, EachDeleteIsAskedNoSkipsThatFileAndTheDoneVariantsFailOnIt) {
    const fs::path a = Make("Fonts/a.ttf");
    const fs::path b = Make("Fonts/b.ttf");
    const fs::path c = Make("Fonts/c.ttf");
    test::TestPrompts().Answers = {TMsgResult::Yes, TMsgResult::No, TMsgResult::Yes};

    bool aborted = false;
    EXPECT_TRUE(FileOperationList(Folder("Fonts"), "", {"a.ttf", "b.ttf", "c.ttf"}, TFileOp::Delete,
                                  true, false, aborted));
    EXPECT_TRUE(aborted);
    EXPECT_FALSE(fs::exists(a));
    EXPECT_TRUE(fs::exists(b));
    EXPECT_FALSE(fs::exists(c));

    const auto& messages = test::TestPrompts().Messages;
    ASSERT_EQ(messages.size(), 3u);
    for (size_t i = 0; i < messages.size(); ++i) {
        const fs::path asked = std::vector<fs::path>{a, b, c}[i];
        EXPECT_NE(messages[i].Text.find(asked.string()), std::string::npos) << messages[i].Text;
        EXPECT_EQ(messages[i].Text, FmtLoadStr(13010, asked.string()));
        EXPECT_EQ(messages[i].Caption, LoadStr(20));
        EXPECT_EQ(messages[i].Icon, TMsgIcon::Question);
        EXPECT_EQ(messages[i].Buttons, TMsgButtons::YesNo);
    }

    // The Done variants fail on a refusal, but the work before it stays.
    Make("Fonts/a.ttf");
    test::TestPrompts().Answers = {TMsgResult::Yes, TMsgResult::No};
    EXPECT_FALSE(FileOperationListDone(Folder("Fonts"), "", {"a.ttf", "b.ttf"}, TFileOp::Delete,
                                       true, true));
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(TrashedCopyOf(HomeTrash(), a).empty());
    EXPECT_TRUE(fs::exists(b));

    test::TestPrompts().Answers = {TMsgResult::Yes};
    EXPECT_TRUE(FileOperationDone("", "", b.string(), TFileOp::Delete, true, false));
    EXPECT_FALSE(fs::exists(b));

    Make("Fonts/c.ttf");
    test::TestPrompts().Answers = {TMsgResult::Cancel};
    EXPECT_FALSE(FileOperationDone("", "", c.string(), TFileOp::Delete, true, false));
    EXPECT_TRUE(fs::exists(c));
}

TEST_F(ConfirmationTest, ReplacingIsAskedOnlyForAnExistingFileAndARefusalKeepsBothFiles) {
    Make("Src/a.ttf", "new a");
    Make("Src/b.ttf", "new b");
    Make("Src/c.ttf", "new c");
    const fs::path existingB = Make("Dest/b.ttf", "old b");
    const fs::path existingC = Make("Dest/c.ttf", "old c");
    test::TestPrompts().Answers = {TMsgResult::No, TMsgResult::Yes};

    bool aborted = false;
    EXPECT_TRUE(FileOperationList(Folder("Src"), Folder("Dest"), {"a.ttf", "b.ttf", "c.ttf"},
                                  TFileOp::Copy, true, true, aborted));
    EXPECT_TRUE(aborted);
    EXPECT_EQ(ReadText(Scratch / "Dest/a.ttf"), "new a");
    EXPECT_EQ(ReadText(existingB), "old b");
    EXPECT_EQ(ReadText(existingC), "new c");

    const auto& messages = test::TestPrompts().Messages;
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].Text.find(existingB.string()), std::string::npos) << messages[0].Text;
    EXPECT_EQ(messages[0].Text, FmtLoadStr(16003, existingB.string()));
    EXPECT_EQ(messages[1].Text, FmtLoadStr(16003, existingC.string()));
    EXPECT_EQ(messages[0].Caption, LoadStr(20));
    EXPECT_EQ(messages[0].Buttons, TMsgButtons::YesNo);

    // A move whose replace is refused keeps both files, and the Done variant fails.
    const fs::path d = Make("Src/d.ttf", "new d");
    test::TestPrompts().Answers = {TMsgResult::No};
    EXPECT_FALSE(FileOperationListDone(Folder("Src"), Folder("Dest"), {"d.ttf", "b.ttf"},
                                       TFileOp::Move, true, false));
    EXPECT_FALSE(fs::exists(d));
    EXPECT_EQ(ReadText(Scratch / "Dest/d.ttf"), "new d");
    EXPECT_EQ(ReadText(Scratch / "Src/b.ttf"), "new b");
    EXPECT_EQ(ReadText(existingB), "old b");
}

TEST_F(TrashFolderTest, MissingDataFolderStillGivesARealTrashNeverTheCurrentFolder) {
    const fs::path font = Make("Fonts/a.ttf", "a");
    const fs::path dataHome = Scratch / "fresh" / "share";
    const fs::path workFolder = Scratch / "work";
    fs::create_directories(workFolder);
    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    fs::current_path(workFolder);
    const bool deleted = DeleteFontFile(font.string(), false, true);
    fs::current_path(StartFolder);
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(fs::exists(font));
    const fs::path trash = dataHome / "Trash";
    EXPECT_EQ(ReadText(TrashedCopyOf(trash, font)), "a");
    for (const fs::path& folder : {trash, trash / "files", trash / "info"}) {
        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all)
            << folder;
    }
    EXPECT_FALSE(fs::exists(workFolder / "files"));
    EXPECT_FALSE(fs::exists(workFolder / "info"));
    EXPECT_TRUE(TrashedCopyOf(HomeTrash(), font).empty());
}

// An entry of files/ with no record (a crash between the two steps, or
// another program's doing) is still somebody's file.
TEST_F(TrashFolderTest, EntryWithoutRecordKeepsItsNameAndBytes) {
    const fs::path trash = HomeTrash();
    fs::create_directories(trash / "files");
    fs::create_directories(trash / "info");
    const std::string name = "unrecorded-" + std::to_string(::getpid()) + ".ttf";
    const fs::path orphan = trash / "files" / name;
    test::WriteText(orphan, "orphan bytes");
    ASSERT_FALSE(fs::exists(trash / "info" / (name + ".trashinfo")));

    const fs::path font = Make(fs::path("Fonts") / name, "deleted bytes");
    EXPECT_TRUE(DeleteFontFile(font.string(), false, true));
    EXPECT_FALSE(fs::exists(font));
    EXPECT_EQ(ReadText(orphan), "orphan bytes");
    EXPECT_FALSE(fs::exists(trash / "info" / (name + ".trashinfo")));
    const fs::path trashed = TrashedCopyOf(trash, font);
    EXPECT_NE(trashed, orphan);
    EXPECT_EQ(ReadText(trashed), "deleted bytes");
    fs::remove(orphan);
}

TEST_F(BrowseForFolderTest, ChoiceComesBackWithoutTrailingSeparatorExceptTheRootAndCancelKeepsIt) {
    auto& prompts = test::TestPrompts();
    prompts.TextAnswers = {std::string("/home/user/Fonts/"), std::string("/")};

    std::string folder = "/start/here";
    EXPECT_TRUE(BrowseForFolder("Pick a folder", folder));
    EXPECT_EQ(folder, "/home/user/Fonts");
    EXPECT_TRUE(BrowseForFolder("Pick again", folder));
    EXPECT_EQ(folder, "/");

    EXPECT_EQ(prompts.Asked, (std::vector<std::string>{"Pick a folder", "Pick again"}));
    // The scripted picker records each start folder as what it offered.
    EXPECT_EQ(prompts.Offered, (std::vector<std::string>{"/start/here", "/home/user/Fonts"}));

    // Cancelled: the folder stays as it was, separator and all.
    prompts.TextAnswers = {std::nullopt};
    folder = "/start/here/";
    EXPECT_FALSE(BrowseForFolder("Pick a third time", folder));
    EXPECT_EQ(folder, "/start/here/");
    EXPECT_EQ(prompts.Asked.back(), "Pick a third time");
}

} // namespace
} // namespace lw
