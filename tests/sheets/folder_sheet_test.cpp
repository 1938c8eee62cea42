// The folder sheet opened from the not-installed page as a person opens it:
// the load (and Esc during it), the rows the files give, the drawings, and
// the install, select, copy, move and delete commands on real files.
#include "app/main_window.h"
#include "base/strings.h"
#include "modal_window.h"
#include "not_installed_fixture.h"
#include "pages/details_window.h"
#include "sheets/sample_delegate.h"
#include "sheets/sheet_status_bar.h"
#include "sheets/view_all.h"
#include "sheets/view_all_not_installed.h"
#include "told.h"

#include <QAction>
#include <QListView>
#include <QProgressBar>
#include <QStringListModel>
#include <QTimer>

#include <map>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::NotInstalledPageTest;
using test::WhileModal;

// Counts the times a folder sheet was shown.
class ShowCounter : public QObject {
public:
    int Shown = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show &&
            watched->objectName() == QStringLiteral("fViewAllNotInstalled")) {
            ++Shown;
        }
        return false;
    }
};

class FolderSheetTest : public NotInstalledPageTest {
protected:
    void SetUp() override {
        NotInstalledPageTest::SetUp();
        Options.MoveToTrash = false;
        Options.ListMaximized = false;
        Options.ListWidth = 700;
        Options.ListHeight = 500;
        Elsewhere = Folder.parent_path() / (Folder.filename().string() + "-elsewhere");
        fs::create_directories(Elsewhere);
    }
    void TearDown() override {
        fs::remove_all(Elsewhere);
        NotInstalledPageTest::TearDown();
    }
    // Opens the folder sheet from the page's menu and runs inside while it
    // is up; the sheet is then closed with Esc in its list.
    void Open(bool mixed, const std::function<void(TfViewAllNotInstalled&)>& inside) {
        WhileModal(
            [&](QWidget* window) {
                auto* sheet = qobject_cast<TfViewAllNotInstalled*>(window);
                ASSERT_NE(sheet, nullptr);
                inside(*sheet);
                if (sheet->isVisible()) {
                    sheet->lstFonts->setFocus();
                    QTest::keyClick(sheet->lstFonts, Qt::Key_Escape);
                }
            },
            [&] { (mixed ? Window->Menu.mnViewMix : Window->Menu.mnViewFolder)->trigger(); });
    }
    static std::vector<int> Selected(const TfViewAllNotInstalled& sheet) {
        std::vector<int> rows;
        for (int row = 0; row < sheet.Model->rowCount(); ++row) {
            if (sheet.lstFonts->selectionModel()->isRowSelected(row)) {
                rows.push_back(row);
            }
        }
        return rows;
    }
    static void SelectRows(TfViewAllNotInstalled& sheet, const std::vector<int>& rows) {
        sheet.lstFonts->selectionModel()->clearSelection();
        for (const int row : rows) {
            QTest::mouseClick(sheet.lstFonts->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              sheet.lstFonts->visualRect(sheet.Model->index(row)).center());
        }
    }
    static void Press(TfViewAllNotInstalled& sheet, int key, Qt::KeyboardModifiers keys = {}) {
        sheet.lstFonts->setFocus();
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), keys);
    }

    fs::path Elsewhere;
};

