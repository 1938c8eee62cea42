#include "app/main_window.h"
#include "base/strings.h"
#include "categories/auto_categories.h"
#include "categories/sample_mark.h"
#include "font_builder.h"
#include "main_window_fixture.h"
#include "modal_window.h"
#include "pages/find_dialog.h"
#include "pages/installed_page.h"
#include "sheets/sample_delegate.h"
#include "sheets/sheet_status_bar.h"
#include "sheets/view_all.h"
#include "test_home.h"
#include "told.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

namespace lw {
namespace {

namespace fs = std::filesystem;

using test::TrueTypeFace;

class ViewAllTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        for (const char* family :
             {"Didot", "Elzevir", "Futura", "Garamond", "Helvetica", "Sans", "Sans Mono"}) {
            Fonts.AddFace(family, TrueTypeFace(family, "Regular", NTM_REGULAR));
        }
        FontManager->Refresh();
        Main = std::make_unique<TfMain_letterwell>();
        Sheet = std::make_unique<TfViewAll>(Main.get());
        Main->SetViewAllWindow(Sheet.get());
        Sheet->setWindowState(Qt::WindowNoState);
        Sheet->resize(600, 400);
        Sheet->show();
    }
    void TearDown() override {
        Sheet.reset();
        Main.reset();
        MainWindowFixture::TearDown();
    }
    QModelIndex Item(int row) { return Sheet->Model->index(row); }
    int Current() { return Sheet->lstFonts->currentIndex().row(); }
    std::vector<int> SelectedRows() {
        std::vector<int> rows;
        for (const QModelIndex& index : Sheet->lstFonts->selectionModel()->selectedIndexes()) {
            rows.push_back(index.row());
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    std::unique_ptr<TfMain_letterwell> Main;
    std::unique_ptr<TfViewAll> Sheet;
};

TEST_F(ViewAllTest, SizeAndColumnsFromMenusOrAnswersLayOutTheItemsAndPrintingTakesThemAsShown) {
    Sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Sheet.get()));
    Sheet->lstFonts->selectionModel()->clearSelection();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(test::ToldOnce("Nisi selektovao font.", "Upozorenje", TMsgIcon::Warning));

    ASSERT_EQ(Sheet->Items().size(), 10);
    EXPECT_EQ(Sheet->Items().front(), QStringLiteral("Arial"));
    EXPECT_GT(Sheet->NameLineHeight(), 5);
    QTest::mouseClick(Sheet->lstFonts->viewport(), Qt::LeftButton, Qt::NoModifier,
                      Sheet->lstFonts->visualRect(Item(1)).center());
    QTest::mouseClick(Sheet->lstFonts->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      Sheet->lstFonts->visualRect(Item(3)).center());
    ASSERT_EQ(SelectedRows(), (std::vector<int>{1, 3}));
    Sheet->findChild<QAction*>(QStringLiteral("mnSize7"))->trigger();
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 3})) << "a new size keeps the selection";
    EXPECT_EQ(Current(), 3);
    EXPECT_EQ(Sheet->ListFontSize(), 72);
    EXPECT_EQ(Sheet->ItemHeight(), Sheet->NameLineHeight() + 144);
    EXPECT_EQ(Sheet->Status->PanelText(0), QStringLiteral("Velicina: 72"));
    EXPECT_EQ(Sheet->lstFonts->gridSize().height(), Sheet->NameLineHeight() + 144);

    // Column counts from the menus and typed answers.
    Sheet->findChild<QAction*>(QStringLiteral("mnCol3"))->trigger();
    EXPECT_EQ(Sheet->Columns(), 3);
    EXPECT_TRUE(Sheet->lstFonts->isWrapping());
    EXPECT_EQ(Sheet->lstFonts->gridSize().width(), Sheet->lstFonts->viewport()->width() / 3);
    Sheet->findChild<QAction*>(QStringLiteral("mnCol0"))->trigger();
    EXPECT_EQ(Sheet->Columns(), 0);
    EXPECT_FALSE(Sheet->lstFonts->isWrapping()); // one column, scrolling down
    test::TestPrompts().TextAnswers = {std::string("4"), std::string("-3"), std::string("many")};
    Sheet->mnDefineColumns->trigger();
    EXPECT_EQ(Sheet->Columns(), 4);
    Sheet->mnDefineColumns->trigger();
    EXPECT_EQ(Sheet->Columns(), 0);
    Sheet->findChild<QAction*>(QStringLiteral("mnCol2"))->trigger();
    Sheet->mnDefineColumns->trigger();
    EXPECT_EQ(Sheet->Columns(), 2);
    EXPECT_EQ(test::TestPrompts().Asked, std::vector<std::string>(3, "Broj kolona"));
    test::TestPrompts().TextAnswers = {std::string("30"), std::string("x")};
    Sheet->mnDefineSize->trigger();
    Sheet->mnDefineSize->trigger();
    EXPECT_EQ(Sheet->ListFontSize(), 30);

    const TPrintSource source = Sheet->PrintSource();
    EXPECT_EQ(source.Items.size(), 10u);
    EXPECT_EQ(source.Items[3], Sheet->Items()[3].toStdString());
    EXPECT_EQ(source.Selected, (std::vector<bool>{false, true, false, true, false, false, false,
                                                  false, false, false}));
    EXPECT_EQ(source.Columns, 2);
    EXPECT_EQ(source.FontSize, 30);

    // The settings dialog counts the two; Esc leaves it and prints nothing.
    QString counted;
    test::WhileModal(
        [&](QWidget* dialog) {
            counted = dialog->findChild<QLabel*>(QStringLiteral("lblNumberOfFonts"))->text();
        },
        [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier); });
    EXPECT_EQ(counted, QStringLiteral("Broj fontova: 2"));
    EXPECT_EQ(test::TestPrompts().Messages.size(), 1u);
}

