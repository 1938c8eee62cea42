#include "fonts/font_facts.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>

namespace lw {

namespace {

struct TScriptCore {
    const char* Name;
    const char* Code; // ISO 15924
    std::vector<TCodeRange> Letters;
};

// A script counts as covered when every one of a few of its everyday
// letters is mapped: enough to set a word, not a claim of full support.
const std::vector<TScriptCore>& ScriptCores() {
    static const std::vector<TScriptCore> cores = {
        {"Latin", "Latn", {{'A', 'Z'}, {'a', 'z'}}},
        {"Greek", "Grek", {{0x0391, 0x03A1}, {0x03A3, 0x03A9}, {0x03B1, 0x03C9}}},
        {"Cyrillic", "Cyrl", {{0x0410, 0x044F}}},
        {"Armenian", "Armn", {{0x0561, 0x0586}}},
        {"Hebrew", "Hebr", {{0x05D0, 0x05EA}}},
        {"Arabic", "Arab", {{0x0627, 0x063A}, {0x0641, 0x064A}}},
        {"Syriac", "Syrc", {{0x0710, 0x072C}}},
        {"Thaana", "Thaa", {{0x0780, 0x07A5}}},
        {"Devanagari", "Deva", {{0x0905, 0x0914}, {0x0915, 0x0939}}},
        {"Bengali", "Beng", {{0x0995, 0x09A8}}},
        {"Gurmukhi", "Guru", {{0x0A15, 0x0A28}}},
        {"Gujarati", "Gujr", {{0x0A95, 0x0AA8}}},
        {"Oriya", "Orya", {{0x0B15, 0x0B28}}},
        {"Tamil", "Taml", {{0x0B95, 0x0B95}, {0x0B9A, 0x0B9A}, {0x0BA4, 0x0BA4}, {0x0BAE, 0x0BB5}}},
        {"Telugu", "Telu", {{0x0C15, 0x0C28}}},
        {"Kannada", "Knda", {{0x0C95, 0x0CA8}}},
        {"Malayalam", "Mlym", {{0x0D15, 0x0D28}}},
        {"Sinhala", "Sinh", {{0x0D9A, 0x0DB1}}},
        {"Thai", "Thai", {{0x0E01, 0x0E2E}}},
        {"Lao", "Laoo", {{0x0E94, 0x0E97}, {0x0E99, 0x0E9F}, {0x0EA1, 0x0EA3}}},
        {"Tibetan", "Tibt", {{0x0F40, 0x0F47}}},
        {"Myanmar", "Mymr", {{0x1000, 0x1020}}},
        {"Georgian", "Geor", {{0x10D0, 0x10F0}}},
        {"Ethiopic", "Ethi", {{0x1200, 0x1230}}},
        {"Cherokee", "Cher", {{0x13A0, 0x13F4}}},
        {"Canadian Syllabics", "Cans", {{0x1401, 0x1430}}},
        {"Khmer", "Khmr", {{0x1780, 0x17A2}}},
        {"Mongolian", "Mong", {{0x1820, 0x1842}}},
        {"Tifinagh", "Tfng", {{0x2D30, 0x2D65}}},
        {"Hiragana", "Hira", {{0x3042, 0x3093}}},
        {"Katakana", "Kana", {{0x30A2, 0x30F3}}},
        // A handful of the commonest syllables and ideographs.
        {"Hangul",
         "Hang",
         {{0xAC00, 0xAC00}, {0xB098, 0xB098}, {0xB2E4, 0xB2E4}, {0xD55C, 0xD55C}}},
        {"Han",
         "Hani",
         {{0x4E00, 0x4E00},
          {0x4EBA, 0x4EBA},
          {0x5927, 0x5927},
          {0x4E2D, 0x4E2D},
          {0x65E5, 0x65E5},
          {0x6708, 0x6708},
          {0x6C34, 0x6C34},
          {0x5B57, 0x5B57}}},
    };
    return cores;
}

bool CoversCore(const TCodeRanges& codePoints, const TScriptCore& core) {
    return std::all_of(core.Letters.begin(), core.Letters.end(), [&](TCodeRange r) {
        return CoveredIn(codePoints, r.First, r.Last) == uint64_t(r.Last) - r.First + 1;
    });
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool HasAny(const std::string& text, std::initializer_list<const char*> needles) {
    return std::any_of(needles.begin(), needles.end(),
                       [&](const char* needle) { return text.find(needle) != std::string::npos; });
}

} // namespace

std::string EmbeddingRights(uint16_t fsType) {
    // Several level bits should not be set together; when they are, the
    // least restrictive one holds.
    std::string text = (fsType & 0x0F) == 0 ? "installable"
                       : (fsType & 0x08)    ? "editable"
                       : (fsType & 0x04)    ? "preview & print"
                       : (fsType & 0x02)    ? "restricted licence"
                                            : "installable";
    if (fsType & 0x0100) {
        text += "; no subsetting";
    }
    if (fsType & 0x0200) {
        text += "; bitmap only";
    }
    return text;
}

const std::vector<TUnicodeBlock>& UnicodeBlocks() {
    static const std::vector<TUnicodeBlock> blocks = {
        {"Basic Latin", 0x0000, 0x007F},
        {"Latin-1 Supplement", 0x0080, 0x00FF},
        {"Latin Extended-A", 0x0100, 0x017F},
        {"Latin Extended-B", 0x0180, 0x024F},
        {"IPA Extensions", 0x0250, 0x02AF},
        {"Spacing Modifier Letters", 0x02B0, 0x02FF},
        {"Combining Diacritical Marks", 0x0300, 0x036F},
        {"Greek and Coptic", 0x0370, 0x03FF},
        {"Cyrillic", 0x0400, 0x04FF},
        {"Cyrillic Supplement", 0x0500, 0x052F},
        {"Armenian", 0x0530, 0x058F},
        {"Hebrew", 0x0590, 0x05FF},
        {"Arabic", 0x0600, 0x06FF},
        {"Syriac", 0x0700, 0x074F},
        {"Thaana", 0x0780, 0x07BF},
        {"Devanagari", 0x0900, 0x097F},
        {"Bengali", 0x0980, 0x09FF},
        {"Gurmukhi", 0x0A00, 0x0A7F},
        {"Gujarati", 0x0A80, 0x0AFF},
        {"Tamil", 0x0B80, 0x0BFF},
        {"Telugu", 0x0C00, 0x0C7F},
        {"Kannada", 0x0C80, 0x0CFF},
        {"Malayalam", 0x0D00, 0x0D7F},
        {"Thai", 0x0E00, 0x0E7F},
        {"Lao", 0x0E80, 0x0EFF},
        {"Tibetan", 0x0F00, 0x0FFF},
        {"Myanmar", 0x1000, 0x109F},
        {"Georgian", 0x10A0, 0x10FF},
        {"Hangul Jamo", 0x1100, 0x11FF},
        {"Ethiopic", 0x1200, 0x137F},
        {"Khmer", 0x1780, 0x17FF},
        {"Latin Extended Additional", 0x1E00, 0x1EFF},
        {"Greek Extended", 0x1F00, 0x1FFF},
        {"General Punctuation", 0x2000, 0x206F},
        {"Superscripts and Subscripts", 0x2070, 0x209F},
        {"Currency Symbols", 0x20A0, 0x20CF},
        {"Letterlike Symbols", 0x2100, 0x214F},
        {"Number Forms", 0x2150, 0x218F},
        {"Arrows", 0x2190, 0x21FF},
        {"Mathematical Operators", 0x2200, 0x22FF},
        {"Miscellaneous Technical", 0x2300, 0x23FF},
        {"Box Drawing", 0x2500, 0x257F},
        {"Block Elements", 0x2580, 0x259F},
        {"Geometric Shapes", 0x25A0, 0x25FF},
        {"Miscellaneous Symbols", 0x2600, 0x26FF},
        {"Dingbats", 0x2700, 0x27BF},
        {"Braille Patterns", 0x2800, 0x28FF},
        {"CJK Symbols and Punctuation", 0x3000, 0x303F},
        {"Hiragana", 0x3040, 0x309F},
        {"Katakana", 0x30A0, 0x30FF},
        {"CJK Unified Ideographs", 0x4E00, 0x9FFF},
        {"Hangul Syllables", 0xAC00, 0xD7AF},
        {"Private Use Area", 0xE000, 0xF8FF},
        {"Alphabetic Presentation Forms", 0xFB00, 0xFB4F},
        {"Arabic Presentation Forms-A", 0xFB50, 0xFDFF},
        {"Arabic Presentation Forms-B", 0xFE70, 0xFEFF},
        {"Halfwidth and Fullwidth Forms", 0xFF00, 0xFFEF},
        {"Specials", 0xFFF0, 0xFFFF},
        {"Mathematical Alphanumeric Symbols", 0x1D400, 0x1D7FF},
        {"Emoticons", 0x1F600, 0x1F64F},
    };
    return blocks;
}

std::vector<TBlockCoverage> BlockCoverage(const TCodeRanges& codePoints) {
    std::vector<TBlockCoverage> coverage;
    for (const TUnicodeBlock& block : UnicodeBlocks()) {
        const uint64_t covered = CoveredIn(codePoints, block.First, block.Last);
        if (covered > 0) {
            coverage.push_back({block.Name, covered, uint64_t(block.Last) - block.First + 1});
        }
    }
    return coverage;
}

std::vector<std::string> ScriptsCovered(const TCodeRanges& codePoints) {
    std::vector<std::string> scripts;
    for (const TScriptCore& core : ScriptCores()) {
        if (CoversCore(codePoints, core)) {
            scripts.push_back(core.Name);
        }
    }
    return scripts;
}

std::vector<std::string> ScriptCodesCovered(const TCodeRanges& codePoints) {
    std::vector<std::string> codes;
    for (const TScriptCore& core : ScriptCores()) {
        if (CoversCore(codePoints, core)) {
            codes.push_back(core.Code);
        }
    }
    return codes;
}

std::string ScriptName(const std::string& code) {
    for (const TScriptCore& core : ScriptCores()) {
        if (code == core.Code) {
            return core.Name;
        }
    }
    return std::string();
}

std::u32string ScriptCoreLetters(const std::string& code) {
    std::u32string letters;
    for (const TScriptCore& core : ScriptCores()) {
        if (code != core.Code) {
            continue;
        }
        for (const TCodeRange& range : core.Letters) {
            for (uint32_t c = range.First; c <= range.Last; ++c) {
                letters += static_cast<char32_t>(c);
            }
        }
    }
    return letters;
}

std::vector<std::string> KnownScriptCodes() {
    std::vector<std::string> codes;
    for (const TScriptCore& core : ScriptCores()) {
        codes.push_back(core.Code);
    }
    return codes;
}

const TKnownLicense* KnownLicense(const std::string& id) {
    static constexpr std::array<TKnownLicense, 5> kLicenses = {{
        {"OFL-1.1", "ofl", "SIL Open Font License 1.1"},
        {"Apache-2.0", "apache", "Apache License 2.0"},
        {"UFL-1.0", "ufl", "Ubuntu Font Licence 1.0"},
        {"GPL-with-font-exception", "gpl-font-exception", "GNU GPL with font exception"},
        {"Bitstream-Vera", "bitstream-vera", "Bitstream Vera"},
    }};
    for (const TKnownLicense& license : kLicenses) {
        if (id == license.Id) {
            return &license;
        }
    }
    return nullptr;
}

std::string RecognisedLicense(const std::string& description, const std::string& url) {
    const std::string text = Lower(description + "\n" + url);
    // The Vera terms come first: DejaVu's text names them and the public
    // domain both, and Vera's are the ones that bind.
    if (HasAny(text, {"bitstream vera", "bitstream, inc."})) {
        return "Bitstream-Vera";
    }
    if (HasAny(text, {"open font license", "scripts.sil.org/ofl", "openfontlicense.org"}) &&
        !HasAny(text, {"version 1.0", "ofl 1.0", "ofl-1.0"})) {
        return "OFL-1.1";
    }
    if (HasAny(text, {"apache license, version 2.0", "apache.org/licenses/license-2.0",
                      "apache-2.0", "apache 2.0"})) {
        return "Apache-2.0";
    }
    if (HasAny(text, {"ubuntu font licence", "ubuntu font license", "font.ubuntu.com/ufl"})) {
        return "UFL-1.0";
    }
    if (HasAny(text, {"general public license", "gnu.org/licenses/gpl"}) &&
        HasAny(text, {"font exception", "special exception", "embedded in a document"})) {
        return "GPL-with-font-exception";
    }
    if (HasAny(text, {"public domain", "creativecommons.org/publicdomain"})) {
        return "public-domain";
    }
    return "other";
}

std::string FeatureName(const std::string& tag) {
    static const std::map<std::string, std::string> names = {
        {"aalt", "Access all alternates"},
        {"abvm", "Above-base mark positioning"},
        {"blwm", "Below-base mark positioning"},
        {"c2sc", "Small capitals from capitals"},
        {"calt", "Contextual alternates"},
        {"case", "Case-sensitive forms"},
        {"ccmp", "Glyph composition/decomposition"},
        {"clig", "Contextual ligatures"},
        {"cpsp", "Capital spacing"},
        {"curs", "Cursive positioning"},
        {"cv01", "Character variant 1"},
        {"dlig", "Discretionary ligatures"},
        {"dnom", "Denominators"},
        {"frac", "Fractions"},
        {"hlig", "Historical ligatures"},
        {"init", "Initial forms"},
        {"isol", "Isolated forms"},
        {"kern", "Kerning"},
        {"liga", "Standard ligatures"},
        {"lnum", "Lining figures"},
        {"locl", "Localized forms"},
        {"mark", "Mark positioning"},
        {"medi", "Medial forms"},
        {"mkmk", "Mark to mark positioning"},
        {"numr", "Numerators"},
        {"onum", "Oldstyle figures"},
        {"ordn", "Ordinals"},
        {"pnum", "Proportional figures"},
        {"rlig", "Required ligatures"},
        {"salt", "Stylistic alternates"},
        {"sinf", "Scientific inferiors"},
        {"smcp", "Small capitals"},
        {"ss01", "Stylistic set 1"},
        {"ss02", "Stylistic set 2"},
        {"subs", "Subscript"},
        {"sups", "Superscript"},
        {"swsh", "Swash"},
        {"tnum", "Tabular figures"},
        {"zero", "Slashed zero"},
        {"fina", "Terminal forms"},
    };
    const auto it = names.find(tag);
    return it == names.end() ? std::string() : it->second;
}

} // namespace lw
