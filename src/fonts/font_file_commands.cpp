#include "fonts/font_file_commands.h"

#include "base/helpers.h"
#include "base/strings.h"
#include "fileops/shell_operations.h"
#include "fonts/font_file.h"
#include "fonts/font_manager.h"
#include "fonts/font_paths.h"
#include "platform/services.h"

#include <algorithm>

namespace lw {

namespace {

constexpr int kWarningCaption = 21;
constexpr int kErrorCaption = 22;
constexpr int kDeleteFailed = 30; // "Greska brisanja  %s.\n\n%s"
constexpr int kMoveFailed = 31;   // "Greska kopiranja  %s  to  %s.\n\n%s"
constexpr int kCopyFailed = 32;   // "Greska pri kopiranju  %s  u  %s.\n\n%s"
constexpr int kUnsupportedType = 10030;
constexpr int kBackupFolderTitle = 10024;
constexpr int kUninstallFamilies = 11016; // "Zelite li  da deinstalirate  %s?"
constexpr int kAndMore = 11017;           // "%s i jos %d"
constexpr size_t kFamiliesNamed = 3;

void ShowError(const std::string& text) {
    Prompts().MessageBox(text, LoadStr(kErrorCaption), TMsgIcon::Error, TMsgButtons::Ok);
}

// The extension from the name's last dot, dot included; empty without one.
std::string ExtensionOf(const std::string& path) {
    const std::string name = FileNamePart(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

} // namespace

bool RefusedAsSystemFamily(const std::string& family) {
    std::vector<std::string> fullNames;
    FontManager->GetFamilyFullNames(family, fullNames);
    for (const std::string& fullName : fullNames) {
        const std::string systemFile = FontManager->SystemFileOf(fullName, family);
        if (!systemFile.empty()) {
            Prompts().MessageBox(FontManager->NotUserFontText(systemFile), LoadStr(kWarningCaption),
                                 TMsgIcon::Warning, TMsgButtons::Ok);
            return true;
        }
    }
    return false;
}

std::string UninstallQuestion(const std::vector<std::string>& families) {
    std::string named;
    const size_t shown = std::min(families.size(), kFamiliesNamed);
    for (size_t i = 0; i < shown; ++i) {
        named += (i == 0 ? "" : ", ") + families[i];
    }
    if (families.size() > shown) {
        named = FmtLoadStr(kAndMore, named, families.size() - shown);
    }
    return FmtLoadStr(kUninstallFamilies, named);
}

bool RemoveInstalledFont(const std::string& family, const std::string& backupFolder, bool toTrash,
                         bool interactive, bool copyBefore, const TStyleChooser& chooseStyles) {
    const uint8_t type = FontManager->GetFontType(family);
    if (type != ftTrueType && type != ftOpenType && type != ftType1) {
        Prompts().MessageBox(family + ":\n" + LoadStr(kUnsupportedType), LoadStr(kWarningCaption),
                             TMsgIcon::Warning, TMsgButtons::Ok);
        return true;
    }
    // Told once, before anything is asked: every style would fail alike.
    if (RefusedAsSystemFamily(family)) {
        return true;
    }
    std::vector<std::string> fullNames;
    FontManager->GetFamilyFullNames(family, fullNames);
    if (interactive && !chooseStyles(family, fullNames)) {
        return false;
    }
    std::string folder = backupFolder;
    // Without a folder there is no copy, and removing the font then would
    // lose what the user asked to keep.
    if (copyBefore && interactive && !BrowseForFolder(LoadStr(kBackupFolderTitle), folder)) {
        return false;
    }
    THourglass hourglass;
    for (const std::string& fullName : fullNames) {
        if (!copyBefore || FontManager->BackupFontFiles(fullName, family, folder)) {
            FontManager->UninstallFont(fullName, family, false, toTrash);
        }
    }
    if (interactive) {
        FontManager->BroadcastFontChange();
    }
    return true;
}

bool CopyFontFile(const std::string& path, const std::string& folder) {
    if (!FileShell().CopyNewFile(path, folder + FileNamePart(path))) {
        ShowError(FmtLoadStr(kCopyFailed, path, folder, SystemErrors().LastErrorText()));
        return false;
    }
    if (const std::string companion = TFontManager::GetCompanionFile(path); !companion.empty()) {
        if (!FileShell().CopyNewFile(companion, folder + FileNamePart(companion))) {
            ShowError(FmtLoadStr(kCopyFailed, path, folder, SystemErrors().LastErrorText()));
        }
    }
    return true;
}

bool MoveFontFile(const std::string& path, const std::string& folder) {
    // Found before the metrics file moves away from beside it.
    const std::string companion = TFontManager::GetCompanionFile(path);
    if (!FileShell().MoveNoReplace(path, folder + FileNamePart(path))) {
        ShowError(FmtLoadStr(kMoveFailed, path, folder, SystemErrors().LastErrorText()));
        return false;
    }
    if (!companion.empty() &&
        !FileShell().MoveNoReplace(companion, folder + FileNamePart(companion))) {
        ShowError(FmtLoadStr(kMoveFailed, path, folder, SystemErrors().LastErrorText()));
    }
    return true;
}

bool RenameFontFile(const std::string& path, const std::string& newBase) {
    const std::string folder = FolderPart(path);
    const std::string newName = newBase + ExtensionOf(path);
    const std::string companion = TFontManager::GetCompanionFile(path);
    if (!FileShell().MoveNoReplace(path, folder + newName)) {
        ShowError(FmtLoadStr(kMoveFailed, path, newName, SystemErrors().LastErrorText()));
        return false;
    }
    // The other file keeps its own extension: ".pfb" beside ".pfm", ".afm"
    // beside ".pfb".
    const std::string companionName = newBase + ExtensionOf(companion);
    if (!companion.empty() && !FileShell().MoveNoReplace(companion, folder + companionName)) {
        ShowError(FmtLoadStr(kMoveFailed, path, companionName, SystemErrors().LastErrorText()));
    }
    return true;
}

bool DeleteFontFileCommand(const std::string& path, bool deleteReadOnly, bool toTrash) {
    const std::string companion = TFontManager::GetCompanionFile(path);
    if (!DeleteFontFile(path, deleteReadOnly, toTrash)) {
        ShowError(FmtLoadStr(kDeleteFailed, path, SystemErrors().LastErrorText()));
        return false;
    }
    if (!companion.empty() && !DeleteFontFile(companion, deleteReadOnly, toTrash)) {
        ShowError(FmtLoadStr(kDeleteFailed, companion, SystemErrors().LastErrorText()));
    }
    return true;
}

} // namespace lw