TEST_F(FolderSheetTest, EachFileIsARowNoneIsSaidTheUnreadableOnesSaySoAndTheSelectionComesBack) {
    OpenFolder();
    Open(false, [&](TfViewAllNotInstalled& sheet) {
        EXPECT_EQ(sheet.Model->rowCount(), 0);
        EXPECT_TRUE(sheet.Status->Panel2Line().contains(QStringLiteral("(nijedan)")))
            << sheet.Status->Panel2Line().toStdString();
    });
    // Unreadable files alone still have their first selected.
    test::WriteFile(Folder / "bad.ttf", test::TBytes(64, 'x'));
    test::WriteFile(Folder / "one.ttf", test::TBytes(10, 0));
    test::WriteFile(Folder / "two.otf", test::TBytes(3000, 0xff));
    Page().mnUpdateFileListClick();
    Open(false, [&](TfViewAllNotInstalled& sheet) {
        EXPECT_EQ(sheet.Items(), (QStringList{"<Greska>", "<Greska>", "<Greska>"}));
        EXPECT_EQ(Selected(sheet), std::vector<int>{0});
    });
    MakeFont("a.ttf", "LwAlpha", "Regular");
    MakeFont("b.ttf", "LwBeta", "Bold");
    MakeFont("c.ttf", "LwGamma", "Italic");
    Page().mnUpdateFileListClick();
    ClickFile("b.ttf");
    const int remembered = Page().FileList->currentRow();
    Open(false, [&](TfViewAllNotInstalled& sheet) {
        EXPECT_EQ(sheet.windowTitle().toStdString(), "Sadrzaj " + Folder.string() + "/");
        EXPECT_EQ(sheet.Items(), (QStringList{"LwAlpha", "LwBeta", "<Greska>", "LwGamma",
                                              "<Greska>", "<Greska>"}));
        EXPECT_EQ(Selected(sheet), std::vector<int>{0});
        EXPECT_EQ(sheet.Status->Panel2Line(),
                  QStringLiteral("Ne instaliran  -  Fajl: a.ttf  -  6 fontova prikazano"));
        const TSampleItem beta = sheet.Delegate->Describe(sheet.Model->index(1));
        EXPECT_EQ(beta.Name, QStringLiteral("LwBeta - Bold"));
        EXPECT_EQ(beta.FaceFile, (Folder / "b.ttf").string()) << "drawn from its own file";
        const TSampleItem bad = sheet.Delegate->Describe(sheet.Model->index(2));
        EXPECT_EQ(bad.Name, QStringLiteral("<Greska> - <Greska>"));
        EXPECT_TRUE(bad.FaceFile.empty());
        // A click on a row tells its file.
        QTest::mouseClick(sheet.lstFonts->viewport(), Qt::LeftButton, {},
                          sheet.lstFonts->visualRect(sheet.Model->index(3)).center());
        EXPECT_EQ(sheet.Status->Panel2Line(),
                  QStringLiteral("Ne instaliran  -  Fajl: c.ttf  -  6 fontova prikazano"));
        // Printed, the row's sample comes from its file: the installed fonts
        // do not know it.
        const TPrintSource printed = sheet.PrintSource();
        ASSERT_EQ(printed.Faces.size(), 6u);
        EXPECT_EQ(printed.Faces[3].File, (Folder / "c.ttf").string());
        EXPECT_TRUE(printed.Faces[1].File.empty()) << "not selected";
    });
    EXPECT_EQ(Page().FileList->currentRow(), remembered);
    EXPECT_EQ(Page().FileList->ItemName(remembered), "b.ttf");
    EXPECT_TRUE(Fonts.TemporaryLoaded.empty());
    // Every font given to the process while the sheet was up went again;
    // the page previews its file once more.
    for (const std::string& loaded : Fonts.Loaded) {
        const auto times = std::count(Fonts.Loaded.begin(), Fonts.Loaded.end(), loaded);
        const bool previewed = loaded == (Folder / "b.ttf").string();
        EXPECT_EQ(std::count(Fonts.Unloaded.begin(), Fonts.Unloaded.end(), loaded),
                  previewed ? times - 1 : times)
            << loaded;
    }
}

TEST_F(FolderSheetTest, EscHalfWayThroughTheLoadShowsNoSheetAndKeepsTheSelection) {
    for (int i = 0; i < 40; ++i) {
        MakeFont("f" + std::to_string(100 + i) + ".ttf", "LwMany" + std::to_string(i), "Regular");
    }
    OpenFolder();
    ClickFile("f120.ttf");
    const int remembered = Page().FileList->currentRow();
    ShowCounter shows;
    qApp->installEventFilter(&shows);
    int seenAt = -1;
    QTimer escape;
    QObject::connect(&escape, &QTimer::timeout, [&] {
        QProgressBar* progress = Window->LoadProgress;
        if (progress != nullptr && progress->value() >= 20 && seenAt < 0) {
            seenAt = progress->value();
            QTest::keyClick(Window.get(), Qt::Key_Escape);
        }
    });
    escape.start(0);
    Window->Menu.mnViewFolder->trigger();
    escape.stop();
    qApp->removeEventFilter(&shows);
    EXPECT_GE(seenAt, 20) << "the progress bar moved during the load";
    EXPECT_EQ(shows.Shown, 0);
    EXPECT_EQ(Page().FileList->currentRow(), remembered);
    EXPECT_EQ(Window->LoadProgress, nullptr) << "the load indicator is gone";
}

