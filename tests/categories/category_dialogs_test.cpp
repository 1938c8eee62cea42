// The organize, add, combine and results windows, driven as a person does:
// the window opened from its menu, controls clicked, keys sent to whatever
// has the focus.
#include "app/main_window.h"
#include "categories/category_dialogs.h"
#include "categories/organize_dialog.h"
#include "category_fixture.h"
#include "modal_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::CategoryFixture;
using test::WhileModal;
using Names = std::vector<std::string>;

QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts.append(list->item(i)->text());
    }
    return texts;
}

void ClickItem(QListWidget* list, const QString& text, Qt::KeyboardModifiers keys = {}) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, keys,
                      list->visualItemRect(found[0]).center());
}

class CategoryDialogsTest : public CategoryFixture {
protected:
    void StartProgram() {
        Main = std::make_unique<TfMain_letterwell>();
        Organize = std::make_unique<TfOrganize>(Places);
        Main->SetOrganizeWindow(Organize.get());
        Main->show();
    }
    void TearDown() override {
        Main.reset();
        Organize.reset();
        CategoryFixture::TearDown();
    }
    // Opens the dialog from the main window's menu.
    void Open(const std::function<void(TfOrganize&)>& inside) {
        WhileModal([&](QWidget*) { inside(*Organize); },
                   [this] { Main->Menu.mnOrganizeCategories->trigger(); });
    }

    std::unique_ptr<TfMain_letterwell> Main;
    std::unique_ptr<TfOrganize> Organize;
};

TEST_F(CategoryDialogsTest,
       ItOpensOnTheNewEntryWithEveryFamilyAndTheClickedOnesSampleInEitherLanguage) {
    StartProgram();
    QString sample;
    Organize->SampleText = [&] { return sample; };
    ASSERT_TRUE(Main->Menu.mnOrganizeCategories->isEnabled());
    Open([&](TfOrganize& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Organizuj kategorije"));
        EXPECT_EQ(dialog.size(), QSize(467, 423));
        EXPECT_EQ(QApplication::focusWidget(), dialog.cmbCategories);
        EXPECT_EQ(dialog.cmbCategories->currentText(), QStringLiteral("<Novi>"));
        EXPECT_EQ(Texts(dialog.lstFonts),
                  (QStringList{"Arial", "Bodoni", "Courier", "Serif", "Tahoma", "Verdana"}));
        EXPECT_EQ(dialog.lstCategory->count(), 0);
        EXPECT_EQ(dialog.lblCategoryNumber->text(), QStringLiteral("Broj fontova: 0"));
        EXPECT_EQ(dialog.lblFontNumber->text(), QStringLiteral("Broj fontova: 6"));
        EXPECT_EQ(dialog.btnUpdate->text(), QStringLiteral("&Osvezi"));
        EXPECT_EQ(dialog.btnUpdate->toolTip(), QStringLiteral("Osvezi ovu kategoriju"));
        EXPECT_EQ(dialog.btnAdd->toolTip(), QStringLiteral("Dodaj odabrani font u ovu kategoriju"));
        EXPECT_EQ(dialog.btnDeleteAll->toolTip(),
                  QStringLiteral("Ukloni sve fontove iz ove kategorije"));
        // Tab walks the controls in the window's order.
        QStringList order;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.append(QApplication::focusWidget()->objectName());
        }
        EXPECT_EQ(order,
                  (QStringList{"btnUpdate", "btnAddCategory", "btnDeleteCategory", "lstFonts",
                               "lstCategory", "btnUpdateAll", "btnClose", "cmbCategories"}));

        // The sample of the family clicked ends inside its frame.
        ClickItem(dialog.lstFonts, "Serif");
        EXPECT_EQ(dialog.lblExample->text(), QStringLiteral("Serif"));
        EXPECT_EQ(dialog.lblExample->font().family(), QStringLiteral("Serif"));
        EXPECT_EQ(dialog.lblExample->font().pixelSize(), 21);
        sample = QString(200, QLatin1Char('W'));
        ClickItem(dialog.lstFonts, "Verdana");
        EXPECT_EQ(dialog.lblExample->text(), sample);
        const QRect frame = dialog.Bevel->geometry();
        EXPECT_EQ(dialog.lblExample->x() + dialog.lblExample->width(),
                  frame.x() + frame.width() - 5);
        EXPECT_EQ(dialog.lblExample->width(), 381);
    });
    EXPECT_FALSE(Organize->isVisible());

    // A language switch reaches the window already made: the new entry too.
    Main->Menu.mnEspaniol->trigger();
    Open([&](TfOrganize& dialog) {
        EXPECT_EQ(dialog.cmbCategories->itemText(0), QStringLiteral("<Nueva>"));
        EXPECT_NE(dialog.windowTitle(), QStringLiteral("Organizuj kategorije"));
        EXPECT_EQ(dialog.lblFontNumber->text(), QStringLiteral("Número de fuentes: 6"));
    });
}

