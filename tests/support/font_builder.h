#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lw::test {

using TBytes = std::vector<uint8_t>;

// Appends fixed-width numbers in the byte order font files use.
class TByteWriter {
public:
    TByteWriter& U8(uint8_t v);
    TByteWriter& BE16(uint16_t v);
    TByteWriter& BE32(uint32_t v);
    TByteWriter& LE16(uint16_t v);
    TByteWriter& LE32(uint32_t v);
    TByteWriter& Text(const std::string& text); // no terminator
    TByteWriter& Raw(const TBytes& bytes);
    TByteWriter& Zeros(size_t count);
    // Overwrites bytes already written.
    void PutLE32(size_t at, uint32_t v);
    const TBytes& Bytes() const { return Data; }
    size_t Size() const { return Data.size(); }

private:
    TBytes Data;
};

TBytes Utf16Be(const std::string& utf8);

// An sfnt file with exactly the tables a case adds, in the order it adds
// them (the directory order decides some of the reader's answers).
class TSfntBuilder {
public:
    TSfntBuilder& AddTable(const std::string& tag, TBytes data);
    // A table record whose offset points wherever the case wants.
    TSfntBuilder& AddTableAt(const std::string& tag, uint32_t offset, uint32_t length = 0);
    // What the offset table claims instead of the real number of tables.
    std::optional<uint16_t> ClaimedNumTables;
    TBytes Build() const;

private:
    struct TTable {
        std::string Tag;
        TBytes Data;
        std::optional<uint32_t> Offset;
        uint32_t Length = 0;
    };
    std::vector<TTable> Tables;
};

// A 'name' table. Text is stored as given; Windows() encodes UTF-16BE.
class TNameTableBuilder {
public:
    static constexpr uint16_t kWindows = 3;
    static constexpr uint16_t kMac = 1;

    TNameTableBuilder& Add(uint16_t platform, uint16_t encoding, uint16_t language, uint16_t nameId,
                           TBytes text);
    TNameTableBuilder& Windows(uint16_t nameId, const std::string& utf8, uint16_t language = 0x409);
    TNameTableBuilder& Mac(uint16_t nameId, const std::string& bytes, uint16_t language = 0);
    // A record with a length and offset of the case's choosing.
    TNameTableBuilder& Lying(uint16_t platform, uint16_t nameId, uint16_t length, uint16_t offset);
    std::optional<uint16_t> ClaimedCount;
    std::optional<uint16_t> ClaimedStringOffset;
    TBytes Build() const;

private:
    struct TRecord {
        uint16_t Platform, Encoding, Language, NameId;
        TBytes Text;
        std::optional<uint16_t> Length, Offset;
    };
    std::vector<TRecord> Records;
};

// OS/2 of the size its version has (version 0: 78 bytes, 1: 86, 2 to 4: 96, 5: 100).
TBytes OS2Table(uint16_t version, uint16_t weightClass, uint16_t widthClass, uint16_t familyClass,
                uint16_t selection);
TBytes HeadTable(uint16_t unitsPerEm, uint16_t lowestRecPPEM);

// Code points first..last to glyphs from glyph on (format 13: all to glyph).
struct TCmapGroup {
    uint32_t First, Last, Glyph;
};
// Format 4 with its closing segment added; each group a delta segment.
TBytes CmapFormat4(const std::vector<TCmapGroup>& groups);
// Format 12, or 13 when manyToOne.
TBytes CmapFormat12(const std::vector<TCmapGroup>& groups, bool manyToOne = false);
struct TCmapSubtable {
    uint16_t Platform, Encoding;
    TBytes Data;
};
TBytes CmapTable(const std::vector<TCmapSubtable>& subtables);

struct TFvarAxis {
    std::string Tag;
    double Min, Default, Max;
    uint16_t NameId;
};
struct TFvarInstance {
    uint16_t NameId;
    std::vector<double> Coordinates;
};
TBytes FvarTable(const std::vector<TFvarAxis>& axes, const std::vector<TFvarInstance>& instances);
// Design axes (tag, name id) and format 1 values (axis index, name id, value).
struct TStatValue1 {
    uint16_t Axis, NameId;
    double Value;
};
TBytes StatTable(const std::vector<std::pair<std::string, uint16_t>>& axes,
                 const std::vector<TStatValue1>& values);
// A GSUB or GPOS header, script list and feature list (records only).
TBytes LayoutTable(const std::vector<std::string>& scripts,
                   const std::vector<std::string>& features);
// Version 0.5, as CFF outlines have it, or 1.0 for TrueType outlines.
TBytes MaxpTable(uint16_t numGlyphs, bool trueType = false);
TBytes PostTable(double italicAngle, bool fixedPitch);

// A complete small TrueType font (two empty glyphs, the space mapped) that
// the system's font libraries accept, so it can be installed in a test.
TBytes MinimalTrueType(const TNameTableBuilder& names);
// The same named as most fonts are: family (1), style (2), "family style" (4)
// and "family-style" (6).
TBytes NamedTrueType(const std::string& family, const std::string& style = "Regular");

// A font whose tables say what a face's facts are read from: the code
// points mapped, the glyphs' advances, OS/2's classes and PANOSE, the
// licence, a variation table, CFF outlines.
struct TFactsFontTraits {
    std::vector<TCmapGroup> Codes = {{'A', 'Z', 1}, {'a', 'z', 27}};
    std::vector<uint16_t> Advances = {500, 600, 0, 700};
    uint16_t Weight = 400;
    uint16_t Width = 5;
    uint16_t Selection = 0x40;
    uint8_t PanoseFamily = 0;
    uint8_t PanoseSerif = 0;
    uint16_t FamilyClass = 0;
    std::string Vendor = "TEST";
    std::string License;
    bool Variable = false;
    bool Cff = false;
};
TBytes FactsFont(const TFactsFontTraits& traits);

// A collection ('ttcf', version 1) of whole fonts, each at its own place
// with its table offsets moved there.
TBytes Collection(const std::vector<TBytes>& fonts);

// A Type 1 metrics file: the header and extension, the device name, then
// the family and PostScript names, with offsets a case may replace.
struct TPfmBuilder {
    uint8_t Italic = 0;
    uint16_t Weight = 400;
    std::string FaceName = "Sans";
    std::string PostScriptName = "Sans-Regular";
    std::optional<uint32_t> FaceOffset;
    std::optional<uint32_t> DriverInfoOffset;
    TBytes Build() const;
};

// A Type 1 outline file: the text segment holding header, then a binary
// segment and the end mark. claimedLength replaces the real segment length.
TBytes PfbFile(const std::string& header, std::optional<uint32_t> claimedLength = std::nullopt);

void WriteFile(const std::filesystem::path& path, const TBytes& bytes);
// The file's bytes; empty when it cannot be read.
TBytes ReadFile(const std::filesystem::path& path);
// A text's bytes as they stand.
inline TBytes TextBytes(const std::string& text) {
    return TBytes(text.begin(), text.end());
}
// The same for text, byte for byte: no line end is changed either way.
void WriteText(const std::filesystem::path& path, const std::string& text);
std::string ReadText(const std::filesystem::path& path);
// The names in a folder, sorted; none when it cannot be read.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder);

} // namespace lw::test
