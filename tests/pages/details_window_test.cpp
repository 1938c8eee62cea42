// The Details window: what it reads from a face, and the window driven as a
// person drives it, from each place it opens.
#include "app/main_menu.h"
#include "not_installed_fixture.h"
#include "pages/char_map_view.h"
#include "pages/details_window.h"
#include "pages/installed_page.h"
#include "pages/simple_combo.h"
#include "pages/waterfall_view.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTabBar>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <algorithm>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::NotInstalledPageTest;
using test::TBytes;

const std::string kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string kInter = "/usr/share/fonts/truetype/inter-vf/Inter.var.ttf";

TBytes VariableFace(const std::string& family) {
    test::TNameTableBuilder names;
    names.Windows(1, family).Windows(2, "Regular").Windows(4, family + " Regular");
    names.Windows(13, "Licensed under the SIL Open Font License, Version 1.1");
    names.Windows(14, "https://openfontlicense.org").Windows(256, "Weight");
    // Latin with two language systems, Cyrillic with none.
    test::TByteWriter gsub;
    gsub.BE16(1).BE16(0).BE16(10).BE16(0).BE16(0);
    gsub.BE16(2).Text("cyrl").BE16(14).Text("latn").BE16(18);
    gsub.BE16(0).BE16(0).BE16(0).BE16(2).Text("TRK ").BE16(0).Text("DEU ").BE16(0);
    return test::TSfntBuilder()
        .AddTable("GSUB", gsub.Bytes())
        .AddTable("OS/2", test::OS2Table(4, 400, 5, 0, 0x0040))
        .AddTable("cmap", test::CmapTable(
                              {{3, 10,
                                test::CmapFormat12(
                                    {{'A', 'Z', 1}, {0x0410, 0x044F, 27}, {0x3400, 0x3401, 91}})}}))
        .AddTable("fvar", test::FvarTable({{"wght", 100, 400, 900, 256}}, {}))
        .AddTable("glyf", TBytes(4, 0))
        .AddTable("head", test::HeadTable(1000, 9))
        .AddTable("maxp", test::MaxpTable(93))
        .AddTable("name", names.Build())
        .AddTable("post", test::PostTable(0, false))
        .Build();
}

std::string Row(const TFaceReport& report, const std::string& label) {
    const auto row = std::ranges::find(report.Properties, label, &TPropertyRow::Label);
    return row == report.Properties.end() ? "(none)" : row->Value;
}

TEST(DetailsModel, ACollectionFaceAndAType1PairReportTheirNamesFactsLicenceAndCodes) {
    const fs::path file = test::TestHome().Root() / "details-pair.ttc";
    test::WriteFile(file, test::Collection({VariableFace("LwFirst"), VariableFace("LwSecond")}));
    const std::vector<TDetailsFace> faces = FacesOfFontFile(file.string());
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[1].Label, "LwSecond Regular");
    const TFaceReport report = ReadFaceReport(faces[1]);
    EXPECT_EQ(Row(report, "Familija"), "LwSecond");
    EXPECT_EQ(Row(report, "Format datoteke"),
              "TrueType konture, promenljiv, lice 1 od 2 u kolekciji");
    EXPECT_EQ(Row(report, "Klasa debljine"), "400 (Regular)");
    EXPECT_EQ(Row(report, "fsSelection oznake"), "0x0040 (REGULAR)");
    EXPECT_EQ(Row(report, "Ime 256 (3/1/0x0409)"), "Weight");
    EXPECT_EQ(Row(report, "Pisma u tabelama rasporeda"), "cyrl, latn (DEU, TRK)");
    EXPECT_EQ(report.LicenseId, "OFL-1.1");
    EXPECT_EQ(LicenseName(report.LicenseId), "SIL Open Font License 1.1");
    EXPECT_EQ(report.LicenseUrl, "https://openfontlicense.org");
    EXPECT_EQ(CodePointCount(report.CodePoints), 26u + 64u + 2u);
    ASSERT_TRUE(report.Variations);
    EXPECT_EQ(report.Variations->Axes.at(0).Name, "Weight");
    fs::remove(file);
    EXPECT_THROW(ReadFaceReport(faces[0]), EFontFileError);

    // A Type 1 pair: the metrics file opens it, its encoding gives the codes.
    const fs::path metrics = test::TestHome().Root() / "details-pair.pfm";
    test::TPfmBuilder pfm;
    pfm.FaceName = "LwType";
    test::WriteFile(metrics, pfm.Build());
    test::WriteFile(test::TestHome().Root() / "details-pair.pfb",
                    test::PfbFile("/Encoding StandardEncoding def\n"));
    const TFaceReport type1 = ReadFaceReport(FacesOfFontFile(metrics.string()).at(0));
    EXPECT_EQ(Row(type1, "Familija"), "LwType");
    EXPECT_EQ(Row(type1, "Format datoteke"), "Type 1");
    EXPECT_EQ(type1.DrawFile, (test::TestHome().Root() / "details-pair.pfb").string());
    EXPECT_EQ(CodePointCount(type1.CodePoints), 149u);
    EXPECT_FALSE(type1.Variations);
}

