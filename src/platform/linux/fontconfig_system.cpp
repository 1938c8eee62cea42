#include "platform/linux/fontconfig_system.h"
#include "platform/linux/linux_platform.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fontconfig/fcfreetype.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/replace_file.h"

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

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// What fontconfig read its fonts and rules from, with modification times to
// the nanosecond: the folders it was told of (also missing ones), the
// folders it scanned and its configuration files.
std::vector<std::pair<std::string, int64_t>> FontconfigInputs(FcConfig* config) {
    std::vector<std::pair<std::string, int64_t>> inputs;
    for (FcStrList* raw : {FcConfigGetConfigDirs(config), FcConfigGetFontDirs(config),
                           FcConfigGetConfigFiles(config)}) {
        TFcStrListPtr list(raw);
        while (FcChar8* name = list ? FcStrListNext(list.get()) : nullptr) {
            struct stat status {};
            const char* path = reinterpret_cast<const char*>(name);
            const int64_t time =
                ::stat(path, &status) != 0
                    ? -1
                    : int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
            inputs.emplace_back(path, time);
        }
    }
    return inputs;
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
    face.Info.File = face.File;
    face.Info.Index = IntegerOr(p, FC_INDEX, 0);
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
// What copies of earlier versions were called while they were written.
constexpr const char* kOldPartSuffix = ".letterwell-part";

const FcChar8* Fc(const std::string& text) {
    return reinterpret_cast<const FcChar8*>(text.c_str());
}

// The faces fontconfig finds in a file, whatever its configuration says.
int FacesIn(const std::string& file) {
    TFcFontSetPtr set(FcFontSetCreate());
    if (!set) {
        return 0;
    }
    FcFileScan(set.get(), nullptr, nullptr, nullptr, Fc(file), FcFalse);
    return set->nfont;
}

// The faces fontconfig would serve from a file lying in a font folder under
// the name given: its scan, less what the configuration refuses by file name
// or by pattern (<rejectfont>). Only a folder it scans goes through those
// rules, so a private configuration scans a folder of its own that holds
// nothing but a link to the file, and forgets it again, cache and all.
int FacesAcceptedFrom(const std::string& file, const std::string& name) {
    std::string folder = (fs::temp_directory_path() / "letterwell-check-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        return FacesIn(file);
    }
    std::error_code ec;
    const fs::path link = fs::path(folder) / name;
    fs::create_symlink(fs::absolute(file, ec), link, ec);
    int faces = 0;
    if (TFcConfigPtr config(ec ? nullptr : FcInitLoadConfig()); config) {
        if (FcConfigAppFontAddDir(config.get(), Fc(folder)) == FcTrue) {
            const FcFontSet* set = FcConfigGetFonts(config.get(), FcSetApplication);
            faces = set != nullptr ? set->nfont : 0;
        }
        FcDirCacheUnlink(Fc(folder), config.get());
    } else {
        faces = FacesIn(file);
    }
    fs::remove(link, ec);
    fs::remove(folder, ec);
    return faces;
}

bool IsRealFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(path, ec));
}

// Empties one link folder of a program that is gone: only the links it
// made, never what they point to, and never a folder under a link.
void RemoveLinkFolder(const fs::path& folder) {
    if (!IsRealFolder(folder)) {
        return;
    }
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code typeError;
        if (entry.is_symlink(typeError)) {
            fs::remove(entry.path(), typeError);
        }
    }
    fs::remove(folder, ec); // only when nothing else is left in it
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}
} // namespace

TFontconfigSystem::TFontconfigSystem(std::string userFontFolder)
    : UserFontFolder(std::move(userFontFolder)) {
    RemoveStaleTemporaryFolders();
    RemoveLeftoverCopies();
}

TFontconfigSystem::~TFontconfigSystem() {
    if (UserFontFolder.empty()) {
        return;
    }
    // Whatever the catalogue did not remove goes with the program, and so
    // does its folder, emptied before or not.
    const bool linked = !TemporaryLinks.empty();
    RemoveLinkFolder(TemporaryFolder());
    std::error_code ec;
    fs::remove(fs::path(UserFontFolder) / kTemporaryFolderName,
               ec); // only when no one else's is in it
    if (linked) {
        FontsChanged();
    }
}

std::string TFontconfigSystem::TemporaryFolder() const {
    if (UserFontFolder.empty()) {
        return std::string();
    }
    return (fs::path(UserFontFolder) / kTemporaryFolderName / ProcessStamp()).string();
}

