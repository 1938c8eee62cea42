#include "platform/linux/interface_fonts.h"

#include "platform/linux/fontconfig_system.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_set>
#include <vector>

namespace lw {

namespace {

std::string Folded(const FcChar8* text) {
    std::string folded = reinterpret_cast<const char*>(text);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

// Every family the rules name for the generic families, folded.
std::unordered_set<std::string> PreferredFamilies(FcConfig* config) {
    std::unordered_set<std::string> families;
    for (const char* generic : {"sans-serif", "serif", "monospace"}) {
        TFcPatternPtr pattern(FcPatternCreate());
        if (!pattern) {
            continue;
        }
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(generic));
        FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
        FcChar8* family = nullptr;
        for (int i = 0; FcPatternGetString(pattern.get(), FC_FAMILY, i, &family) == FcResultMatch;
             ++i) {
            families.insert(Folded(family));
        }
    }
    return families;
}

bool IsPreferred(FcPattern* face, const std::unordered_set<std::string>& families) {
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(face, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
        if (families.count(Folded(family)) > 0) {
            return true;
        }
    }
    return false;
}

// The preferred faces of the folders' valid caches, subfolders included;
// each pattern is referenced, which keeps its cache loaded.
std::vector<FcPattern*> CachedFaces(FcConfig* config,
                                    const std::unordered_set<std::string>& families) {
    std::vector<std::string> folders;
    TFcStrListPtr dirs(FcConfigGetFontDirs(config));
    while (FcChar8* dir = dirs ? FcStrListNext(dirs.get()) : nullptr) {
        folders.emplace_back(reinterpret_cast<const char*>(dir));
    }
    std::vector<FcPattern*> faces;
    std::unordered_set<std::string> visited;
    while (!folders.empty()) {
        const std::string folder = std::move(folders.back());
        folders.pop_back();
        if (!visited.insert(folder).second) {
            continue;
        }
        // Only a cache that is still true to its folder loads.
        FcCache* cache =
            FcDirCacheLoad(reinterpret_cast<const FcChar8*>(folder.c_str()), config, nullptr);
        if (cache == nullptr) {
            continue;
        }
        if (TFcFontSetPtr set(FcCacheCopySet(cache)); set) {
            for (int i = 0; i < set->nfont; ++i) {
                if (IsPreferred(set->fonts[i], families)) {
                    FcPatternReference(set->fonts[i]);
                    faces.push_back(set->fonts[i]);
                }
            }
        }
        for (int i = 0; i < FcCacheNumSubdir(cache); ++i) {
            folders.emplace_back(reinterpret_cast<const char*>(FcCacheSubdir(cache, i)));
        }
        FcDirCacheUnload(cache);
    }
    return faces;
}

} // namespace

bool UseInterfaceFontsOnly() {
    TFcConfigPtr config(FcInitLoadConfig());
    if (!config) {
        return false;
    }
    std::vector<FcPattern*> faces = CachedFaces(config.get(), PreferredFamilies(config.get()));
    // Without folders the configuration builds an empty list of installed
    // fonts when it becomes current, instead of reading them all.
    const auto* noFolders =
        reinterpret_cast<const FcChar8*>("<fontconfig><reset-dirs/></fontconfig>");
    FcFontSet* installed = nullptr;
    if (!faces.empty() && FcConfigParseAndLoadFromMemory(config.get(), noFolders, FcFalse) &&
        FcConfigSetCurrent(config.get())) {
        installed = FcConfigGetFonts(config.get(), FcSetSystem);
    }
    if (installed == nullptr) {
        std::for_each(faces.begin(), faces.end(), FcPatternDestroy);
        return false;
    }
    // Among the installed fonts rather than the application's, which Qt
    // clears whenever it lets one of its own go.
    for (FcPattern* face : faces) {
        if (!FcFontSetAdd(installed, face)) {
            FcPatternDestroy(face);
        }
    }
    return true;
}

} // namespace lw
