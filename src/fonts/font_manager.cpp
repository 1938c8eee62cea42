#include "fonts/font_manager.h"

#include "base/helpers.h"
#include "base/strings.h"
#include "fonts/font_paths.h"
#include "platform/services.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

namespace lw {

std::unique_ptr<TFontManager> FontManager;

namespace {

constexpr int kErrorText = 1;
constexpr int kFontsFolderNotFound = 30100;
constexpr int kFirstTypeName = 30000;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string ExtensionOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return std::string();
    }
    return Lower(path.substr(dot));
}

bool HasOpenTypeFlag(uint32_t flags) {
    return (flags & (NTM_PS_OPENTYPE | NTM_TT_OPENTYPE)) != 0;
}

// Bitmap font files of the systems this program runs on; the first is the
// only one the other system stores in its font list.
bool IsBitmapFontFile(const std::string& file) {
    const std::string lower = Lower(file);
    for (const char* ext : {".fon", ".pcf", ".pcf.gz", ".bdf", ".bdf.gz", ".otb"}) {
        const std::string e = ext;
        if (lower.size() >= e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0) {
            return true;
        }
    }
    return false;
}

// The stored Type 1 list "T", metrics, outline, "": the texts between the
// zero bytes, which no file name can hold.
TFontFiles Type1Files(const std::vector<uint8_t>& bytes) {
    std::vector<std::string> texts(1);
    for (uint8_t b : bytes) {
        if (b == 0) {
            texts.emplace_back();
        } else {
            texts.back() += static_cast<char>(b);
        }
    }
    if (texts.size() < 3 || texts[1].empty()) {
        return TFontFiles();
    }
    return TFontFiles(texts[1], texts[2]);
}

std::vector<uint8_t> MultiStringBytes(const TRegValue& value) {
    if (value.Type == TRegDataType::Binary) {
        return value.Bytes;
    }
    std::vector<uint8_t> bytes;
    for (const std::string& line : value.Lines) {
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.push_back(0);
    }
    bytes.push_back(0);
    return bytes;
}

const TFontList& OpenFontKey(TFontKey key) {
    const TFontList* values = FontSystem().FontKey(key);
    if (values == nullptr) {
        throw EAbort();
    }
    return *values;
}

} // namespace

TFontManager::TFontManager(TFirstLook look) {
    const std::optional<std::string> folder = FontSystem().FontsFolder();
    if (folder && !folder->empty()) {
        FontsFolder = *folder;
    } else {
        Prompts().MessageBox(LoadStr(kFontsFolderNotFound), LoadStr(kErrorText), TMsgIcon::Error,
                             TMsgButtons::Ok);
        FontsFolder = LoadStr(kErrorText);
    }
    Awaiting = look == TFirstLook::Later;
    if (!Awaiting) {
        Refresh();
    }
}

TFontManager::~TFontManager() {
    try {
        RemoveTemporaryFonts();
    } catch (const std::exception&) {
        // The program is ending; the links go with the font system anyway.
    }
}

void TFontManager::Refresh() {
    try {
        UseFamilies(FontSystem().EnumFamilyFaces());
    } catch (const EFontSystemError&) {
    }
}

void TFontManager::AdoptReading(std::unique_ptr<TFontReading> reading) {
    Awaiting = false;
    try {
        UseFamilies(FontSystem().AdoptReading(std::move(reading)));
    } catch (const EFontSystemError&) {
    }
}

void TFontManager::UseFamilies(std::vector<std::string> faceFamilies) {
    // The system lists a family once per face: each name is kept once
    // before the sort, which asks the locale for a key a name.
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (std::string& name : faceFamilies) {
        if (name != "Default" && seen.insert(name).second) {
            names.push_back(std::move(name));
        }
    }
    Text().SortCollated(names);
    // Names that differ only in case are one family.
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string& a, const std::string& b) {
                                return Text().CompareIgnoreCase(a, b) == 0;
                            }),
                names.end());
    Families = std::move(names);
}

void TFontManager::LoadFontTypeNames() {
    for (size_t n = 0; n < TypeNames.size(); ++n) {
        TypeNames[n] = LoadStr(kFirstTypeName + static_cast<int>(n));
    }
}

std::string TFontManager::GetFontTypeName(uint8_t code) const {
    return code < TypeNames.size() ? TypeNames[code] : std::string();
}

uint8_t TFontManager::GetFontType(const std::string& family) {
    uint8_t type = ftUnknown;
    for (const TFaceInfo& face : FontSystem().EnumFaces(family)) {
        if (face.Kind == RASTER_FONTTYPE) {
            type = ftBitmap;
            continue;
        }
        if (face.Kind == DEVICE_FONTTYPE) {
            if (HasOpenTypeFlag(face.Flags)) {
                type = ftOpenType;
            } else {
                type = (face.Flags & NTM_TYPE1) != 0 ? ftType1 : ftUnknown;
            }
        } else if (face.Kind == TRUETYPE_FONTTYPE) {
            type = face.FullName.starts_with("@") ? ftTrueTypeCollection : ftTrueType;
            if (HasOpenTypeFlag(face.Flags)) {
                type = ftOpenType;
            }
        } else {
            type = ftUnknown;
        }
        break;
    }
    return type;
}