void TFontconfigSystem::RemoveStaleTemporaryFolders() {
    if (UserFontFolder.empty()) {
        return;
    }
    const fs::path root = fs::path(UserFontFolder) / kTemporaryFolderName;
    // A link in place of the folder is none of this program's making.
    if (!IsRealFolder(root)) {
        return;
    }
    std::error_code ec;
    bool removed = false;
    for (const auto& entry : fs::directory_iterator(root, ec)) {
        const std::string stamp = entry.path().filename().string();
        if (!StampIsLive(stamp) && IsRealFolder(entry.path())) {
            RemoveLinkFolder(entry.path());
            removed = true;
        }
    }
    fs::remove(root, ec); // only when no running program has links in it
    if (removed) {
        FontsChanged();
    }
}

void TFontconfigSystem::RemoveLeftoverCopies() {
    if (UserFontFolder.empty() || !IsRealFolder(UserFontFolder)) {
        return;
    }
    RemoveStaleHiddenFiles(UserFontFolder);
    std::error_code ec;
    bool removed = false;
    for (const auto& entry : fs::directory_iterator(UserFontFolder, ec)) {
        std::error_code typeError;
        if (EndsWith(entry.path().filename().string(), kOldPartSuffix) &&
            entry.is_regular_file(typeError) && !entry.is_symlink(typeError)) {
            removed = fs::remove(entry.path(), typeError) || removed;
        }
    }
    if (removed) {
        FontsChanged();
    }
}

std::string TFontconfigSystem::InUserFolder(const std::string& file) const {
    if (file.empty() || file.find('/') != std::string::npos || UserFontFolder.empty()) {
        return file;
    }
    return UserFontFolder + "/" + file;
}

std::string TFontconfigSystem::LoadedFile(const TFontFiles& files) const {
    // A Type 1 pair loads through its outline file.
    return InUserFolder(files.Outline.empty() ? files.File : files.Outline);
}

void TFontconfigSystem::ReloadAppFonts() {
    if (!Config) {
        return; // loaded with the configuration
    }
    FcConfigAppFontClear(Config.get());
    for (const std::string& file : AppFonts) {
        FcConfigAppFontAddFile(Config.get(), Fc(file));
    }
}

void TFontconfigSystem::SetLastError(int code, std::string text) {
    LastErrorNumber = code;
    LastError = text.empty() ? std::string(std::strerror(code)) : std::move(text);
}

int TFontconfigSystem::FacesServed(const TFontFiles& files) {
    return LoadableFaces(files, true);
}

int TFontconfigSystem::LoadableFaces(const TFontFiles& files, bool asInstalled) {
    const std::string file = LoadedFile(files);
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec || !fs::exists(status)) {
        SetLastError(ec ? ec.value() : ENOENT);
        return 0;
    }
    // A pipe or a device would hold the scan until someone writes to it.
    if (!fs::is_regular_file(status)) {
        SetLastError(0, "not a regular file");
        return 0;
    }
    const int faces =
        asInstalled ? FacesAcceptedFrom(file, fs::path(file).filename().string()) : FacesIn(file);
    if (faces == 0) {
        SetLastError(0, "no face fontconfig serves");
    }
    return faces;
}

int TFontconfigSystem::AddFontResource(const TFontFiles& files) {
    // This process may look at any font, also one the configuration refuses
    // to serve to every program.
    const int faces = LoadableFaces(files, false);
    if (faces == 0) {
        return 0;
    }
    const std::string file = LoadedFile(files);
    // Before the first look the file waits for the configuration to load.
    if (Config && FcConfigAppFontAddFile(Config.get(), Fc(file)) != FcTrue) {
        SetLastError(0, "fontconfig could not load the font");
        return 0;
    }
    AppFonts.push_back(file);
    if (Observer != nullptr) {
        Observer->FontFileLoaded(file);
    }
    return faces;
}

bool TFontconfigSystem::RemoveFontResource(const TFontFiles& files) {
    const std::string file = LoadedFile(files);
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
    if (fs::exists(fs::symlink_status(file, ec))) {
        return true;
    }
    SetLastError(ENOENT);
    return false;
}

