#include "fonts/type1_encoding.h"

#include "fonts/type1_font_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <sstream>

namespace lw {

namespace {

// Adobe's standard encoding: the glyph name at each code, empty where none.
const std::array<const char*, 256>& StandardEncoding() {
    static const std::array<const char*, 256> names = {
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "space",
        "exclam",
        "quotedbl",
        "numbersign",
        "dollar",
        "percent",
        "ampersand",
        "quoteright",
        "parenleft",
        "parenright",
        "asterisk",
        "plus",
        "comma",
        "hyphen",
        "period",
        "slash",
        "zero",
        "one",
        "two",
        "three",
        "four",
        "five",
        "six",
        "seven",
        "eight",
        "nine",
        "colon",
        "semicolon",
        "less",
        "equal",
        "greater",
        "question",
        "at",
        "A",
        "B",
        "C",
        "D",
        "E",
        "F",
        "G",
        "H",
        "I",
        "J",
        "K",
        "L",
        "M",
        "N",
        "O",
        "P",
        "Q",
        "R",
        "S",
        "T",
        "U",
        "V",
        "W",
        "X",
        "Y",
        "Z",
        "bracketleft",
        "backslash",
        "bracketright",
        "asciicircum",
        "underscore",
        "quoteleft",
        "a",
        "b",
        "c",
        "d",
        "e",
        "f",
        "g",
        "h",
        "i",
        "j",
        "k",
        "l",
        "m",
        "n",
        "o",
        "p",
        "q",
        "r",
        "s",
        "t",
        "u",
        "v",
        "w",
        "x",
        "y",
        "z",
        "braceleft",
        "bar",
        "braceright",
        "asciitilde",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "exclamdown",
        "cent",
        "sterling",
        "fraction",
        "yen",
        "florin",
        "section",
        "currency",
        "quotesingle",
        "quotedblleft",
        "guillemotleft",
        "guilsinglleft",
        "guilsinglright",
        "fi",
        "fl",
        "",
        "endash",
        "dagger",
        "daggerdbl",
        "periodcentered",
        "",
        "paragraph",
        "bullet",
        "quotesinglbase",
        "quotedblbase",
        "quotedblright",
        "guillemotright",
        "ellipsis",
        "perthousand",
        "",
        "questiondown",
        "",
        "grave",
        "acute",
        "circumflex",
        "tilde",
        "macron",
        "breve",
        "dotaccent",
        "dieresis",
        "",
        "ring",
        "cedilla",
        "",
        "hungarumlaut",
        "ogonek",
        "caron",
        "emdash",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "AE",
        "",
        "ordfeminine",
        "",
        "",
        "",
        "",
        "Lslash",
        "Oslash",
        "OE",
        "ordmasculine",
        "",
        "",
        "",
        "",
        "",
        "ae",
        "",
        "",
        "",
        "dotlessi",
        "",
        "",
        "lslash",
        "oslash",
        "oe",
        "germandbls",
        "",
        "",
        "",
        "",
    };
    return names;
}

struct TGlyphName {
    const char* Name;
    uint32_t Code;
};

// The names of the standard and Latin-1 character sets, sorted by name.
const std::vector<TGlyphName>& GlyphNames() {
    static const std::vector<TGlyphName> names = [] {
        std::vector<TGlyphName> list = {
            {"A", 0x0041},
            {"AE", 0x00C6},
            {"Aacute", 0x00C1},
            {"Acircumflex", 0x00C2},
            {"Adieresis", 0x00C4},
            {"Agrave", 0x00C0},
            {"Aring", 0x00C5},
            {"Atilde", 0x00C3},
            {"B", 0x0042},
            {"C", 0x0043},
            {"Ccedilla", 0x00C7},
            {"D", 0x0044},
            {"E", 0x0045},
            {"Eacute", 0x00C9},
            {"Ecircumflex", 0x00CA},
            {"Edieresis", 0x00CB},
            {"Egrave", 0x00C8},
            {"Eth", 0x00D0},
            {"Euro", 0x20AC},
            {"F", 0x0046},
            {"G", 0x0047},
            {"H", 0x0048},
            {"I", 0x0049},
            {"Iacute", 0x00CD},
            {"Icircumflex", 0x00CE},
            {"Idieresis", 0x00CF},
            {"Igrave", 0x00CC},
            {"J", 0x004A},
            {"K", 0x004B},
            {"L", 0x004C},
            {"Lslash", 0x0141},
            {"M", 0x004D},
            {"N", 0x004E},
            {"Ntilde", 0x00D1},
            {"O", 0x004F},
            {"OE", 0x0152},
            {"Oacute", 0x00D3},
            {"Ocircumflex", 0x00D4},
            {"Odieresis", 0x00D6},
            {"Ograve", 0x00D2},
            {"Oslash", 0x00D8},
            {"Otilde", 0x00D5},
            {"P", 0x0050},
            {"Q", 0x0051},
            {"R", 0x0052},
            {"S", 0x0053},
            {"Scaron", 0x0160},
            {"T", 0x0054},
            {"Thorn", 0x00DE},
            {"U", 0x0055},
            {"Uacute", 0x00DA},
            {"Ucircumflex", 0x00DB},
            {"Udieresis", 0x00DC},
            {"Ugrave", 0x00D9},
            {"V", 0x0056},
            {"W", 0x0057},
            {"X", 0x0058},
            {"Y", 0x0059},
            {"Yacute", 0x00DD},
            {"Ydieresis", 0x0178},
            {"Z", 0x005A},
            {"Zcaron", 0x017D},
            {"a", 0x0061},
            {"aacute", 0x00E1},
            {"acircumflex", 0x00E2},
            {"acute", 0x00B4},
            {"adieresis", 0x00E4},
            {"ae", 0x00E6},
            {"agrave", 0x00E0},
            {"ampersand", 0x0026},
            {"aring", 0x00E5},
            {"asciicircum", 0x005E},
            {"asciitilde", 0x007E},
            {"asterisk", 0x002A},
            {"at", 0x0040},
            {"atilde", 0x00E3},
            {"b", 0x0062},
            {"backslash", 0x005C},
            {"bar", 0x007C},
            {"braceleft", 0x007B},
            {"braceright", 0x007D},
            {"bracketleft", 0x005B},
            {"bracketright", 0x005D},
            {"breve", 0x02D8},
            {"brokenbar", 0x00A6},
            {"bullet", 0x2022},
            {"c", 0x0063},
            {"caron", 0x02C7},
            {"ccedilla", 0x00E7},
            {"cedilla", 0x00B8},
            {"cent", 0x00A2},
            {"circumflex", 0x02C6},
            {"colon", 0x003A},
            {"comma", 0x002C},
            {"copyright", 0x00A9},
            {"currency", 0x00A4},
            {"d", 0x0064},
            {"dagger", 0x2020},
            {"daggerdbl", 0x2021},
            {"degree", 0x00B0},
            {"dieresis", 0x00A8},
            {"divide", 0x00F7},
            {"dollar", 0x0024},
            {"dotaccent", 0x02D9},
            {"dotlessi", 0x0131},
            {"e", 0x0065},
            {"eacute", 0x00E9},
            {"ecircumflex", 0x00EA},
            {"edieresis", 0x00EB},
            {"egrave", 0x00E8},
            {"eight", 0x0038},
            {"ellipsis", 0x2026},
            {"emdash", 0x2014},
            {"endash", 0x2013},
            {"equal", 0x003D},
            {"eth", 0x00F0},
            {"exclam", 0x0021},
            {"exclamdown", 0x00A1},
            {"f", 0x0066},
            {"fi", 0xFB01},
            {"five", 0x0035},
            {"fl", 0xFB02},
            {"florin", 0x0192},
            {"four", 0x0034},
            {"fraction", 0x2044},
            {"g", 0x0067},
            {"germandbls", 0x00DF},
            {"grave", 0x0060},
            {"greater", 0x003E},
            {"guillemotleft", 0x00AB},
            {"guillemotright", 0x00BB},
            {"guilsinglleft", 0x2039},
            {"guilsinglright", 0x203A},
            {"h", 0x0068},
            {"hungarumlaut", 0x02DD},
            {"hyphen", 0x002D},
            {"i", 0x0069},
            {"iacute", 0x00ED},
            {"icircumflex", 0x00EE},
            {"idieresis", 0x00EF},
            {"igrave", 0x00EC},
            {"j", 0x006A},
            {"k", 0x006B},
            {"l", 0x006C},
            {"less", 0x003C},
            {"logicalnot", 0x00AC},
            {"lslash", 0x0142},
            {"m", 0x006D},
            {"macron", 0x00AF},
            {"minus", 0x2212},
            {"mu", 0x00B5},
            {"multiply", 0x00D7},
            {"n", 0x006E},
            {"nine", 0x0039},
            {"ntilde", 0x00F1},
            {"numbersign", 0x0023},
            {"o", 0x006F},
            {"oacute", 0x00F3},
            {"ocircumflex", 0x00F4},
            {"odieresis", 0x00F6},
            {"oe", 0x0153},
            {"ogonek", 0x02DB},
            {"ograve", 0x00F2},
            {"one", 0x0031},
            {"onehalf", 0x00BD},
            {"onequarter", 0x00BC},
            {"onesuperior", 0x00B9},
            {"ordfeminine", 0x00AA},
            {"ordmasculine", 0x00BA},
            {"oslash", 0x00F8},
            {"otilde", 0x00F5},
            {"p", 0x0070},
            {"paragraph", 0x00B6},
            {"parenleft", 0x0028},
            {"parenright", 0x0029},
            {"percent", 0x0025},
            {"period", 0x002E},
            {"periodcentered", 0x00B7},
            {"perthousand", 0x2030},
            {"plus", 0x002B},
            {"plusminus", 0x00B1},
            {"q", 0x0071},
            {"question", 0x003F},
            {"questiondown", 0x00BF},
            {"quotedbl", 0x0022},
            {"quotedblbase", 0x201E},
            {"quotedblleft", 0x201C},
            {"quotedblright", 0x201D},
            {"quoteleft", 0x2018},
            {"quoteright", 0x2019},
            {"quotesinglbase", 0x201A},
            {"quotesingle", 0x0027},
            {"r", 0x0072},
            {"registered", 0x00AE},
            {"ring", 0x02DA},
            {"s", 0x0073},
            {"scaron", 0x0161},
            {"section", 0x00A7},
            {"semicolon", 0x003B},
            {"seven", 0x0037},
            {"six", 0x0036},
            {"slash", 0x002F},
            {"space", 0x0020},
            {"sterling", 0x00A3},
            {"t", 0x0074},
            {"thorn", 0x00FE},
            {"three", 0x0033},
            {"threequarters", 0x00BE},
            {"threesuperior", 0x00B3},
            {"tilde", 0x02DC},
            {"trademark", 0x2122},
            {"two", 0x0032},
            {"twosuperior", 0x00B2},
            {"u", 0x0075},
            {"uacute", 0x00FA},
            {"ucircumflex", 0x00FB},
            {"udieresis", 0x00FC},
            {"ugrave", 0x00F9},
            {"underscore", 0x005F},
            {"v", 0x0076},
            {"w", 0x0077},
            {"x", 0x0078},
            {"y", 0x0079},
            {"yacute", 0x00FD},
            {"ydieresis", 0x00FF},
            {"yen", 0x00A5},
            {"z", 0x007A},
            {"zcaron", 0x017E},
            {"zero", 0x0030},
        };
        std::sort(list.begin(), list.end(), [](const TGlyphName& a, const TGlyphName& b) {
            return std::string_view(a.Name) < std::string_view(b.Name);
        });
        return list;
    }();
    return names;
}

std::optional<uint32_t> HexCode(std::string_view digits) {
    uint32_t code = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), code, 16);
    if (error != std::errc() || end != digits.data() + digits.size() || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    return code;
}

} // namespace

