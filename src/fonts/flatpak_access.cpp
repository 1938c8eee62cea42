#include "fonts/flatpak_access.h"

#include "base/strings.h"
#include "platform/services.h"

#include <map>
#include <sstream>

namespace lw {

namespace {

// Whether the override listings ("[Context]" then "filesystems=a;b;"), in
// the order flatpak applies them, let applications read the user's
// fontconfig folder. Flatpak keeps one state per place, the last entry
// for it winning: "!home" takes back "home" but not "xdg-config/fontconfig".
bool Grants(const std::vector<std::string>& listings) {
    std::map<std::string, bool> places;
    for (const std::string& listing : listings) {
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
                std::string place = entry.substr(0, colon);
                while (place.size() > 1 && place.back() == '/') {
                    place.pop_back();
                }
                // ":create" is read and write, the folder made when missing.
                const std::string mode = colon == std::string::npos ? "" : entry.substr(colon + 1);
                if (mode.empty() || mode == "ro" || mode == "rw" || mode == "create") {
                    places[place] = !negated;
                }
            }
        }
    }
    for (const char* holder : {"xdg-config/fontconfig", "xdg-config", "home", "host", "~/.config",
                               "~/.config/fontconfig"}) {
        const auto found = places.find(holder);
        if (found != places.end() && found->second) {
            return true;
        }
    }
    return false;
}

} // namespace

TFlatpakAccess FlatpakFontconfigAccess(const TProgramRunner& run) {
    if (!run({"flatpak", "--version"})) {
        return TFlatpakAccess::NoFlatpak;
    }
    const std::string global = run({"flatpak", "override", "--show"}).value_or("");
    const std::string user = run({"flatpak", "override", "--user", "--show"}).value_or("");
    // The user's override applies over the global one: read after it.
    return Grants({global, user}) ? TFlatpakAccess::Reads : TFlatpakAccess::CannotRead;
}

bool GrantFlatpakFontconfigAccess(const TProgramRunner& run) {
    return run({"flatpak", "override", "--user", "--filesystem=xdg-config/fontconfig:ro"})
        .has_value();
}

void OfferFlatpakFontconfigAccess(const TProgramRunner& run) {
    constexpr int kQuestion = 30310;
    constexpr int kFailed = 30311;
    constexpr int kConfirmCaption = 20;
    constexpr int kErrorCaption = 22;
    if (FlatpakFontconfigAccess(run) == TFlatpakAccess::CannotRead &&
        Prompts().MessageBox(LoadStr(kQuestion), LoadStr(kConfirmCaption), TMsgIcon::Question,
                             TMsgButtons::YesNo) == TMsgResult::Yes &&
        !GrantFlatpakFontconfigAccess(run)) {
        Prompts().MessageBox(LoadStr(kFailed), LoadStr(kErrorCaption), TMsgIcon::Error,
                             TMsgButtons::Ok);
    }
}

std::optional<std::string> RunOnPath(const std::vector<std::string>& argv) {
    return Shell().RunProgram(argv);
}

} // namespace lw
