// Installing fonts for good or for the session, backing them up and
// removing them.
#include "base/helpers.h"
#include "base/strings.h"
#include "fileops/shell_operations.h"
#include "fonts/byte_source.h"
#include "fonts/font_change.h"
#include "fonts/font_manager.h"
#include "fonts/font_paths.h"
#include "fonts/opentype_font_file.h"
#include "fonts/type1_font_file.h"
#include "platform/services.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace lw {

namespace fs = std::filesystem;

namespace {

constexpr int kRegistryWriteError = 24;
constexpr int kIoError = 26;
constexpr int kDeleteFailed = 30;
constexpr int kCopyFailed = 32;
constexpr int kNoError = 33;
constexpr int kSomeError = 34;
constexpr int kNotEnoughData = 35;
constexpr int kErrorCaption = 22;
constexpr int kAlreadyInstalled = 30101;
constexpr int kCannotInstall = 30102;
constexpr int kUnloadRefused = 30103;
constexpr int kNoFileForFont = 30104;
constexpr int kFontsFolderUnusable = 30105;
constexpr int kNotUserFont = 30106;
constexpr int kSameFile = 30107;
constexpr int kConfirmCaption = 20;
constexpr int kCollectionHoldsMore = 30200; // "Fajl %s sadrzi i ... %s ..."

// A failure of the registry side, reported as the write error.
class ERegistryWrite : public std::runtime_error {
public:
    ERegistryWrite() : std::runtime_error("font list write") {}
};

bool Exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(fs::symlink_status(path, ec));
}

// The same file however the two paths are spelled: links, "..", repeated
// separators all end at one device and inode.
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

// A name with "-N" before its extension.
std::string NumberedName(const std::string& name, int number) {
    const size_t dot = name.rfind('.');
    const size_t stem = dot == std::string::npos || dot == 0 ? name.size() : dot;
    return name.substr(0, stem) + "-" + std::to_string(number) + name.substr(stem);
}

// True when the file at path is a font of the family: a new version of a
// font may take the place of the old one, another font may not.
bool HoldsFamily(const std::string& path, const std::string& family) {
    try {
        const std::unique_ptr<TFontFile> present = TFontManager::ReadFontFile(path);
        return present && !present->FamilyName.empty() &&
               Text().CompareIgnoreCase(present->FamilyName, family) == 0;
    } catch (const std::exception&) {
        return false;
    }
}

void ShowError(const std::string& text, TMsgIcon icon = TMsgIcon::Error) {
    Prompts().MessageBox(text.empty() ? LoadStr(kSomeError) : text, LoadStr(kErrorCaption), icon,
                         TMsgButtons::Ok);
}

} // namespace

std::unique_ptr<TFontFile> TFontManager::ReadFontFile(const std::string& path) {
    switch (GetFontFileType(path)) {
    case ftTrueType:
    case ftOpenType:
    case ftTrueTypeCollection:
        return std::make_unique<TOpenTypeFontFile>(path);
    case ftType1:
        return std::make_unique<TType1FontFile>(path);
    default:
        return nullptr;
    }
}

std::vector<std::unique_ptr<TFontFile>> TFontManager::ReadFontFaces(const std::string& path) {
    std::vector<std::unique_ptr<TFontFile>> faces;
    std::unique_ptr<TFontFile> first = ReadFontFile(path);
    if (!first) {
        return faces;
    }
    const uint32_t count = first->FaceCount;
    faces.push_back(std::move(first));
    for (uint32_t index = 1; index < count; ++index) {
        faces.push_back(std::make_unique<TOpenTypeFontFile>(path, index));
    }
    return faces;
}

std::string TFontManager::GetCompanionFile(const std::string& path) {
    return GetFontFileType(path) == ftType1 ? Type1Companion(path) : std::string();
}

std::string TFontManager::InFontsFolder(const std::string& path) const {
    return HasFolderPart(path) || path.empty() ? path : FontsFolder + "/" + path;
}

