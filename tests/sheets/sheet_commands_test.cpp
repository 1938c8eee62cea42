// The sheet's category views, its Categories submenu, adding to and removing
// from categories, finding and importing, and uninstalling families: driven
// with the keys and clicks a person uses, the organize window's store on real
// files in the temporary home.
#include "app/main_window.h"
#include "base/strings.h"
#include "categories/organize_dialog.h"
#include "category_fixture.h"
#include "font_builder.h"
#include "fonts/font_file_commands.h"
#include "modal_window.h"
#include "sheets/sheet_status_bar.h"
#include "sheets/view_all.h"
#include "told.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>
#include <QToolButton>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::CategoryFixture;
using test::TrueTypeFace;
using test::WhileModal;

class SheetCommandsTest : public CategoryFixture {
protected:
    void Start() {
        Main = std::make_unique<TfMain_letterwell>();
        Sheet = std::make_unique<TfViewAll>(Main.get());
        Main->SetViewAllWindow(Sheet.get());
        Organize = std::make_unique<TfOrganize>(Places);
        Main->SetOrganizeWindow(Organize.get());
        Sheet->setWindowState(Qt::WindowNoState);
        Sheet->resize(600, 400);
        Sheet->show();
        Sheet->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Sheet.get()));
        Sheet->lstFonts->setFocus();
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return QApplication::focusWidget() == Sheet->lstFonts; }));
    }
    void TearDown() override {
        Sheet.reset();
        Main.reset();
        Organize.reset();
        CategoryFixture::TearDown();
    }

    // The submenu's captions, the view items first; or only the checked ones.
    QStringList Submenu(bool checkedOnly = false) const {
        QStringList captions;
        for (const QAction* item : Sheet->mnCategories->actions()) {
            if (!checkedOnly || item->isChecked()) {
                captions.append(item->text());
            }
        }
        return captions;
    }
    QStringList CheckedItems() const { return Submenu(true); }
    QAction* ViewItem(const QString& caption) const {
        for (QAction* item : Sheet->mnCategories->actions()) {
            if (item->text() == caption) {
                return item;
            }
        }
        ADD_FAILURE() << "no item " << caption.toStdString();
        return Sheet->mnAll;
    }
    std::vector<int> SelectedRows() const {
        std::vector<int> rows;
        for (int row = 0; row < Sheet->Model->rowCount(); ++row) {
            if (Sheet->lstFonts->selectionModel()->isRowSelected(row)) {
                rows.push_back(row);
            }
        }
        return rows;
    }
    void ClickFamily(const QString& family, Qt::KeyboardModifiers keys = {}) {
        const int row = static_cast<int>(Sheet->Items().indexOf(family));
        ASSERT_GE(row, 0) << family.toStdString();
        QTest::mouseClick(Sheet->lstFonts->viewport(), Qt::LeftButton, keys,
                          Sheet->lstFonts->visualRect(Sheet->Model->index(row)).center());
    }
    // The offscreen platform gives no window the focus back when a dialog
    // closes, where a window manager would: the sheet is clicked first.
    void Focus() {
        if (QApplication::activeModalWidget() == nullptr &&
            QApplication::focusWidget() == nullptr) {
            Sheet->activateWindow();
        }
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }));
    }
    // A key as a person presses it, to whatever holds the focus.
    void Press(int key, Qt::KeyboardModifiers modifiers = {}) {
        Focus();
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    // A key that opens a dialog, and what is done in the dialog.
    void PressInto(int key, Qt::KeyboardModifiers modifiers,
                   const std::function<void(QWidget*)>& inside) {
        Focus();
        WhileModal(inside, [key, modifiers] {
            QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
        });
    }
    // Ctrl+M's dialog views `first` combined with `second` by the `toggle` button.
    void Combine(const QString& first, const QString& second, const char* toggle) {
        PressInto(Qt::Key_M, Qt::ControlModifier, [&](QWidget* mix) {
            ClickRow(mix->findChild<QListWidget*>(QStringLiteral("lstCategory1")), first);
            ClickRow(mix->findChild<QListWidget*>(QStringLiteral("lstCategory2")), second);
            for (const char* button : {toggle, "btnViewMix"}) {
                QTest::mouseClick(mix->findChild<QPushButton*>(QString::fromLatin1(button)),
                                  Qt::LeftButton);
            }
        });
    }
    static void ClickRow(QListWidget* list, const QString& text) {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(found[0]).center());
    }

    std::unique_ptr<TfMain_letterwell> Main;
    std::unique_ptr<TfViewAll> Sheet;
    std::unique_ptr<TfOrganize> Organize;
};

