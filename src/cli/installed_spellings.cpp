#include "cli/installed_spellings.h"

#include "categories/category_names.h"
#include "fonts/font_manager.h"

#include <iostream>

namespace lw {

std::vector<std::string> InstalledSpellings(const std::vector<std::string>& wanted, bool& missing) {
    std::vector<std::string> found;
    for (const std::string& family : wanted) {
        const std::string key = NameKey(family);
        bool installed = false;
        for (const std::string& name : FontManager->Families) {
            if (NameKey(name) == key) {
                found.push_back(name);
                installed = true;
                break;
            }
        }
        if (!installed) {
            std::cerr << "letterwell-cli: no installed family is named \"" << family << "\"\n";
            missing = true;
        }
    }
    return found;
}

} // namespace lw
