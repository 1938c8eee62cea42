#include "cli/disable_commands.h"

#include "base/strings.h"
#include "fonts/disabled_fonts.h"
#include "fonts/flatpak_access.h"
#include "fonts/font_manager.h"
#include "platform/linux/fontconfig_system.h"
#include "platform/linux/program_run.h"
#include "platform/services.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace lw {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return Text().CompareIgnoreCase(a, b) == 0;
}

bool Picked(const std::vector<std::string>& wanted, const std::string& fullName) {
    return wanted.empty() || std::any_of(wanted.begin(), wanted.end(), [&](const std::string& w) {
               return SameName(w, fullName);
           });
}

// A style asked for that the family does not have is an error, as uninstall
// has it.
bool AllKnown(const std::vector<std::string>& wanted, const std::vector<std::string>& fullNames) {
    bool known = true;
    for (const std::string& name : wanted) {
        if (std::none_of(fullNames.begin(), fullNames.end(),
                         [&](const std::string& f) { return SameName(f, name); })) {
            std::cerr << "letterwell-cli: no style is named \"" << name << "\"\n";
            known = false;
        }
    }
    return known;
}

int Report(const TStyleChange& change, const char* done, const char* kept) {
    for (const std::string& name : change.Done) {
        std::cout << name << ": " << done << "\n";
    }
    for (const std::string& name : change.Kept) {
        std::cout << name << ": " << kept << "\n";
    }
    if (change.Changed) {
        FontSystem().FontsChanged();
        FontManager = std::make_unique<TFontManager>();
        FontManager->BroadcastFontChange();
    }
    return change.Failed ? 1 : 0;
}

int Disable(const std::string& wanted, const std::vector<std::string>& styles) {
    FontManager = std::make_unique<TFontManager>();
    const auto& families = FontManager->Families;
    const auto family = std::find_if(families.begin(), families.end(),
                                     [&](const std::string& f) { return SameName(f, wanted); });
    if (family == families.end()) {
        std::cerr << "letterwell-cli: no installed family is named \"" << wanted << "\"\n";
        return 1;
    }
    std::vector<std::string> fullNames;
    for (const TFaceInfo& face : FontSystem().EnumFaces(*family)) {
        fullNames.push_back(face.FullName);
    }
    if (!AllKnown(styles, fullNames)) {
        return 1;
    }
    TDisabledFonts store = UserDisabledFonts();
    const TStyleChange change = DisableStyles(store, *family, styles);
    // A collection's other faces go with their file: said, not hidden.
    std::set<std::string> files;
    for (const TFaceInfo& face : FontSystem().EnumFaces(*family)) {
        if (!change.Failed && Picked(styles, face.FullName) && files.insert(face.File).second &&
            FacesOfFile(face.File).size() > 1) {
            std::cerr << FmtLoadStr(30305, face.File) << "\n";
        }
    }
    if (change.Changed && FlatpakFontconfigAccess(RunProgram) == TFlatpakAccess::CannotRead) {
        std::cerr << LoadStr(30312) << "\n";
    }
    return Report(change, "disabled", "not disabled");
}

int Enable(const std::string& wanted, const std::vector<std::string>& styles, bool other) {
    TDisabledFonts store = UserDisabledFonts();
    std::vector<std::string> fullNames;
    for (const TDisabledFace& face : store.Disabled()) {
        if (SameName(face.Family, wanted)) {
            fullNames.push_back(face.FullName);
        }
    }
    if (fullNames.empty()) {
        std::cerr << "letterwell-cli: no disabled family is named \"" << wanted << "\"\n";
        return 1;
    }
    if (!AllKnown(styles, fullNames)) {
        return 1;
    }
    FontManager = std::make_unique<TFontManager>();
    return Report(EnableStyles(store, wanted, styles, other), "enabled", "not enabled");
}

// One line a disabled style: family, style, file, the configuration file
// that disables it; tab-separated.
int List() {
    for (const TDisabledFace& face : UserDisabledFonts().Disabled()) {
        std::cout << face.Family << "\t" << face.Style << "\t" << face.File << "\t" << face.Source
                  << "\n";
    }
    return 0;
}

} // namespace

int RunDisableCommand(int argc, char** argv) {
    const std::string command = argv[1];
    if (command == "disabled") {
        return argc == 2 ? List() : 2;
    }
    if (argc < 3) {
        return 2;
    }
    std::vector<std::string> styles;
    bool other = false;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--style" && i + 1 < argc) {
            styles.push_back(argv[++i]);
        } else if (arg == "--other" && command == "enable") {
            other = true;
        } else {
            return 2;
        }
    }
    return command == "disable" ? Disable(argv[2], styles) : Enable(argv[2], styles, other);
}

} // namespace lw
