#include "base/version.h"

#include <cstdio>

namespace lw {

TVersion ProgramVersion() {
    return TVersion{LW_VERSION_MAJOR, LW_VERSION_MINOR, "", "2024-2026"};
}

std::string VersionNumber(const TVersion& version) {
    char number[16];
    std::snprintf(number, sizeof number, "%d.%02d", version.Major, version.Minor);
    return number + version.Suffix;
}

} // namespace lw
