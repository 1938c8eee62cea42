#pragma once

#include <cstdint>
#include <string>

namespace lw {

inline constexpr uint16_t kLangEnglishUS = 0x0409;

// A POSIX locale name ("sr_RS.UTF-8", "sr_RS@latin", "de_DE",
// "fr_FR.UTF-8@euro") as the language id font name tables use: primary
// language in the low 10 bits, sub-language above. A country the table does
// not know gives the language's usual id; an unknown language, "C", "POSIX"
// and an empty name give US English.
uint16_t LangIdFromLocaleName(const std::string& localeName);

} // namespace lw
