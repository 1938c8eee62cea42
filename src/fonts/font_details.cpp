#include "fonts/font_details.h"

#include "fonts/byte_source.h"
#include "fonts/font_text.h"
#include "fonts/opentype_font_file.h"

#include <algorithm>
#include <map>
#include <set>

namespace lw {

namespace {

constexpr uint32_t kLastCodePoint = 0x10FFFF;
// Tables larger than this are not read whole: no table these readers look
// at comes near it, and a directory may claim 4 GB.
constexpr uint64_t kMaxTableSize = uint64_t(64) << 20;
// Text decoded from one 'name' table: a crafted table may point all its
// 65,535 records at the same 64 KB.
constexpr size_t kNameTextBudget = size_t(1) << 20;
constexpr size_t kOffsetTableSize = 12;
constexpr size_t kTableRecordSize = 16;

double Fixed(const TByteView& view, uint64_t at) {
    return static_cast<int32_t>(view.BE32(at)) / 65536.0;
}

std::string Tag(const TByteView& view, uint64_t at) {
    std::string tag;
    for (uint64_t k = 0; k < 4; ++k) {
        const uint8_t c = view.U8(at + k);
        // A tag is printable ASCII; anything else would not survive as text.
        tag += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    return tag;
}

std::string DecodeName(uint16_t platform, uint16_t encoding, const TByteView& bytes) {
    const bool utf16 =
        platform == 0 || (platform == 3 && (encoding == 0 || encoding == 1 || encoding == 10));
    if (utf16) {
        std::vector<uint16_t> units(bytes.Size() / 2);
        for (size_t i = 0; i < units.size(); ++i) {
            units[i] = bytes.BE16(2 * i);
        }
        return Utf16ToUtf8(units);
    }
    if (platform == 1 && encoding == 0) {
        return MacRomanToUtf8(bytes.Span());
    }
    return std::string();
}

// Records in 'ranges' order: merges touching and overlapping ranges.
TCodeRanges Normalized(TCodeRanges ranges) {
    std::sort(ranges.begin(), ranges.end(),
              [](const TCodeRange& a, const TCodeRange& b) { return a.First < b.First; });
    TCodeRanges merged;
    for (const TCodeRange& r : ranges) {
        if (!merged.empty() && r.First <= uint64_t(merged.back().Last) + 1) {
            merged.back().Last = std::max(merged.back().Last, r.Last);
        } else {
            merged.push_back(r);
        }
    }
    return merged;
}

// Adds code points one at a time, keeping runs together.
class TRangeCollector {
public:
    void Add(uint32_t code) {
        if (code > kLastCodePoint) {
            return;
        }
        if (!Ranges.empty() && Ranges.back().Last + 1 == code) {
            Ranges.back().Last = code;
        } else {
            Ranges.push_back({code, code});
        }
    }
    void AddRange(uint32_t first, uint32_t last) {
        if (first > kLastCodePoint || first > last) {
            return;
        }
        Ranges.push_back({first, std::min(last, kLastCodePoint)});
    }
    TCodeRanges Take() { return Normalized(std::move(Ranges)); }

private:
    TCodeRanges Ranges;
};

std::optional<TCodeRanges> Format0(const TByteView& t) {
    if (!t.Contains(6, 256)) {
        return std::nullopt;
    }
    TRangeCollector codes;
    for (uint32_t c = 0; c < 256; ++c) {
        if (t.U8(6 + c) != 0) {
            codes.Add(c);
        }
    }
    return codes.Take();
}

std::optional<TCodeRanges> Format4(const TByteView& t) {
    const uint32_t segCount = t.BE16(6) / 2;
    const uint64_t ends = 14;
    const uint64_t starts = ends + 2 * uint64_t(segCount) + 2;
    const uint64_t deltas = starts + 2 * uint64_t(segCount);
    const uint64_t rangeOffsets = deltas + 2 * uint64_t(segCount);
    if (!t.Contains(0, rangeOffsets + 2 * uint64_t(segCount))) {
        return std::nullopt;
    }
    TRangeCollector codes;
    // A code belongs to the first segment whose end reaches it, as a search
    // over sorted ends finds it; so each code is looked at once, however the
    // segments overlap.
    uint32_t covered = 0; // codes below this belong to earlier segments
    for (uint32_t i = 0; i < segCount; ++i) {
        const uint32_t end = t.BE16(ends + 2 * i);
        const uint32_t start = std::max<uint32_t>(t.BE16(starts + 2 * i), covered);
        const uint16_t delta = t.BE16(deltas + 2 * i);
        const uint16_t rangeOffset = t.BE16(rangeOffsets + 2 * i);
        covered = std::max(covered, end + 1);
        // U+FFFF is no character: the segment every table ends with maps it
        // only to end the search.
        for (uint32_t c = start; c <= end && c < 0xFFFF; ++c) {
            uint16_t glyph = 0;
            if (rangeOffset == 0) {
                glyph = static_cast<uint16_t>(c + delta);
            } else {
                const uint64_t at = rangeOffsets + 2 * uint64_t(i) + rangeOffset +
                                    2 * (c - uint64_t(t.BE16(starts + 2 * i)));
                const uint16_t raw = t.Contains(at, 2) ? t.BE16(at) : 0;
                glyph = raw == 0 ? 0 : static_cast<uint16_t>(raw + delta);
            }
            if (glyph != 0) {
                codes.Add(c);
            }
        }
    }
    return codes.Take();
}

std::optional<TCodeRanges> Format6(const TByteView& t) {
    const uint32_t first = t.BE16(6);
    const uint32_t count = t.BE16(8);
    if (!t.Contains(10, 2 * uint64_t(count))) {
        return std::nullopt;
    }
    TRangeCollector codes;
    for (uint32_t i = 0; i < count; ++i) {
        if (t.BE16(10 + 2 * uint64_t(i)) != 0) {
            codes.Add(first + i);
        }
    }
    return codes.Take();
}

// Formats 12 (a run of glyphs a group) and 13 (one glyph a group).
std::optional<TCodeRanges> Format12Or13(const TByteView& t, bool manyToOne) {
    const uint64_t groups = t.BE32(12);
    if (!t.Contains(16, groups * 12)) {
        return std::nullopt;
    }
    TRangeCollector codes;
    for (uint64_t g = 0; g < groups; ++g) {
        const uint64_t at = 16 + g * 12;
        const uint32_t start = t.BE32(at);
        const uint32_t end = t.BE32(at + 4);
        const uint32_t glyph = t.BE32(at + 8);
        if (start > kLastCodePoint || (glyph == 0 && (manyToOne || start == end))) {
            continue;
        }
        // Only the group's first code can reach glyph 0.
        codes.AddRange(glyph == 0 ? start + 1 : start, end);
    }
    return codes.Take();
}

std::vector<std::string> SortedUnion(const std::vector<std::string>& a,
                                     const std::vector<std::string>& b) {
    std::set<std::string> all(a.begin(), a.end());
    all.insert(b.begin(), b.end());
    return {all.begin(), all.end()};
}

std::vector<std::string> RecordTags(const TByteView& table, uint64_t listAt) {
    const uint64_t count = table.BE16(listAt);
    if (listAt == 0 || !table.Contains(listAt, 2 + count * 6)) {
        return {};
    }
    std::set<std::string> tags;
    for (uint64_t i = 0; i < count; ++i) {
        tags.insert(Tag(table, listAt + 2 + i * 6));
    }
    return {tags.begin(), tags.end()};
}

// The language systems of each script of a script list, as "script/LANG".
std::vector<std::string> LanguageTags(const TByteView& table, uint64_t listAt) {
    const uint64_t count = table.BE16(listAt);
    if (listAt == 0 || !table.Contains(listAt, 2 + count * 6)) {
        return {};
    }
    std::set<std::string> tags;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t record = listAt + 2 + i * 6;
        const uint64_t scriptAt = listAt + table.BE16(record + 4);
        const uint64_t languages = table.BE16(scriptAt + 2);
        if (!table.Contains(scriptAt, 4 + languages * 6)) {
            continue;
        }
        for (uint64_t k = 0; k < languages; ++k) {
            tags.insert(Tag(table, record) + "/" + Tag(table, scriptAt + 4 + k * 6));
        }
    }
    return {tags.begin(), tags.end()};
}

} // namespace

std::vector<TNameRecord> ParseNameRecords(const TByteView& table) {
    const uint64_t count = table.BE16(2);
    const uint64_t storage = table.BE16(4);
    if (!table.Contains(0, 6 + count * 12)) {
        return {};
    }
    std::vector<TNameRecord> records;
    size_t budget = kNameTextBudget;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t at = 6 + i * 12;
        TNameRecord record{
            table.BE16(at), table.BE16(at + 2), table.BE16(at + 4), table.BE16(at + 6), {}};
        const uint64_t length = table.BE16(at + 8);
        const uint64_t offset = storage + table.BE16(at + 10);
        // A record whose text lies outside the table keeps its place, textless.
        if (table.Contains(offset, length) && length <= budget) {
            budget -= length;
            record.Text = DecodeName(record.Platform, record.Encoding, table.Sub(offset, length));
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::string NameText(const std::vector<TNameRecord>& names, uint16_t nameId) {
    const TNameRecord* best = nullptr;
    int bestRank = 0;
    for (const TNameRecord& r : names) {
        if (r.NameId != nameId || r.Text.empty()) {
            continue;
        }
        const int rank = r.Platform == 3 && r.Language == 0x409 ? 4
                         : r.Platform == 3                      ? 3
                         : r.Platform == 0                      ? 2
                                                                : 1;
        if (rank > bestRank) {
            best = &r;
            bestRank = rank;
        }
    }
    return best ? best->Text : std::string();
}

std::optional<TOS2Info> ParseOS2(const TByteView& t) {
    const uint16_t version = t.BE16(0);
    // Apple's early version 0 tables stop after usLastCharIndex (68 bytes).
    const uint64_t needed = version == 0 ? 68 : version == 1 ? 86 : version <= 4 ? 96 : 100;
    if (!t.Contains(0, needed)) {
        return std::nullopt;
    }
    TOS2Info os2;
    os2.Version = version;
    os2.AvgCharWidth = t.BE16Signed(2);
    os2.WeightClass = t.BE16(4);
    os2.WidthClass = t.BE16(6);
    os2.FsType = t.BE16(8);
    os2.FamilyClass = t.BE16Signed(30);
    for (size_t i = 0; i < os2.Panose.size(); ++i) {
        os2.Panose[i] = t.U8(32 + i);
    }
    for (size_t i = 0; i < os2.UnicodeRange.size(); ++i) {
        os2.UnicodeRange[i] = t.BE32(42 + 4 * i);
    }
    os2.VendorId = Tag(t, 58);
    os2.Selection = t.BE16(62);
    os2.FirstCharIndex = t.BE16(64);
    os2.LastCharIndex = t.BE16(66);
    if (t.Contains(68, 10)) {
        os2.TypoAscender = t.BE16Signed(68);
        os2.TypoDescender = t.BE16Signed(70);
        os2.TypoLineGap = t.BE16Signed(72);
        os2.WinAscent = t.BE16(74);
        os2.WinDescent = t.BE16(76);
    }
    if (version >= 1) {
        os2.CodePageRange = {t.BE32(78), t.BE32(82)};
    }
    if (version >= 2) {
        os2.XHeight = t.BE16Signed(86);
        os2.CapHeight = t.BE16Signed(88);
        os2.DefaultChar = t.BE16(90);
        os2.BreakChar = t.BE16(92);
        os2.MaxContext = t.BE16(94);
    }
    if (version >= 5) {
        os2.LowerOpticalPointSize = t.BE16(96);
        os2.UpperOpticalPointSize = t.BE16(98);
    }
    return os2;
}

std::optional<TPostInfo> ParsePost(const TByteView& t) {
    if (!t.Contains(0, 32)) {
        return std::nullopt;
    }
    return TPostInfo{Fixed(t, 4), t.BE16Signed(8), t.BE16Signed(10), t.BE32(12) != 0};
}

std::optional<uint16_t> ParseGlyphCount(const TByteView& maxp) {
    return maxp.Contains(0, 6) ? std::optional<uint16_t>(maxp.BE16(4)) : std::nullopt;
}

std::optional<uint16_t> ParseUnitsPerEm(const TByteView& head) {
    return head.Contains(0, 54) ? std::optional<uint16_t>(head.BE16(18)) : std::nullopt;
}

uint64_t CodePointCount(const TCodeRanges& ranges) {
    uint64_t count = 0;
    for (const TCodeRange& r : ranges) {
        count += uint64_t(r.Last) - r.First + 1;
    }
    return count;
}

bool HasCodePoint(const TCodeRanges& ranges, uint32_t code) {
    return CoveredIn(ranges, code, code) == 1;
}

uint64_t CoveredIn(const TCodeRanges& ranges, uint32_t first, uint32_t last) {
    auto it = std::lower_bound(ranges.begin(), ranges.end(), first,
                               [](const TCodeRange& r, uint32_t code) { return r.Last < code; });
    uint64_t covered = 0;
    for (; it != ranges.end() && it->First <= last; ++it) {
        covered += uint64_t(std::min(it->Last, last)) - std::max(it->First, first) + 1;
    }
    return covered;
}

std::optional<TCodeRanges> ParseCmapSubtable(const TByteView& t) {
    switch (t.BE16(0)) {
    case 0:
        return Format0(t);
    case 4:
        return Format4(t);
    case 6:
        return Format6(t);
    case 12:
        return Format12Or13(t, false);
    case 13:
        return Format12Or13(t, true);
    default:
        return std::nullopt;
    }
}

std::optional<TCmapInfo> ParseCmap(const TByteView& t) {
    // Full repertoire first, then the BMP ones; Unicode 1.0 and the unknown
    // version of platform 0 come last.
    static constexpr std::pair<uint16_t, uint16_t> kPreference[] = {
        {3, 10}, {0, 6}, {0, 4}, {3, 1}, {0, 3}, {0, 2}, {0, 1}, {0, 0}};
    const uint64_t count = t.BE16(2);
    if (!t.Contains(0, 4 + count * 8)) {
        return std::nullopt;
    }
    for (const auto& [platform, encoding] : kPreference) {
        for (uint64_t i = 0; i < count; ++i) {
            const uint64_t at = 4 + i * 8;
            if (t.BE16(at) != platform || t.BE16(at + 2) != encoding) {
                continue;
            }
            const uint64_t offset = t.BE32(at + 4);
            if (!t.Contains(offset, 2)) {
                continue;
            }
            const TByteView subtable = t.Sub(offset, t.Size() - offset);
            if (std::optional<TCodeRanges> codes = ParseCmapSubtable(subtable)) {
                return TCmapInfo{platform, encoding, subtable.BE16(0), std::move(*codes)};
            }
        }
    }
    return std::nullopt;
}

std::optional<TVariations> ParseFvar(const TByteView& t, const std::vector<TNameRecord>& names) {
    const uint64_t axesAt = t.BE16(4);
    const uint64_t axisCount = t.BE16(8);
    const uint64_t axisSize = t.BE16(10);
    const uint64_t instanceCount = t.BE16(12);
    const uint64_t instanceSize = t.BE16(14);
    const uint64_t instancesAt = axesAt + axisCount * axisSize;
    if (!t.Contains(0, 16) || t.BE16(0) != 1 || axisSize < 20 || instanceSize < 4 + 4 * axisCount ||
        !t.Contains(axesAt, axisCount * axisSize) ||
        !t.Contains(instancesAt, instanceCount * instanceSize)) {
        return std::nullopt;
    }
    TVariations variations;
    for (uint64_t i = 0; i < axisCount; ++i) {
        const uint64_t at = axesAt + i * axisSize;
        TAxis axis;
        axis.Tag = Tag(t, at);
        axis.Min = Fixed(t, at + 4);
        axis.Default = Fixed(t, at + 8);
        axis.Max = Fixed(t, at + 12);
        axis.Hidden = (t.BE16(at + 16) & 1) != 0;
        axis.NameId = t.BE16(at + 18);
        axis.Name = NameText(names, axis.NameId);
        variations.Axes.push_back(std::move(axis));
    }
    for (uint64_t i = 0; i < instanceCount; ++i) {
        const uint64_t at = instancesAt + i * instanceSize;
        TNamedInstance instance;
        instance.NameId = t.BE16(at);
        instance.Name = NameText(names, instance.NameId);
        for (uint64_t a = 0; a < axisCount; ++a) {
            instance.Coordinates.push_back(Fixed(t, at + 4 + 4 * a));
        }
        variations.Instances.push_back(std::move(instance));
    }
    return variations;
}

std::optional<TStyleAttributes> ParseStat(const TByteView& t,
                                          const std::vector<TNameRecord>& names) {
    const uint64_t axisSize = t.BE16(4);
    const uint64_t axisCount = t.BE16(6);
    const uint64_t axesAt = t.BE32(8);
    const uint64_t valueCount = t.BE16(12);
    const uint64_t valuesAt = t.BE32(14);
    if (!t.Contains(0, 18) || t.BE16(0) != 1 ||
        (axisCount > 0 && (axisSize < 8 || !t.Contains(axesAt, axisCount * axisSize))) ||
        (valueCount > 0 && !t.Contains(valuesAt, valueCount * 2))) {
        return std::nullopt;
    }
    TStyleAttributes style;
    for (uint64_t i = 0; i < axisCount; ++i) {
        const uint64_t at = axesAt + i * axisSize;
        TAxis axis;
        axis.Tag = Tag(t, at);
        axis.NameId = t.BE16(at + 4);
        axis.Name = NameText(names, axis.NameId);
        style.Axes.push_back(std::move(axis));
    }
    for (uint64_t i = 0; i < valueCount; ++i) {
        const uint64_t at = valuesAt + t.BE16(valuesAt + 2 * i);
        const uint16_t format = t.BE16(at);
        // Formats 1 to 3 hold one axis and a value, format 4 several axes.
        if (format < 1 || format > 4 || !t.Contains(at, format == 4 ? 8 : 12)) {
            continue;
        }
        TStatValue value;
        value.NameId = t.BE16(at + 6);
        value.Name = NameText(names, value.NameId);
        if (format != 4) {
            const uint16_t axisIndex = t.BE16(at + 2);
            value.AxisTag = axisIndex < style.Axes.size() ? style.Axes[axisIndex].Tag : "";
            value.Value = Fixed(t, at + 8);
        }
        style.Values.push_back(std::move(value));
    }
    return style;
}

std::optional<TLayoutTags> ParseLayoutTags(const TByteView& t) {
    if (!t.Contains(0, 10) || t.BE16(0) != 1) {
        return std::nullopt;
    }
    return TLayoutTags{RecordTags(t, t.BE16(4)), RecordTags(t, t.BE16(6)),
                       LanguageTags(t, t.BE16(4))};
}

TFaceTables::TFaceTables(IByteSource& source, uint32_t faceIndex) : Source(source) {
    const std::vector<uint64_t> faces = CollectionDirectories(source);
    uint64_t directoryAt = 0;
    if (!faces.empty()) {
        if (faceIndex >= faces.size() || faces[faceIndex] == kNoDirectory) {
            return;
        }
        directoryAt = faces[faceIndex];
    } else if (faceIndex != 0) {
        return;
    }
    Found = true;
    const std::vector<uint8_t> offsetBytes = ReadUpTo(source, directoryAt, kOffsetTableSize);
    const uint16_t numTables = TByteView(offsetBytes).BE16(4);
    const std::vector<uint8_t> directoryBytes =
        ReadUpTo(source, directoryAt + kOffsetTableSize, size_t(numTables) * kTableRecordSize);
    const TByteView directory(directoryBytes);
    // As in the font's record, the last of two tables of one tag counts.
    const uint64_t fileSize = source.Size();
    for (uint64_t i = 0; directory.Contains(i * kTableRecordSize, kTableRecordSize); ++i) {
        const uint64_t at = i * kTableRecordSize;
        const TRecord record{directory.BE32(at + 8), directory.BE32(at + 12)};
        const bool inside = record.Offset <= fileSize && record.Length <= fileSize - record.Offset;
        if (inside && record.Length <= kMaxTableSize) {
            Records[Tag(directory, at)] = record;
        } else {
            Records.erase(Tag(directory, at));
        }
    }
}

bool TFaceTables::Has(const std::string& tag) const {
    return Records.count(tag) > 0;
}

std::vector<std::string> TFaceTables::Tags() const {
    std::vector<std::string> tags;
    for (const auto& entry : Records) {
        tags.push_back(entry.first);
    }
    return tags;
}

std::vector<uint8_t> TFaceTables::Read(const std::string& tag) const {
    const auto it = Records.find(tag);
    return it == Records.end() ? std::vector<uint8_t>()
                               : ReadUpTo(Source, it->second.Offset, it->second.Length);
}

TFontDetails ReadFontDetails(IByteSource& source, uint32_t faceIndex) {
    TFontDetails details;
    const TFaceTables tables(source, faceIndex);
    if (!tables.Found) {
        return details;
    }
    details.Tables = tables.Tags();
    const auto read = [&](const char* tag) { return tables.Read(tag); };
    const std::vector<uint8_t> name = read("name");
    details.Names = ParseNameRecords(TByteView(name));
    const std::vector<uint8_t> os2 = read("OS/2");
    details.OS2 = ParseOS2(TByteView(os2));
    const std::vector<uint8_t> post = read("post");
    details.Post = ParsePost(TByteView(post));
    const std::vector<uint8_t> maxp = read("maxp");
    details.GlyphCount = ParseGlyphCount(TByteView(maxp));
    const std::vector<uint8_t> head = read("head");
    details.UnitsPerEm = ParseUnitsPerEm(TByteView(head));
    const std::vector<uint8_t> cmap = read("cmap");
    details.Cmap = ParseCmap(TByteView(cmap));
    const std::vector<uint8_t> fvar = read("fvar");
    details.Variations = ParseFvar(TByteView(fvar), details.Names);
    const std::vector<uint8_t> stat = read("STAT");
    details.Style = ParseStat(TByteView(stat), details.Names);
    const std::vector<uint8_t> gsub = read("GSUB");
    details.Substitutions = ParseLayoutTags(TByteView(gsub));
    const std::vector<uint8_t> gpos = read("GPOS");
    details.Positioning = ParseLayoutTags(TByteView(gpos));
    return details;
}

std::vector<std::string> LayoutFeatures(const TFontDetails& details) {
    return SortedUnion(
        details.Substitutions ? details.Substitutions->Features : std::vector<std::string>(),
        details.Positioning ? details.Positioning->Features : std::vector<std::string>());
}

std::vector<std::string> LayoutLanguages(const TFontDetails& details) {
    return SortedUnion(
        details.Substitutions ? details.Substitutions->Languages : std::vector<std::string>(),
        details.Positioning ? details.Positioning->Languages : std::vector<std::string>());
}

std::vector<std::string> LayoutScripts(const TFontDetails& details) {
    return SortedUnion(
        details.Substitutions ? details.Substitutions->Scripts : std::vector<std::string>(),
        details.Positioning ? details.Positioning->Scripts : std::vector<std::string>());
}

} // namespace lw
