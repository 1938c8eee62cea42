// The font list's page layout and the job's plan, on made-up printers.
#include "print_test_support.h"
#include "printing/print_layout.h"

#include <gtest/gtest.h>

#include <limits>

namespace lw {
namespace {

// A 600 dpi printer on A4-like paper with strips it cannot print.
TPrinterMetrics Printer600() {
    TPrinterMetrics m;
    m.PhysicalWidth = 4960;
    m.PhysicalHeight = 7016;
    m.OffsetX = 100;
    m.OffsetY = 100;
    m.PageWidth = 4760;  // 100 unprintable at the right
    m.PageHeight = 6766; // 150 unprintable at the bottom
    m.DpiX = 600;
    m.DpiY = 600;
    return m;
}

using test::Centimetres;

TEST(PrintLayout, MarginsRowsPagesAndThePagesEachRangePrints) {
    // 1 cm at 600 dpi with a 100-dot strip: round(236.22) - 100.
    EXPECT_EQ(MarginDots(1.0, 2.54, 600, 100), 136);
    // Smaller than the strip: 0, not a negative margin.
    EXPECT_EQ(MarginDots(0.1, 2.54, 600, 100), 0);
    EXPECT_EQ(MarginDots(0.0, 1.0, 600, 100), 0);
    // Inches count as inches; halves go to the even dot.
    EXPECT_EQ(MarginDots(1.0, 1.0, 600, 0), 600);
    EXPECT_EQ(MarginDots(0.5, 1.0, 5, 0), 2);
    EXPECT_EQ(MarginDots(1.5, 1.0, 5, 0), 8);

    const TPrintTextMetrics text{50, 30, 200};
    // 3 columns, 7 fonts: 3 rows, the last with one font.
    TPrintLayout l = ComputePrintLayout(Centimetres(1.0), 7, 3, Printer600(), text);
    EXPECT_EQ(l.Top, 136);
    EXPECT_EQ(l.Left, 136);
    EXPECT_EQ(l.Right, 136);
    EXPECT_EQ(l.Bottom, 236 - 150);
    EXPECT_EQ(l.ColumnWidth, (4760 - 136 - 136) / 3);
    EXPECT_EQ(l.Gap, 67) << "round(50 x 4 / 3)";
    EXPECT_EQ(l.RowHeight, 200 + 2 * 50);
    EXPECT_EQ(l.RowsPerPage, (6766 - 136 - 86) / 300);
    EXPECT_EQ(l.Rows, 3);
    EXPECT_EQ(l.Pages, 1);
    // No columns counts as one.
    l = ComputePrintLayout(Centimetres(1.0), 7, 0, Printer600(), text);
    EXPECT_EQ(l.Columns, 1);
    EXPECT_EQ(l.Rows, 7);
    // 21 rows a page: 5 pages for 101 to 105 rows.
    l = ComputePrintLayout(Centimetres(1.0), 105, 1, Printer600(), text);
    ASSERT_EQ(l.RowsPerPage, 21);
    EXPECT_EQ(l.Pages, 5);
    EXPECT_EQ(PagesToPrint(1, 2), 0);
    // Margins that leave no room for a row: no pages at all.
    l = ComputePrintLayout(Centimetres(14.5), 7, 3, Printer600(), text);
    EXPECT_EQ(l.RowsPerPage, 0);
    EXPECT_EQ(l.Pages, 0);
    // Nor do side margins that meet, or margins no int holds, stored or typed:
    // no page, and no sum that runs over.
    TPrintOptions sides = Centimetres(1.0);
    sides.LeftMargin = sides.RightMargin = 10.5;
    for (const TPrintOptions& print : {sides, Centimetres(1e300), Centimetres(99999999),
                                       Centimetres(std::numeric_limits<double>::infinity()),
                                       Centimetres(std::numeric_limits<double>::quiet_NaN())}) {
        l = ComputePrintLayout(print, 7, 3, Printer600(), text);
        EXPECT_EQ(l.RowsPerPage, 0) << print.TopMargin << " " << print.LeftMargin;
        EXPECT_EQ(l.Pages, 0) << print.TopMargin << " " << print.LeftMargin;
        EXPECT_EQ(l.PagesToPrint, 0) << print.TopMargin << " " << print.LeftMargin;
    }
    EXPECT_EQ(MarginDots(std::numeric_limits<double>::quiet_NaN(), 2.54, 600, 0),
              kMarginBeyondAnySheet);
    EXPECT_EQ(MarginDots(-1e300, 2.54, 600, 0), 0);
}

TEST(PrintJobPlan, CellsGoRowByRowOnlyTheSelectedArePlacedAndRangesStartOnlyTheirSheets) {
    TPrintLayout l = ComputePrintLayout(Centimetres(1.0), 7, 3, Printer600(), {50, 30, 200});
    TPrintSource source = test::Families(9, 3, 24);
    source.Selected[1] = false;
    source.Selected[5] = false;
    const std::vector<TPrintCell> cells = PlanPrintJob(l, source, 0);
    ASSERT_EQ(cells.size(), 7u);
    const int items[] = {0, 2, 3, 4, 6, 7, 8};
    for (size_t k = 0; k < cells.size(); ++k) {
        EXPECT_EQ(cells[k].Item, items[k]);
        EXPECT_EQ(cells[k].X, l.Left + static_cast<int>(k % 3) * l.ColumnWidth) << k;
        EXPECT_EQ(cells[k].Y, l.Top + static_cast<int>(k / 3) * l.RowHeight) << k;
        EXPECT_TRUE(cells[k].Printed);
        EXPECT_FALSE(cells[k].NewSheet);
    }

    // Ranges keep every page's place and start sheets only for printed ones.
    l = ComputePrintLayout(Centimetres(1.0), 105, 1, Printer600(), {50, 30, 200});
    source = test::Families(105, 1, 24);
    struct TCase {
        int Range;
        std::vector<int> SheetStarts; // pages that start a new sheet
        std::vector<int> Printed;     // pages drawn
        int Sheets;
    };
    const TCase cases[] = {
        {0, {2, 3, 4, 5}, {1, 2, 3, 4, 5}, 5}, {1, {3, 5}, {1, 3, 5}, 3}, {2, {4}, {2, 4}, 2}};
    for (const TCase& c : cases) {
        std::vector<int> starts;
        std::vector<int> printed;
        int sheets = 0;
        for (const TPrintCell& cell : PlanPrintJob(l, source, c.Range)) {
            if (cell.NewSheet) {
                starts.push_back(cell.Page);
            }
            if (cell.Printed && (printed.empty() || printed.back() != cell.Page)) {
                printed.push_back(cell.Page);
            }
            // Every page has its place: the first row of page p is at the top.
            if ((cell.Item % 21) == 0) {
                EXPECT_EQ(cell.Y, l.Top);
                EXPECT_EQ(cell.Page, cell.Item / 21 + 1);
            }
            sheets = cell.Sheets;
        }
        EXPECT_EQ(starts, c.SheetStarts) << "range " << c.Range;
        EXPECT_EQ(printed, c.Printed) << "range " << c.Range;
        EXPECT_EQ(sheets, c.Sheets) << "range " << c.Range;
        EXPECT_EQ(sheets, PagesToPrint(l.Pages, c.Range));
    }
    // Even pages of a one-page list: nothing is drawn.
    for (const TPrintCell& cell : PlanPrintJob(l, test::Families(5, 1, 24), 2)) {
        EXPECT_FALSE(cell.Printed);
        EXPECT_FALSE(cell.NewSheet);
    }
}

} // namespace
} // namespace lw
