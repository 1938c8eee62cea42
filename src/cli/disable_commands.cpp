#include "cli/disable_commands.h"

#include "base/strings.h"
#include "fonts/disabled_fonts.h"
#include "fonts/font_manager.h"
#include "platform/linux/fontconfig_system.h"
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

// The asked-for styles, or all when none is asked for; a name asked for that
// matches nothing is an error, as uninstall has it.
bool Pick(const std::vector<std::string>& wanted, const std::vector<std::string>& fullNames,
          std::vector<bool>& picked) {
    picked.assign(fullNames.size(), wanted.empty());
    bool allFound = true;
    for (const std::string& name : wanted) {
        bool found = false;
        for (size_t i = 0; i < fullNames.size(); ++i) {
            if (SameName(fullNames[i], name)) {
                picked[i] = found = true;
            }
        }
        if (!found) {
            std::cerr << "letterwell-cli: no style is named \"" << name << "\"\n";
            allFound = false;
        }
    }
    return allFound;
}

void Changed() {
    FontSystem().FontsChanged();
    FontManager->BroadcastFontChange();
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
    FontSystem().EnumFamilyFaces();
    const std::vector<TFaceInfo> faces = FontSystem().EnumFaces(*family);
    std::vector<std::string> fullNames;
    for (const TFaceInfo& face : faces) {
        fullNames.push_back(face.FullName);
    }
    std::vector<bool> picked;
    if (!Pick(styles, fullNames, picked)) {
        return 1;
    }
    std::set<std::string> files;
    for (size_t i = 0; i < faces.size(); ++i) {
        if (picked[i] && !faces[i].File.empty()) {
            files.insert(faces[i].File);
        }
    }
    TDisabledFonts store = UserDisabledFonts();
    std::string problem;
    const TDisabledFonts::TResult result =
        store.Change(std::vector<std::string>(files.begin(), files.end()), {}, &problem);
    if (!ReportDisableResult(result, problem)) {
        return 1;
    }
    for (size_t i = 0; i < faces.size(); ++i) {
        if (picked[i]) {
            std::cout << faces[i].FullName << ": disabled\n";
        }
    }
    // A collection's faces go with their file: said, not hidden.
    for (const std::string& file : files) {
        if (FacesOfFile(file).size() > 1) {
            std::cerr << FmtLoadStr(30305, file) << "\n";
        }
    }
    if (result == TDisabledFonts::TResult::Changed) {
        Changed();
    }
    return 0;
}

int Enable(const std::string& wanted, const std::vector<std::string>& styles, bool other) {
    TDisabledFonts store = UserDisabledFonts();
    std::vector<TDisabledFace> disabled = store.Disabled();
    std::erase_if(disabled,
                  [&](const TDisabledFace& face) { return !SameName(face.Family, wanted); });
    if (disabled.empty()) {
        std::cerr << "letterwell-cli: no disabled family is named \"" << wanted << "\"\n";
        return 1;
    }
    std::vector<std::string> fullNames;
    for (const TDisabledFace& face : disabled) {
        fullNames.push_back(face.FullName);
    }
    std::vector<bool> picked;
    if (!Pick(styles, fullNames, picked)) {
        return 1;
    }
    std::vector<std::string> files;
    // Per file, latest first, so a removal does not move the rules after it.
    std::map<std::string, std::map<size_t, TRejectRule, std::greater<>>> others;
    for (size_t i = 0; i < disabled.size(); ++i) {
        if (!picked[i]) {
            continue;
        }
        if (disabled[i].Ours) {
            files.push_back(disabled[i].File);
        } else {
            others[disabled[i].Source][disabled[i].Rule.Begin] = disabled[i].Rule;
        }
    }
    bool failed = false;
    bool changed = false;
    std::string problem;
    if (!files.empty()) {
        const TDisabledFonts::TResult result = store.Change({}, files, &problem);
        failed = !ReportDisableResult(result, problem);
        changed = result == TDisabledFonts::TResult::Changed;
    }
    std::set<std::string> refused;
    for (const auto& [source, rules] : others) {
        for (const auto& [begin, rule] : rules) {
            // Another program's file is edited only when the user says so.
            const std::string question = FmtLoadStr(30304, wanted, source, source);
            if (!other && Prompts().MessageBox(question, LoadStr(20), TMsgIcon::Question,
                                               TMsgButtons::YesNo) != TMsgResult::Yes) {
                refused.insert(source);
                continue;
            }
            const TDisabledFonts::TResult result = store.RemoveOtherRule(source, rule, &problem);
            failed = !ReportDisableResult(result, problem) || failed;
            changed = changed || result == TDisabledFonts::TResult::Changed;
        }
    }
    for (size_t i = 0; i < disabled.size(); ++i) {
        if (picked[i]) {
            const bool stays = !disabled[i].Ours && refused.count(disabled[i].Source) != 0;
            const std::string name =
                disabled[i].FullName.empty() ? disabled[i].Family : disabled[i].FullName;
            std::cout << name << ": " << (stays ? "not enabled" : "enabled") << "\n";
            failed = failed || stays;
        }
    }
    if (changed) {
        FontManager = std::make_unique<TFontManager>();
        Changed();
    }
    return failed ? 1 : 0;
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