std::optional<uint32_t> GlyphNameCode(std::string_view name) {
    // A suffix names a variant of the same character ("a.sc").
    name = name.substr(0, name.find('.'));
    if (name.size() == 7 && name.starts_with("uni")) {
        return HexCode(name.substr(3));
    }
    if (name.size() >= 5 && name.size() <= 7 && name[0] == 'u') {
        return HexCode(name.substr(1));
    }
    const std::vector<TGlyphName>& names = GlyphNames();
    const auto at = std::lower_bound(
        names.begin(), names.end(), name,
        [](const TGlyphName& entry, std::string_view wanted) { return entry.Name < wanted; });
    if (at != names.end() && at->Name == name) {
        return at->Code;
    }
    return std::nullopt;
}

std::vector<std::pair<uint8_t, std::string>> Type1Encoding(const std::string& cleartext) {
    std::vector<std::pair<uint8_t, std::string>> codes;
    const size_t start = cleartext.find("/Encoding");
    if (start == std::string::npos) {
        return codes;
    }
    std::istringstream words(cleartext.substr(start + 9));
    std::string word;
    words >> word;
    if (word == "StandardEncoding") {
        for (size_t code = 0; code < 256; ++code) {
            if (*StandardEncoding()[code] != '\0') {
                codes.emplace_back(static_cast<uint8_t>(code), StandardEncoding()[code]);
            }
        }
        return codes;
    }
    // "dup CODE /name put" until the array is defined.
    std::array<std::string, 256> names;
    std::string previous[3];
    while (words >> word && word != "def" && word != "readonly") {
        if (word == "put" && previous[0] == "dup" && previous[2].starts_with("/")) {
            int code = -1;
            const std::string& number = previous[1];
            std::from_chars(number.data(), number.data() + number.size(), code);
            if (code >= 0 && code < 256) {
                names[static_cast<size_t>(code)] = previous[2].substr(1);
            }
        }
        previous[0] = previous[1];
        previous[1] = previous[2];
        previous[2] = word;
    }
    for (size_t code = 0; code < 256; ++code) {
        if (!names[code].empty() && names[code] != ".notdef") {
            codes.emplace_back(static_cast<uint8_t>(code), names[code]);
        }
    }
    return codes;
}

TCodeRanges Type1CodePoints(IByteSource& outline) {
    std::vector<uint32_t> codes;
    for (const auto& [code, name] : Type1Encoding(Type1Cleartext(outline))) {
        if (const std::optional<uint32_t> character = GlyphNameCode(name)) {
            codes.push_back(*character);
        }
    }
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    TCodeRanges ranges;
    for (const uint32_t code : codes) {
        if (!ranges.empty() && ranges.back().Last + 1 == code) {
            ranges.back().Last = code;
        } else {
            ranges.push_back({code, code});
        }
    }
    return ranges;
}

} // namespace lw
