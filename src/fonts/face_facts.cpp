#include "fonts/face_facts.h"

#include "fonts/font_facts.h"
#include "fonts/type1_font_file.h"
#include "platform/services.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace lw {

namespace {

constexpr uint16_t kFsItalic = 1u << 0;
constexpr uint16_t kFsOblique = 1u << 9;

// The Microsoft symbol subtable (3, 0): icon and dingbat fonts map their
// glyphs there, at U+F020 on, and have no Unicode subtable at all.
std::optional<TCodeRanges> SymbolCodes(const TByteView& cmap) {
    const uint64_t count = cmap.BE16(2);
    for (uint64_t i = 0; cmap.Contains(4 + i * 8, 8) && i < count; ++i) {
        const uint64_t at = 4 + i * 8;
        const uint64_t offset = cmap.BE32(at + 4);
        if (cmap.BE16(at) == 3 && cmap.BE16(at + 2) == 0 && cmap.Contains(offset, 2)) {
            return ParseCmapSubtable(cmap.Sub(offset, cmap.Size() - offset));
        }
    }
    return std::nullopt;
}

std::optional<TCodeRanges> CodePointsOf(const TFaceTables& tables) {
    const std::vector<uint8_t> cmap = tables.Read("cmap");
    if (std::optional<TCmapInfo> info = ParseCmap(TByteView(cmap))) {
        return std::move(info->CodePoints);
    }
    return SymbolCodes(TByteView(cmap));
}

std::string TrimmedVendor(const std::string& id) {
    std::string vendor;
    for (const char c : id) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            vendor += c;
        }
    }
    return vendor;
}

uint16_t Type1Weight(std::string weight) {
    std::transform(weight.begin(), weight.end(), weight.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::pair<const char*, uint16_t> words[] = {
        {"thin", 100},      {"extralight", 200}, {"ultralight", 200}, {"light", 300},
        {"medium", 500},    {"semibold", 600},   {"demibold", 600},   {"demi", 600},
        {"extrabold", 800}, {"ultrabold", 800},  {"heavy", 900},      {"black", 900},
        {"bold", 700}};
    for (const auto& [word, value] : words) {
        if (weight.find(word) != std::string::npos) {
            return value;
        }
    }
    return 400;
}

// Read from the files alone: the reader's path constructor would also ask
// the catalogue whether the font is installed, which a worker thread must
// not do.
TFaceFacts Type1FaceFacts(const std::string& path) {
    TFaceFacts facts;
    try {
        const bool isMetrics = IsType1MetricsName(path);
        const std::string outlineFile = isMetrics ? Type1Companion(path) : path;
        const std::unique_ptr<IByteSource> outline = FileShell().OpenFontFile(outlineFile);
        std::unique_ptr<IByteSource> metrics;
        TType1Metrics kind = TType1Metrics::None;
        if (isMetrics) {
            metrics = FileShell().OpenFontFile(path);
            std::string ext = path.substr(path.size() - 4);
            std::transform(ext.begin(), ext.end(), ext.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            kind = ext == ".afm" ? TType1Metrics::Afm : TType1Metrics::Pfm;
        }
        const TType1FontFile font(*outline, metrics.get(), kind);
        if (font.NotAFont) {
            return facts;
        }
        facts.Readable = true;
        facts.Format = "type1";
        facts.Monospace = font.IsFixedPitch;
        facts.Weight = Type1Weight(font.PSWeight);
        facts.Italic = font.ItalicAngle != 0;
        facts.License =
            font.Copyright.empty() ? std::string() : RecognisedLicense(font.Copyright, "");
        if (facts.License == "other") {
            facts.License.clear();
        }
    } catch (const EFontFileError&) {
    }
    return facts;
}

} // namespace

bool MonospaceAdvances(const TByteView& hhea, const TByteView& hmtx) {
    const uint64_t metrics = hhea.BE16(34);
    if (!hhea.Contains(0, 36) || metrics == 0 || !hmtx.Contains(0, metrics * 4)) {
        return false;
    }
    uint16_t width = 0;
    for (uint64_t i = 0; i < metrics; ++i) {
        const uint16_t advance = hmtx.BE16(i * 4);
        // Marks and empty glyphs advance by nothing in fonts of any spacing.
        if (advance == 0) {
            continue;
        }
        if (width != 0 && advance != width) {
            return false;
        }
        width = advance;
    }
    return width != 0;
}

TDesignClass DesignOf(const TOS2Info& os2) {
    switch (os2.Panose[0]) {
    case 2: {
        // Latin text: the serif style tells serif from sans.
        const uint8_t serif = os2.Panose[1];
        if (serif >= 11 && serif <= 13) {
            return TDesignClass::SansSerif;
        }
        if (serif >= 2 && serif <= 10) {
            return TDesignClass::Serif;
        }
        if (serif == 14 || serif == 15) {
            return TDesignClass::SansSerif;
        }
        break;
    }
    case 3:
        return TDesignClass::Script;
    case 4:
        return TDesignClass::Decorative;
    case 5:
        return TDesignClass::Symbol;
    default:
        break;
    }
    switch (static_cast<uint16_t>(os2.FamilyClass) >> 8) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 7:
        return TDesignClass::Serif;
    case 8:
        return TDesignClass::SansSerif;
    case 9:
        return TDesignClass::Decorative;
    case 10:
        return TDesignClass::Script;
    case 12:
        return TDesignClass::Symbol;
    default:
        return TDesignClass::Unknown;
    }
}