TFontFiles TFontManager::InFontsFolder(const TFontFiles& files) const {
    return TFontFiles(InFontsFolder(files.File), InFontsFolder(files.Outline));
}

// A file of the same name that holds the same family is replaced (an
// update); one that holds another font keeps its name, and the new one
// takes the first free "name-N" beside it, unless a "name-N" before that
// holds the family already: that earlier install is the one updated, so a
// family is never installed twice.
TFontFiles TFontManager::NamesInFontsFolder(const TFontFile& font, bool& update) const {
    const TFontFiles own = font.GetFiles(false);
    const TFontFiles ownTargets = InFontsFolder(own);
    const bool taken = Exists(ownTargets.File) || Exists(ownTargets.Outline);
    update = taken && HoldsFamily(ownTargets.File, font.FamilyName);
    if (!taken || update) {
        return own;
    }
    for (int number = 2;; ++number) {
        const TFontFiles numbered(NumberedName(own.File, number),
                                  own.Outline.empty() ? std::string()
                                                      : NumberedName(own.Outline, number));
        const TFontFiles targets = InFontsFolder(numbered);
        if (!Exists(targets.File) && !Exists(targets.Outline)) {
            return numbered;
        }
        if (HoldsFamily(targets.File, font.FamilyName)) {
            update = true;
            return numbered;
        }
    }
}

bool TFontManager::CopyIntoFontsFolder(const std::string& source, const std::string& target,
                                       bool replace) {
    if (replace ? FileShell().CopyFileOver(source, target)
                : FileShell().CopyNewFile(source, target)) {
        return true;
    }
    OsError = static_cast<uint32_t>(errno);
    ErrorFile1 = source;
    ErrorFile2 = target;
    return false;
}

// A name found free may be taken by another program before the copy
// lands; the copy then never replaces it but looks for a name again.
bool TFontManager::CopyFontIntoFontsFolder(const TFontFile& font, TFontFiles& names) {
    const TFontFiles sources = font.GetFiles(true);
    for (int attempt = 0; attempt < 100; ++attempt) {
        bool update = false;
        names = NamesInFontsFolder(font, update);
        const TFontFiles targets = InFontsFolder(names);
        if (!CopyIntoFontsFolder(sources.File, targets.File, update)) {
            if (update || OsError != EEXIST) {
                return false;
            }
            continue;
        }
        if (sources.Outline.empty() ||
            CopyIntoFontsFolder(sources.Outline, targets.Outline, update)) {
            return true;
        }
        // A metrics file without its outline is no font: it goes again.
        if (!update) {
            std::error_code ec;
            fs::remove(targets.File, ec);
        }
        if (update || OsError != EEXIST) {
            return false;
        }
    }
    return false;
}

std::string TFontManager::SystemText(uint32_t code) const {
    return code == 0 ? LoadStr(kSomeError) : SystemErrors().ErrorText(static_cast<int>(code));
}

std::string TFontManager::GetErrorText(uint8_t code) const {
    switch (code) {
    case irInstalled:
        return LoadStr(kNoError);
    case irFailed:
        return LoadStr(kSomeError);
    case irNoRegistry:
        // The font list here is the font folder: say which and why.
        return FmtLoadStr(kFontsFolderUnusable, ErrorFile1, SystemText(OsError));
    case irCopyFailed:
        return FmtLoadStr(kCopyFailed, ErrorFile1, ErrorFile2, SystemText(OsError));
    case irNoData:
        return LoadStr(kNotEnoughData);
    case irLoadRefused:
        return SystemText(OsError);
    case irAlreadyInstalled:
        return LoadStr(kAlreadyInstalled);
    default:
        return std::string();
    }
}

