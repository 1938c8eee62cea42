#pragma once

#include "platform/linux/fontconfig_system.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace lw::bench {

// This machine's TrueType and OpenType files that fontconfig serves, each
// once, first faces only: real, different fonts for a benchmark to link to.
inline std::vector<std::string> MachineFontFiles() {
    std::vector<std::string> files;
    TFcPatternPtr pattern(FcPatternCreate());
    TFcObjectSetPtr objects(FcObjectSetBuild(FC_FILE, FC_INDEX, static_cast<char*>(nullptr)));
    TFcFontSetPtr set(FcFontList(nullptr, pattern.get(), objects.get()));
    for (int i = 0; set && i < set->nfont; ++i) {
        FcChar8* file = nullptr;
        int index = 0;
        FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch && index == 0) {
            const std::string path = reinterpret_cast<const char*>(file);
            const std::string ext = std::filesystem::path(path).extension().string();
            if (ext == ".ttf" || ext == ".otf") {
                files.push_back(path);
            }
        }
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    return files;
}

// A folder of the benchmark's holding count links to this machine's font
// files, named in order ("00000-DejaVuSans.ttf", ...), the machine's files
// taken again from the start when there are fewer.
inline std::filesystem::path LinkMachineFonts(const std::string& name, int count,
                                              const std::vector<std::string>& machine) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / name;
    fs::create_directories(folder);
    for (int i = 0; i < count && !machine.empty(); ++i) {
        const std::string& target = machine[static_cast<size_t>(i) % machine.size()];
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "%05d-", i);
        fs::create_symlink(target, folder / (prefix + fs::path(target).filename().string()));
    }
    return folder;
}

} // namespace lw::bench
