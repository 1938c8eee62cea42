#include "printing/print_layout.h"

#include <algorithm>
#include <cmath>

namespace lw {

namespace {

bool RangePrints(int range, int page) {
    switch (range) {
    case 1:
        return page % 2 == 1;
    case 2:
        return page % 2 == 0;
    default:
        return true;
    }
}

} // namespace

int TPrintSource::SelectedCount() const {
    return static_cast<int>(std::count(Selected.begin(), Selected.end(), true));
}

int MarginDots(double margin, double unitFactor, int dpi, int strip) {
    if (unitFactor <= 0) {
        return 0;
    }
    // nearbyint rounds halves to the even neighbour in the default mode.
    const double dots = std::nearbyint(margin / unitFactor * dpi) - strip;
    // A stored or typed margin may be no number, or one no int holds: it is
    // wider than any sheet, and small enough that the layout's sums stay sums.
    if (std::isnan(dots) || dots >= kMarginBeyondAnySheet) {
        return kMarginBeyondAnySheet;
    }
    return dots < 0 ? 0 : static_cast<int>(dots);
}

int PagesToPrint(int pages, int range) {
    switch (range) {
    case 1:
        return (pages + 1) / 2;
    case 2:
        return pages / 2;
    default:
        return pages;
    }
}

TPrintLayout ComputePrintLayout(const TPrintOptions& print, int count, int columns,
                                const TPrinterMetrics& printer, const TPrintTextMetrics& text) {
    TPrintLayout l;
    l.Columns = std::max(columns, 1);
    const int unprintableRight = printer.PhysicalWidth - printer.PageWidth - printer.OffsetX;
    const int unprintableBottom = printer.PhysicalHeight - printer.PageHeight - printer.OffsetY;
    l.Top = MarginDots(print.TopMargin, print.UnitFactor, printer.DpiY, printer.OffsetY);
    l.Bottom = MarginDots(print.BottomMargin, print.UnitFactor, printer.DpiY, unprintableBottom);
    l.Left = MarginDots(print.LeftMargin, print.UnitFactor, printer.DpiX, printer.OffsetX);
    l.Right = MarginDots(print.RightMargin, print.UnitFactor, printer.DpiX, unprintableRight);
    const bool roomLeft =
        l.Left + l.Right < printer.PageWidth && l.Top + l.Bottom < printer.PageHeight;
    l.ColumnWidth = roomLeft ? (printer.PageWidth - l.Left - l.Right) / l.Columns : 0;
    l.HeadingHeight = text.HeadingHeight;
    l.Gap = static_cast<int>(std::nearbyint(text.HeadingHeight * 4.0 / 3.0));
    l.ColumnGap = text.ColumnGap;
    l.RowHeight = text.SampleLineHeight + 2 * text.HeadingHeight;
    const int usable = printer.PageHeight - l.Top - l.Bottom;
    l.RowsPerPage = roomLeft && l.RowHeight > 0 && usable > 0 ? usable / l.RowHeight : 0;
    l.Count = count;
    l.Rows = count > 0 ? (count - 1) / l.Columns + 1 : 0;
    l.Pages = l.RowsPerPage > 0 ? (l.Rows + l.RowsPerPage - 1) / l.RowsPerPage : 0;
    l.PagesToPrint = PagesToPrint(l.Pages, print.Range);
    return l;
}

std::vector<TPrintCell> PlanPrintJob(const TPrintLayout& layout, const TPrintSource& source,
                                     int range) {
    std::vector<TPrintCell> cells;
    const int pageBottom = layout.Top + layout.RowsPerPage * layout.RowHeight;
    int y = layout.Top - layout.RowHeight;
    int page = 1;
    int sheets = 1;
    bool printedOne = RangePrints(range, 1);
    int k = -1;
    for (size_t i = 0; i < source.Items.size(); ++i) {
        if (i >= source.Selected.size() || !source.Selected[i]) {
            continue;
        }
        ++k;
        TPrintCell cell;
        cell.Item = static_cast<int>(i);
        const int column = k % layout.Columns;
        cell.X = layout.Left + column * layout.ColumnWidth;
        if (column == 0) {
            y += layout.RowHeight;
        }
        if (y + layout.RowHeight > pageBottom) {
            ++page;
            if (RangePrints(range, page)) {
                // The first printed page uses the sheet the job opened with.
                cell.NewSheet = printedOne;
                sheets += printedOne ? 1 : 0;
                printedOne = true;
            }
            y = layout.Top;
        }
        cell.Y = y;
        cell.Page = page;
        cell.Printed = RangePrints(range, page);
        cell.Sheets = sheets;
        cells.push_back(cell);
    }
    return cells;
}

} // namespace lw