uint8_t TFontManager::InstallFontFile(TFontFile& font) {
    if (font.FileName.empty() || font.FullName.empty()) {
        return irNoData;
    }
    if (font.Installed) {
        return irAlreadyInstalled;
    }
    const bool type1 = font.FontType == ftType1;
    const TFontKey key = type1 ? TFontKey::Type1 : TFontKey::Fonts;
    if (font.FontType != ftTrueType && font.FontType != ftOpenType &&
        font.FontType != ftTrueTypeCollection && !type1) {
        OsError = 0;
        ErrorFile1 = FontsFolder;
        return irNoRegistry;
    }
    if (!FontSystem().FontKeyWritable(key)) {
        OsError = static_cast<uint32_t>(FontSystem().LastErrorCode());
        ErrorFile1 = FontsFolder;
        return irNoRegistry;
    }
    const TFontFiles sources = font.GetFiles(true);
    const TFontFiles targets = InFontsFolder(font.GetFiles(false));
    // In the font folder a file is installed the moment it is there, so
    // whether the system will serve it is asked of the source first: a file
    // that does not load never replaces one that is there. Where nothing
    // was there, the copy is still made, as a failed load leaves it.
    const bool loads = FontSystem().FacesServed(sources) > 0;
    if (!loads) {
        OsError = static_cast<uint32_t>(FontSystem().LastErrorCode());
        if (Exists(targets.File) || Exists(targets.Outline)) {
            return irLoadRefused;
        }
    }
    TFontFiles names;
    if (!CopyFontIntoFontsFolder(font, names)) {
        return irCopyFailed;
    }
    if (!loads) {
        return irLoadRefused;
    }
    if (FontSystem().AddFontResource(names) == 0) {
        OsError = static_cast<uint32_t>(FontSystem().LastErrorCode());
        return irLoadRefused;
    }
    const TRegValue value = type1 ? TRegValue::FromMultiString({"T", names.File, names.Outline})
                                  : TRegValue::FromString(names.File);
    if (!FontSystem().WriteFontValue(key, font.RegistryName, value)) {
        throw ERegistryWrite();
    }
    return irInstalled;
}

void TFontManager::InstallFont(TFontFile& font, bool broadcast) {
    THourglass hourglass;
    try {
        const uint8_t code = InstallFontFile(font);
        if (code != irInstalled) {
            ShowError(FmtLoadStr(kCannotInstall, font.FullName, GetErrorText(code)),
                      TMsgIcon::Warning);
        } else if (broadcast) {
            BroadcastFontChange();
        }
    } catch (const ERegistryWrite&) {
        ShowError(LoadStr(kRegistryWriteError));
    }
}

