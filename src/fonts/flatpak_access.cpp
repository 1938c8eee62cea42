#include "fonts/flatpak_access.h"

#include <sstream>

namespace lw {

namespace {

// Whether one override listing ("[Context]" then "filesystems=a;b;") lets
// applications read the user's fontconfig folder. A later "!" entry takes
// back what an earlier one gave, as flatpak merges them.
bool Grants(const std::string& listing) {
    bool granted = false;
    std::istringstream lines(listing);
    std::string line;
    bool context = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == '[') {
            context = line == "[Context]";
            continue;
        }
        if (!context || line.rfind("filesystems=", 0) != 0) {
            continue;
        }
        std::istringstream entries(line.substr(12));
        std::string entry;
        while (std::getline(entries, entry, ';')) {
            const bool negated = !entry.empty() && entry.front() == '!';
            if (negated) {
                entry.erase(0, 1);
            }
            const size_t colon = entry.find(':');
            const std::string place = entry.substr(0, colon);
            const std::string mode = colon == std::string::npos ? "" : entry.substr(colon + 1);
            if (mode == "create" || !(mode.empty() || mode == "ro" || mode == "rw")) {
                continue;
            }
            if (place == "xdg-config/fontconfig" || place == "xdg-config" || place == "home" ||
                place == "host" || place == "~/.config" || place == "~/.config/fontconfig") {
                granted = !negated;
            }
        }
    }
    return granted;
}

} // namespace

TFlatpakAccess FlatpakFontconfigAccess(const TProgramRunner& run) {
    if (!run({"flatpak", "--version"})) {
        return TFlatpakAccess::NoFlatpak;
    }
    const std::string global = run({"flatpak", "override", "--show"}).value_or("");
    const std::string user = run({"flatpak", "override", "--user", "--show"}).value_or("");
    // The user's override applies over the global one: read after it.
    return Grants(global + "\n" + user) ? TFlatpakAccess::Reads : TFlatpakAccess::CannotRead;
}

bool GrantFlatpakFontconfigAccess(const TProgramRunner& run) {
    return run({"flatpak", "override", "--user", "--filesystem=xdg-config/fontconfig:ro"})
        .has_value();
}

} // namespace lw
