#pragma once

#include <cstdint>
#include <string>

namespace lw {

struct TVersion {
    uint16_t Major = 0;
    uint16_t Minor = 0;
    std::string Suffix;
    std::string CreditYears;
};

// The program's version, as the build names it.
TVersion ProgramVersion();
// "major.minor" with the minor number in two digits, and the suffix.
std::string VersionNumber(const TVersion& version);

} // namespace lw
