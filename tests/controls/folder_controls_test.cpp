// The folder tree and the font-file list on real folders of the test home.
#include "controls/drive_view.h"
#include "controls/file_list.h"
#include "controls/folder_listing.h"
#include "font_builder.h"
#include "test_env.h"
#include "test_home.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;

class FolderControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestPrompts().Reset();
        static int run = 0;
        Root = test::TestHome().Root() / ("folders-" + std::to_string(++run));
        fs::create_directories(Root);
    }
    void TearDown() override { fs::remove_all(Root); }
    void Touch(const fs::path& file) { test::WriteFile(file, {'x'}); }
    std::vector<std::string> Names(const TFileList& list) {
        std::vector<std::string> names;
        for (int row = 0; row < list.count(); ++row) {
            names.push_back(list.ItemName(row));
        }
        return names;
    }

    fs::path Root;
};

TEST_F(FolderControlsTest, MasksAreSplitAndJoinedBackAndAType1PairIsOneEntry) {
    EXPECT_EQ(ParseMasks("*.ttf; *.otf; *.pfm"),
              (std::vector<std::string>{"*.ttf", "*.otf", "*.pfm"}));
    EXPECT_EQ(JoinMasks(ParseMasks("*.ttf; *.otf; *.pfm")), "*.ttf; *.otf; *.pfm");
    // A piece followed by ";" stays even when empty; the last only when not.
    EXPECT_EQ(ParseMasks(" ;a ;  ;"), (std::vector<std::string>{"", "a ", ""}));
    EXPECT_EQ(ParseMasks(JoinMasks({"", "a ", ""})), (std::vector<std::string>{"", "a ", ""}));
    EXPECT_EQ(ParseMasks("*.ttf"), std::vector<std::string>{"*.ttf"});
    EXPECT_EQ(FolderWithSeparator("/a/b"), "/a/b/");
    EXPECT_EQ(FolderWithSeparator("/a/b/"), "/a/b/");

    // Every font kind is listed by default, a Type 1 pair as one entry.
    for (const char* name : {"pair.pfm", "PAIR.PFB", "withafm.pfb", "withafm.afm", "lone.pfa",
                             "cjk.ttc", "cjk2.otc", "sans.ttf", "serif.otf", "other.pfb"}) {
        Touch(Root / name);
    }
    EXPECT_EQ(ListFolderFiles(Root.string(), ParseMasks(kFontFileMasks)),
              (std::vector<std::string>{"cjk.ttc", "cjk2.otc", "lone.pfa", "other.pfb", "pair.pfm",
                                        "sans.ttf", "serif.otf", "withafm.pfb"}));
    // The outline stands alone where the masks leave its metrics out.
    EXPECT_EQ(ListFolderFiles(Root.string(), ParseMasks("*.pfb")),
              (std::vector<std::string>{"other.pfb", "PAIR.PFB", "withafm.pfb"}));
}

TEST_F(FolderControlsTest, TheListShowsMatchingFilesSortedTwiceForTwoMasksAndPicturesOnTheBase) {
    for (const char* name : {"b.ttf", "A.TTF", "c.otf", "notes.txt", "both.ttf.otf"}) {
        Touch(Root / name);
    }
    fs::create_directories(Root / "folder.ttf");
    TFileList list;
    EXPECT_EQ(list.Directory(), "./");
    EXPECT_EQ(list.Mask(), "*.*");
    EXPECT_EQ(list.FileName(), "") << "no current item";
    list.SetMask("*.ttf; *.otf; *.ttf*");
    EXPECT_EQ(list.Mask(), "*.ttf; *.otf; *.ttf*");
    list.SetDirectory(Root.string());
    EXPECT_EQ(list.Directory(), Root.string() + "/");
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A.TTF", "A.TTF", "b.ttf", "b.ttf",
                                                     "both.ttf.otf", "both.ttf.otf", "c.otf"}));
    EXPECT_EQ(list.FileName(), "");
    list.setCurrentRow(2);
    EXPECT_EQ(list.FileName(), Root.string() + "/b.ttf");
    // Empty values change nothing.
    list.SetDirectory("");
    list.SetMask("");
    EXPECT_EQ(list.Directory(), Root.string() + "/");
    EXPECT_EQ(list.count(), 7);
    // A name that is not UTF-8 is kept as the file system spells it.
    Touch(Root / "caf\xE9.ttf");
    list.SetMask("*.ttf");
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.ItemName(2), "caf\xE9.ttf");
    EXPECT_TRUE(list.item(2)->text().contains(QChar(0xFFFD)));

    // The picture's key colour becomes the background of each kind of item.
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(0, 128, 128));
    image.setPixel(3, 3, qRgb(255, 255, 255));
    QPalette palette = list.palette();
    palette.setColor(QPalette::Base, QColor(250, 240, 230));
    palette.setColor(QPalette::Highlight, QColor(10, 20, 200));
    list.setPalette(palette);
    list.SetPicture(QPixmap::fromImage(image));
    const QImage normal = list.NormalPicture().toImage();
    const QImage selected = list.SelectedPicture().toImage();
    EXPECT_EQ(QColor(normal.pixel(0, 0)), QColor(250, 240, 230));
    EXPECT_EQ(QColor(selected.pixel(15, 15)), QColor(10, 20, 200));
    EXPECT_EQ(QColor(normal.pixel(3, 3)), QColor(255, 255, 255)) << "the drawing stays";
    EXPECT_EQ(QColor(list.Picture().toImage().pixel(0, 0)), QColor(0, 128, 128));
}

