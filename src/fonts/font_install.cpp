// Installing fonts for good or for the session, backing them up and
// removing them.
#include "app/strings.h"
#include "fileops/helpers.h"
#include "fileops/shell_operations.h"
#include "fonts/byte_source.h"
#include "fonts/font_change.h"
#include "fonts/font_manager.h"
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
constexpr int kRegistryAccessError = 25;
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

// A failure of the registry side, reported as the write error.
class ERegistryWrite : public std::runtime_error {
public:
    ERegistryWrite() : std::runtime_error("font list write") {}
};

std::string FileNamePart(const std::string& path) {
    return fs::path(path).filename().string();
}

bool HasFolder(const std::string& path) {
    return path.find('/') != std::string::npos;
}

// Copies over an existing target through a temporary file in the target's
// folder, so a failed copy (a full disk) leaves neither a broken font nor a
// damaged older copy behind. The error code says why it failed.
bool CopyOver(const std::string& from, const std::string& to, std::error_code& ec) {
    ec.clear();
    const fs::path part = fs::path(to).concat(".letterwell-part");
    fs::copy_file(from, part, fs::copy_options::overwrite_existing, ec);
    if (!ec) {
        fs::rename(part, to, ec);
    }
    if (ec) {
        std::error_code ignored;
        fs::remove(part, ignored);
        return false;
    }
    return true;
}

std::pair<std::string, std::string> SplitPair(const std::string& file) {
    const size_t bar = file.find('|');
    if (bar == std::string::npos) {
        return {file, std::string()};
    }
    const size_t next = file.find('|', bar + 1);
    return {file.substr(0, bar),
            file.substr(bar + 1, next == std::string::npos ? std::string::npos : next - bar - 1)};
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
        return std::make_unique<TOpenTypeFontFile>(path);
    case ftType1:
        return std::make_unique<TType1FontFile>(path);
    default:
        return nullptr;
    }
}

std::string TFontManager::InFontsFolder(const std::string& path) const {
    return HasFolder(path) ? path : (fs::path(FontsFolder) / path).string();
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
        return LoadStr(kRegistryAccessError);
    case irCopyFailed:
        return FmtLoadStr(kCopyFailed, ErrorFile1, ErrorFile2, SystemText(OsError));
    case irNoData:
        return LoadStr(kNotEnoughData);
    case irLoadRefused:
        return OsError == 0 ? LastLoadError : SystemText(OsError);
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
    auto* type1 = dynamic_cast<TType1FontFile*>(&font);
    const std::string target = (fs::path(FontsFolder) / FileNamePart(font.FileName)).string();
    const TFontKey key = font.FontType == ftType1 ? TFontKey::Type1 : TFontKey::Fonts;
    if ((font.FontType != ftTrueType && font.FontType != ftOpenType && font.FontType != ftType1) ||
        (font.FontType == ftType1 && type1 == nullptr) || !FontSystem().FontKeyWritable(key)) {
        return irNoRegistry;
    }
    std::error_code ec;
    if (!CopyOver(font.FileName, target, ec)) {
        OsError = static_cast<uint32_t>(ec.value());
        ErrorFile1 = font.FileName;
        ErrorFile2 = target;
        return irCopyFailed;
    }
    if (type1 != nullptr) {
        const std::string targetPfb =
            (fs::path(FontsFolder) / FileNamePart(type1->PfbFileName)).string();
        if (!CopyOver(type1->PfbFileName, targetPfb, ec)) {
            OsError = static_cast<uint32_t>(ec.value());
            ErrorFile1 = type1->PfbFileName;
            ErrorFile2 = targetPfb;
            return irCopyFailed;
        }
    }
    if (FontSystem().AddFontResource(font.GetFileName(false)) == 0) {
        OsError = 0;
        LastLoadError = FontSystem().LastErrorText();
        return irLoadRefused;
    }
    const TRegValue value = type1 != nullptr
                                ? TRegValue::FromMultiString({"T", FileNamePart(type1->FileName),
                                                              FileNamePart(type1->PfbFileName)})
                                : TRegValue::FromString(font.GetFileName(false));
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
    FontSystem().AddTemporaryFont(font.GetFileName(true));
    if (broadcast) {
        BroadcastFontChange();
    }
    TempFiles.push_back(font.GetFileName(true));
    TempNames.push_back(font.FullName);
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
    for (const std::string& file : TempFiles) {
        FontSystem().RemoveTemporaryFont(file);
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
    const std::string file = GetFontFileName(fullName, family, style);
    if (file.empty()) {
        ShowError(FmtLoadStr(kNoFileForFont, fullName));
        return false;
    }
    const auto [first, second] = SplitPair(file);
    for (const std::string& part : {first, second}) {
        if (part.empty()) {
            continue;
        }
        const std::string source = InFontsFolder(part);
        std::error_code ec;
        if (!CopyOver(source, (fs::path(folder) / FileNamePart(part)).string(), ec)) {
            ShowError(FmtLoadStr(kCopyFailed, source, folder, ec.message()));
            return false;
        }
    }
    return true;
}

bool TFontManager::UninstallFont(const std::string& fullName, const std::string& family,
                                 bool broadcast, bool toTrash) {
    const uint8_t type = GetFontType(family);
    const TFontKey key = type == ftType1 ? TFontKey::Type1 : TFontKey::Fonts;
    if ((type != ftTrueType && type != ftOpenType && type != ftType1) ||
        !FontSystem().FontKeyWritable(key)) {
        ShowError(LoadStr(kRegistryWriteError));
        return false;
    }
    const std::string style = GetStyleByFullName(family, fullName);
    const std::string file = GetFontFileName(fullName, family, style);
    if (file.empty()) {
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
    const auto [first, second] = SplitPair(file);
    // This program removes only what it can install: fonts in the user's own
    // font folder. Anything else belongs to the system, even for root.
    if (!temporary) {
        for (const std::string& part : {first, second}) {
            const fs::path path = fs::path(InFontsFolder(part)).lexically_normal();
            const fs::path folder = fs::path(FontsFolder).lexically_normal();
            if (!part.empty() && path.parent_path() != folder) {
                ShowError(
                    FmtLoadStr(kDeleteFailed, path.string(), SystemErrors().ErrorText(EACCES)));
                return false;
            }
        }
    }
    const bool unloaded =
        temporary ? FontSystem().RemoveTemporaryFont(file) : FontSystem().RemoveFontResource(file);
    if (!unloaded) {
        ShowError(FmtLoadStr(kUnloadRefused, file, FontSystem().LastErrorText()));
        return false;
    }
    if (!valueName.empty()) {
        FontSystem().DeleteFontValue(key, valueName);
    }
    if (temporary) {
        for (size_t i = 0; i < TempNames.size(); ++i) {
            if (Text().CompareIgnoreCase(TempNames[i], fullName) == 0) {
                TempNames.erase(TempNames.begin() + static_cast<long>(i));
                if (i < TempFiles.size()) {
                    TempFiles.erase(TempFiles.begin() + static_cast<long>(i));
                }
                break;
            }
        }
    } else {
        for (const std::string& part : {first, second}) {
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

bool TFontManager::DeleteFontFile(const std::string& path, bool deleteReadOnly, bool toTrash) {
    return lw::DeleteFontFile(path, deleteReadOnly, toTrash);
}

void TFontManager::BroadcastFontChange() {
    FontSystem().FontsChanged();
    NotifyFontChange();
}

} // namespace lw
