#pragma once

#include "fonts/byte_view.h"
#include "platform/byte_source.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// The tables of one sfnt face that the details of a font show. Each parse
// function checks every offset and count against the table it is given; a
// table that fails its check gives nothing (std::nullopt or an empty list),
// as if the font had none.

struct TNameRecord {
    uint16_t Platform = 0;
    uint16_t Encoding = 0;
    uint16_t Language = 0;
    uint16_t NameId = 0;
    std::string Text; // UTF-8; empty for an encoding the reader does not know
};
std::vector<TNameRecord> ParseNameRecords(const TByteView& table);
// The text a name id reads as to an English reader: Windows US English first,
// then any Windows, Unicode, Macintosh record; empty when there is none.
std::string NameText(const std::vector<TNameRecord>& names, uint16_t nameId);

struct TOS2Info {
    uint16_t Version = 0;
    int16_t AvgCharWidth = 0;
    uint16_t WeightClass = 0;
    uint16_t WidthClass = 0;
    uint16_t FsType = 0;
    int16_t FamilyClass = 0;
    std::array<uint8_t, 10> Panose{};
    std::array<uint32_t, 4> UnicodeRange{};
    std::string VendorId;
    uint16_t Selection = 0;
    uint16_t FirstCharIndex = 0;
    uint16_t LastCharIndex = 0;
    // From version 0's full length (78 bytes) on; zero in Apple's short form.
    int16_t TypoAscender = 0;
    int16_t TypoDescender = 0;
    int16_t TypoLineGap = 0;
    uint16_t WinAscent = 0;
    uint16_t WinDescent = 0;
    // Version 1 on.
    std::array<uint32_t, 2> CodePageRange{};
    // Version 2 on.
    int16_t XHeight = 0;
    int16_t CapHeight = 0;
    uint16_t DefaultChar = 0;
    uint16_t BreakChar = 0;
    uint16_t MaxContext = 0;
    // Version 5, in twentieths of a point.
    uint16_t LowerOpticalPointSize = 0;
    uint16_t UpperOpticalPointSize = 0;
};
std::optional<TOS2Info> ParseOS2(const TByteView& table);

struct TPostInfo {
    double ItalicAngle = 0;
    int16_t UnderlinePosition = 0;
    int16_t UnderlineThickness = 0;
    bool IsFixedPitch = false;
};
std::optional<TPostInfo> ParsePost(const TByteView& table);
std::optional<uint16_t> ParseGlyphCount(const TByteView& maxp);
std::optional<uint16_t> ParseUnitsPerEm(const TByteView& head);

// Code points as sorted, disjoint, non-adjacent ranges.
struct TCodeRange {
    uint32_t First = 0;
    uint32_t Last = 0;
    bool operator==(const TCodeRange&) const = default;
};
using TCodeRanges = std::vector<TCodeRange>;
uint64_t CodePointCount(const TCodeRanges& ranges);
bool HasCodePoint(const TCodeRanges& ranges, uint32_t code);
// How many code points of [first, last] the ranges hold.
uint64_t CoveredIn(const TCodeRanges& ranges, uint32_t first, uint32_t last);

struct TCmapInfo {
    uint16_t Platform = 0;
    uint16_t Encoding = 0;
    uint16_t Format = 0;
    TCodeRanges CodePoints; // those mapped to a glyph other than glyph 0
};
// The best Unicode subtable that reads: full repertoire before the Basic
// Multilingual Plane, Windows before Unicode platform of the same reach.
std::optional<TCmapInfo> ParseCmap(const TByteView& table);
// One subtable (formats 0, 4, 6, 12 and 13); nothing for another format.
std::optional<TCodeRanges> ParseCmapSubtable(const TByteView& subtable);

struct TAxis {
    std::string Tag;
    uint16_t NameId = 0;
    std::string Name;
    double Min = 0;
    double Default = 0;
    double Max = 0;
    bool Hidden = false;
};
struct TNamedInstance {
    uint16_t NameId = 0;
    std::string Name;
    std::vector<double> Coordinates; // one per axis, in axis order
};
struct TVariations {
    std::vector<TAxis> Axes;
    std::vector<TNamedInstance> Instances;
};
std::optional<TVariations> ParseFvar(const TByteView& table, const std::vector<TNameRecord>& names);

struct TStatValue {
    std::string AxisTag; // empty for a value over several axes
    uint16_t NameId = 0;
    std::string Name;
    double Value = 0;
};
struct TStyleAttributes {
    std::vector<TAxis> Axes; // design axes: tag and name only
    std::vector<TStatValue> Values;
};
std::optional<TStyleAttributes> ParseStat(const TByteView& table,
                                          const std::vector<TNameRecord>& names);

// The distinct script and feature tags of a GSUB or GPOS table, sorted.
struct TLayoutTags {
    std::vector<std::string> Scripts;
    std::vector<std::string> Features;
    // "script/LANG" for each language system a script lists, sorted.
    std::vector<std::string> Languages;
};
std::optional<TLayoutTags> ParseLayoutTags(const TByteView& table);

struct TFontDetails {
    std::vector<TNameRecord> Names;
    std::optional<TOS2Info> OS2;
    std::optional<TPostInfo> Post;
    std::optional<uint16_t> GlyphCount;
    std::optional<uint16_t> UnitsPerEm;
    std::optional<TCmapInfo> Cmap;
    std::optional<TVariations> Variations;
    std::optional<TStyleAttributes> Style;
    std::optional<TLayoutTags> Substitutions; // GSUB
    std::optional<TLayoutTags> Positioning;   // GPOS
    std::vector<std::string> Tables;          // the tags of the face's tables, sorted
};

// The table directory of one face: a single font's when faceIndex is 0, or
// the face's of a collection. A table whose record points (even partly) past
// the file is absent; the last of two records of one tag counts.
class TFaceTables {
public:
    TFaceTables(IByteSource& source, uint32_t faceIndex);
    // The file holds the face asked for.
    bool Found = false;
    bool Has(const std::string& tag) const;
    // The tags of the tables the face's directory holds, sorted.
    std::vector<std::string> Tags() const;
    // The table's bytes; empty when it is absent.
    std::vector<uint8_t> Read(const std::string& tag) const;

private:
    struct TRecord {
        uint32_t Offset = 0;
        uint32_t Length = 0;
    };
    IByteSource& Source;
    std::map<std::string, TRecord> Records;
};

// The details of one face: a single font's when faceIndex is 0, or the
// face's of a collection. A table whose record points (even partly) past
// the file is absent. Nothing at all for a face the file does not hold.
TFontDetails ReadFontDetails(IByteSource& source, uint32_t faceIndex = 0);

// The union of both layout tables' tags.
std::vector<std::string> LayoutFeatures(const TFontDetails& details);
std::vector<std::string> LayoutScripts(const TFontDetails& details);
std::vector<std::string> LayoutLanguages(const TFontDetails& details);

} // namespace lw