void TFontManager::GetFamilyStyles(const std::string& family, std::vector<std::string>& styles,
                                   std::vector<std::string>& fullNames) {
    std::vector<std::string> collectedStyles;
    std::vector<std::string> collectedNames;
    std::vector<std::string> flags;
    std::vector<char> scalable;
    for (const TFaceInfo& face : FontSystem().EnumFaces(family)) {
        collectedNames.push_back(face.FullName);
        scalable.push_back(face.Scalable());
        if (face.Scalable()) {
            collectedStyles.push_back(face.StyleName);
            flags.push_back(std::to_string(face.Flags & NTM_STYLE_MASK));
        } else if (face.Kind == RASTER_FONTTYPE) {
            collectedStyles.push_back("(" + TypeNames[ftBitmap] + ")");
        } else {
            collectedStyles.push_back(TypeNames[ftUnknown]);
        }
    }
    // Ordered by the flag text, ordinal: "1", "32", "33", "64" (and "8" after
    // "64"). Equal texts keep their order. The flags exist only for scalable
    // faces, so like the lists they index, only the first n entries move.
    const size_t n = flags.size();
    for (size_t pass = 1; pass < n; ++pass) {
        for (size_t j = 0; j + 1 < n; ++j) {
            if (flags[j].compare(flags[j + 1]) > 0) {
                std::swap(flags[j], flags[j + 1]);
                std::swap(collectedStyles[j], collectedStyles[j + 1]);
                std::swap(collectedNames[j], collectedNames[j + 1]);
                std::swap(scalable[j], scalable[j + 1]);
            }
        }
    }
    // A scalable face the system serves from several files (one font
    // installed in two folders, a Type 1 font as ".pfb" and ".t1") is one
    // face to the user: the first of its kind stays. Bitmap faces of one
    // name differ in their sizes, and each size stays.
    styles.clear();
    fullNames.clear();
    std::vector<char> kept;
    for (size_t i = 0; i < collectedStyles.size() && i < collectedNames.size(); ++i) {
        bool repeated = false;
        for (size_t j = 0; j < styles.size() && !repeated && scalable[i]; ++j) {
            repeated =
                kept[j] && styles[j] == collectedStyles[i] && fullNames[j] == collectedNames[i];
        }
        if (!repeated) {
            kept.push_back(scalable[i]);
            styles.push_back(std::move(collectedStyles[i]));
            fullNames.push_back(std::move(collectedNames[i]));
        }
    }
}

void TFontManager::GetFamilyStyleNames(const std::string& family,
                                       std::vector<std::string>& styles) {
    std::vector<std::string> unused;
    GetFamilyStyles(family, styles, unused);
    // A style name once, though the family may hold that style in two kinds
    // (Type 1 and OpenType) under two full names.
    std::vector<std::string> named;
    for (std::string& style : styles) {
        if (std::find(named.begin(), named.end(), style) == named.end()) {
            named.push_back(std::move(style));
        }
    }
    styles = std::move(named);
}

void TFontManager::GetFamilyFullNames(const std::string& family,
                                      std::vector<std::string>& fullNames) {
    std::vector<std::string> unused;
    GetFamilyStyles(family, unused, fullNames);
}

TFontStyles TFontManager::GetStyleFlags(const std::string& family, const std::string& style) {
    uint32_t flags = 0;
    // An empty style names no face: the search then looks for a full name.
    for (const TFaceInfo& face : FontSystem().EnumFaces(family)) {
        if (!style.empty() && face.Scalable() && face.StyleName == style) {
            flags = face.Flags & NTM_STYLE_MASK;
            break;
        }
    }
    TFontStyles result = 0;
    if ((flags & NTM_ITALIC) != 0) {
        result |= fsItalic;
    }
    if ((flags & NTM_STRIKEOUT) != 0) {
        result |= fsStrikeOut;
    }
    if ((flags & NTM_BOLD) != 0) {
        result |= fsBold;
    }
    return result;
}

std::string TFontManager::GetStyleByFullName(const std::string& family,
                                             const std::string& fullName) {
    for (const TFaceInfo& face : FontSystem().EnumFaces(family)) {
        if (face.FullName == fullName) {
            return face.StyleName;
        }
    }
    return std::string();
}

std::optional<TFaceInfo> TFontManager::GetSampleFace(const std::string& family) {
    const TFaceInfo* first = nullptr;
    for (const TFaceInfo& face : FontSystem().EnumFaces(family)) {
        if (!face.Scalable()) {
            continue;
        }
        if ((face.Flags & NTM_STYLE_MASK) == NTM_REGULAR) {
            return face;
        }
        if (first == nullptr) {
            first = &face;
        }
    }
    return first != nullptr ? std::optional<TFaceInfo>(*first) : std::nullopt;
}