void TFontManager::InstallFolderFonts(const std::vector<std::string>& files, std::string folder,
                                      bool broadcast) {
    THourglass hourglass;
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    try {
        for (const std::string& name : files) {
            std::unique_ptr<TFontFile> font = ReadFontFile(folder + name);
            if (!font) {
                continue;
            }
            const uint8_t code = InstallFontFile(*font);
            if (code != irInstalled &&
                Prompts().MessageBox(FmtLoadStr(kCannotInstall, font->FullName, GetErrorText(code)),
                                     LoadStr(kErrorCaption), TMsgIcon::Warning,
                                     TMsgButtons::OkCancel) == TMsgResult::Cancel) {
                break;
            }
        }
        if (broadcast) {
            BroadcastFontChange();
        }
    } catch (const EFontFileError&) {
        ShowError(LoadStr(kIoError));
    } catch (const ERegistryWrite&) {
        ShowError(LoadStr(kRegistryWriteError));
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
}

void TFontManager::InstallTemporarily(TFontFile& font, bool broadcast) {
    const TFontFiles files = font.GetFiles(true);
    FontSystem().AddTemporaryFont(files);
    if (broadcast) {
        BroadcastFontChange();
    }
    // The system loads the whole file: every face of a collection is as
    // temporary as the one chosen, and must not be taken for an installed one.
    std::vector<std::string> names{font.FullName};
    if (font.FaceCount > 1) {
        try {
            for (const std::unique_ptr<TFontFile>& face : ReadFontFaces(files.File)) {
                names.push_back(face->FullName);
            }
        } catch (const EFontFileError&) {
            // Read a moment ago: the chosen face at least is known.
        }
    }
    for (const std::string& name : names) {
        if (!IsTemporary(name)) {
            TempFiles.push_back(files);
            TempNames.push_back(name);
        }
    }
}

void TFontManager::InstallFolderFontsTemporarily(const std::vector<std::string>& files,
                                                 std::string folder, bool broadcast) {
    THourglass hourglass;
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    try {
        for (const std::string& name : files) {
            std::unique_ptr<TFontFile> font = ReadFontFile(folder + name);
            if (font) {
                InstallTemporarily(*font, false);
            }
        }
        if (broadcast) {
            BroadcastFontChange();
        }
    } catch (const EFontFileError&) {
        ShowError(LoadStr(kIoError));
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
}

void TFontManager::RemoveTemporaryFonts() {
    std::vector<TFontFiles> unloaded;
    for (const TFontFiles& files : TempFiles) {
        // The faces of a collection share their file: it is let go once.
        if (std::find(unloaded.begin(), unloaded.end(), files) == unloaded.end()) {
            FontSystem().RemoveTemporaryFont(files);
            unloaded.push_back(files);
        }
    }
    if (!TempFiles.empty()) {
        BroadcastFontChange();
    }
    TempFiles.clear();
    TempNames.clear();
}

bool TFontManager::BackupFontFiles(const std::string& fullName, const std::string& family,
                                   const std::string& folder) {
    const std::string style = GetStyleByFullName(family, fullName);
    const TFontFiles files = GetFontFiles(fullName, family, style);
    if (files.File.empty()) {
        ShowError(FmtLoadStr(kNoFileForFont, fullName));
        return false;
    }
    for (const std::string& part : {files.File, files.Outline}) {
        if (part.empty()) {
            continue;
        }
        const std::string source = InFontsFolder(part);
        const std::string target = folder + "/" + FileNamePart(part);
        // A "backup" onto the file itself would leave no copy once the
        // font is removed.
        if (SameFile(source, target)) {
            ShowError(FmtLoadStr(kCopyFailed, source, folder, LoadStr(kSameFile)));
            return false;
        }
        if (!FileShell().CopyFileOver(source, target)) {
            ShowError(FmtLoadStr(kCopyFailed, source, folder, SystemErrors().LastErrorText()));
            return false;
        }
    }
    return true;
}

bool TFontManager::UninstallFont(const std::string& fullName, const std::string& family,
                                 bool broadcast, bool toTrash) {
    const uint8_t type = GetFontType(family);
    const TFontKey key = type == ftType1 ? TFontKey::Type1 : TFontKey::Fonts;
    if (type != ftTrueType && type != ftOpenType && type != ftType1) {
        ShowError(LoadStr(kRegistryWriteError));
        return false;
    }
    if (!FontSystem().FontKeyWritable(key)) {
        ShowError(FmtLoadStr(kFontsFolderUnusable, FontsFolder, FontSystem().LastErrorText()));
        return false;
    }
    const std::string style = GetStyleByFullName(family, fullName);
    const TFontFiles files = GetFontFiles(fullName, family, style);
    if (files.File.empty()) {
        ShowError(FmtLoadStr(kNoFileForFont, fullName));
        return false;
    }
    std::string valueName;
    try {
        valueName = FindRegistryName(fullName, family, style);
    } catch (const EAbort&) {
        ShowError(LoadStr(kRegistryWriteError));
        return false;
    }
    const bool temporary = IsTemporary(fullName);
    const std::string systemFile = SystemFileOf(fullName, family);
    if (!systemFile.empty()) {
        ShowError(NotUserFontText(systemFile));
        return false;
    }
    if (temporary && !ConfirmLosingOthers(files.File, OtherTemporaryNames(files, fullName))) {
        return false;
    }
    if (!temporary && GetFontFileType(files.File) == ftTrueTypeCollection) {
        const std::string path = InFontsFolder(files.File);
        // Gone already with another face of the same file.
        if (!Exists(path)) {
            return true;
        }
        if (!ConfirmCollectionRemoval(path, fullName)) {
            return false;
        }
    }
    const bool unloaded = temporary ? FontSystem().RemoveTemporaryFont(files)
                                    : FontSystem().RemoveFontResource(files);
    if (!unloaded) {
        ShowError(FmtLoadStr(kUnloadRefused, GetFontFileName(fullName, family, style),
                             FontSystem().LastErrorText()));
        return false;
    }
    if (!valueName.empty()) {
        FontSystem().DeleteFontValue(key, valueName);
    }
    if (temporary) {
        // Every face of the file went with it.
        for (size_t i = TempFiles.size(); i-- > 0;) {
            if (TempFiles[i] == files) {
                TempFiles.erase(TempFiles.begin() + static_cast<long>(i));
                TempNames.erase(TempNames.begin() + static_cast<long>(i));
            }
        }
    } else {
        for (const std::string& part : {files.File, files.Outline}) {
            if (part.empty()) {
                continue;
            }
            const std::string path = InFontsFolder(part);
            if (!DeleteFontFile(path, true, toTrash)) {
                ShowError(FmtLoadStr(kDeleteFailed, path, SystemErrors().LastErrorText()));
                return false;
            }
        }
    }
    if (broadcast) {
        BroadcastFontChange();
    }
    return true;
}

std::vector<std::string> TFontManager::OtherFamiliesInFile(const std::string& path,
                                                           const std::string& fullName) {
    std::vector<std::string> others;
    for (const std::string& family : Families) {
        for (const TFaceInfo& face : FontSystem().EnumFaces(family)) {
            if (face.File == path && face.FullName != fullName &&
                std::find(others.begin(), others.end(), family) == others.end()) {
                others.push_back(family);
            }
        }
    }
    return others;
}

std::vector<std::string> TFontManager::OtherTemporaryNames(const TFontFiles& files,
                                                           const std::string& fullName) const {
    std::vector<std::string> others;
    for (size_t i = 0; i < TempFiles.size(); ++i) {
        if (TempFiles[i] == files && Text().CompareIgnoreCase(TempNames[i], fullName) != 0) {
            others.push_back(TempNames[i]);
        }
    }
    return others;
}

bool TFontManager::ConfirmCollectionRemoval(const std::string& path, const std::string& fullName) {
    // A collection is one file: removing one face of it removes them all.
    return ConfirmLosingOthers(path, OtherFamiliesInFile(path, fullName));
}

bool TFontManager::ConfirmLosingOthers(const std::string& path,
                                       const std::vector<std::string>& others) {
    if (others.empty()) {
        return true;
    }
    std::string named;
    for (const std::string& family : others) {
        named += (named.empty() ? "" : ", ") + family;
    }
    return Prompts().MessageBox(FmtLoadStr(kCollectionHoldsMore, FileNamePart(path), named),
                                LoadStr(kConfirmCaption), TMsgIcon::Question,
                                TMsgButtons::YesNo) == TMsgResult::Yes;
}

// This program removes only what it can install: fonts in the user's own
// font folder and its sub-folders. Anything else belongs to the system, even
// for root, and the user is told so rather than given an error.
std::string TFontManager::SystemFileOf(const std::string& fullName, const std::string& family) {
    if (IsTemporary(fullName)) {
        return std::string();
    }
    const TFontFiles files = GetFontFiles(fullName, family, GetStyleByFullName(family, fullName));
    for (const std::string& part : {files.File, files.Outline}) {
        if (!part.empty() && !IsInFolderTree(InFontsFolder(part), FontsFolder)) {
            return InFontsFolder(part);
        }
    }
    return std::string();
}

std::string TFontManager::NotUserFontText(const std::string& path) const {
    return FmtLoadStr(kNotUserFont, path, FontsFolder);
}

bool TFontManager::DeleteFontFile(const std::string& path, bool deleteReadOnly, bool toTrash) {
    return lw::DeleteFontFile(path, deleteReadOnly, toTrash);
}

void TFontManager::BroadcastFontChange() {
    FontSystem().FontsChanged();
    NotifyFontChange();
}

} // namespace lw
