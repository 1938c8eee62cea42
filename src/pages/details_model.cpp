#include "pages/details_model.h"

#include "base/strings.h"
#include "fonts/font_facts.h"
#include "fonts/font_manager.h"
#include "fonts/font_text.h"
#include "fonts/opentype_font_file.h"
#include "fonts/type1_encoding.h"
#include "fonts/type1_font_file.h"
#include "platform/services.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace lw {

namespace {

constexpr int kYes = 30440;
constexpr int kNo = 30441;
constexpr int kFileLabel = 30423;
constexpr int kSizeLabel = 30424;
constexpr int kBytes = 30425;
constexpr int kFormatLabel = 30426;
constexpr int kNameRecord = 30439;
constexpr int kOtherLicense = 30445;
constexpr int kPublicDomain = 30446;
constexpr int kTrueTypeOutlines = 30456;
constexpr int kCffOutlines = 30457;
constexpr int kCff2Outlines = 30458;
constexpr int kType1Format = 30459;
constexpr int kCollectionFace = 30460;
constexpr int kBitmapOnly = 30461;
constexpr int kVariable = 30463;

// The names a reader looks for first, in the order they are shown, with
// the string of each one's label.
constexpr std::pair<uint16_t, int> kImportantNames[] = {
    {1, 30409}, {2, 30410}, {4, 30411},  {16, 30412}, {17, 30413}, {5, 30414}, {6, 30415},
    {8, 30416}, {9, 30417}, {11, 30418}, {12, 30419}, {0, 30420},  {7, 30421}, {10, 30422}};

constexpr uint32_t kLastCode = 0x10FFFF;

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string Joined(const std::vector<std::string>& items, const char* separator) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : separator) + item;
    }
    return text;
}

// The code of a text that is one UTF-8 character; nothing otherwise.
std::optional<uint32_t> SingleCharacter(const std::string& text) {
    if (text.empty() || ValidUtf8SequenceLength(text, 0) != text.size()) {
        return std::nullopt;
    }
    const auto lead = static_cast<unsigned char>(text[0]);
    if (text.size() == 1) {
        return lead;
    }
    uint32_t code = lead & (0x7F >> text.size());
    for (size_t i = 1; i < text.size(); ++i) {
        code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    }
    return code;
}

void Add(TFaceReport& report, int label, const std::string& value) {
    if (!value.empty()) {
        report.Properties.push_back({LoadStr(label), value});
    }
}

void AddFileRows(TFaceReport& report, const std::string& path) {
    Add(report, kFileLabel, path);
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (!error) {
        Add(report, kSizeLabel, FmtLoadStr(kBytes, static_cast<long long>(size)));
    }
}

std::string SfntFormat(const TFontDetails& details, const TFontFile& font) {
    const auto has = [&](const char* tag) {
        return std::binary_search(details.Tables.begin(), details.Tables.end(), std::string(tag));
    };
    std::string format = has("CFF2")   ? LoadStr(kCff2Outlines)
                         : has("CFF ") ? LoadStr(kCffOutlines)
                         : has("glyf") ? LoadStr(kTrueTypeOutlines)
                                       : LoadStr(kBitmapOnly);
    if (has("fvar")) {
        format += ", " + LoadStr(kVariable);
    }
    if (font.FaceCount > 1) {
        format += ", " + FmtLoadStr(kCollectionFace, static_cast<long long>(font.FaceIndex),
                                    static_cast<long long>(font.FaceCount));
    }
    return format;
}

std::string FeatureList(const std::vector<std::string>& tags) {
    std::vector<std::string> named;
    for (const std::string& tag : tags) {
        const std::string name = FeatureName(tag);
        named.push_back(name.empty() ? tag : tag + " (" + name + ")");
    }
    return Joined(named, ", ");
}

// "cyrl (SRB), latn (DEU, TRK)": each script with the languages it names.
std::string ScriptsWithLanguages(const TFontDetails& details) {
    const std::vector<std::string> languages = LayoutLanguages(details);
    std::vector<std::string> scripts;
    for (const std::string& script : LayoutScripts(details)) {
        std::vector<std::string> own;
        for (const std::string& tag : languages) {
            if (tag.starts_with(script + "/")) {
                // Tags are padded with blanks to four letters.
                std::string language = tag.substr(script.size() + 1);
                language.erase(language.find_last_not_of(' ') + 1);
                own.push_back(language);
            }
        }
        scripts.push_back(own.empty() ? script : script + " (" + Joined(own, ", ") + ")");
    }
    return Joined(scripts, ", ");
}

