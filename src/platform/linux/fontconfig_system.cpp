#include "platform/linux/fontconfig_system.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fontconfig/fcfreetype.h>
#include <unistd.h>

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
    for (int i = 0;; ++i) {
        std::string family = StringAt(p, FC_FAMILY, i);
        if (family.empty()) {
            break;
        }
        if (std::find(face.Families.begin(), face.Families.end(), family) == face.Families.end()) {
            face.Families.push_back(std::move(family));
        }
    }
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

namespace {
constexpr const char* kTemporaryFolderName = "Letterwell temporary";

bool ProcessIsRunning(long pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// Faces fontconfig finds in a file; 0 when it is no font it can read.
int FacesIn(const std::string& file) {
    TFcFontSetPtr set(FcFontSetCreate());
    if (!set) {
        return 0;
    }
    FcFreeTypeQueryAll(reinterpret_cast<const FcChar8*>(file.c_str()), -1, nullptr, nullptr,
                       set.get());
    return set->nfont;
}
} // namespace

TFontconfigSystem::TFontconfigSystem(std::string userFontFolder)
    : UserFontFolder(std::move(userFontFolder)) {
    RemoveStaleTemporaryFolders();
}

TFontconfigSystem::~TFontconfigSystem() {
    // Whatever the catalogue did not remove goes with the program.
    for (const auto& [file, link] : TemporaryLinks) {
        std::error_code ec;
        fs::remove(link, ec);
    }
    if (!TemporaryLinks.empty()) {
        std::error_code ec;
        fs::remove_all(TemporaryFolder(), ec);
    }
}

std::string TFontconfigSystem::TemporaryFolder() const {
    if (UserFontFolder.empty()) {
        return std::string();
    }
    return (fs::path(UserFontFolder) / kTemporaryFolderName / std::to_string(::getpid())).string();
}

void TFontconfigSystem::RemoveStaleTemporaryFolders() {
    if (UserFontFolder.empty()) {
        return;
    }
    const fs::path root = fs::path(UserFontFolder) / kTemporaryFolderName;
    std::error_code ec;
    bool removed = false;
    for (const auto& entry : fs::directory_iterator(root, ec)) {
        const std::string name = entry.path().filename().string();
        char* end = nullptr;
        const long pid = std::strtol(name.c_str(), &end, 10);
        const bool ownedByLiveProgram = end != nullptr && *end == '\0' && ProcessIsRunning(pid);
        if (!ownedByLiveProgram) {
            std::error_code removeError;
            fs::remove_all(entry.path(), removeError);
            removed = true;
        }
    }
    if (removed) {
        FontsChanged();
    }
}

std::vector<std::string> TFontconfigSystem::ResolveFiles(const std::string& fileText,
                                                         bool outlineOnly) const {
    std::vector<std::string> files;
    size_t start = 0;
    while (start <= fileText.size()) {
        const size_t bar = fileText.find('|', start);
        std::string part =
            fileText.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (!part.empty()) {
            if (part.find('/') == std::string::npos && !UserFontFolder.empty()) {
                part = (fs::path(UserFontFolder) / part).string();
            }
            files.push_back(part);
        }
        if (bar == std::string::npos) {
            break;
        }
        start = bar + 1;
    }
    // A Type 1 pair loads through its outline file.
    if (outlineOnly && files.size() > 1) {
        files.erase(files.begin(), files.end() - 1);
    }
    return files;
}

void TFontconfigSystem::ReloadAppFonts() {
    FcConfigAppFontClear(nullptr);
    for (const std::string& file : AppFonts) {
        FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(file.c_str()));
    }
    Stale = true;
}

int TFontconfigSystem::AddFontResource(const std::string& fileText) {
    const std::vector<std::string> files = ResolveFiles(fileText, true);
    if (files.empty()) {
        LastError = std::strerror(ENOENT);
        return 0;
    }
    const std::string& file = files.front();
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        LastError = std::strerror(ec ? ec.value() : ENOENT);
        return 0;
    }
    const int faces = FacesIn(file);
    if (faces == 0) {
        LastError = "not a font file that can be loaded";
        return 0;
    }
    if (FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(file.c_str())) != FcTrue) {
        LastError = "fontconfig could not load the font";
        return 0;
    }
    AppFonts.push_back(file);
    Stale = true;
    if (Observer != nullptr) {
        Observer->FontFileLoaded(file);
    }
    return faces;
}

