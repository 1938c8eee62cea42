// The font list job on a real PDF printer: the pages the layout promises,
// headings and samples where it puts them (read back with pdfinfo and
// pdftotext), cut at their cells, cancelled and failed jobs leaving nothing.
#include "base/strings.h"
#include "command_run.h"
#include "print_test_support.h"
#include "printing/print_job.h"
#include "test_env.h"
#include "test_home.h"

#include <QImage>
#include <QPrinter>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace lw {
namespace {

namespace fs = std::filesystem;

class PrintJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestPrompts().Reset();
        SetLanguage(0);
        Pdf = test::TestHome().Root() / "print-job.pdf";
        fs::remove(Pdf);
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(QString::fromStdString(Pdf.string()));
        Printer.setFullPage(false);
    }
    void TearDown() override { fs::remove(Pdf); }
    TPrintResult PrintIt(const TPrintSource& source, const TPrintJobHooks& hooks = {}) {
        Error.clear();
        return PrintFontListOn(Printer, Print, source, hooks, Error);
    }

    QPrinter Printer{QPrinter::HighResolution};
    TPrintOptions Print = test::Centimetres(1.0);
    fs::path Pdf;
    std::string Error;
};

TEST_F(PrintJobTest, FortyFamiliesInThreeColumnsLandWhereTheLayoutPutsThem) {
    const TPrintSource source = test::Families(40, 3, 48);
    const TPrintLayout layout = PrinterLayout(Printer, Print, source);
    ASSERT_GT(layout.RowsPerPage, 0);
    EXPECT_EQ(layout.Rows, 14);
    int sheetsShown = 0;
    int steps = 0;
    TPrintJobHooks hooks;
    hooks.Step = [&] { ++steps; };
    hooks.Status = [&](int sheets, int toPrint) {
        sheetsShown = sheets;
        EXPECT_EQ(toPrint, layout.Pages);
    };
    ASSERT_EQ(PrintIt(source, hooks), TPrintResult::Done) << Error;
    EXPECT_EQ(steps, 40);
    EXPECT_EQ(sheetsShown, layout.Pages);
    EXPECT_EQ(test::PdfPages(Pdf), layout.Pages);
    EXPECT_GT(layout.Pages, 1) << "a layout of more than one page is what is checked: rows a page "
                               << layout.RowsPerPage << ", row " << layout.RowHeight << ", top "
                               << layout.Top << ", page " << MeasurePrinter(Printer).PageHeight;

    // Each name twice (an empty line to print means the name): the heading
    // at the cell's corner, the sample under it by the gap.
    const TPrinterMetrics printer = MeasurePrinter(Printer);
    const double points = 72.0 / printer.DpiX;
    std::map<std::string, std::vector<test::TPdfWord>> byName;
    for (const test::TPdfWord& w : test::PdfWords(Pdf)) {
        byName[w.Text].push_back(w);
    }
    const std::vector<TPrintCell> cells = PlanPrintJob(layout, source, 0);
    for (const TPrintCell& cell : cells) {
        const std::vector<test::TPdfWord>& found =
            byName[source.Items[static_cast<size_t>(cell.Item)]];
        ASSERT_EQ(found.size(), 2u) << source.Items[static_cast<size_t>(cell.Item)];
        const test::TPdfWord& heading = found[0].Y < found[1].Y ? found[0] : found[1];
        const test::TPdfWord& sample = found[0].Y < found[1].Y ? found[1] : found[0];
        EXPECT_EQ(heading.Page, cell.Page);
        EXPECT_NEAR(heading.X, (printer.OffsetX + cell.X) * points, 2.0) << heading.Text;
        EXPECT_NEAR(heading.Y, (printer.OffsetY + cell.Y) * points, 4.0) << heading.Text;
        EXPECT_NEAR(sample.X, heading.X, 3.0);
        EXPECT_GT(sample.Y, heading.Y + layout.HeadingHeight * points * 0.9);
    }
}