void AddSfntRows(TFaceReport& report, const TFontDetails& details) {
    if (details.UnitsPerEm) {
        Add(report, 30427, std::to_string(*details.UnitsPerEm));
    }
    if (details.GlyphCount) {
        Add(report, 30428, std::to_string(*details.GlyphCount));
    }
    if (const auto& os2 = details.OS2) {
        Add(report, 30429, WeightClassText(os2->WeightClass));
        Add(report, 30430, WidthClassText(os2->WidthClass));
        std::vector<std::string> panose;
        for (const uint8_t digit : os2->Panose) {
            panose.push_back(std::to_string(digit));
        }
        Add(report, 30431, Joined(panose, " "));
        Add(report, 30432, SelectionFlagsText(os2->Selection));
        Add(report, 30435, os2->VendorId);
        Add(report, 30436, EmbeddingRights(os2->FsType));
    }
    if (const auto& post = details.Post) {
        Add(report, 30433, Number(post->ItalicAngle));
        Add(report, 30434, LoadStr(post->IsFixedPitch ? kYes : kNo));
    }
    Add(report, 30437, FeatureList(LayoutFeatures(details)));
    Add(report, 30438, ScriptsWithLanguages(details));
}

void AddNameRecords(TFaceReport& report, const std::vector<TNameRecord>& names) {
    for (const TNameRecord& r : names) {
        if (!r.Text.empty()) {
            report.Properties.push_back(
                {FmtLoadStr(kNameRecord, static_cast<long long>(r.NameId),
                            static_cast<long long>(r.Platform), static_cast<long long>(r.Encoding),
                            "0x" + Hex(r.Language, 4)),
                 r.Text});
        }
    }
}

void ReadSfnt(TFaceReport& report, const TFontFile& font, const std::string& path) {
    std::unique_ptr<IByteSource> source = FileShell().OpenFontFile(path);
    const TFontDetails details = ReadFontDetails(*source, font.FaceIndex);
    for (const auto& [id, label] : kImportantNames) {
        Add(report, label, NameText(details.Names, id));
    }
    AddFileRows(report, path);
    Add(report, kFormatLabel, SfntFormat(details, font));
    AddSfntRows(report, details);
    AddNameRecords(report, details.Names);
    report.LicenseText = NameText(details.Names, 13);
    report.LicenseUrl = NameText(details.Names, 14);
    if (details.Cmap) {
        report.CodePoints = details.Cmap->CodePoints;
    }
    report.Variations = details.Variations;
}

void ReadType1(TFaceReport& report, const TType1FontFile& font) {
    const std::pair<int, const std::string*> names[] = {
        {30409, &font.FamilyName}, {30410, &font.StyleName},      {30411, &font.FullName},
        {30414, &font.Version},    {30415, &font.PostScriptName}, {30420, &font.Copyright},
        {30421, &font.Trademark}};
    for (const auto& [label, value] : names) {
        Add(report, label, *value);
    }
    AddFileRows(report, font.PfbFileName);
    if (!font.MetricsFileName.empty()) {
        AddFileRows(report, font.MetricsFileName);
    }
    Add(report, kFormatLabel, LoadStr(kType1Format));
    Add(report, 30433, std::to_string(font.ItalicAngle));
    Add(report, 30434, LoadStr(font.IsFixedPitch ? kYes : kNo));
    report.LicenseText = font.Copyright;
    report.DrawFile = font.PfbFileName;
    std::unique_ptr<IByteSource> outline = FileShell().OpenFontFile(font.PfbFileName);
    report.CodePoints = Type1CodePoints(*outline);
}

} // namespace

TFaceReport ReadFaceReport(const TDetailsFace& face) {
    TFaceReport report;
    report.DrawFile = face.File;
    const uint32_t collectionFace = face.Index & 0xFFFF;
    std::vector<std::unique_ptr<TFontFile>> fonts = TFontManager::ReadFontFaces(face.File);
    const auto font =
        std::find_if(fonts.begin(), fonts.end(), [&](const std::unique_ptr<TFontFile>& f) {
            return f->FaceIndex == collectionFace;
        });
    if (font == fonts.end() || (*font)->NotAFont) {
        AddFileRows(report, face.File);
    } else if (const auto* type1 = dynamic_cast<const TType1FontFile*>(font->get())) {
        ReadType1(report, *type1);
    } else {
        ReadSfnt(report, **font, face.File);
    }
    report.LicenseId = RecognisedLicense(report.LicenseText, report.LicenseUrl);
    report.Scripts = ScriptsCovered(report.CodePoints);
    return report;
}