TFaceFacts SfntFaceFacts(IByteSource& source, uint32_t faceIndex) {
    TFaceFacts facts;
    const TFaceTables tables(source, faceIndex);
    if (!tables.Found || !tables.Has("cmap")) {
        return facts;
    }
    facts.Readable = true;
    facts.Format = tables.Has("CFF ") || tables.Has("CFF2") ? "cff" : "truetype";
    facts.Variable = tables.Has("fvar");
    if (const std::optional<TCodeRanges> codes = CodePointsOf(tables)) {
        facts.Scripts = ScriptCodesCovered(*codes);
    }
    const std::vector<uint8_t> hhea = tables.Read("hhea");
    const std::vector<uint8_t> hmtx = tables.Read("hmtx");
    facts.Monospace = MonospaceAdvances(TByteView(hhea), TByteView(hmtx));
    const std::vector<uint8_t> os2Bytes = tables.Read("OS/2");
    const std::optional<TOS2Info> os2 = ParseOS2(TByteView(os2Bytes));
    const std::vector<uint8_t> postBytes = tables.Read("post");
    const std::optional<TPostInfo> post = ParsePost(TByteView(postBytes));
    if (os2) {
        facts.Weight = os2->WeightClass;
        facts.Width = os2->WidthClass;
        facts.Italic = (os2->Selection & kFsItalic) != 0;
        facts.Oblique = (os2->Selection & kFsOblique) != 0;
        facts.Design = DesignOf(*os2);
        facts.Vendor = TrimmedVendor(os2->VendorId);
    } else if (post) {
        facts.Italic = post->ItalicAngle != 0;
    }
    const std::vector<uint8_t> nameBytes = tables.Read("name");
    const std::vector<TNameRecord> names = ParseNameRecords(TByteView(nameBytes));
    const std::string description = NameText(names, 13);
    const std::string url = NameText(names, 14);
    if (!description.empty() || !url.empty()) {
        facts.License = RecognisedLicense(description, url);
    }
    return facts;
}

TFaceFacts ReadFaceFacts(const std::string& path, uint32_t faceIndex) {
    if (IsType1OutlineName(path) || IsType1MetricsName(path)) {
        return faceIndex == 0 ? Type1FaceFacts(path) : TFaceFacts();
    }
    try {
        const std::unique_ptr<IByteSource> source = FileShell().OpenFontFile(path);
        return SfntFaceFacts(*source, faceIndex);
    } catch (const EFontFileError&) {
        return TFaceFacts();
    }
}

std::optional<TCodeRanges> SfntCodePoints(IByteSource& source, uint32_t faceIndex) {
    const TFaceTables tables(source, faceIndex);
    return tables.Found ? CodePointsOf(tables) : std::nullopt;
}

std::optional<TCodeRanges> FaceCodePoints(const std::string& path, uint32_t faceIndex) {
    if (IsType1OutlineName(path) || IsType1MetricsName(path)) {
        return std::nullopt;
    }
    try {
        const std::unique_ptr<IByteSource> source = FileShell().OpenFontFile(path);
        return SfntCodePoints(*source, faceIndex);
    } catch (const EFontFileError&) {
        return std::nullopt;
    }
}

} // namespace lw