// A row leaves the sheet as its file leaves the folder. A file named like a
// pattern is that one file: deleting its row touches no other file. A
// replacement the user refuses is no failure, and the row of the file that
// stayed stays.
TEST_F(FolderSheetTest, APatternNamesOneFileAType1OutlineAndACollectionsFacesGoWithTheirRow) {
    MakePair();
    MakeFont("*.ttf", "LwStar", "Regular");
    MakeFont("[ab].ttf", "LwBracket", "Regular");
    MakeFont("a.ttf", "LwA", "Regular");
    MakeFont("b.ttf", "LwB", "Regular");
    const auto face = test::NamedTrueType;
    test::WriteFile(Folder / "pack.ttc",
                    test::Collection({face("LwFirst", "Regular"), face("LwSecond", "Bold")}));
    std::map<std::string, test::TBytes> kept;
    for (const char* name : {"a.ttf", "b.ttf", "pair.pfb"}) {
        kept[name] = test::ReadFile(Folder / name);
    }
    test::WriteFile(Elsewhere / "[ab].ttf", {'o', 'l', 'd'});
    OpenFolder();
    Open(false, [&](TfViewAllNotInstalled& sheet) {
        const auto row = [&](const char* family) {
            return static_cast<int>(sheet.Items().indexOf(QString::fromLatin1(family)));
        };
        ASSERT_EQ(sheet.Items(), (QStringList{"LwBracket", "LwStar", "LwA", "LwB", "LwFirst",
                                              "LwSecond", "LwPair"}))
            << "the outline is no row";
        SelectRows(sheet, {row("LwStar")});
        test::TestPrompts().Answers.push_back(TMsgResult::Yes);
        Press(sheet, Qt::Key_Delete, Qt::ShiftModifier);
        EXPECT_FALSE(fs::exists(Folder / "*.ttf"));
        for (const auto& [name, bytes] : kept) {
            EXPECT_EQ(test::ReadFile(Folder / name), bytes) << name;
        }
        EXPECT_EQ(sheet.Items(),
                  (QStringList{"LwBracket", "LwA", "LwB", "LwFirst", "LwSecond", "LwPair"}));
        EXPECT_EQ(Messages().size(), 1u) << Messages().back().Text;

        SelectRows(sheet, {row("LwPair")});
        test::TestPrompts().TextAnswers.push_back(Elsewhere.string());
        Press(sheet, Qt::Key_O, Qt::ControlModifier);
        EXPECT_TRUE(fs::exists(Elsewhere / "pair.pfm"));
        EXPECT_TRUE(fs::exists(Elsewhere / "pair.pfb"));
        EXPECT_EQ(Options.LastFileOpFolder, Elsewhere.string());
        EXPECT_EQ(sheet.FolderRows(), 6) << "a copy keeps its row";
        fs::remove(Elsewhere / "pair.pfm");
        fs::remove(Elsewhere / "pair.pfb");

        SelectRows(sheet, {row("LwPair")});
        test::TestPrompts().TextAnswers.push_back(Elsewhere.string());
        Press(sheet, Qt::Key_M, Qt::ControlModifier);
        EXPECT_TRUE(fs::exists(Elsewhere / "pair.pfb"));
        EXPECT_FALSE(fs::exists(Folder / "pair.pfb"));
        EXPECT_EQ(sheet.Items(), (QStringList{"LwBracket", "LwA", "LwB", "LwFirst", "LwSecond"}));

        const TSampleItem second = sheet.Delegate->Describe(sheet.Model->index(row("LwSecond")));
        EXPECT_EQ(second.Name, QStringLiteral("LwSecond - Bold"));
        EXPECT_EQ(second.FaceFile, (Folder / "pack.ttc").string());
        EXPECT_EQ(second.FaceIndex, 1) << "drawn from its own face";
        // Both faces of a collection chosen: the file moves once and both rows go.
        SelectRows(sheet, {row("LwFirst"), row("LwSecond")});
        EXPECT_EQ(Selected(sheet), (std::vector<int>{row("LwFirst"), row("LwSecond")}));
        test::TestPrompts().Reset();
        test::TestPrompts().TextAnswers.push_back(Elsewhere.string());
        Press(sheet, Qt::Key_M, Qt::ControlModifier);
        EXPECT_TRUE(Messages().empty()) << Messages().front().Text;
        EXPECT_TRUE(fs::exists(Elsewhere / "pack.ttc"));
        EXPECT_FALSE(fs::exists(Folder / "pack.ttc"));
        const QStringList left{"LwBracket", "LwA", "LwB"};
        EXPECT_EQ(sheet.Items(), left);

        SelectRows(sheet, {row("LwBracket")});
        test::TestPrompts().TextAnswers.push_back(Elsewhere.string());
        test::TestPrompts().Answers.push_back(TMsgResult::No);
        Press(sheet, Qt::Key_M, Qt::ControlModifier);
        ASSERT_TRUE(test::ToldOnce(FmtLoadStr(16003, (Elsewhere / "[ab].ttf").string())))
            << Messages().back().Text;
        EXPECT_EQ(test::ReadFile(Elsewhere / "[ab].ttf"), (test::TBytes{'o', 'l', 'd'}));
        EXPECT_TRUE(fs::exists(Folder / "[ab].ttf"));
        EXPECT_FALSE(fs::exists(Elsewhere / "a.ttf"));
        EXPECT_EQ(sheet.Items(), left);
    });
    // Files changed: the page lists the folder again.
    EXPECT_EQ(Page().FileList->count(), 3);
}