TEST_F(PrintJobTest, ALineToPrintReplacesTheSecondNameAndRangesPrintTheirSheets) {
    Print.JobText = "Quick";
    TPrintSource source = test::Families(2, 2, 20);
    ASSERT_EQ(PrintIt(source), TPrintResult::Done) << Error;
    std::map<std::string, int> count;
    for (const test::TPdfWord& w : test::PdfWords(Pdf)) {
        ++count[w.Text];
    }
    EXPECT_EQ(count["Lwfam01"], 1);
    EXPECT_EQ(count["Quick"], 2);

    // Enough fonts for five pages, one column.
    source = test::Families(1, 1, 20);
    const TPrintLayout one = PrinterLayout(Printer, Print, source);
    source = test::Families(one.RowsPerPage * 4 + 1, 1, 20);
    ASSERT_EQ(PrinterLayout(Printer, Print, source).Pages, 5);
    for (const auto& [range, sheets] : std::map<int, int>{{1, 3}, {2, 2}}) {
        Print.Range = static_cast<uint8_t>(range);
        ASSERT_EQ(PrintIt(source), TPrintResult::Done) << Error;
        EXPECT_EQ(test::PdfPages(Pdf), sheets) << "range " << range;
    }
    // Even pages of a single page: nothing drawn.
    Print.Range = 2;
    ASSERT_EQ(PrintIt(test::Families(3, 1, 20)), TPrintResult::Done);
    EXPECT_TRUE(test::PdfWords(Pdf).empty());
}

TEST_F(PrintJobTest, ALongNameIsCutBeforeTheNextColumn) {
    TPrintSource source = test::Families(2, 2, 20);
    source.Items = {"Lw" + std::string(200, 'W'), "Next"};
    source.Selected = {true, false};
    const TPrintLayout layout = PrinterLayout(Printer, Print, source);
    ASSERT_EQ(PrintIt(source), TPrintResult::Done) << Error;
    // The page as a picture: nothing is drawn between the cell's clip edge
    // and the next column, where a 200-letter name would otherwise run on.
    const std::string png = (Pdf.parent_path() / "print-job").string();
    test::RunCommand("pdftoppm -r 72 -f 1 -l 1 -png -singlefile '" + Pdf.string() + "' '" + png +
                     "'");
    QImage page(QString::fromStdString(png + ".png"));
    ASSERT_FALSE(page.isNull());
    const TPrinterMetrics printer = MeasurePrinter(Printer);
    const double points = 72.0 / printer.DpiX;
    const int clipRight = static_cast<int>(
        (printer.OffsetX + layout.Left + layout.ColumnWidth - layout.ColumnGap) * points);
    const int top = static_cast<int>((printer.OffsetY + layout.Top) * points);
    const int bottom = static_cast<int>((printer.OffsetY + layout.Top + layout.RowHeight) * points);
    int inkBefore = 0;
    int inkAfter = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = clipRight - 20; x < clipRight + 20; ++x) {
            if (qGray(page.pixel(x, y)) < 128) {
                (x < clipRight - 1 ? inkBefore : inkAfter) +=
                    x > clipRight + 1 || x < clipRight - 1;
            }
        }
    }
    EXPECT_GT(inkBefore, 0) << "the name runs up to the edge";
    EXPECT_EQ(inkAfter, 0) << "and not past it";
    fs::remove(png + ".png");
}

TEST_F(PrintJobTest, ACancelledJobIsAbortedAndAFailedOneNeverStarts) {
    int asked = 0;
    TPrintJobHooks hooks;
    hooks.Cancelled = [&] { return ++asked > 1; };
    EXPECT_EQ(PrintIt(test::Families(40, 3, 20), hooks), TPrintResult::Cancelled);
    EXPECT_EQ(asked, 2) << "stops after the current font";
    EXPECT_FALSE(fs::exists(Pdf)) << "nothing of an aborted job is left";

    // Margins that leave no room for a single row.
    Print.TopMargin = Print.BottomMargin = 15.0;
    EXPECT_EQ(PrintIt(test::Families(3, 1, 20)), TPrintResult::Failed);
    EXPECT_EQ(Error, "Margine ne ostavljaju mesta ni za jedan red.");
    EXPECT_FALSE(fs::exists(Pdf));
}

} // namespace
} // namespace lw