TEST_F(SheetCommandsTest, TheSubmenuFollowsCreatingOverwritingAndDeletingCategories) {
    MakeCategory("Work", "Arial\r\nCourier\r\n");
    MakeCategory("Home", "Bodoni\r\n");
    Start();
    const QStringList views = {QStringLiteral("<Svi fontovi>"),
                               QStringLiteral("<Fontovi bez kategorije>"),
                               QStringLiteral("<Iskljuceni fontovi>")};
    EXPECT_EQ(Submenu(), views + QStringList({"Home", "Work"}));
    EXPECT_EQ(ViewItem("Home")->data().toInt(), 1);
    EXPECT_EQ(ViewItem("Work")->data().toInt(), 2);
    EXPECT_EQ(CheckedItems(), QStringList{views[0]});

    ViewItem("Work")->trigger();
    EXPECT_EQ(Sheet->Items(), (QStringList{"Arial", "Courier"}));
    EXPECT_EQ(Sheet->CategoryName, QStringLiteral("Work"));
    EXPECT_EQ(Sheet->Status->PanelText(2), QStringLiteral("Work"));
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    EXPECT_EQ(CheckedItems(), QStringList{"Work"});

    // A new category from the organize window's working lists: listed in its
    // place, the view shown kept.
    TCategoryStore& store = Organize->Store();
    test::TestPrompts().TextAnswers.push_back("Alpha");
    store.CreateCategory();
    EXPECT_EQ(Submenu(), views + QStringList({"Alpha", "Home", "Work"}));
    EXPECT_EQ(ViewItem("Work")->data().toInt(), 3);
    EXPECT_EQ(CheckedItems(), QStringList{"Work"});
    EXPECT_EQ(Sheet->CurrentViewItem, ViewItem("Work"));

    // Another category's members written over the one shown: the view
    // reloads, the current item kept where it can be.
    ViewItem("Home")->trigger();
    ASSERT_EQ(Sheet->Items(), QStringList{"Bodoni"});
    store.SelectCategory(store.PositionOf("Alpha"));
    test::TestPrompts().TextAnswers.push_back("Home");
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    store.CreateCategory();
    EXPECT_EQ(Sheet->Items(), (QStringList{"Arial", "Courier"}));
    EXPECT_EQ(CheckedItems(), QStringList{"Home"});
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});

    // The category shown deleted in the organize window: all fonts.
    Focus();
    WhileModal(
        [&](QWidget*) {
            ASSERT_EQ(Organize->cmbCategories->currentText(), QStringLiteral("Home"));
            test::TestPrompts().Answers.push_back(TMsgResult::Yes);
            QTest::mouseClick(Organize->btnDeleteCategory, Qt::LeftButton);
        },
        [this] { Sheet->mnEditCategories->trigger(); });
    EXPECT_EQ(Submenu(), views + QStringList({"Alpha", "Work"}));
    EXPECT_EQ(Sheet->Model->rowCount(), 6);
    EXPECT_TRUE(Sheet->CategoryName.isEmpty());
    EXPECT_EQ(CheckedItems(), QStringList{views[0]});
    EXPECT_EQ(Sheet->Status->PanelText(2), views[0]);
}