QImage RenderItem(TFontSampleDelegate& delegate, const QString& family) {
    QImage image(300, delegate.ItemHeight(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStringListModel model({family});
    QStyleOptionViewItem option;
    option.rect = image.rect();
    delegate.paint(&painter, option, model.index(0));
    return image;
}

// Dark pixels of the sample band: the ink a line leaves.
int InkBelow(const QImage& tile, int top) {
    int ink = 0;
    for (int y = top; y < tile.height(); ++y) {
        for (int x = 0; x < tile.width(); ++x) {
            ink += qGray(tile.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    return ink;
}

TEST_F(ViewAllTest, TheSampleIsTheOneChosenOrTheNameOrWhatAFaceThatLacksItCanShowAndSaysSo) {
    Sheet->mnShortSample->trigger();
    EXPECT_EQ(Sheet->SampleText(), QStringLiteral("012 - Primer"));
    Sheet->mnLongSample->trigger();
    EXPECT_EQ(Sheet->SampleText(), QStringLiteral("012 ABCabc(FGfg)XYZxyz-456789"));
    test::TestPrompts().TextAnswers = {std::nullopt, std::string("Hamburgefonstiv")};
    Sheet->mnDefineExample->trigger();
    EXPECT_EQ(Sheet->SampleText(), QStringLiteral("012 ABCabc(FGfg)XYZxyz-456789"));
    Sheet->mnDefineExample->trigger();
    EXPECT_EQ(Sheet->SampleText(), QStringLiteral("Hamburgefonstiv"));
    Sheet->mnNameSample->trigger();
    EXPECT_EQ(Sheet->SampleText(), QString());

    TFontSampleDelegate delegate;
    delegate.PointSize = 16;
    delegate.NormalColor = Qt::black;
    delegate.BackgroundColor = Qt::white;
    const QImage byName = RenderItem(delegate, QStringLiteral("DejaVu Sans"));
    delegate.Invalidate();
    delegate.SampleText = QStringLiteral("DejaVu Sans");
    EXPECT_EQ(RenderItem(delegate, QStringLiteral("DejaVu Sans")), byName);
    delegate.Invalidate();
    delegate.SampleText = QStringLiteral("other words");
    EXPECT_NE(RenderItem(delegate, QStringLiteral("DejaVu Sans")), byName);
    // Drawn again from the cache, the tile is the same.
    EXPECT_EQ(delegate.CachedTiles(), 1);
    EXPECT_EQ(RenderItem(delegate, QStringLiteral("DejaVu Sans")),
              RenderItem(delegate, QStringLiteral("DejaVu Sans")));

    const std::string arabic = "/usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf";
    const std::string integrals = "/usr/share/fonts/opentype/stix/STIXIntegralsD-Regular.otf";
    if (!fs::exists(arabic) || !fs::exists(integrals)) {
        GTEST_SKIP() << "needs Noto Sans Arabic and STIX (fonts-noto-core, fonts-stix)";
    }
    Fonts.AddFace("Noto Sans Arabic",
                  TFaceInfo("Noto Sans Arabic", "Regular", TRUETYPE_FONTTYPE, NTM_REGULAR, arabic));
    Fonts.AddFace("STIXIntegralsD", TFaceInfo("STIXIntegralsD", "Regular", TRUETYPE_FONTTYPE,
                                              NTM_REGULAR, integrals));
    Fonts.AddFace("Empty", TFaceInfo("Empty", "Regular", TRUETYPE_FONTTYPE, NTM_REGULAR,
                                     (test::TestHome().Root() / "empty.ttf").string()));
    test::TFactsFontTraits spaceOnly;
    spaceOnly.Codes = {{0x20, 0x20, 1}};
    test::WriteFile(test::TestHome().Root() / "empty.ttf", test::FactsFont(spaceOnly));
    FontManager->Refresh();
    delegate.Invalidate();
    delegate.SampleText = QStringLiteral("Hamburgefonstiv");
    const auto item = [](const char* family) {
        TSampleItem described;
        described.Name = described.Family = QString::fromLatin1(family);
        return described;
    };
    const int band = delegate.NameLineHeight();

    // Arabic letters from the font's own glyphs, right to left, not its boxes.
    const TDrawableSample inArabic =
        delegate.DrawableSample(item("Noto Sans Arabic"), delegate.SampleText);
    EXPECT_EQ(inArabic.Kind, TDrawableSample::InScript);
    EXPECT_EQ(SampleMark(inArabic), QString::fromStdString(LocalScriptName("Arab")).toLower());
    const QImage arabicTile = RenderItem(delegate, QStringLiteral("Noto Sans Arabic"));
    const QImage boxes =
        delegate.FileSampleLine(arabic, 0, delegate.SampleText, 295, 1.0, Qt::black);
    const QImage letters = delegate.FileSampleLine(
        arabic, 0, QString::fromStdU32String(inArabic.Text), 295, 1.0, Qt::black);
    ASSERT_FALSE(letters.isNull());
    QImage expected(arabicTile.size(), QImage::Format_ARGB32);
    expected.fill(Qt::white);
    QPainter(&expected).drawImage(QPoint(5, band), letters);
    EXPECT_GT(InkBelow(arabicTile, band), 50);
    EXPECT_EQ(arabicTile.copy(0, band, 300, arabicTile.height() - band),
              expected.copy(0, band, 300, arabicTile.height() - band));
    QImage boxed(arabicTile.size(), QImage::Format_ARGB32);
    boxed.fill(Qt::white);
    QPainter(&boxed).drawImage(QPoint(5, band), boxes);
    EXPECT_NE(arabicTile.copy(0, band, 300, 30), boxed.copy(0, band, 300, 30));

    // A symbol font: a row of its first mapped glyphs.
    const TDrawableSample glyphs =
        delegate.DrawableSample(item("STIXIntegralsD"), delegate.SampleText);
    EXPECT_EQ(glyphs.Kind, TDrawableSample::Glyphs);
    EXPECT_EQ(glyphs.Text.front(), U'\u222B');
    EXPECT_GT(InkBelow(RenderItem(delegate, QStringLiteral("STIXIntegralsD")), band), 50);
    // Nothing to draw is said, never drawn in another font.
    const TDrawableSample nothing = delegate.DrawableSample(item("Empty"), delegate.SampleText);
    EXPECT_EQ(nothing.Kind, TDrawableSample::Nothing);
    EXPECT_EQ(SampleMark(nothing).toStdString(), LoadStr(30550));
    // A Latin face draws the sample as typed, unmarked.
    const TDrawableSample latin = delegate.DrawableSample(item("DejaVu Sans"), delegate.SampleText);
    EXPECT_EQ(latin.Kind, TDrawableSample::Asked);
    EXPECT_EQ(QString::fromStdU32String(latin.Text), delegate.SampleText);
}

TEST_F(ViewAllTest, FindWrapsPastTheEndTellsAMissAndOffersTheCurrentFamily) {
    const int sansMono = static_cast<int>(Sheet->Items().indexOf(QStringLiteral("Sans Mono")));
    Sheet->lstFonts->setCurrentIndex(Item(sansMono));
    Sheet->lstFonts->selectionModel()->select(Item(sansMono), QItemSelectionModel::Select);
    Sheet->FindNext(QStringLiteral("SANS"), true);
    EXPECT_EQ(Sheet->lstFonts->currentIndex().data().toString(), QStringLiteral("Sans"));
    EXPECT_EQ(SelectedRows(), std::vector<int>{sansMono - 1}) << "the found family alone";
    EXPECT_EQ(Sheet->Status->PanelText(1), QStringLiteral("TrueType"));
    Sheet->FindNext(QStringLiteral("Zapf"), false);
    ASSERT_TRUE(test::ToldOnce("Ne mugu naci nijedan font koji sadrzi Zapf.", "Nije nadjen",
                               TMsgIcon::Information));
    EXPECT_EQ(Sheet->lstFonts->currentIndex().data().toString(), QStringLiteral("Sans"));

    // Edit > Find offers the current family, chosen, so what is typed replaces it.
    test::TestPrompts().Reset();
    QApplication::setActiveWindow(Sheet.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Sheet.get()));
    Sheet->mnFindFont->trigger();
    ASSERT_NE(Sheet->dlgFind, nullptr);
    // The offscreen platform has no window manager to activate it.
    QApplication::setActiveWindow(Sheet->dlgFind);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Sheet->dlgFind));
    ASSERT_EQ(QApplication::focusWidget(), Sheet->dlgFind->edFindText)
        << QApplication::focusWidget()->objectName().toStdString();
    EXPECT_EQ(Sheet->dlgFind->edFindText->selectedText(), QStringLiteral("Sans"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Garamond"));
    EXPECT_EQ(Sheet->dlgFind->edFindText->text(), QStringLiteral("Garamond"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
    EXPECT_EQ(Sheet->lstFonts->currentIndex().data().toString(), QStringLiteral("Garamond"));
}

TEST_F(ViewAllTest, SelectAllAndInvertKeepTheTopAndCurrentItemsAndCountNothingEmpty) {
    Sheet->findChild<QAction*>(QStringLiteral("mnCol0"))->trigger();
    Sheet->findChild<QAction*>(QStringLiteral("mnSize7"))->trigger();
    Sheet->lstFonts->setCurrentIndex(Item(4));
    Sheet->lstFonts->verticalScrollBar()->setValue(Sheet->lstFonts->verticalScrollBar()->maximum() /
                                                   2);
    const QModelIndex top = Sheet->lstFonts->indexAt(QPoint(5, 5));
    Sheet->lstFonts->selectionModel()->select(Item(1), QItemSelectionModel::Select);
    Sheet->SelectAll();
    EXPECT_EQ(SelectedRows().size(), 10u);
    EXPECT_EQ(Current(), 4);
    EXPECT_EQ(Sheet->lstFonts->indexAt(QPoint(5, 5)), top);
    EXPECT_EQ(Sheet->Status->SelectedCount(), 10);
    Sheet->lstFonts->selectionModel()->clearSelection();
    Sheet->lstFonts->selectionModel()->select(Item(1), QItemSelectionModel::Select);
    Sheet->mnInvertSelection->trigger();
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Current(), 4);
    EXPECT_EQ(Sheet->lstFonts->indexAt(QPoint(5, 5)), top);

    // An empty list counts nothing.
    Fonts.FaceFamilies.clear();
    Fonts.Faces.clear();
    FontManager->Refresh();
    Sheet->mnAllClick();
    EXPECT_EQ(Sheet->Model->rowCount(), 0);
    EXPECT_FALSE(Sheet->lstFonts->currentIndex().isValid());
    EXPECT_EQ(Sheet->Status->Panel2Line(),
              QStringLiteral("Kategorija: <Svi fontovi> (0 od 0 fontova oznaceno)"));
    Sheet->SelectAll();
    Sheet->InvertSelection();
    EXPECT_EQ(Sheet->Status->SelectedCount(), 0);
}

TEST_F(ViewAllTest, TheSheetsBoundsWhileNormalAndItsClosingByTheUserAreRemembered) {
    Sheet->setGeometry(40, 50, 610, 420);
    QEvent deactivation(QEvent::ActivationChange);
    QApplication::sendEvent(Sheet.get(), &deactivation);
    EXPECT_FALSE(Options.ListMaximized);
    EXPECT_EQ(Options.ListWidth, 610);
    EXPECT_EQ(Options.ListHeight, 420);
    Sheet->showMaximized();
    EXPECT_TRUE(Sheet->isMaximized());
    EXPECT_EQ(Options.ListWidth, 610) << "maximizing keeps the normal bounds";
    Options.ListWidth = 123;
    QApplication::sendEvent(Sheet.get(), &deactivation);
    EXPECT_TRUE(Options.ListMaximized);
    EXPECT_EQ(Options.ListWidth, 123);

    // The user closing the sheet forgets it, the menus bring it back, the
    // program ending does not forget it.
    ASSERT_TRUE(Options.ShowListWindow);
    Main->mnViewAllClick();
    EXPECT_TRUE(Sheet->isVisible());
    Sheet->close();
    EXPECT_FALSE(Sheet->isVisible());
    EXPECT_FALSE(Options.ShowListWindow);
    Sheet->show();
    EXPECT_TRUE(Options.ShowListWindow);
    Sheet->close();
    Main->Menu.mnViewAll->trigger();
    EXPECT_TRUE(Sheet->isVisible());
    EXPECT_TRUE(Options.ShowListWindow);
    // File > Exit ends the program; the windows still open are closed after.
    Main->show();
    Main->Menu.mnExit->trigger();
    ASSERT_TRUE(Main->Terminating());
    Sheet->close();
    EXPECT_TRUE(Options.ShowListWindow);
}

TEST_F(ViewAllTest, TheMainWindowShowsTheSheetsChoiceAndTheSheetFollowsItsListAndLanguage) {
    const int garamond = static_cast<int>(Sheet->Items().indexOf(QStringLiteral("Garamond")));
    Sheet->lstFonts->setCurrentIndex(Item(garamond));
    Sheet->mnShowInMainWindow->trigger();
    EXPECT_EQ(Main->Installed->SelectedFamily(), QStringLiteral("Garamond"));
    EXPECT_EQ(Main->Installed->mmSample->font().family(), QStringLiteral("Garamond"));
    Sheet->lstFonts->doItemsLayout();
    // A double click arrives after the press and release of its first click.
    const QPoint bodoni = Sheet->lstFonts->visualRect(Item(1)).center();
    QTest::mouseClick(Sheet->lstFonts->viewport(), Qt::LeftButton, {}, bodoni);
    QTest::mouseDClick(Sheet->lstFonts->viewport(), Qt::LeftButton, {}, bodoni);
    EXPECT_EQ(Main->Installed->SelectedFamily(), QStringLiteral("Bodoni"));

    // Updating the main list returns the sheet to all fonts; its language
    // follows the main window's.
    Sheet->Model->setStringList({QStringLiteral("Arial")});
    Fonts.AddFace("Zapf", TrueTypeFace("Zapf", "Regular", NTM_REGULAR));
    Main->mnUpdateListClick();
    EXPECT_EQ(Sheet->Items().size(), 11);
    EXPECT_EQ(Sheet->Items().back(), QStringLiteral("Zapf"));
    EXPECT_EQ(Current(), 0);
    const QString serbian = Sheet->windowTitle();
    Main->Menu.mnEspaniol->trigger();
    ASSERT_EQ(GetLanguage(), 1);
    EXPECT_NE(Sheet->windowTitle(), serbian);
    EXPECT_EQ(Sheet->Status->PanelText(2).toStdString(), StripMenuMarks(LoadStr(11119)));
    Main->Menu.mnEnglish->trigger();
    EXPECT_EQ(Sheet->windowTitle(), serbian);
}

// The catalogue of the test home (DejaVu): samples come from the faces' files.
TEST(SampleDelegate, DrawsAFamilyFromItsFileInTheInkColourOnAWorkerAndLeavesTheRestToQt) {
    TFontSampleDelegate delegate;
    delegate.PointSize = 24;
    const QImage line = delegate.SampleLine(QStringLiteral("DejaVu Sans"), QStringLiteral("Sample"),
                                            400, 1.0, QColor(200, 0, 0));
    ASSERT_FALSE(line.isNull());
    EXPECT_GT(line.width(), 60);
    EXPECT_LT(line.width(), 400);
    EXPECT_GE(line.height(), 32) << "24 points at 96 pixels an inch";
    int solid = 0;
    for (int y = 0; y < line.height(); ++y) {
        for (int x = 0; x < line.width(); ++x) {
            const QRgb pixel = line.pixel(x, y);
            if (qAlpha(pixel) == 255) {
                ++solid;
                EXPECT_EQ(QColor(pixel), QColor(200, 0, 0));
            }
        }
    }
    EXPECT_GT(solid, 100);
    // Twice the pixels on a screen of twice the density, the same size to the eye.
    const QImage sharp = delegate.SampleLine(QStringLiteral("DejaVu Sans"),
                                             QStringLiteral("Sample"), 400, 2.0, Qt::black);
    EXPECT_NEAR(sharp.width(), 2 * line.width(), 4);
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    // A family the catalogue has no file for is drawn by Qt.
    EXPECT_TRUE(
        delegate
            .SampleLine(QStringLiteral("No Such Family"), QStringLiteral("x"), 400, 1.0, Qt::black)
            .isNull());

    // Within a list's frames the line comes from the worker: the first frame
    // shows the name alone, a later one the line in the family's own face and
    // its ink.
    delegate.PointSize = 16;
    delegate.NormalColor = Qt::darkBlue;
    delegate.BackgroundColor = Qt::white;
    delegate.SampleText = QStringLiteral("Hamburgefonstiv");
    delegate.Invalidate();
    const int band = delegate.NameLineHeight();
    QSignalSpy ready(&delegate, &TFontSampleDelegate::SamplesReady);
    delegate.BeginFrame();
    EXPECT_EQ(InkBelow(RenderItem(delegate, QStringLiteral("DejaVu Sans")), band), 0);
    EXPECT_TRUE(delegate.FrameLeftWork());
    ASSERT_TRUE(ready.wait(5000));
    delegate.BeginFrame();
    const QImage tile = RenderItem(delegate, QStringLiteral("DejaVu Sans"));
    EXPECT_FALSE(delegate.FrameLeftWork());
    QImage expected(tile.size(), QImage::Format_ARGB32);
    expected.fill(Qt::white);
    QPainter(&expected).drawImage(QPoint(5, band),
                                  delegate.SampleLine(QStringLiteral("DejaVu Sans"),
                                                      delegate.SampleText, 295, 1.0, Qt::darkBlue));
    EXPECT_GT(InkBelow(tile, band), 50);
    EXPECT_EQ(tile.copy(0, band, 300, tile.height() - band),
              expected.copy(0, band, 300, tile.height() - band));
}

} // namespace
} // namespace lw