TEST_F(CategoryDialogsTest, MovesAreForgottenUnlessUpdatedAndKeysChooseTheCategory) {
    MakeCategory("Work", "Arial\r\nGone\r\n");
    StartProgram();
    Open([&](TfOrganize& dialog) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        EXPECT_EQ(dialog.cmbCategories->currentText(), QStringLiteral("Work"));
        EXPECT_EQ(Texts(dialog.lstCategory), (QStringList{"Arial", "Gone"}));
        EXPECT_EQ(Texts(dialog.lstFonts),
                  (QStringList{"Bodoni", "Courier", "Serif", "Tahoma", "Verdana"}));
        ClickItem(dialog.lstFonts, "Tahoma");
        ClickItem(dialog.lstFonts, "Bodoni", Qt::ControlModifier);
        QTest::mouseClick(dialog.btnAdd, Qt::LeftButton);
        EXPECT_EQ(Texts(dialog.lstCategory), (QStringList{"Arial", "Bodoni", "Gone", "Tahoma"}));
        EXPECT_EQ(dialog.lblCategoryNumber->text(), QStringLiteral("Broj fontova: 4"));
        EXPECT_EQ(dialog.lblFontNumber->text(), QStringLiteral("Broj fontova: 3"));
        QTest::mouseClick(dialog.btnDeleteAll, Qt::LeftButton);
        EXPECT_EQ(dialog.lstCategory->count(), 0);
        EXPECT_EQ(dialog.lstFonts->count(), 7);
    });
    EXPECT_EQ(ReadText(Folder() / "Work.lst"), "Arial\r\nGone\r\n");
    // Opened again: the file's members, the moves gone.
    Open([&](TfOrganize& dialog) {
        EXPECT_EQ(dialog.cmbCategories->currentText(), QStringLiteral("Work"));
        EXPECT_EQ(Texts(dialog.lstCategory), (QStringList{"Arial", "Gone"}));
        QTest::mouseClick(dialog.btnAddAll, Qt::LeftButton);
        QTest::mouseClick(dialog.btnUpdate, Qt::LeftButton);
    });
    EXPECT_EQ(ReadText(Folder() / "Work.lst"),
              "Arial\r\nBodoni\r\nCourier\r\nSerif\r\nTahoma\r\nVerdana\r\n");
}

TEST_F(CategoryDialogsTest, UpdateOnTheNewEntryAsksForANameAndDeleteGoesBackToIt) {
    StartProgram();
    test::TestPrompts().TextAnswers.push_back("Fresh");
    Open([&](TfOrganize& dialog) {
        ClickItem(dialog.lstFonts, "Courier");
        QTest::mouseClick(dialog.btnAdd, Qt::LeftButton);
        QTest::mouseClick(dialog.btnUpdate, Qt::LeftButton);
        EXPECT_EQ(dialog.cmbCategories->currentText(), QStringLiteral("Fresh"));
        EXPECT_EQ(dialog.cmbCategories->count(), 2);
    });
    EXPECT_EQ(ReadText(Folder() / "Fresh.lst"), "Courier\r\n");

    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    Open([&](TfOrganize& dialog) {
        QTest::mouseClick(dialog.btnDeleteCategory, Qt::LeftButton);
        EXPECT_EQ(dialog.cmbCategories->currentText(), QStringLiteral("<Novi>"));
        EXPECT_EQ(dialog.cmbCategories->count(), 1);
        EXPECT_EQ(dialog.lstFonts->count(), 6);
    });
    EXPECT_FALSE(fs::exists(Folder() / "Fresh.lst"));
    // The index is written when the program ends.
    Main.reset();
    Organize.reset();
    EXPECT_EQ(Stored().at("Number of categories").Integer, 0u);
}