TEST_F(SheetCommandsTest, AddingToTheNewEntryMakesACategoryRemovingAsksAndWantsOneCategoryShown) {
    MakeCategory("Pair", "Bodoni\r\nCourier\r\n");
    MakeCategory("Other", "Arial\r\n");
    Start();
    ClickFamily("Bodoni");
    ClickFamily("Courier", Qt::ControlModifier);
    test::TestPrompts().TextAnswers.push_back("Duo");
    PressInto(Qt::Key_Insert, {}, [&](QWidget* add) {
        EXPECT_EQ(add->objectName(), QStringLiteral("fAdd"));
        auto* list = add->findChild<QListWidget*>(QStringLiteral("lstCategories"));
        ClickRow(list, QStringLiteral("<Novi>"));
        Press(Qt::Key_Return);
    });
    EXPECT_EQ(ReadText(Folder() / "Duo.lst"), "Bodoni\r\nCourier\r\n");
    EXPECT_TRUE(Submenu().contains("Duo"));
    EXPECT_EQ(CheckedItems(), QStringList{"<Svi fontovi>"}) << "the view stays";

    const auto removeWarns = [&](const char* view) {
        test::TestPrompts().Reset();
        Press(Qt::Key_Delete);
        ASSERT_TRUE(test::ToldOnce("Nema odabrane kategorije.", "Upozorenje", TMsgIcon::Warning))
            << view;
    };
    removeWarns("all fonts");
    Sheet->mnWithoutCategories->trigger();
    EXPECT_EQ(Sheet->Items(), (QStringList{"Serif", "Tahoma", "Verdana"}));
    removeWarns("fonts without a category");
    PressInto(Qt::Key_M, Qt::ControlModifier, [this](QWidget*) { Press(Qt::Key_Return); });
    removeWarns("a combination");
    EXPECT_EQ(ReadText(Folder() / "Pair.lst"), "Bodoni\r\nCourier\r\n");

    // Added to a category shown: the view shows the new member.
    ViewItem("Other")->trigger();
    ASSERT_EQ(Sheet->Items(), QStringList{"Arial"});
    Organize->Store().AddFontsToCategory("Other", {"Verdana"});
    EXPECT_EQ(Sheet->Items(), (QStringList{"Arial", "Verdana"}));

    ViewItem("Pair")->trigger();
    ClickFamily("Bodoni");
    test::TestPrompts().Reset();
    Press(Qt::Key_Delete); // answered No
    ASSERT_TRUE(test::ToldOnce("Ukloni odabrani font sa \"Pair\"?", "Potvrda", std::nullopt,
                               TMsgButtons::YesNo));
    EXPECT_EQ(Sheet->Items(), (QStringList{"Bodoni", "Courier"}));
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    Press(Qt::Key_Delete);
    EXPECT_EQ(ReadText(Folder() / "Pair.lst"), "Courier\r\n");
    EXPECT_EQ(Sheet->Items(), QStringList{"Courier"});
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
}

