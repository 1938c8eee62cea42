#include "base/language_ids.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace lw {

namespace {

struct TLangEntry {
    std::string_view Language; // ISO 639 code, lower case
    std::string_view Country;  // ISO 3166 code, upper case; empty: the language's usual id
    std::string_view Script;   // locale modifier naming a script; empty: any
    uint16_t Id;
};

// For each language its usual id comes first (empty country), then the
// countries with an id of their own.
// clang-format off
constexpr TLangEntry kLanguages[] = {
    {"af", "", "", 0x0436},
    {"am", "", "", 0x045E},
    {"ar", "", "", 0x0401}, {"ar", "SA", "", 0x0401}, {"ar", "IQ", "", 0x0801},
    {"ar", "EG", "", 0x0C01}, {"ar", "LY", "", 0x1001}, {"ar", "DZ", "", 0x1401},
    {"ar", "MA", "", 0x1801}, {"ar", "TN", "", 0x1C01}, {"ar", "OM", "", 0x2001},
    {"ar", "YE", "", 0x2401}, {"ar", "SY", "", 0x2801}, {"ar", "JO", "", 0x2C01},
    {"ar", "LB", "", 0x3001}, {"ar", "KW", "", 0x3401}, {"ar", "AE", "", 0x3801},
    {"ar", "BH", "", 0x3C01}, {"ar", "QA", "", 0x4001},
    {"az", "", "", 0x042C}, {"az", "", "cyrillic", 0x082C},
    {"be", "", "", 0x0423},
    {"bg", "", "", 0x0402},
    {"bn", "", "", 0x0445}, {"bn", "BD", "", 0x0845},
    {"bs", "", "", 0x141A}, {"bs", "", "cyrillic", 0x201A},
    {"ca", "", "", 0x0403},
    {"cs", "", "", 0x0405},
    {"cy", "", "", 0x0452},
    {"da", "", "", 0x0406},
    {"de", "", "", 0x0407}, {"de", "CH", "", 0x0807}, {"de", "AT", "", 0x0C07},
    {"de", "LU", "", 0x1007}, {"de", "LI", "", 0x1407},
    {"el", "", "", 0x0408},
    {"en", "", "", 0x0409}, {"en", "GB", "", 0x0809}, {"en", "AU", "", 0x0C09},
    {"en", "CA", "", 0x1009}, {"en", "NZ", "", 0x1409}, {"en", "IE", "", 0x1809},
    {"en", "ZA", "", 0x1C09}, {"en", "JM", "", 0x2009}, {"en", "BZ", "", 0x2809},
    {"en", "TT", "", 0x2C09}, {"en", "ZW", "", 0x3009}, {"en", "PH", "", 0x3409},
    {"en", "IN", "", 0x4009}, {"en", "MY", "", 0x4409}, {"en", "SG", "", 0x4809},
    {"es", "", "", 0x0C0A}, {"es", "MX", "", 0x080A}, {"es", "GT", "", 0x100A},
    {"es", "CR", "", 0x140A}, {"es", "PA", "", 0x180A}, {"es", "DO", "", 0x1C0A},
    {"es", "VE", "", 0x200A}, {"es", "CO", "", 0x240A}, {"es", "PE", "", 0x280A},
    {"es", "AR", "", 0x2C0A}, {"es", "EC", "", 0x300A}, {"es", "CL", "", 0x340A},
    {"es", "UY", "", 0x380A}, {"es", "PY", "", 0x3C0A}, {"es", "BO", "", 0x400A},
    {"es", "SV", "", 0x440A}, {"es", "HN", "", 0x480A}, {"es", "NI", "", 0x4C0A},
    {"es", "PR", "", 0x500A}, {"es", "US", "", 0x540A},
    {"et", "", "", 0x0425},
    {"eu", "", "", 0x042D},
    {"fa", "", "", 0x0429},
    {"fi", "", "", 0x040B},
    {"fil", "", "", 0x0464},
    {"tl", "", "", 0x0464},
    {"fo", "", "", 0x0438},
    {"fr", "", "", 0x040C}, {"fr", "BE", "", 0x080C}, {"fr", "CA", "", 0x0C0C},
    {"fr", "CH", "", 0x100C}, {"fr", "LU", "", 0x140C}, {"fr", "MC", "", 0x180C},
    {"fy", "", "", 0x0462},
    {"ga", "", "", 0x083C},
    {"gl", "", "", 0x0456},
    {"gu", "", "", 0x0447},
    {"ha", "", "", 0x0468},
    {"he", "", "", 0x040D},
    {"iw", "", "", 0x040D},
    {"hi", "", "", 0x0439},
    {"hr", "", "", 0x041A}, {"hr", "BA", "", 0x101A},
    {"hu", "", "", 0x040E},
    {"hy", "", "", 0x042B},
    {"id", "", "", 0x0421},
    {"is", "", "", 0x040F},
    {"it", "", "", 0x0410}, {"it", "CH", "", 0x0810},
    {"ja", "", "", 0x0411},
    {"ka", "", "", 0x0437},
    {"kk", "", "", 0x043F},
    {"km", "", "", 0x0453},
    {"kn", "", "", 0x044B},
    {"ko", "", "", 0x0412},
    {"ky", "", "", 0x0440},
    {"lb", "", "", 0x046E},
    {"lo", "", "", 0x0454},
    {"lt", "", "", 0x0427},
    {"lv", "", "", 0x0426},
    {"mk", "", "", 0x042F},
    {"ml", "", "", 0x044C},
    {"mn", "", "", 0x0450},
    {"mr", "", "", 0x044E},
    {"ms", "", "", 0x043E}, {"ms", "BN", "", 0x083E},
    {"mt", "", "", 0x043A},
    {"nb", "", "", 0x0414},
    {"no", "", "", 0x0414},
    {"nn", "", "", 0x0814},
    {"ne", "", "", 0x0461},
    {"nl", "", "", 0x0413}, {"nl", "BE", "", 0x0813},
    {"pa", "", "", 0x0446},
    {"pl", "", "", 0x0415},
    {"ps", "", "", 0x0463},
    {"pt", "", "", 0x0816}, {"pt", "BR", "", 0x0416},
    {"rm", "", "", 0x0417},
    {"ro", "", "", 0x0418}, {"ro", "MD", "", 0x0818},
    {"ru", "", "", 0x0419}, {"ru", "MD", "", 0x0819},
    {"si", "", "", 0x045B},
    {"sk", "", "", 0x041B},
    {"sl", "", "", 0x0424},
    {"sq", "", "", 0x041C},
    // Serbian is written in both scripts; the Latin one is this program's own.
    {"sr", "", "", 0x081A}, {"sr", "", "cyrillic", 0x0C1A}, {"sr", "RS", "", 0x081A},
    {"sr", "RS", "cyrillic", 0x0C1A}, {"sr", "ME", "", 0x2C1A}, {"sr", "ME", "cyrillic", 0x301A},
    {"sr", "BA", "", 0x181A}, {"sr", "BA", "cyrillic", 0x1C1A},
    {"sv", "", "", 0x041D}, {"sv", "FI", "", 0x081D},
    {"sw", "", "", 0x0441},
    {"ta", "", "", 0x0449},
    {"te", "", "", 0x044A},
    {"tg", "", "", 0x0428},
    {"th", "", "", 0x041E},
    {"tr", "", "", 0x041F},
    {"tt", "", "", 0x0444},
    {"uk", "", "", 0x0422},
    {"ur", "", "", 0x0420}, {"ur", "IN", "", 0x0820},
    {"uz", "", "", 0x0443}, {"uz", "", "cyrillic", 0x0843},
    {"vi", "", "", 0x042A},
    {"xh", "", "", 0x0434},
    {"yo", "", "", 0x046A},
    // Chinese without a country is most often written simplified.
    {"zh", "", "", 0x0804}, {"zh", "CN", "", 0x0804}, {"zh", "TW", "", 0x0404},
    {"zh", "HK", "", 0x0C04}, {"zh", "SG", "", 0x1004}, {"zh", "MO", "", 0x1404},
    {"zu", "", "", 0x0435},
};
// clang-format on

const TLangEntry* Find(std::string_view language, std::string_view country,
                       std::string_view script) {
    for (const TLangEntry& entry : kLanguages) {
        if (entry.Language == language && entry.Country == country && entry.Script == script) {
            return &entry;
        }
    }
    return nullptr;
}

std::string Cased(std::string_view text, int (*convert)(int)) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [convert](unsigned char c) { return static_cast<char>(convert(c)); });
    return out;
}

} // namespace

uint16_t LangIdFromLocaleName(const std::string& localeName) {
    // language[_COUNTRY][.codeset][@modifier]
    std::string_view name = localeName;
    std::string_view modifier;
    if (const size_t at = name.find('@'); at != std::string_view::npos) {
        modifier = name.substr(at + 1);
        name = name.substr(0, at);
    }
    if (const size_t dot = name.find('.'); dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    std::string_view country;
    if (const size_t underscore = name.find('_'); underscore != std::string_view::npos) {
        country = name.substr(underscore + 1);
        name = name.substr(0, underscore);
    }
    const std::string language = Cased(name, [](int c) { return std::tolower(c); });
    const std::string upperCountry = Cased(country, [](int c) { return std::toupper(c); });
    const std::string script = Cased(modifier, [](int c) { return std::tolower(c); });
    // A modifier that names no script ("euro") is passed over by the lookups
    // that ignore it.
    for (const auto& [c, s] : {std::pair<std::string_view, std::string_view>{upperCountry, script},
                               {upperCountry, ""},
                               {"", script},
                               {"", ""}}) {
        if (const TLangEntry* entry = Find(language, c, s)) {
            return entry->Id;
        }
    }
    return kLangEnglishUS;
}

} // namespace lw