bool TFontconfigSystem::RemoveFontResource(const std::string& fileText) {
    const std::vector<std::string> files = ResolveFiles(fileText, true);
    if (files.empty()) {
        LastError = std::strerror(ENOENT);
        return false;
    }
    const std::string& file = files.front();
    const auto loaded = std::find(AppFonts.begin(), AppFonts.end(), file);
    if (loaded != AppFonts.end()) {
        AppFonts.erase(loaded);
        ReloadAppFonts();
        if (Observer != nullptr) {
            Observer->FontFileReleased(file);
        }
        return true;
    }
    // An installed font is let go when its file leaves the font folders.
    std::error_code ec;
    if (fs::exists(file, ec)) {
        return true;
    }
    LastError = std::strerror(ENOENT);
    return false;
}

int TFontconfigSystem::AddTemporaryFont(const std::string& fileText) {
    const std::vector<std::string> files = ResolveFiles(fileText, false);
    const fs::path folder = TemporaryFolder();
    std::error_code ec;
    if (folder.empty() || (fs::create_directories(folder, ec), ec)) {
        LastError = ec ? ec.message() : std::string(std::strerror(ENOENT));
        return AddFontResource(fileText);
    }
    for (const std::string& file : files) {
        fs::path link = folder / fs::path(file).filename();
        for (int n = 2; fs::exists(fs::symlink_status(link, ec)); ++n) {
            link = folder / (std::to_string(n) + "-" + fs::path(file).filename().string());
        }
        // Other programs find the font through the link until it goes.
        fs::create_symlink(fs::absolute(file, ec), link, ec);
        if (!ec) {
            TemporaryLinks.emplace_back(file, link.string());
        }
    }
    FontsChanged();
    return AddFontResource(fileText);
}

bool TFontconfigSystem::RemoveTemporaryFont(const std::string& fileText) {
    for (const std::string& file : ResolveFiles(fileText, false)) {
        for (auto it = TemporaryLinks.begin(); it != TemporaryLinks.end();) {
            if (it->first == file) {
                std::error_code ec;
                fs::remove(it->second, ec);
                it = TemporaryLinks.erase(it);
            } else {
                ++it;
            }
        }
    }
    FontsChanged();
    return RemoveFontResource(fileText);
}

bool TFontconfigSystem::FontKeyWritable(TFontKey) {
    if (UserFontFolder.empty()) {
        LastError = std::strerror(ENOENT);
        return false;
    }
    std::error_code ec;
    fs::create_directories(UserFontFolder, ec);
    if (ec || ::access(UserFontFolder.c_str(), W_OK) != 0) {
        LastError = ec ? ec.message() : std::string(std::strerror(errno));
        return false;
    }
    return true;
}

bool TFontconfigSystem::WriteFontValue(TFontKey, const std::string&, const TRegValue&) {
    Stale = true;
    return true;
}

bool TFontconfigSystem::DeleteFontValue(TFontKey, const std::string&) {
    Stale = true;
    return true;
}

void TFontconfigSystem::FontsChanged() {
    Stale = true;
    // Rewrites the folder's cache, so other programs see the change without
    // scanning the folder themselves.
    if (!UserFontFolder.empty() && fs::is_directory(UserFontFolder)) {
        FcDirCacheRescan(reinterpret_cast<const FcChar8*>(UserFontFolder.c_str()), nullptr);
    }
}

void TFontconfigSystem::SetProcessFontObserver(IProcessFontObserver* observer) {
    Observer = observer;
}

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
    if (!Snapshot || Stale) {
        TakeSnapshot(Stale);
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
        snapshot.Type1.emplace(
            name, TRegValue::FromMultiString({"T", FileText(Type1MetricsPath(face.File)), file}));
        break;
    }
    default:
        break;
    }
}

void TFontconfigSystem::TakeSnapshot(bool rescan) {
    if (rescan) {
        // Sees fonts added or removed since the last look, by anyone; the
        // fonts this process loaded itself are loaded again after it.
        FcInitReinitialize();
        for (const std::string& file : AppFonts) {
            FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(file.c_str()));
        }
    }
    Stale = false;
    auto snapshot = std::make_unique<TSnapshot>();
    TFcPatternPtr pattern(FcPatternCreate());
    TFcObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FULLNAME, FC_FONTFORMAT,
                                             FC_FILE, FC_WEIGHT, FC_SLANT, FC_SCALABLE,
                                             FC_CAPABILITY, FC_POSTSCRIPT_NAME, FC_VARIABLE,
                                             FC_INDEX, FC_PIXEL_SIZE, static_cast<char*>(nullptr)));
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
        // Asked for by any of its family names (a file may give the
        // typographic family first), listed under the first.
        for (const std::string& family : face.Families) {
            snapshot->Faces[family].push_back(face.Info);
        }
        AddToFontLists(face, *snapshot);
    }
    Snapshot = std::move(snapshot);
}

} // namespace lw