TEST_F(SheetCommandsTest,
       ACombinationIsLabelledAnEmptyViewSelectsNothingAndAutomaticCategoriesComeAfterTheUsers) {
    test::TFactsFontTraits mono;
    mono.Advances = {600, 600};
    test::TFactsFontTraits italic;
    italic.Selection = 0x01;
    const fs::path monoFile = Root / "mono.ttf";
    const fs::path italicFile = Root / "italic.ttf";
    fs::create_directories(Root);
    test::WriteFile(monoFile, test::FactsFont(mono));
    test::WriteFile(italicFile, test::FactsFont(italic));
    Fonts.AddFace("Courier", TFaceInfo("Courier Mono", "Regular", TRUETYPE_FONTTYPE, NTM_REGULAR,
                                       monoFile.string()));
    Fonts.AddFace("Tahoma", TFaceInfo("Tahoma Italic", "Italic", TRUETYPE_FONTTYPE, NTM_ITALIC,
                                      italicFile.string()));
    FontManager->Refresh();
    MakeCategory("A", "Arial\r\nBodoni\r\n");
    MakeCategory("B", "Bodoni\r\nCourier\r\n");
    MakeCategory("Empty", "");
    Start();
    ViewItem("A")->trigger();
    Combine("A", "B", "btnAnd");
    EXPECT_EQ(Sheet->Items(), QStringList{"Bodoni"});
    EXPECT_EQ(Sheet->Status->PanelText(2), QStringLiteral("A [*] B"));
    EXPECT_TRUE(CheckedItems().isEmpty()) << CheckedItems().join(",").toStdString();
    EXPECT_TRUE(Sheet->CategoryName.isEmpty());
    EXPECT_EQ(Sheet->CurrentViewItem, Sheet->mnCombineCategories);
    EXPECT_EQ(Organize->cmbCategories->currentIndex(), 0);
    // Cancel changes nothing.
    PressInto(Qt::Key_M, Qt::ControlModifier, [this](QWidget*) { Press(Qt::Key_Escape); });
    EXPECT_EQ(Sheet->Items(), QStringList{"Bodoni"});
    EXPECT_EQ(Sheet->Status->PanelText(2), QStringLiteral("A [*] B"));
    // A category changing meanwhile leaves the combination alone.
    Organize->Store().AddFontsToCategory("A", {"Serif"});
    EXPECT_EQ(Sheet->Items(), QStringList{"Bodoni"});
    EXPECT_TRUE(CheckedItems().isEmpty());

    ViewItem("Empty")->trigger();
    EXPECT_EQ(Sheet->Model->rowCount(), 0);
    EXPECT_TRUE(SelectedRows().empty());
    EXPECT_EQ(Sheet->Status->Panel2Line(),
              QStringLiteral("Kategorija: Empty (0 od 0 fontova oznaceno)"));

    // Gathered on a worker the first time the submenu opens.
    emit Sheet->mnCategories->aboutToShow();
    const QString monospace = QString::fromStdString(LoadStr(30500));
    QTRY_VERIFY(Submenu().contains(monospace));
    EXPECT_LT(Submenu().indexOf("A"), Submenu().indexOf(monospace));
    ViewItem(monospace)->trigger();
    EXPECT_EQ(Sheet->Items(), QStringList{"Courier"});
    EXPECT_EQ(Sheet->Status->PanelText(2), monospace);
    EXPECT_TRUE(Sheet->CategoryName.isEmpty()) << "nothing may be taken out of it";
    EXPECT_EQ(CheckedItems(), QStringList{monospace});
    Sheet->mnDeleteSelection->trigger();
    ASSERT_TRUE(test::ToldOnce(LoadStr(30552)));
    Messages().clear();
    // The organize window lists it after the user's, read-only.
    const int inCombo = Organize->cmbCategories->findText(monospace);
    ASSERT_GT(inCombo, Organize->cmbCategories->findText("A"));
    emit Organize->cmbCategories->activated(inCombo);
    ASSERT_EQ(Organize->lstCategory->count(), 1);
    EXPECT_EQ(Organize->lstCategory->item(0)->text(), QStringLiteral("Courier"));
    EXPECT_FALSE(Organize->btnAdd->isEnabled());
    EXPECT_FALSE(Organize->btnUpdate->isEnabled());

    const QString italicView = QString::fromStdString(LoadStr(30507));
    Combine(monospace, italicView, "btnPlus");
    EXPECT_EQ(Sheet->Items(), (QStringList{"Courier", "Tahoma"}));
    EXPECT_EQ(Sheet->Status->PanelText(2), monospace + QStringLiteral(" [+] ") + italicView);

    // Moving in from font-manager: what was skipped is told.
    const fs::path collections = Root / "Collections.json";
    WriteText(collections, R"({"entries": {"Old": {"name": "Old", "families": ["Tahoma", "Gone"],
                                                   "children": [{"name": "Kid", "families": []}]}}})");
    test::TestPrompts().TextAnswers = {collections.string()};
    Sheet->mnImportCollections->trigger();
    EXPECT_TRUE(Submenu().contains("Old"));
    EXPECT_TRUE(Submenu().contains("Old - Kid"));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].Text.find("Gone (Old)"), std::string::npos) << Messages()[0].Text;
}