int TFontconfigSystem::AddTemporaryFont(const TFontFiles& files) {
    const int faces = LoadableFaces(files, false);
    const fs::path folder = TemporaryFolder();
    std::error_code ec;
    if (faces == 0 || folder.empty() || (fs::create_directories(folder, ec), ec)) {
        // Without a link only this program sees the font.
        return faces == 0 ? 0 : AddFontResource(files);
    }
    bool linked = false;
    for (const std::string& part : {files.File, files.Outline}) {
        if (part.empty()) {
            continue;
        }
        const std::string file = InUserFolder(part);
        const std::string name = fs::path(file).filename().string();
        fs::path link = folder / name;
        for (int n = 2; fs::exists(fs::symlink_status(link, ec)); ++n) {
            link = folder / (std::to_string(n) + "-" + name);
        }
        // Other programs find the font through the link until it goes.
        fs::create_symlink(fs::absolute(file, ec), link, ec);
        if (!ec) {
            TemporaryLinks.emplace_back(file, link.string());
            linked = true;
        }
    }
    if (!linked) {
        return AddFontResource(files);
    }
    FontsChanged();
    // fontconfig serves the font through the link alone, so it is listed
    // once; the program's own drawing still needs to be told of it.
    if (Observer != nullptr) {
        Observer->FontFileLoaded(LoadedFile(files));
    }
    return faces;
}

bool TFontconfigSystem::RemoveTemporaryFont(const TFontFiles& files) {
    bool unlinked = false;
    for (const std::string& part : {files.File, files.Outline}) {
        const std::string file = InUserFolder(part);
        for (auto it = TemporaryLinks.begin(); it != TemporaryLinks.end();) {
            if (!part.empty() && it->first == file) {
                std::error_code ec;
                fs::remove(it->second, ec);
                it = TemporaryLinks.erase(it);
                unlinked = true;
            } else {
                ++it;
            }
        }
    }
    if (!unlinked) {
        return RemoveFontResource(files);
    }
    FontsChanged();
    if (Observer != nullptr) {
        Observer->FontFileReleased(LoadedFile(files));
    }
    return true;
}

bool TFontconfigSystem::FontKeyWritable(TFontKey) {
    if (UserFontFolder.empty()) {
        SetLastError(ENOENT);
        return false;
    }
    std::error_code ec;
    fs::create_directories(UserFontFolder, ec);
    if (ec) {
        SetLastError(ec.value());
        return false;
    }
    if (::access(UserFontFolder.c_str(), W_OK) != 0) {
        SetLastError(errno);
        return false;
    }
    return true;
}

bool TFontconfigSystem::WriteFontValue(TFontKey, const std::string&, const TRegValue&) {
    Rescan = true;
    ++Changes;
    return true;
}

bool TFontconfigSystem::DeleteFontValue(TFontKey, const std::string&) {
    Rescan = true;
    ++Changes;
    return true;
}