TEST_F(FolderControlsTest, APathIsFoundExactlyFirstThenIgnoringCaseUnderTheDesktopDocumentsOrRoot) {
    fs::create_directories(Root / "Fonts" / "deep");
    fs::create_directories(Root / "fonts");
    fs::create_directories(Root / "Other" / "inner");
    TDriveView tree;
    tree.show();
    tree.SetPath((Root / "fonts").string());
    EXPECT_EQ(tree.Path(), (Root / "fonts").string() + "/") << "the exact name wins";
    tree.SetPath((Root / "Fonts" / "deep").string());
    EXPECT_EQ(tree.Path(), (Root / "Fonts" / "deep").string() + "/");
    tree.SetPath((Root / "OTHER" / "Inner").string() + "/");
    EXPECT_EQ(tree.Path(), (Root / "Other" / "inner").string() + "/") << "then ignoring case";
    // A folder that is gone selects the deepest one on the way that is there.
    tree.SetPath((Root / "Other" / "gone" / "inner").string());
    EXPECT_EQ(tree.Path(), (Root / "Other" / "inner").string() + "/");
    tree.SetPath((Root / "Other" / "gone").string());
    EXPECT_EQ(tree.Path(), (Root / "Other").string() + "/");

    // Expanded, a folder without sub-folders shows no expand button.
    QTreeWidgetItem* other = tree.currentItem();
    other->setExpanded(true);
    ASSERT_EQ(other->childCount(), 1);
    EXPECT_EQ(other->child(0)->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    EXPECT_EQ(other->parent()->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

    // Rebuilt, the tree sees new folders and keeps its selection.
    fs::create_directories(Root / "Other" / "later");
    tree.Rebuild();
    EXPECT_EQ(tree.Path(), (Root / "Other").string() + "/");
    tree.currentItem()->setExpanded(true);
    EXPECT_EQ(tree.currentItem()->childCount(), 2);

    // The roots are the desktop, the documents and the root, which is selected.
    TDriveView shell;
    EXPECT_EQ(shell.RootPaths().front(), "/");
    EXPECT_EQ(shell.Path(), "/");
    shell.SetShowShellFolders(true);
    ASSERT_GE(shell.RootPaths().size(), 3u);
    EXPECT_EQ(shell.RootPaths()[0], (test::TestHome().Home() / "Desktop").string() + "/");
    EXPECT_EQ(shell.RootPaths()[1], (test::TestHome().Documents()).string() + "/");
    EXPECT_EQ(shell.RootPaths()[2], "/");
    EXPECT_EQ(shell.Path(), "/");
    // A path in the documents folder goes by that root.
    fs::create_directories(test::TestHome().Documents() / "mine");
    shell.SetPath((test::TestHome().Documents() / "mine").string());
    EXPECT_EQ(shell.currentItem()->parent(), shell.topLevelItem(1));
    EXPECT_EQ(shell.Path(), (test::TestHome().Documents() / "mine").string() + "/");
    fs::remove_all(test::TestHome().Documents() / "mine");
}

} // namespace
} // namespace lw