TEST_F(FolderSheetTest, TheMixedViewTouchesOnlyTheFolderRowsAndOpensDetailsOnEither) {
    MakeFont("a.ttf", "LwAlpha", "Regular");
    Fonts.AddFace("DejaVu Sans", TFaceInfo("DejaVu Sans", "Book", TRUETYPE_FONTTYPE, NTM_REGULAR,
                                           "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0));
    FontManager->Refresh();
    // The installed sheet the mixed view takes its families from.
    const auto installed = std::make_unique<TfViewAll>(Window.get());
    Window->SetViewAllWindow(installed.get());
    OpenFolder();
    Open(true, [&](TfViewAllNotInstalled& sheet) {
        EXPECT_TRUE(sheet.windowTitle().endsWith(QStringLiteral("  +  Instaliranih fontova")));
        ASSERT_EQ(sheet.Items(),
                  (QStringList{"LwAlpha", "Arial", "Bodoni", "Courier", "DejaVu Sans"}));
        EXPECT_EQ(sheet.Delegate->Describe(sheet.Model->index(2)).Name, QStringLiteral("Bodoni"));

        // Properties open Details on the current file or installed family.
        SelectRows(sheet, {0});
        Press(sheet, Qt::Key_Return, Qt::AltModifier);
        SelectRows(sheet, {4});
        sheet.mnProperties0->trigger();
        const QList<TfDetails*> details = sheet.findChildren<TfDetails*>();
        ASSERT_EQ(details.size(), 2);
        EXPECT_EQ(details[0]->windowTitle(), QStringLiteral("a.ttf - Detalji"));
        EXPECT_EQ(details[1]->windowTitle(), QStringLiteral("DejaVu Sans - Detalji"));
        for (TfDetails* window : details) {
            window->close();
        }
        // The release of the Esc that closed Details reaches the list.
        QTest::keyRelease(sheet.lstFonts, Qt::Key_Escape);
        EXPECT_TRUE(sheet.isVisible()) << "Esc in Details closes Details alone";

        QTest::mouseClick(sheet.lstFonts->viewport(), Qt::LeftButton, {},
                          sheet.lstFonts->visualRect(sheet.Model->index(2)).center());
        EXPECT_EQ(sheet.Status->Panel2Line(),
                  QStringLiteral("Instaliran  -  Fajl: (Instaliran)  -  5 fontova prikazano"));
        sheet.SelectAll();
        // The current row is an installed family.
        test::TestPrompts().Reset();
        Press(sheet, Qt::Key_Delete, Qt::ShiftModifier);
        ASSERT_TRUE(test::ToldOnce(
            "Za uklanjanje instaliranih fontova, koristi prozor instaliranih fontova."));
        EXPECT_TRUE(fs::exists(Folder / "a.ttf"));
        // Installing takes the folder's file alone.
        test::TestPrompts().Answers.push_back(TMsgResult::Yes);
        sheet.mnInstallSelection->trigger();
        EXPECT_TRUE(fs::exists(FontFolder / "a.ttf"));
        EXPECT_EQ(std::distance(fs::directory_iterator(FontFolder), fs::directory_iterator()), 1);
    });
    EXPECT_EQ(Fonts.Changes, 1) << "one broadcast at the close";
    // The installed sheet opens Details the same way.
    installed->lstFonts->setCurrentIndex(
        installed->Model->index(static_cast<int>(installed->Items().indexOf("DejaVu Sans"))));
    installed->mnProperties0->trigger();
    ASSERT_EQ(installed->findChildren<TfDetails*>().size(), 1);
}

TEST_F(FolderSheetTest, SelectNotInstalledUsesTheLoadsFlagsAndATemporaryInstallStays) {
    MakeFont("a.ttf", "LwAlpha", "Regular");
    MakeFont("b.ttf", "LwBeta", "Regular");
    // A file in a served folder that another program's rule hides.
    MakeFont("c.ttf", "LwGamma", "Regular");
    Fonts.ServedFolders = {Folder.string()};
    const fs::path reject = test::TestHome().ConfigHome() / "fontconfig/conf.d/78-Reject.conf";
    fs::create_directories(reject.parent_path());
    const std::string rule = "<fontconfig><selectfont><rejectfont><glob>" +
                             (Folder / "c.ttf").string() +
                             "</glob></rejectfont></selectfont></fontconfig>\n";
    test::WriteText(reject, rule);
    OpenFolder();
    Open(false, [&](TfViewAllNotInstalled& sheet) {
        QTest::mouseClick(sheet.lstFonts->viewport(), Qt::LeftButton, {},
                          sheet.lstFonts->visualRect(sheet.Model->index(2)).center());
        EXPECT_EQ(sheet.Status->Panel2Line(),
                  QStringLiteral("Instaliran, ali iskljucen (78-Reject.conf)  -  Fajl: c.ttf  -  "
                                 "3 fontova prikazano"));
        EXPECT_FALSE(sheet.Delegate->Describe(sheet.Model->index(0)).NameItalic);
        SelectRows(sheet, {0});
        test::TestPrompts().Answers.push_back(TMsgResult::Yes);
        Press(sheet, Qt::Key_Return, Qt::ControlModifier); // for this session
        EXPECT_EQ(Fonts.TemporaryLoaded.size(), 1u);
        SelectRows(sheet, {1});
        test::TestPrompts().Answers.push_back(TMsgResult::Yes);
        Press(sheet, Qt::Key_Return); // for good
        EXPECT_TRUE(fs::exists(FontFolder / "b.ttf"));
        Press(sheet, Qt::Key_I, Qt::ControlModifier);
        EXPECT_EQ(Selected(sheet), (std::vector<int>{0, 1}))
            << "the flags of the load; the disabled file is installed";
    });
    fs::remove(reject);
    EXPECT_EQ(Fonts.Changes, 1);
    EXPECT_TRUE(Fonts.TemporaryUnloaded.empty()) << "still installed for the session";
}

} // namespace
} // namespace lw