void TFontconfigSystem::FontsChanged() {
    Rescan = true;
    ++Changes;
    // Rewrites the folder's cache, so other programs see the change without
    // scanning the folder themselves. Before the first look any
    // configuration names the same cache folders.
    if (!UserFontFolder.empty() && fs::is_directory(UserFontFolder)) {
        FcDirCacheRescan(Fc(UserFontFolder), Config.get());
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
    // A fresh look: fontconfig reads its folders again when anything it
    // reads from changed since, and only then.
    const bool changed = Rescan || (Config && FontconfigInputs(Config.get()) != Inputs);
    // Nothing changed: the look already taken is the same, index and all,
    // which a category shown (every family checked) would otherwise rebuild.
    if (changed || !Snapshot) {
        TakeSnapshot(changed);
    }
    return Snapshot->FaceFamilies;
}

struct TFontconfigSystem::TReading : TFontReading {
    TFcConfigPtr Config;
    std::unique_ptr<TSnapshot> Snapshot;
    std::vector<std::pair<std::string, int64_t>> Inputs;
    int Changes = 0;
};

std::unique_ptr<TFontReading> TFontconfigSystem::ReadInstalledFonts() {
    auto reading = std::make_unique<TReading>();
    reading->Changes = Changes;
    reading->Config.reset(FcInitLoadConfigAndFonts());
    if (!reading->Config) {
        return nullptr;
    }
    reading->Inputs = FontconfigInputs(reading->Config.get());
    reading->Snapshot = ListFaces(reading->Config.get());
    // Everything a first family shown asks for, while the thread is here.
    IndexSnapshot(*reading->Snapshot);
    return reading;
}

std::vector<std::string> TFontconfigSystem::AdoptReading(std::unique_ptr<TFontReading> taken) {
    auto* reading = dynamic_cast<TReading*>(taken.get());
    if (reading == nullptr) {
        return EnumFamilyFaces();
    }
    if (Snapshot) {
        return Snapshot->FaceFamilies;
    }
    Config = std::move(reading->Config);
    for (const std::string& file : AppFonts) {
        FcConfigAppFontAddFile(Config.get(), Fc(file));
    }
    Inputs = std::move(reading->Inputs);
    Snapshot = std::move(reading->Snapshot);
    // A change made while the thread read may be missing from its look.
    Rescan = reading->Changes != Changes;
    return Snapshot->FaceFamilies;
}

const std::vector<TFaceInfo>& TFontconfigSystem::EnumFaces(const std::string& family) {
    static const std::vector<TFaceInfo> none;
    const TSnapshot& snapshot = Current();
    auto it = snapshot.Faces.find(family);
    return it == snapshot.Faces.end() ? none : it->second;
}

std::optional<std::string> TFontconfigSystem::FontsFolder() {
    if (UserFontFolder.empty()) {
        return std::nullopt;
    }
    return UserFontFolder;
}

bool TFontconfigSystem::ServesFileNamed(const std::string& fileName) {
    return Current().FileNames.count(fileName) > 0;
}

const TFontList* TFontconfigSystem::FontKey(TFontKey key) {
    const TSnapshot& snapshot = Current();
    return key == TFontKey::Fonts ? &snapshot.Fonts : &snapshot.Type1;
}

std::vector<std::string> TFontconfigSystem::FontFolders() {
    std::vector<std::string> folders;
    if (!UserFontFolder.empty()) {
        folders.push_back(UserFontFolder);
    }
    // Every folder fontconfig scanned, subfolders included.
    TFcStrListPtr list(FcConfigGetFontDirs(LoadedConfig()));
    while (FcChar8* dir = list ? FcStrListNext(list.get()) : nullptr) {
        const std::string folder = reinterpret_cast<const char*>(dir);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    return folders;
}

FcConfig* TFontconfigSystem::LoadedConfig() {
    if (!Config) {
        Config.reset(FcInitLoadConfigAndFonts());
        Inputs.clear();
        if (Config) {
            Inputs = FontconfigInputs(Config.get());
            // The fonts this process loaded for itself are loaded again.
            for (const std::string& file : AppFonts) {
                FcConfigAppFontAddFile(Config.get(), Fc(file));
            }
        }
    }
    return Config.get();
}

const TFontconfigSystem::TSnapshot& TFontconfigSystem::Current() {
    if (!Snapshot || Rescan) {
        TakeSnapshot(Rescan);
    }
    if (!Snapshot->Indexed) {
        IndexSnapshot(*Snapshot);
    }
    return *Snapshot;
}

std::string TFontconfigSystem::FileText(const std::string& file) const {
    const size_t slash = file.rfind('/');
    if (!UserFontFolder.empty() && slash == UserFontFolder.size() &&
        file.compare(0, slash, UserFontFolder) == 0) {
        return file.substr(slash + 1);
    }
    return file;
}

std::string TFontconfigSystem::Type1MetricsPath(const std::string& outline,
                                                TSnapshot& snapshot) const {
    const size_t slash = outline.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string(".") : outline.substr(0, slash);
    // One listing a folder, names folded: a folder of Type 1 fonts holds
    // hundreds, and each outline looks for its metrics file there.
    auto [names, added] = snapshot.FolderNames.try_emplace(folder);
    if (added) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            const std::string name = entry.path().filename().string();
            names->second.emplace(Lower(name), name);
        }
    }
    const std::string name = NameOf(outline);
    const std::string stem = Lower(name.substr(0, name.rfind('.')));
    for (const char* ext : {".pfm", ".afm"}) {
        const auto found = names->second.find(stem + ext);
        if (found != names->second.end()) {
            return folder + "/" + found->second;
        }
    }
    return outline;
}

bool TFontconfigSystem::IsUserFile(const std::string& fileText) const {
    if (fileText.find('/') == std::string::npos) {
        return true; // a bare name lies in the user font folder
    }
    return !UserFontFolder.empty() && fileText.size() > UserFontFolder.size() &&
           fileText.compare(0, UserFontFolder.size(), UserFontFolder) == 0 &&
           fileText[UserFontFolder.size()] == '/';
}

void TFontconfigSystem::AddFontValue(TFontList& values, const std::string& name, TRegValue value,
                                     const std::string& file) const {
    const auto [at, added] = values.emplace(name, value);
    // A font installed both for everyone and in the user's own folder is
    // listed with the user's copy: that is the one the user can remove.
    if (!added && IsUserFile(file) &&
        !IsUserFile(at->second.Type == TRegDataType::String ? at->second.Text
                                                            : at->second.Lines.back())) {
        at->second = std::move(value);
    }
}