std::string TFontManager::StyleByFlags(const std::string& family, const std::string& style) {
    switch (GetStyleFlags(family, style)) {
    case fsBold:
        return "Bold";
    case fsItalic:
        return "Italic";
    case fsBold | fsItalic:
        return "Bold Italic";
    default:
        return std::string();
    }
}

std::string TFontManager::FindRegistryName(const std::string& fullName, const std::string& family,
                                           const std::string& style) {
    switch (GetFontType(family)) {
    case ftType1: {
        const TFontList& values = OpenFontKey(TFontKey::Type1);
        const std::string name = GetType1ValueName(fullName);
        return values.count(name) > 0 ? name : std::string();
    }
    case ftTrueType:
    case ftOpenType:
    case ftBitmap: {
        const TFontList& values = OpenFontKey(TFontKey::Fonts);
        for (const std::string& name : {fullName + " (TrueType)", fullName + " (OpenType)",
                                        family + " " + style + " (TrueType)",
                                        family + " " + style + " (OpenType)", fullName}) {
            if (values.count(name) > 0) {
                return name;
            }
        }
        // Only now the style's flags: most fonts are found by a name above.
        const std::string weight = StyleByFlags(family, style);
        for (const std::string& name :
             {family + " " + weight + " (TrueType)", family + " " + weight + " (OpenType)"}) {
            if (values.count(name) > 0) {
                return name;
            }
        }
        return std::string();
    }
    default:
        return std::string();
    }
}

bool TFontManager::ListsFont(TFontKey key, const std::string& valueName) {
    return OpenFontKey(key).count(valueName) > 0;
}

std::string TFontManager::GetType1ValueName(const std::string& fullName) {
    std::string name = fullName;
    std::replace(name.begin(), name.end(), '-', ' ');
    return name;
}

std::string TFontManager::GetFontFileName(const std::string& fullName, const std::string& family,
                                          const std::string& style) {
    return JoinFontFiles(GetFontFiles(fullName, family, style));
}

TFontFiles TFontManager::GetFontFiles(const std::string& fullName, const std::string& family,
                                      const std::string& style) {
    for (size_t i = 0; i < TempNames.size() && i < TempFiles.size(); ++i) {
        if (Text().CompareIgnoreCase(TempNames[i], fullName) == 0) {
            return TempFiles[i];
        }
    }
    try {
        const std::string name = FindRegistryName(fullName, family, style);
        if (name.empty()) {
            return fullName == "Marlett" ? TFontFiles("Marlett.ttf") : TFontFiles();
        }
        switch (GetFontType(family)) {
        case ftType1: {
            const TRegValue& value = OpenFontKey(TFontKey::Type1).at(name);
            const std::vector<uint8_t> bytes = MultiStringBytes(value);
            if (bytes.size() > 4096) {
                return TFontFiles();
            }
            TFontFiles files = Type1Files(bytes);
            // An outline without metrics is listed as its own metrics file:
            // one file, to be copied or removed once.
            if (files.Outline == files.File) {
                files.Outline.clear();
            }
            return files;
        }
        case ftTrueType:
        case ftOpenType:
        case ftBitmap: {
            const TRegValue& value = OpenFontKey(TFontKey::Fonts).at(name);
            if (value.Type != TRegDataType::String) {
                return TFontFiles();
            }
            if (GetFontType(family) == ftBitmap && !IsBitmapFontFile(value.Text)) {
                return TFontFiles();
            }
            return TFontFiles(value.Text);
        }
        default:
            return TFontFiles();
        }
    } catch (const std::exception&) {
        return TFontFiles();
    }
}

bool TFontManager::IsTemporary(const std::string& fullName) const {
    return std::any_of(TempNames.begin(), TempNames.end(), [&](const std::string& name) {
        return Text().CompareIgnoreCase(name, fullName) == 0;
    });
}

uint8_t TFontManager::GetFontFileType(const std::string& path) {
    const std::string ext = ExtensionOf(path);
    if (ext == ".ttf") {
        return ftTrueType;
    }
    if (ext == ".otf") {
        return ftOpenType;
    }
    // A Type 1 font is read from either file of its pair, or from its
    // outline file alone.
    if (ext == ".pfm" || ext == ".afm" || ext == ".pfb" || ext == ".pfa" || ext == ".t1") {
        return ftType1;
    }
    if (ext == ".ttc" || ext == ".otc") {
        return ftTrueTypeCollection;
    }
    return ftUnknown;
}

std::string TFontManager::GetPfbFileName(const std::string& pfmPath) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(pfmPath).parent_path();
    const std::string wanted = NameWithoutExtension(pfmPath) + ".pfb";
    const fs::path exact = folder / wanted;
    std::error_code ec;
    if (!fs::exists(exact, ec) && !folder.empty()) {
        // Font files copied from elsewhere often keep upper-case names.
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            if (Lower(entry.path().filename().string()) == Lower(wanted)) {
                return entry.path().string();
            }
        }
    }
    return exact.string();
}

void TFontManager::OpenFontsFolder() {
    Shell().OpenUrl(FontsFolder);
}

} // namespace lw
