#include "platform/linux/fontconfig_system.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace lw {

namespace fs = std::filesystem;

namespace {

std::string StringAt(FcPattern* p, const char* object, int index = 0) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(p, object, index, &value) != FcResultMatch || value == nullptr) {
        return std::string();
    }
    return reinterpret_cast<const char*>(value);
}

int IntegerOr(FcPattern* p, const char* object, int fallback) {
    int value = 0;
    if (FcPatternGetInteger(p, object, 0, &value) == FcResultMatch) {
        return value;
    }
    double real = 0;
    // Variable fonts give ranges or reals for weight.
    if (FcPatternGetDouble(p, object, 0, &real) == FcResultMatch) {
        return static_cast<int>(real);
    }
    return fallback;
}

bool BoolOr(FcPattern* p, const char* object, bool fallback) {
    FcBool value = FcFalse;
    if (FcPatternGetBool(p, object, 0, &value) != FcResultMatch) {
        return fallback;
    }
    return value == FcTrue;
}

bool HasOpenTypeLayout(FcPattern* p) {
    return StringAt(p, FC_CAPABILITY).find("otlayout:") != std::string::npos;
}

void ClassifyFace(FcPattern* p, TFcFace& face) {
    TFaceInfo& info = face.Info;
    if (!BoolOr(p, FC_SCALABLE, false)) {
        info.Kind = RASTER_FONTTYPE;
    } else if (face.Format == "TrueType") {
        info.Kind = TRUETYPE_FONTTYPE;
        if (HasOpenTypeLayout(p)) {
            info.Flags |= NTM_TT_OPENTYPE;
        }
    } else if (face.Format == "CFF") {
        info.Kind = TRUETYPE_FONTTYPE;
        info.Flags |= NTM_PS_OPENTYPE;
    } else if (face.Format == "Type 1" || face.Format == "CID Type 1") {
        info.Kind = DEVICE_FONTTYPE;
        info.Flags |= NTM_TYPE1;
    }
    const bool italic = IntegerOr(p, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
    const bool bold = IntegerOr(p, FC_WEIGHT, FC_WEIGHT_REGULAR) >= FC_WEIGHT_BOLD;
    if (italic) {
        info.Flags |= NTM_ITALIC;
    }
    if (bold) {
        info.Flags |= NTM_BOLD;
    }
    if (!italic && !bold) {
        info.Flags |= NTM_REGULAR;
    }
}

std::string DataHome() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.local/share";
    }
    return std::string();
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// A Type 1 font is listed with a metrics file: the ".pfm" beside the outline
// (names compared ignoring case), else the ".afm", else the outline itself.
std::string Type1MetricsPath(const std::string& outline) {
    const fs::path path(outline);
    const std::string stem = Lower(path.stem().string());
    std::error_code ec;
    for (const char* ext : {".pfm", ".afm"}) {
        for (const auto& entry : fs::directory_iterator(path.parent_path(), ec)) {
            if (Lower(entry.path().filename().string()) == stem + ext) {
                return entry.path().string();
            }
        }
    }
    return outline;
}

} // namespace

TFcFace FaceFromPattern(FcPattern* p) {
    TFcFace face;
    face.Family = StringAt(p, FC_FAMILY);
    face.File = StringAt(p, FC_FILE);
    face.Format = StringAt(p, FC_FONTFORMAT);
    face.PostScriptName = StringAt(p, FC_POSTSCRIPT_NAME);
    face.Variable = BoolOr(p, FC_VARIABLE, false);
    for (int i = 0;; ++i) {
        std::string name = StringAt(p, FC_FULLNAME, i);
        if (name.empty()) {
            break;
        }
        face.FullNames.push_back(std::move(name));
    }
    face.Info.StyleName = StringAt(p, FC_STYLE);
    ClassifyFace(p, face);
    if (face.Info.Kind == DEVICE_FONTTYPE && !face.PostScriptName.empty()) {
        // A Type 1 font goes by its PostScript name, as its metrics file says.
        face.Info.FullName = face.PostScriptName;
    } else if (!face.FullNames.empty()) {
        face.Info.FullName = face.FullNames.front();
    } else if (face.Info.Kind == RASTER_FONTTYPE) {
        // Bitmap fonts carry no full name; they go by their family.
        face.Info.FullName = face.Family;
    }
    return face;
}

TFontconfigSystem::TFontconfigSystem(std::string userFontFolder)
    : UserFontFolder(std::move(userFontFolder)) {}

