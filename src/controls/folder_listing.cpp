#include "controls/folder_listing.h"

#include "base/helpers.h"
#include "fonts/type1_font_file.h"
#include "platform/services.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

namespace lw {

namespace fs = std::filesystem;

namespace {
constexpr char kSeparator = '/';

// An entry that is a folder, or a link to one.
bool IsFolder(const fs::directory_entry& entry) {
    std::error_code ec;
    return entry.is_directory(ec);
}
std::string LowerStem(const std::string& name) {
    std::string stem = NameWithoutExtension(name);
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return stem;
}

bool IsPfmName(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        return false;
    }
    // Built piece by piece: GCC 12 warns falsely (-Wrestrict) on a literal
    // plus a string at -O2.
    std::string stem = "x";
    stem += name.substr(dot + 1);
    return LowerStem(stem) == "xpfm";
}

// The outline files of pairs whose ".pfm" is listed: the pair is one row,
// named by its metrics file as the list always named it.
void DropPairedOutlines(std::vector<std::string>& names) {
    std::unordered_set<std::string> metricsStems;
    for (const std::string& name : names) {
        if (IsPfmName(name)) {
            metricsStems.insert(LowerStem(name));
        }
    }
    if (metricsStems.empty()) {
        return;
    }
    std::erase_if(names, [&](const std::string& name) {
        return IsType1OutlineName(name) && metricsStems.count(LowerStem(name)) > 0;
    });
}

} // namespace

std::vector<std::string> ParseMasks(const std::string& text) {
    std::vector<std::string> masks;
    size_t start = 0;
    while (true) {
        const size_t stop = text.find(';', start);
        std::string piece =
            text.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
        piece.erase(0, piece.find_first_not_of(' ') == std::string::npos
                           ? piece.size()
                           : piece.find_first_not_of(' '));
        if (stop == std::string::npos) {
            if (!piece.empty()) {
                masks.push_back(std::move(piece));
            }
            return masks;
        }
        masks.push_back(std::move(piece));
        start = stop + 1;
    }
}

std::string JoinMasks(const std::vector<std::string>& masks) {
    std::string text;
    for (size_t i = 0; i < masks.size(); ++i) {
        text += (i == 0 ? "" : "; ") + masks[i];
    }
    // A last piece is kept only when it is not empty: an empty one needs its
    // ";" to be read back.
    if (!masks.empty() && masks.back().empty()) {
        text += ";";
    }
    return text;
}

std::string FolderWithSeparator(const std::string& folder) {
    if (folder.empty() || folder.back() == kSeparator) {
        return folder;
    }
    return folder + kSeparator;
}

std::vector<std::string> ListFolderFiles(const std::string& folder,
                                         const std::vector<std::string>& masks) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        if (IsFolder(entry)) {
            continue;
        }
        const std::string name = entry.path().filename().string();
        for (const std::string& mask : masks) {
            if (!mask.empty() && MaskMatches(mask, name)) {
                names.push_back(name);
            }
        }
    }
    DropPairedOutlines(names);
    Text().SortCollated(names);
    return names;
}

std::vector<std::string> ListSubfolders(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        if (IsFolder(entry)) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

bool HasSubfolders(const std::string& folder) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        if (IsFolder(entry)) {
            return true;
        }
    }
    return false;
}

} // namespace lw