std::vector<TDetailsFace> FacesOfFontFile(const std::string& path) {
    std::vector<TDetailsFace> faces;
    for (const std::unique_ptr<TFontFile>& font : TFontManager::ReadFontFaces(path)) {
        const std::string name = font->FullName.empty() ? path : font->FullName;
        faces.push_back({name, path, font->FaceIndex});
    }
    if (faces.empty()) {
        faces.push_back({path, path, 0});
    }
    return faces;
}

std::string WeightClassText(uint16_t weightClass) {
    static const char* const kNames[] = {"Thin",    "Extra-light", "Light",
                                         "Regular", "Medium",      "Semi-bold",
                                         "Bold",    "Extra-bold",  "Black"};
    const int step = (weightClass + 50) / 100;
    const std::string text = std::to_string(weightClass);
    return step >= 1 && step <= 9 ? text + " (" + kNames[step - 1] + ")" : text;
}

std::string WidthClassText(uint16_t widthClass) {
    static const char* const kNames[] = {"Ultra-condensed", "Extra-condensed", "Condensed",
                                         "Semi-condensed",  "Medium",          "Semi-expanded",
                                         "Expanded",        "Extra-expanded",  "Ultra-expanded"};
    const std::string text = std::to_string(widthClass);
    return widthClass >= 1 && widthClass <= 9 ? text + " (" + kNames[widthClass - 1] + ")" : text;
}

std::string SelectionFlagsText(uint16_t fsSelection) {
    static const char* const kBits[] = {"ITALIC",    "UNDERSCORE", "NEGATIVE", "OUTLINED",
                                        "STRIKEOUT", "BOLD",       "REGULAR",  "USE_TYPO_METRICS",
                                        "WWS",       "OBLIQUE"};
    std::vector<std::string> set;
    for (size_t bit = 0; bit < std::size(kBits); ++bit) {
        if (fsSelection & (1u << bit)) {
            set.push_back(kBits[bit]);
        }
    }
    const std::string hex = "0x" + Hex(fsSelection, 4);
    return set.empty() ? hex : hex + " (" + Joined(set, ", ") + ")";
}

std::string LicenseName(const std::string& licenseId) {
    if (const TKnownLicense* known = KnownLicense(licenseId)) {
        return known->Name;
    }
    return LoadStr(licenseId == "public-domain" ? kPublicDomain : kOtherLicense);
}

std::optional<uint32_t> ParseCodePointQuery(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t");
    const size_t end = text.find_last_not_of(" \t");
    if (begin == std::string::npos) {
        return std::nullopt;
    }
    const std::string query = text.substr(begin, end - begin + 1);
    if (const std::optional<uint32_t> single = SingleCharacter(query)) {
        return single;
    }
    std::string digits = query;
    if (query.size() > 2 && (query[0] == 'U' || query[0] == 'u' || query[0] == '0') &&
        (query[1] == '+' || query[1] == 'x' || query[1] == 'X')) {
        digits = query.substr(2);
    }
    if (digits.empty() || digits.size() > 6 ||
        digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return std::nullopt;
    }
    const uint32_t code = static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
    return code <= kLastCode ? std::optional<uint32_t>(code) : std::nullopt;
}

std::string CodePointText(uint32_t code) {
    return "U+" + Hex(code, 4);
}

const std::vector<int>& DefaultWaterfallSizes() {
    static const std::vector<int> sizes = {8,  9,  10, 11, 12, 14, 16,  18, 24,
                                           30, 36, 48, 60, 72, 96, 120, 144};
    return sizes;
}

std::vector<int> ParseWaterfallSizes(const std::string& text) {
    std::vector<int> sizes;
    size_t at = 0;
    while (at < text.size()) {
        const size_t start = text.find_first_of("0123456789", at);
        if (start == std::string::npos) {
            break;
        }
        size_t stop = text.find_first_not_of("0123456789", start);
        stop = stop == std::string::npos ? text.size() : stop;
        // A number glued to other letters ("12pt", "x9") is still a size;
        // one too long for a size is not.
        if (stop - start <= 3) {
            const int size = std::stoi(text.substr(start, stop - start));
            if (size >= 1) {
                sizes.push_back(size);
            }
        }
        at = stop;
    }
    return sizes;
}