std::optional<std::string> TFontconfigSystem::DefaultUserFontFolder() {
    const std::string data = DataHome();
    if (data.empty()) {
        return std::nullopt;
    }
    return data + "/fonts";
}

std::vector<std::string> TFontconfigSystem::EnumFamilyFaces() {
    TakeSnapshot(true);
    return Snapshot->FaceFamilies;
}

std::vector<TFaceInfo> TFontconfigSystem::EnumFaces(const std::string& family) {
    const TSnapshot& snapshot = Current();
    auto it = snapshot.Faces.find(family);
    return it == snapshot.Faces.end() ? std::vector<TFaceInfo>() : it->second;
}

std::optional<std::string> TFontconfigSystem::FontsFolder() {
    if (UserFontFolder.empty()) {
        return std::nullopt;
    }
    return UserFontFolder;
}

const TRegValues* TFontconfigSystem::FontKey(TFontKey key) {
    const TSnapshot& snapshot = Current();
    return key == TFontKey::Fonts ? &snapshot.Fonts : &snapshot.Type1;
}

std::vector<std::string> TFontconfigSystem::FontFolders() {
    std::vector<std::string> folders;
    if (!UserFontFolder.empty()) {
        folders.push_back(UserFontFolder);
    }
    // Every folder fontconfig scanned, subfolders included.
    TFcStrListPtr list(FcConfigGetFontDirs(nullptr));
    while (FcChar8* dir = list ? FcStrListNext(list.get()) : nullptr) {
        const std::string folder = reinterpret_cast<const char*>(dir);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    return folders;
}

const TFontconfigSystem::TSnapshot& TFontconfigSystem::Current() {
    if (!Snapshot) {
        TakeSnapshot(false);
    }
    return *Snapshot;
}

std::string TFontconfigSystem::FileText(const std::string& file) const {
    const fs::path path(file);
    if (!UserFontFolder.empty() && path.parent_path() == fs::path(UserFontFolder)) {
        return path.filename().string();
    }
    return file;
}

void TFontconfigSystem::AddToFontLists(const TFcFace& face, TSnapshot& snapshot) const {
    const std::string file = FileText(face.File);
    switch (face.Info.Kind) {
    case TRUETYPE_FONTTYPE: {
        const char* suffix = face.Format == "CFF" ? " (OpenType)" : " (TrueType)";
        // Every language's full name, so a name read from the file in any of
        // them finds the font; the first face to claim a name keeps it.
        for (const std::string& name : face.FullNames) {
            snapshot.Fonts.emplace(name + suffix, TRegValue::FromString(file));
        }
        break;
    }
    case RASTER_FONTTYPE:
        snapshot.Fonts.emplace(face.Info.FullName, TRegValue::FromString(file));
        break;
    case DEVICE_FONTTYPE: {
        if (face.Info.FullName.empty()) {
            break;
        }
        std::string name = face.Info.FullName;
        std::replace(name.begin(), name.end(), '-', ' ');
        snapshot.Type1.emplace(name, TRegValue::FromMultiString({"T", FileText(Type1MetricsPath(face.File)), file}));
        break;
    }
    default: break;
    }
}

void TFontconfigSystem::TakeSnapshot(bool rescan) {
    if (rescan) {
        // Sees fonts added or removed since the last look, by anyone.
        FcInitReinitialize();
    }
    auto snapshot = std::make_unique<TSnapshot>();
    TFcPatternPtr pattern(FcPatternCreate());
    TFcObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FULLNAME, FC_FONTFORMAT, FC_FILE,
                                             FC_WEIGHT, FC_SLANT, FC_SCALABLE, FC_CAPABILITY,
                                             FC_POSTSCRIPT_NAME, FC_VARIABLE, FC_INDEX,
                                             FC_PIXEL_SIZE, static_cast<char*>(nullptr)));
    if (!pattern || !objects) {
        throw EFontSystemError("fontconfig could not allocate a query");
    }
    TFcFontSetPtr set(FcFontList(nullptr, pattern.get(), objects.get()));
    if (!set) {
        throw EFontSystemError("fontconfig could not list the fonts");
    }
    for (int i = 0; i < set->nfont; ++i) {
        const TFcFace face = FaceFromPattern(set->fonts[i]);
        // The variable master repeats its named instances, which are listed too.
        if (face.Family.empty() || face.Variable) {
            continue;
        }
        snapshot->FaceFamilies.push_back(face.Family);
        snapshot->Faces[face.Family].push_back(face.Info);
        AddToFontLists(face, *snapshot);
    }
    Snapshot = std::move(snapshot);
}

} // namespace lw