TEST(DetailsModel, TheCharacterMapLaysOutBlocksOnDemandAndSearchAndSizeTextsAreRead) {
    const TCharMapLayout map({{'A', 'Z'}, {0x0410, 0x044F}, {0x3400, 0x3401}}, 10);
    ASSERT_EQ(map.Groups().size(), 3u);
    EXPECT_EQ(map.Groups()[1].Name, "Cyrillic");
    EXPECT_EQ(map.Groups()[1].Covered, 64u);
    EXPECT_EQ(map.Groups()[1].Size, 256u);
    // A stretch between the table's blocks is named by its ends.
    EXPECT_EQ(map.Groups()[2].Name, "U+3100\u2013U+4DFF");
    // Heading and 3 rows, heading and 7 rows, heading and 1 row.
    EXPECT_EQ(map.RowCount(), 4u + 8u + 2u);
    EXPECT_TRUE(map.RowAt(4).Heading);
    EXPECT_EQ(map.RowAt(3).Cells, 6);
    EXPECT_EQ(map.CodeAt(map.RowAt(5).FirstIndex), 0x0410u);
    for (uint64_t index = 0; index < map.CodeCount(); ++index) {
        const uint64_t row = map.RowOfIndex(index);
        ASSERT_EQ(map.IndexOf(map.CodeAt(index)), index);
        ASSERT_GE(index, map.RowAt(row).FirstIndex);
        ASSERT_LT(index, map.RowAt(row).FirstIndex + map.RowAt(row).Cells);
    }
    EXPECT_FALSE(map.IndexOf('a'));

    // What is typed to find a character, and the waterfall's sizes.
    // "\xD0\x96" is the character itself.
    const std::pair<std::string, std::optional<uint32_t>> queries[] = {
        {"U+0416", 0x416}, {" u+416 ", 0x416},  {"0x1F600", 0x1F600},
        {"0416", 0x416},   {"\xD0\x96", 0x416}, {"4", '4'},
        {"U+110000", {}},  {"Zhe", {}},         {" ", {}}};
    for (const auto& [text, code] : queries) {
        EXPECT_EQ(ParseCodePointQuery(text), code) << '"' << text << '"';
    }
    EXPECT_EQ(ParseWaterfallSizes("8, 9 12pt;1000 0"), (std::vector<int>{8, 9, 12}));
    EXPECT_EQ(WaterfallSizesText({8, 144}), "8, 144");
}

