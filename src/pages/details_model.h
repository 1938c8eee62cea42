#pragma once

#include "fonts/font_details.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// One face a Details window can show.
struct TDetailsFace {
    std::string Label; // as the style chooser lists it
    std::string File;  // the file as its reader takes it (a Type 1 metrics file, say)
    // Face number as FreeType takes it: a collection's face in the low 16
    // bits, a named instance of a variable font in the high ones.
    uint32_t Index = 0;
};

struct TPropertyRow {
    std::string Label;
    std::string Value;
};

// What the window shows of one face, read once when the face is chosen.
struct TFaceReport {
    std::vector<TPropertyRow> Properties;
    std::string LicenseText;
    std::string LicenseUrl;
    std::string LicenseId; // as RecognisedLicense names it
    TCodeRanges CodePoints;
    std::vector<std::string> Scripts;
    std::optional<TVariations> Variations;
    // The file FreeType draws the face from (a Type 1 font's outline).
    std::string DrawFile;
};

// Reads a face's report. Throws EFontFileError when the file cannot be read;
// a file that holds no font gives a report of its file rows alone.
TFaceReport ReadFaceReport(const TDetailsFace& face);

// The faces of a font file: one per face of a collection, else one.
std::vector<TDetailsFace> FacesOfFontFile(const std::string& path);

// Parts of a property value, in the words the window uses.
std::string WeightClassText(uint16_t weightClass);
std::string WidthClassText(uint16_t widthClass);
std::string SelectionFlagsText(uint16_t fsSelection);
std::string LicenseName(const std::string& licenseId);

// The code point a search box names: "U+0416", "0x416" or bare hex digits
// ("0416", two or more), or a single character.
std::optional<uint32_t> ParseCodePointQuery(const std::string& text);
// "U+0416", four hex digits at least.
std::string CodePointText(uint32_t code);

// The waterfall's point sizes from text such as "8, 9, 10 12"; what is no
// size from 1 to 999 is skipped.
std::vector<int> ParseWaterfallSizes(const std::string& text);
std::string WaterfallSizesText(const std::vector<int>& sizes);
const std::vector<int>& DefaultWaterfallSizes();

// A run of the character map under one heading: a Unicode block of the
// table, or the stretch between two of them.
struct TCharGroup {
    std::string Name;
    uint64_t Covered = 0;
    uint64_t Size = 0;       // code points the block holds; 0 for a stretch
    uint64_t FirstIndex = 0; // the first code's place among all of them
};

// The character map's rows worked out on demand: a heading row per group,
// then its codes a row of `columns` cells at a time. Nothing is laid out per
// code point, so sixty thousand of them cost no more than a few hundred.
class TCharMapLayout {
public:
    TCharMapLayout(TCodeRanges codes, int columns);

    struct TRow {
        size_t Group = 0;
        bool Heading = false;
        uint64_t FirstIndex = 0; // the row's first cell
        int Cells = 0;
    };
    uint64_t RowCount() const { return Rows; }
    TRow RowAt(uint64_t row) const;
    uint64_t RowOfIndex(uint64_t index) const;
    uint64_t CodeCount() const { return Count; }
    uint32_t CodeAt(uint64_t index) const;
    std::optional<uint64_t> IndexOf(uint32_t code) const;
    size_t GroupOfIndex(uint64_t index) const;
    const std::vector<TCharGroup>& Groups() const { return GroupList; }
    int Columns() const { return ColumnCount; }

private:
    TCodeRanges Codes;
    std::vector<uint64_t> RangeStarts; // each range's first code's index
    std::vector<TCharGroup> GroupList;
    std::vector<uint64_t> GroupRows; // each group's heading row
    uint64_t Count = 0;
    uint64_t Rows = 0;
    int ColumnCount = 1;
};

} // namespace lw
