#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace lw {

// File names of the languages' bundles, looked up beside the program, then
// in its installed data folder (ProgramDataFile): Spanish and English.
inline constexpr const char* kLanguageBundleFile = "lw_esp.lwb";
inline constexpr const char* kEnglishBundleFile = "lw_eng.lwb";
inline constexpr int kEnglishLanguage = 2;
inline constexpr size_t kMaxStringLength = 4095;

// The text of string id in the language in force, at most 4095 characters;
// empty when the language has no such string.
std::string LoadStr(int id);
// The same in the built-in language, whatever language is in force.
std::string LoadBuiltInStr(int id);

using TFmtArg = std::variant<long long, double, std::string>;

// printf-like directives (%s %d %u %x %f %g %e %%, with flags, width and
// precision). A missing or mistyped argument never crashes: a missing one
// gives nothing, a mistyped one is written as its own text.
std::string FormatText(const std::string& pattern, const std::vector<TFmtArg>& args);

template <typename... Args> std::string FmtLoadStr(int id, const Args&... args) {
    auto toArg = [](const auto& a) -> TFmtArg {
        using T = std::decay_t<decltype(a)>;
        if constexpr (std::is_integral_v<T>) {
            return static_cast<long long>(a);
        } else if constexpr (std::is_floating_point_v<T>) {
            return static_cast<double>(a);
        } else {
            return std::string(a);
        }
    };
    return FormatText(LoadStr(id), std::vector<TFmtArg>{toArg(args)...});
}

// Removes the first "&" and then the first "...".
std::string StripMenuMarks(const std::string& text);

// Selects language n: 0 is the built-in one, 1 (Spanish) and 2 (English)
// come from their bundles beside the program. A bundle that cannot be loaded
// shows "Error loading DLL" and falls back to 0. Any other number changes
// only the number in force.
void SetLanguage(int n);
int GetLanguage();

// The language a first start takes from the locale, the first of LC_ALL,
// LC_MESSAGES and LANG that is set (null or empty: not set): "sr..." is 0,
// "es..." is 1, anything else, or none, English.
int LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);
// The same over this process's environment.
int LanguageOfEnvironment();

// The picture `name` of the language in force, as image file bytes.
std::optional<std::vector<uint8_t>> LoadLanguageBitmapData(const std::string& name);

} // namespace lw
