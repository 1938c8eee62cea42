#pragma once

#include "base/options.h"

#include <string>
#include <vector>

namespace lw {

// What the font list job prints from: the sheet's families in list order,
// which of them are selected, its columns (0 counts as 1) and its font size.
struct TPrintSource {
    // A file a family's sample is read from, where the installed fonts do
    // not hold the family (a folder's fonts, given to this process alone).
    struct TFace {
        std::string File;
        int Index = 0;
    };

    std::vector<std::string> Items;
    std::vector<bool> Selected;
    // By item, as far as known; an empty file: the installed family's face.
    std::vector<TFace> Faces;
    int Columns = 0;
    int FontSize = 0;

    int SelectedCount() const;
};

// The current printer in its own units (dots), for the paper and the
// orientation chosen for it.
struct TPrinterMetrics {
    int PageWidth = 0; // the printable area
    int PageHeight = 0;
    int PhysicalWidth = 0; // the whole sheet
    int PhysicalHeight = 0;
    int OffsetX = 0; // the unprintable strips at the left and at the top
    int OffsetY = 0;
    int DpiX = 0;
    int DpiY = 0;
};

// Text measured on the printer, in dots.
struct TPrintTextMetrics {
    int HeadingHeight = 0;    // the measuring text in the heading font
    int ColumnGap = 0;        // the width of "A" in the heading font
    int SampleLineHeight = 0; // the measuring text in the list's face at the list's size
};

struct TPrintLayout {
    int Columns = 1;
    int Top = 0;
    int Bottom = 0;
    int Left = 0;
    int Right = 0;
    int ColumnWidth = 0;
    int HeadingHeight = 0;
    int Gap = 0; // from a cell's top to its sample line
    int ColumnGap = 0;
    int RowHeight = 0;
    int RowsPerPage = 0;
    int Count = 0; // the selected fonts
    int Rows = 0;
    int Pages = 0;
    int PagesToPrint = 0;
};

// A margin in dots from the paper's edge, less the strip the printer cannot
// print, never below 0; rounded to the nearest dot, halves to the even one.
// One that is no number or past any sheet is kMarginBeyondAnySheet, which
// leaves no page.
constexpr int kMarginBeyondAnySheet = 1 << 24;
int MarginDots(double margin, double unitFactor, int dpi, int strip);

// range: 0 all pages, 1 odd pages, 2 even pages.
int PagesToPrint(int pages, int range);

TPrintLayout ComputePrintLayout(const TPrintOptions& print, int count, int columns,
                                const TPrinterMetrics& printer, const TPrintTextMetrics& text);

// Where the job puts one selected font.
struct TPrintCell {
    int Item = 0; // its position in the source list
    int Page = 1; // in layout order, whatever the range
    int X = 0;
    int Y = 0;
    bool Printed = true;   // the range prints its page
    bool NewSheet = false; // a new sheet starts before it
    int Sheets = 1;        // sheets started so far, this one's included
};

// The cells of every selected font in list order, with the sheets the range
// starts: pages excluded by the range keep their place and start no sheet,
// and the first printed page uses the sheet the job opens with.
std::vector<TPrintCell> PlanPrintJob(const TPrintLayout& layout, const TPrintSource& source,
                                     int range);

} // namespace lw