std::string WaterfallSizesText(const std::vector<int>& sizes) {
    std::string text;
    for (const int size : sizes) {
        text += (text.empty() ? "" : ", ") + std::to_string(size);
    }
    return text;
}

namespace {

// The block a code lies in, or the stretch between the two blocks around it.
struct TBlockSpan {
    std::string Name;
    uint32_t First = 0;
    uint32_t Last = 0;
    bool Listed = false;
};

TBlockSpan BlockSpanOf(uint32_t code) {
    const std::vector<TUnicodeBlock>& blocks = UnicodeBlocks();
    const auto next =
        std::upper_bound(blocks.begin(), blocks.end(), code,
                         [](uint32_t c, const TUnicodeBlock& b) { return c < b.First; });
    if (next != blocks.begin() && code <= std::prev(next)->Last) {
        const TUnicodeBlock& block = *std::prev(next);
        return {block.Name, block.First, block.Last, true};
    }
    const uint32_t first = next == blocks.begin() ? 0 : std::prev(next)->Last + 1;
    const uint32_t last = next == blocks.end() ? kLastCode : next->First - 1;
    return {CodePointText(first) + "\u2013" + CodePointText(last), first, last, false};
}

} // namespace

TCharMapLayout::TCharMapLayout(TCodeRanges codes, int columns)
    : Codes(std::move(codes)), ColumnCount(std::max(1, columns)) {
    uint32_t groupLast = 0;
    for (const TCodeRange& range : Codes) {
        RangeStarts.push_back(Count);
        for (uint64_t code = range.First; code <= range.Last;) {
            const TBlockSpan span = BlockSpanOf(static_cast<uint32_t>(code));
            const uint64_t last = std::min<uint64_t>(range.Last, span.Last);
            if (GroupList.empty() || code > groupLast) {
                GroupList.push_back(
                    {span.Name, 0, span.Listed ? uint64_t(span.Last) - span.First + 1 : 0, Count});
                groupLast = span.Last;
            }
            GroupList.back().Covered += last - code + 1;
            Count += last - code + 1;
            code = last + 1;
        }
    }
    for (const TCharGroup& group : GroupList) {
        GroupRows.push_back(Rows);
        Rows += 1 + (group.Covered + ColumnCount - 1) / ColumnCount;
    }
}

TCharMapLayout::TRow TCharMapLayout::RowAt(uint64_t row) const {
    TRow result;
    if (row >= Rows) {
        return result;
    }
    const auto at = std::upper_bound(GroupRows.begin(), GroupRows.end(), row) - 1;
    result.Group = static_cast<size_t>(at - GroupRows.begin());
    const uint64_t within = row - *at;
    if (within == 0) {
        result.Heading = true;
        return result;
    }
    const TCharGroup& group = GroupList[result.Group];
    const uint64_t offset = (within - 1) * ColumnCount;
    result.FirstIndex = group.FirstIndex + offset;
    result.Cells = static_cast<int>(std::min<uint64_t>(ColumnCount, group.Covered - offset));
    return result;
}

size_t TCharMapLayout::GroupOfIndex(uint64_t index) const {
    const auto at =
        std::upper_bound(GroupList.begin(), GroupList.end(), index,
                         [](uint64_t i, const TCharGroup& g) { return i < g.FirstIndex; });
    return at == GroupList.begin() ? 0 : static_cast<size_t>(at - GroupList.begin() - 1);
}

uint64_t TCharMapLayout::RowOfIndex(uint64_t index) const {
    const size_t group = GroupOfIndex(index);
    if (group >= GroupRows.size()) {
        return 0;
    }
    return GroupRows[group] + 1 + (index - GroupList[group].FirstIndex) / ColumnCount;
}

uint32_t TCharMapLayout::CodeAt(uint64_t index) const {
    const auto at = std::upper_bound(RangeStarts.begin(), RangeStarts.end(), index) - 1;
    const TCodeRange& range = Codes[static_cast<size_t>(at - RangeStarts.begin())];
    return static_cast<uint32_t>(range.First + (index - *at));
}

std::optional<uint64_t> TCharMapLayout::IndexOf(uint32_t code) const {
    const auto at = std::lower_bound(Codes.begin(), Codes.end(), code,
                                     [](const TCodeRange& r, uint32_t c) { return r.Last < c; });
    if (at == Codes.end() || at->First > code) {
        return std::nullopt;
    }
    return RangeStarts[static_cast<size_t>(at - Codes.begin())] + (code - at->First);
}

} // namespace lw