class DetailsWindowTest : public NotInstalledPageTest {
protected:
    QList<TfDetails*> Open() const { return Window->findChildren<TfDetails*>(); }
    // The tab chosen by a click on it.
    static void ClickTab(TfDetails& details, int tab) {
        QTabBar* bar = details.pcDetails->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
};

TEST_F(DetailsWindowTest, OpensFromBothPagesByAltEnterAndThePopUpItems) {
    Fonts.AddFace("DejaVu Sans",
                  TFaceInfo("DejaVu Sans", "Book", TRUETYPE_FONTTYPE, NTM_REGULAR, kSans, 0));
    FontManager->Refresh();
    Window->Installed->LoadFamilies(0);
    TSimpleComboBox& families = *Window->Installed->cmbFonts;
    const auto found = families.List()->findItems(QStringLiteral("DejaVu Sans"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    Window->Installed->SelectFamily(families.List()->row(found[0]));
    families.List()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::AltModifier);
    ASSERT_EQ(Open().size(), 1);
    TfDetails& installed = *Open()[0];
    EXPECT_EQ(installed.tblProperties->item(0, 1)->text(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(installed.windowTitle(), QStringLiteral("DejaVu Sans - Detalji"));
    Window->Menu.mnProperties0->trigger();
    EXPECT_EQ(Open().size(), 2) << "a window a request";

    MakeFont("probe.ttf", "LwProbe", "Regular");
    OpenFolder();
    // Back to the main window, as a person's click on it does.
    QApplication::processEvents();
    QApplication::setActiveWindow(Window.get());
    Window->NotInstalled->DriveView->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(Messages().size(), 1u) << "no file chosen yet: the page says so";
    ClickFile("probe.ttf");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::AltModifier);
    ASSERT_EQ(Open().size(), 3);
    EXPECT_EQ(Open()[2]->tblProperties->item(0, 1)->text(), QStringLiteral("LwProbe"));

    // A file gone since it was listed: the user is told, and nothing opens.
    fs::remove(Folder / "probe.ttf");
    Window->Menu.mnFileProperties0->trigger();
    EXPECT_EQ(Open().size(), 3);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_NE(Messages()[1].Text.find("probe.ttf se ne moze procitati"), std::string::npos)
        << Messages()[1].Text;
    EXPECT_EQ(Messages()[1].Icon, TMsgIcon::Error);
    EXPECT_TRUE(fs::exists(kSans));
}

TEST_F(DetailsWindowTest, TheStyleChooserShowsAnotherFaceAndKeepsThisOneWhenItsFileIsGone) {
    const fs::path bold = Folder / "bold-copy.ttf";
    fs::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", bold);
    const std::vector<TDetailsFace> faces = {{"Sans Book", kSans, 0},
                                             {"Sans Bold", bold.string(), 0},
                                             {"Sans Gone", (Folder / "gone.ttf").string(), 0}};
    Window->mnLanguageClick(Window->Menu.mnLanguageEnglish);
    TfDetails* details = OpenFamilyDetails("DejaVu Sans", faces, QString(), Window.get());
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->pcDetails->tabText(2), QStringLiteral("Characters"));
    EXPECT_EQ(details->tblProperties->item(1, 0)->text(), QStringLiteral("Style"));
    EXPECT_EQ(details->tblProperties->item(1, 1)->text(), QStringLiteral("Book"));
    QApplication::setActiveWindow(details);
    details->cmbStyle->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(details->tblProperties->item(1, 1)->text(), QStringLiteral("Bold"));
    EXPECT_TRUE(Messages().empty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Text.rfind((Folder / "gone.ttf").string() + " cannot be read: ", 0), 0u)
        << Messages()[0].Text;
    EXPECT_EQ(details->cmbStyle->currentIndex(), 1) << "the face shown stays chosen";
    EXPECT_EQ(details->tblProperties->item(1, 1)->text(), QStringLiteral("Bold"));
    EXPECT_TRUE(fs::exists(bold));

    // The language switched while it is open: it reads its words again and
    // keeps the face chosen.
    Window->Menu.mnEspaniol->trigger();
    EXPECT_EQ(details->pcDetails->tabText(2), QStringLiteral("Caracteres"));
    EXPECT_EQ(details->tblProperties->item(1, 0)->text(), QStringLiteral("Estilo"));
    EXPECT_EQ(details->tblProperties->item(1, 1)->text(), QStringLiteral("Bold"));
    EXPECT_EQ(details->tblProperties->horizontalHeaderItem(0)->text(), QStringLiteral("Propiedad"));
    EXPECT_EQ(details->cmbStyle->currentIndex(), 1);
}

TEST_F(DetailsWindowTest, ACharacterIsFoundClickedCopiedAndMovedByKeysInAFaceWithoutAxes) {
    TfDetails* details = OpenFileDetails(kSans, 0, QStringLiteral("Sample"), Window.get());
    ASSERT_NE(details, nullptr);
    QApplication::setActiveWindow(details);
    EXPECT_FALSE(details->pnlAxes->isVisibleTo(details)) << "no axes without fvar";
    ClickTab(*details, 2);
    EXPECT_NE(details->lblScripts->text().indexOf(QStringLiteral("Cyrillic")), -1);
    details->edFindChar->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("U+0416"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(details->CharMap->CurrentCode(), 0x416u);
    EXPECT_EQ(QApplication::focusWidget(), details->CharMap);

    QApplication::clipboard()->clear();
    const QRect cell = details->CharMap->CellRect(0x416);
    ASSERT_FALSE(cell.isEmpty()) << "the found character is on screen";
    QTest::mouseClick(details->CharMap->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(QApplication::clipboard()->text(), QString(QChar(0x416)));
    EXPECT_NE(details->lblCharInfo->text().indexOf(QStringLiteral("U+0416")), -1);
    EXPECT_NE(details->lblCharInfo->text().indexOf(QStringLiteral("Cyrillic")), -1);
    EXPECT_FALSE(details->lblZoom->pixmap().isNull()) << "the glyph shown large";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(details->CharMap->CurrentCode(), 0x417u);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(QApplication::clipboard()->text(), QString(QChar(0x417)));

    EXPECT_FALSE(details->FindCharacter(QStringLiteral("U+E0FF")));
    EXPECT_EQ(details->CharMap->CurrentCode(), 0x417u) << "a miss keeps the selection";
    EXPECT_EQ(details->lblCharInfo->text(), QStringLiteral("U+E0FF nije u ovom fontu."));
}

TEST_F(DetailsWindowTest, AnAxisSliderMovesTheWaterfall) {
    if (!fs::exists(kInter)) {
        GTEST_SKIP() << "no variable font on this machine: " << kInter;
    }
    TfDetails* details = OpenFileDetails(kInter, 0, QStringLiteral("Hamburg"), Window.get());
    ASSERT_NE(details, nullptr);
    QApplication::setActiveWindow(details);
    ClickTab(*details, 3);
    auto* weight = details->findChild<QSlider*>(QStringLiteral("tbAxis_wght"));
    ASSERT_NE(weight, nullptr);
    const QImage before = details->Waterfall->grab().toImage();
    weight->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    EXPECT_EQ(details->Waterfall->Coordinates().at(0), 900);
    EXPECT_NE(details->Waterfall->grab().toImage(), before);

    // A named instance puts every slider at its place.
    const QList<QListWidgetItem*> thin =
        details->lstInstances->findItems(QStringLiteral("Thin"), Qt::MatchExactly);
    ASSERT_FALSE(thin.isEmpty());
    details->lstInstances->setCurrentItem(thin[0]);
    EXPECT_EQ(weight->value(), 0);
    EXPECT_EQ(details->Waterfall->Coordinates().at(0), 100);

    details->edSizes->setFocus();
    details->edSizes->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("10, 20"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(details->Waterfall->Sizes(), (std::vector<int>{10, 20}));
}

} // namespace
} // namespace lw
