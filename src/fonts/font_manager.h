#pragma once

#include "fonts/font_file.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lw {

// A silent stop that the caller turns into an empty answer.
class EAbort : public std::runtime_error {
public:
    EAbort() : std::runtime_error("aborted") {}
};

enum TFontStyleBit : unsigned {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};
using TFontStyles = unsigned;

// The catalogue of installed fonts: families, their styles and files, their
// type, and the fonts installed only until the program ends.
class TFontManager {
public:
    // Later: the installed families come from a reading taken on another
    // thread (AdoptReading); until then the catalogue is empty.
    enum class TFirstLook { Now, Later };
    explicit TFontManager(TFirstLook look = TFirstLook::Now);
    ~TFontManager();
    TFontManager(const TFontManager&) = delete;
    TFontManager& operator=(const TFontManager&) = delete;

    // Re-reads the installed families; a failure leaves them as they were.
    void Refresh();
    // Takes the families from a reading of the font system (taking a look
    // here when there is none).
    void AdoptReading(std::unique_ptr<TFontReading> reading);
    // Whether the first look is still being taken on another thread.
    bool AwaitingReading() const { return Awaiting; }
    void LoadFontTypeNames();
    std::string GetFontTypeName(uint8_t code) const;
    uint8_t GetFontType(const std::string& family);

    void GetFamilyStyles(const std::string& family, std::vector<std::string>& styles,
                         std::vector<std::string>& fullNames);
    void GetFamilyStyleNames(const std::string& family, std::vector<std::string>& styles);
    void GetFamilyFullNames(const std::string& family, std::vector<std::string>& fullNames);
    TFontStyles GetStyleFlags(const std::string& family, const std::string& style);
    std::string GetStyleByFullName(const std::string& family, const std::string& fullName);
    // The face a family is shown in when no style is asked for: its regular
    // face, else its first scalable one; nothing for a family of bitmaps.
    std::optional<TFaceInfo> GetSampleFace(const std::string& family);

    // Throws EAbort when the font list cannot be read.
    std::string FindRegistryName(const std::string& fullName, const std::string& family,
                                 const std::string& style);
    static std::string GetType1ValueName(const std::string& fullName);
    // Whether the font list holds a value of this name, whatever the family
    // the font's file gives (the system may know it by another). Throws
    // EAbort when the font list cannot be read.
    bool ListsFont(TFontKey key, const std::string& valueName);
    // The file(s) of an installed style as stored (a bare name lies in the
    // font folder); empty when unknown.
    TFontFiles GetFontFiles(const std::string& fullName, const std::string& family,
                            const std::string& style);
    // The same as one text to show: "metrics|outline" for Type 1.
    std::string GetFontFileName(const std::string& fullName, const std::string& family,
                                const std::string& style);
    bool IsTemporary(const std::string& fullName) const;
    static uint8_t GetFontFileType(const std::string& path);
    // The outline file beside a metrics file, found ignoring case.
    static std::string GetPfbFileName(const std::string& pfmPath);
    // The file that travels with a Type 1 file in every file command: the
    // outline of a metrics file, the metrics file (if any) of an outline;
    // empty for every other font file.
    static std::string GetCompanionFile(const std::string& path);
    void OpenFontsFolder();

    // Installation and removal. Result codes of a permanent installation.
    enum TInstallResult : uint8_t {
        irInstalled = 0,
        irFailed = 1,
        irNoRegistry = 2,
        irCopyFailed = 6,
        irNoData = 8,
        irLoadRefused = 9,
        irAlreadyInstalled = 10,
    };
    uint8_t InstallFontFile(TFontFile& font);
    void InstallFont(TFontFile& font, bool broadcast);
    void InstallFolderFonts(const std::vector<std::string>& files, std::string folder,
                            bool broadcast);
    void InstallTemporarily(TFontFile& font, bool broadcast);
    void InstallFolderFontsTemporarily(const std::vector<std::string>& files, std::string folder,
                                       bool broadcast);
    void RemoveTemporaryFonts();
    bool BackupFontFiles(const std::string& fullName, const std::string& family,
                         const std::string& folder);
    // Reports its own failures; true when the style is gone.
    bool UninstallFont(const std::string& fullName, const std::string& family, bool broadcast,
                       bool toTrash);
    void BroadcastFontChange();
    std::string GetErrorText(uint8_t code) const;
    bool DeleteFontFile(const std::string& path, bool deleteReadOnly, bool toTrash);
    // The first file of the style that lies outside the user's font folder
    // (installed for everyone, so not this program's to remove); empty when
    // there is none or the style is installed for the session only.
    std::string SystemFileOf(const std::string& fullName, const std::string& family);
    // The message that refuses the removal of such a file.
    std::string NotUserFontText(const std::string& path) const;

    // A reader's record of a font file chosen by its extension; nothing for
    // a type without a reader. Throws EFontFileError when the file cannot be read.
    static std::unique_ptr<TFontFile> ReadFontFile(const std::string& path);
    // A record for every face of the file: several for a collection, else
    // the one ReadFontFile gives; none for a type without a reader.
    static std::vector<std::unique_ptr<TFontFile>> ReadFontFaces(const std::string& path);

    std::string FontsFolder;
    std::vector<std::string> Families;
    std::vector<TFontFiles> TempFiles;
    std::vector<std::string> TempNames;
    std::array<std::string, 6> TypeNames;
    uint32_t OsError = 0;
    std::string ErrorFile1;
    std::string ErrorFile2;

private:
    // The families of one name per face, sorted and each once.
    void UseFamilies(std::vector<std::string> faceFamilies);
    bool Awaiting = false;
    std::string StyleByFlags(const std::string& family, const std::string& style);
    std::string InFontsFolder(const std::string& path) const;
    TFontFiles InFontsFolder(const TFontFiles& files) const;
    // The names a font takes in the font folder; Update tells that they
    // are those of an older version of the font, to be replaced.
    TFontFiles NamesInFontsFolder(const TFontFile& font, bool& update) const;
    // Copies a file into the font folder, replacing what is there or only
    // where nothing is; on failure the details of code 6.
    bool CopyIntoFontsFolder(const std::string& source, const std::string& target, bool replace);
    // Copies the font's files in; Names are the names they took.
    bool CopyFontIntoFontsFolder(const TFontFile& font, TFontFiles& names);
    std::string SystemText(uint32_t code) const;
    // The families of the installed faces that lie in the file besides the
    // one of this full name, each once.
    std::vector<std::string> OtherFamiliesInFile(const std::string& path,
                                                 const std::string& fullName);
    // Asks before a collection goes that holds faces of other styles; true
    // when nothing else goes with it or the user agrees.
    bool ConfirmCollectionRemoval(const std::string& path, const std::string& fullName);
    // The other full names loaded for the session from the same files.
    std::vector<std::string> OtherTemporaryNames(const TFontFiles& files,
                                                 const std::string& fullName) const;
    // Asks before the file goes when these fonts go with it; true when none
    // do or the user agrees.
    bool ConfirmLosingOthers(const std::string& path, const std::vector<std::string>& others);
};

// The one catalogue of the run: created before the main window, freed last.
extern std::unique_ptr<TFontManager> FontManager;

} // namespace lw