TEST_F(SheetCommandsTest, FindingInCategoriesAndImportingCategoryFiles) {
    MakeCategory("A", "Arial\r\nBodoni\r\n");
    MakeCategory("B", "Bodoni\r\n");
    Start();
    ClickFamily("Bodoni");
    test::TestPrompts().TextAnswers.push_back("bodoni");
    QStringList found;
    PressInto(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier, [&](QWidget* results) {
        auto* list = results->findChild<QListWidget*>(QStringLiteral("lstCategories"));
        for (int i = 0; i < list->count(); ++i) {
            found.append(list->item(i)->text());
        }
    });
    ASSERT_FALSE(test::TestPrompts().Asked.empty());
    EXPECT_EQ(test::TestPrompts().Asked.back(), "Nadji font u kategorijama");
    EXPECT_EQ(test::TestPrompts().Offered.back(), "Bodoni") << "the current item's text";
    EXPECT_EQ(found, (QStringList{"A", "B"}));
    // In none: told so, with no list.
    test::TestPrompts().Reset();
    test::TestPrompts().TextAnswers.push_back("Courier");
    Press(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(test::ToldOnce("Font \"Courier\" nije nadjen ni u jednoj kategoriji.",
                               "Rezultat pretrage", TMsgIcon::Information));
    // Cancelled: no results window.
    Press(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // An import in a view of no named category brings back all fonts.
    const fs::path outside = Root / "outside";
    WriteText(outside / "Imported.lst", "Courier\r\n");
    Sheet->mnWithoutCategories->trigger();
    test::TestPrompts().TextAnswers.push_back((outside / "Imported.lst").string());
    Sheet->mnImportCategories->trigger();
    EXPECT_EQ(test::TestPrompts().Offered.back(), Folder().string() + "/")
        << "the box opens on the categories folder";
    EXPECT_TRUE(Submenu().contains("Imported"));
    EXPECT_EQ(ReadText(Folder() / "Imported.lst"), "Courier\r\n");
    EXPECT_EQ(CheckedItems(), QStringList{"<Svi fontovi>"});
    EXPECT_EQ(Sheet->Model->rowCount(), 6);
}

// Nothing selected, and a family installed for every user, are told at
// once, before any question. Cancelling the backup folder cancels the
// uninstall: the copy the user asked for was never made.
TEST_F(SheetCommandsTest, UninstallingAsksBacksUpRemovesEachOrRefusesBeforeAnyQuestion) {
    const fs::path installed = Root / "installed";
    const fs::path backup = Root / "backup";
    const fs::path system = Root / "system";
    fs::create_directories(installed);
    fs::create_directories(backup);
    fs::create_directories(system);
    Fonts.Folder = installed.string();
    for (const char* family : {"LwOne", "LwTwo", "LwSolo"}) {
        const std::string file = std::string(family) + ".ttf";
        WriteText(installed / file, family);
        Fonts.AddFace(family, TrueTypeFace(family, "Regular", NTM_REGULAR));
        Fonts.Fonts[std::string(family) + " (TrueType)"] = TRegValue::FromString(file);
    }
    for (const char* style : {"Regular", "Bold"}) {
        const std::string fullName = std::string("LwShared ") + style;
        const std::string file = (system / (fullName + ".ttf")).string();
        WriteText(file, style);
        Fonts.AddFace("LwShared", TrueTypeFace(fullName, style, NTM_REGULAR));
        Fonts.Fonts[fullName + " (TrueType)"] = TRegValue::FromString(file);
    }
    MakeCategory("Mine", "LwOne\r\nLwTwo\r\n");
    FontManager->Refresh();
    FontManager->FontsFolder = installed.string();
    Start();
    // After the start, which reads the settings.
    Options.CopyBeforeDelete = true;
    Options.MoveToTrash = false;
    Options.DefaultCopyFolder = backup.string();

    test::TestPrompts().Reset();
    Sheet->lstFonts->clearSelection();
    Sheet->mnDeleteFonts->trigger();
    ASSERT_TRUE(test::ToldOnce("Nisi selektovao font.", "Upozorenje"));

    test::TestPrompts().Reset();
    ClickFamily("LwSolo");
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    Press(Qt::Key_Delete, Qt::ControlModifier); // the folder question cancelled
    EXPECT_EQ(test::TestPrompts().Asked,
              std::vector<std::string>{"Odaberi folder za kopiranje fontova:"});
    EXPECT_EQ(ReadText(installed / "LwSolo.ttf"), "LwSolo");
    EXPECT_TRUE(fs::is_empty(backup));
    EXPECT_EQ(Fonts.Changes, 0);
    ASSERT_EQ(Messages().size(), 1u) << Messages().back().Text;

    test::TestPrompts().Reset();
    ClickFamily("LwShared");
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    Press(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(Messages().size(), 2u) << "one refusal for the family, not one a style";
    const auto refusal = [&](const char* file) {
        return FmtLoadStr(30106, (system / file).string(), installed.string());
    };
    EXPECT_TRUE(Messages()[1].Text == refusal("LwShared Regular.ttf") ||
                Messages()[1].Text == refusal("LwShared Bold.ttf"))
        << Messages()[1].Text;
    EXPECT_EQ(Messages()[1].Caption, "Upozorenje");
    EXPECT_TRUE(test::TestPrompts().Asked.empty()) << "no folder asked for";
    EXPECT_EQ(ReadText(system / "LwShared Bold.ttf"), "Bold");
    EXPECT_EQ(Fonts.Changes, 0);

    ViewItem("Mine")->trigger();
    ClickFamily("LwOne");
    ClickFamily("LwTwo", Qt::ControlModifier);
    test::TestPrompts().Reset();
    Press(Qt::Key_Delete, Qt::ControlModifier); // answered No
    ASSERT_TRUE(test::ToldOnce("Zelite li  da deinstalirate  LwOne, LwTwo?", "Potvrda"));
    EXPECT_TRUE(fs::exists(installed / "LwOne.ttf"));
    EXPECT_EQ(Fonts.Changes, 0);

    test::TestPrompts().Reset();
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    test::TestPrompts().TextAnswers.push_back(backup.string());
    Press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(test::TestPrompts().Asked,
              std::vector<std::string>{"Odaberi folder za kopiranje fontova:"});
    EXPECT_EQ(test::TestPrompts().Offered, std::vector<std::string>{backup.string()});
    for (const char* file : {"LwOne.ttf", "LwTwo.ttf"}) {
        EXPECT_FALSE(fs::exists(installed / file)) << file;
        EXPECT_TRUE(fs::exists(backup / file)) << file;
    }
    EXPECT_EQ(Fonts.Changes, 1) << "one broadcast for the lot";
    EXPECT_EQ(CheckedItems(), QStringList{"<Svi fontovi>"});
    EXPECT_TRUE(Sheet->CategoryName.isEmpty());
    EXPECT_EQ(Messages().size(), 1u) << Messages().back().Text;
}

TEST(UninstallQuestionTest, NamesTheFirstFamiliesAndCountsTheRest) {
    EXPECT_EQ(UninstallQuestion({"Sans"}), "Zelite li  da deinstalirate  Sans?");
    EXPECT_EQ(UninstallQuestion({"A", "B", "C"}), "Zelite li  da deinstalirate  A, B, C?");
    EXPECT_EQ(UninstallQuestion({"A", "B", "C", "D", "E"}),
              "Zelite li  da deinstalirate  A, B, C i jos 2?");
}

} // namespace
} // namespace lw