TEST_F(CategoryDialogsTest, TheAddDialogOffersTheNewEntryFirstAndADoubleClickChooses) {
    const Names categories{"<Novi>", "Display", "Work"};
    std::optional<std::string> chosen;
    WhileModal(
        [](QWidget* window) {
            auto& dialog = *static_cast<TfAdd*>(window);
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dodaj font u kategoriju"));
            EXPECT_EQ(dialog.size(), QSize(246, 274));
            EXPECT_EQ(QApplication::focusWidget(), dialog.lstCategories);
            EXPECT_EQ(dialog.lstCategories->currentItem()->text(), QStringLiteral("<Novi>"));
            // A double click: a press and release, then the second press.
            const QPoint work =
                dialog.lstCategories->visualItemRect(dialog.lstCategories->item(2)).center();
            QTest::mouseClick(dialog.lstCategories->viewport(), Qt::LeftButton, {}, work);
            QTest::mouseDClick(dialog.lstCategories->viewport(), Qt::LeftButton, {}, work);
        },
        [&] { chosen = ChooseCategory(categories); });
    EXPECT_EQ(chosen, "Work");
    // Enter takes the entry chosen; Esc cancels.
    WhileModal([](QWidget*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); },
               [&] { chosen = ChooseCategory(categories); });
    EXPECT_EQ(chosen, "<Novi>");
    WhileModal([](QWidget*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); },
               [&] { chosen = ChooseCategory(categories); });
    EXPECT_EQ(chosen, std::nullopt);
}

TEST_F(CategoryDialogsTest, TheCombineDialogKeepsOneOperationDownAndStartsOnAllFonts) {
    TfMixCategories dialog({"<Novi>", "Display", "Work"});
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kombinuj kategorije"));
    EXPECT_EQ(dialog.size(), QSize(517, 298));
    EXPECT_EQ(Texts(dialog.lstCategory1), (QStringList{"<SVE>", "Display", "Work"}));
    EXPECT_EQ(dialog.lstCategory2->currentRow(), 0);
    EXPECT_TRUE(dialog.btnPlus->isChecked());
    EXPECT_TRUE(dialog.btnPlus->font().bold());
    QTest::mouseClick(dialog.btnMinus, Qt::LeftButton);
    QTest::mouseClick(dialog.btnMinus, Qt::LeftButton);
    EXPECT_TRUE(dialog.btnMinus->isChecked()) << "pressing the one down leaves it down";
    EXPECT_FALSE(dialog.btnPlus->isChecked());
    EXPECT_EQ(dialog.Operation(), TCombineOp::Minus);
    ClickItem(dialog.lstCategory2, "Work");
    EXPECT_TRUE(dialog.Operand(1).AllFonts);
    EXPECT_FALSE(dialog.Operand(2).AllFonts);
    EXPECT_EQ(dialog.Operand(2).Name, "Work");
    EXPECT_EQ(dialog.ResultLabel(), "<SVE> [-] Work");
    QTest::mouseClick(dialog.btnAnd, Qt::LeftButton);
    EXPECT_EQ(dialog.ResultLabel(), "<SVE> [*] Work");
    EXPECT_FALSE(dialog.btnMinus->isChecked());
    QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(CategoryDialogsTest, TheResultsDialogShowsTheFontAndKeepsNothingSelected) {
    WhileModal(
        [](QWidget* window) {
            auto& dialog = *static_cast<TfResults*>(window);
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Rezultat pretrage"));
            EXPECT_EQ(dialog.lblText->text(),
                      QStringLiteral("Font \"Tahoma\" je nadjen u sledecim kategorijama:"));
            EXPECT_EQ(Texts(dialog.lstCategories), (QStringList{"A", "B"}));
            ClickItem(dialog.lstCategories, "B");
            EXPECT_TRUE(dialog.lstCategories->selectedItems().isEmpty());
            EXPECT_EQ(QApplication::focusWidget(), dialog.btnOK);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            EXPECT_FALSE(dialog.isVisible());
        },
        [] {
            ShowFindResults("Tahoma", {"A", "B"});
        });
}

} // namespace
} // namespace lw