void TFontconfigSystem::AddToFontLists(const TFcFace& face, TSnapshot& snapshot) const {
    const std::string file = FileText(face.File);
    switch (face.Info.Kind) {
    case TRUETYPE_FONTTYPE: {
        const char* suffix = face.Format == "CFF" ? " (OpenType)" : " (TrueType)";
        // Every language's full name, so a name read from the file in any of
        // them finds the font; the first face to claim a name keeps it.
        for (const std::string& name : face.FullNames) {
            AddFontValue(snapshot.Fonts, name + suffix, TRegValue::FromString(file), file);
        }
        break;
    }
    case RASTER_FONTTYPE:
        AddFontValue(snapshot.Fonts, face.Info.FullName, TRegValue::FromString(file), file);
        break;
    case DEVICE_FONTTYPE: {
        if (face.Info.FullName.empty()) {
            break;
        }
        std::string name = face.Info.FullName;
        std::replace(name.begin(), name.end(), '-', ' ');
        AddFontValue(snapshot.Type1, name,
                     TRegValue::FromMultiString(
                         {"T", FileText(Type1MetricsPath(face.File, snapshot)), file}),
                     file);
        break;
    }
    default:
        break;
    }
}

void TFontconfigSystem::IndexSnapshot(TSnapshot& snapshot) const {
    for (const int i : snapshot.Listed) {
        const TFcFace face = FaceFromPattern(snapshot.Set->fonts[i]);
        snapshot.FileNames.insert(NameOf(face.File));
        // Asked for by any of its family names (a file may give the
        // typographic family first), listed under the first.
        for (const std::string& family : face.Families) {
            snapshot.Faces[family].push_back(face.Info);
        }
        AddToFontLists(face, snapshot);
    }
    snapshot.Indexed = true;
}

void TFontconfigSystem::TakeSnapshot(bool rescan) {
    if (rescan) {
        // Sees fonts added or removed since the last look, by anyone: a new
        // configuration reads its folders again where they changed.
        Config.reset();
    }
    FcConfig* config = LoadedConfig();
    if (config == nullptr) {
        throw EFontSystemError("fontconfig could not read its configuration");
    }
    Rescan = false;
    Snapshot = ListFaces(config);
}

std::unique_ptr<TFontconfigSystem::TSnapshot> TFontconfigSystem::ListFaces(FcConfig* config) {
    auto snapshot = std::make_unique<TSnapshot>();
    snapshot->Config.reset(FcConfigReference(config));
    // The installed fonts only: what this process loads for itself (a
    // preview) is not installed.
    snapshot->Set = FcConfigGetFonts(config, FcSetSystem);
    if (snapshot->Set == nullptr) {
        return snapshot;
    }
    const FcFontSet& set = *snapshot->Set;
    // A folder reached by two configured paths lists its files twice.
    std::unordered_set<std::string> seen;
    seen.reserve(static_cast<size_t>(set.nfont));
    for (int i = 0; i < set.nfont; ++i) {
        FcChar8* family = nullptr;
        FcChar8* file = nullptr;
        // The variable master repeats its named instances, which are listed too.
        if (FcPatternGetString(set.fonts[i], FC_FAMILY, 0, &family) != FcResultMatch ||
            family == nullptr || family[0] == 0 || BoolOr(set.fonts[i], FC_VARIABLE, false)) {
            continue;
        }
        if (FcPatternGetString(set.fonts[i], FC_FILE, 0, &file) == FcResultMatch &&
            file != nullptr &&
            !seen.insert(reinterpret_cast<const char*>(file) + std::string(1, '\0') +
                         std::to_string(IntegerOr(set.fonts[i], FC_INDEX, 0)))
                 .second) {
            continue;
        }
        snapshot->Listed.push_back(i);
        snapshot->FaceFamilies.emplace_back(reinterpret_cast<const char*>(family));
    }
    return snapshot;
}

std::vector<TFcFace> FacesOfFile(const std::string& path) {
    std::vector<TFcFace> faces;
    TFcFontSetPtr set(FcFontSetCreate());
    if (!set) {
        return faces;
    }
    FcFileScan(set.get(), nullptr, nullptr, nullptr, Fc(path), FcFalse);
    for (int i = 0; i < set->nfont; ++i) {
        if (!BoolOr(set->fonts[i], FC_VARIABLE, false)) {
            faces.push_back(FaceFromPattern(set->fonts[i]));
        }
    }
    return faces;
}

std::vector<TFaceNames> TFontconfigSystem::FacesOfFile(const std::string& path) {
    std::vector<TFaceNames> names;
    for (const TFcFace& face : lw::FacesOfFile(path)) {
        names.push_back({face.Family, face.Info.StyleName, face.Info.FullName});
    }
    return names;
}

} // namespace lw
