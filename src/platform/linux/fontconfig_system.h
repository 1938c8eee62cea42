#pragma once

#include "platform/font_system.h"

#include <fontconfig/fontconfig.h>

#include <atomic>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace lw {

struct TFcPatternFree {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct TFcFontSetFree {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct TFcObjectSetFree {
    void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct TFcStrListFree {
    void operator()(FcStrList* l) const { FcStrListDone(l); }
};
struct TFcConfigFree {
    void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};
using TFcConfigPtr = std::unique_ptr<FcConfig, TFcConfigFree>;
using TFcStrListPtr = std::unique_ptr<FcStrList, TFcStrListFree>;
using TFcPatternPtr = std::unique_ptr<FcPattern, TFcPatternFree>;
using TFcFontSetPtr = std::unique_ptr<FcFontSet, TFcFontSetFree>;
using TFcObjectSetPtr = std::unique_ptr<FcObjectSet, TFcObjectSetFree>;

// One face as fontconfig describes it, with what the font lists need.
struct TFcFace {
    std::string Family;
    std::vector<std::string> Families; // every family name, first first
    TFaceInfo Info;
    std::string File;
    std::string Format;
    std::string PostScriptName;
    std::vector<std::string> FullNames; // every language's full name, first first
    bool Variable = false;
};

// Reads one pattern; anything fontconfig leaves out stays empty.
TFcFace FaceFromPattern(FcPattern* pattern);

// The faces a font file holds, read from the file whatever the configuration
// says of it (a disabled font is no longer listed); a variable font's named
// instances, not its master.
std::vector<TFcFace> FacesOfFile(const std::string& path);

// The installed fonts as fontconfig knows them. Every enumeration takes a
// fresh look (fontconfig re-reads its configuration and changed folders) and
// keeps what it saw, so the per-family questions and the font lists are
// answered from memory until the next enumeration.
class TFontconfigSystem : public IFontSystem {
public:
    // userFontFolder: where fonts are installed; its files are listed by bare name.
    explicit TFontconfigSystem(std::string userFontFolder);
    ~TFontconfigSystem() override;

    std::vector<std::string> EnumFamilyFaces() override;
    std::unique_ptr<TFontReading> ReadInstalledFonts() override;
    std::vector<std::string> AdoptReading(std::unique_ptr<TFontReading> reading) override;
    const std::vector<TFaceInfo>& EnumFaces(const std::string& family) override;
    std::optional<std::string> FontsFolder() override;
    const TFontList* FontKey(TFontKey key) override;
    std::vector<std::string> FontFolders() override;
    bool ServesFileNamed(const std::string& fileName) override;
    int AddFontResource(const TFontFiles& files) override;
    bool RemoveFontResource(const TFontFiles& files) override;
    int AddTemporaryFont(const TFontFiles& files) override;
    bool RemoveTemporaryFont(const TFontFiles& files) override;
    int FacesServed(const TFontFiles& files) override;
    std::vector<TFaceNames> FacesOfFile(const std::string& path) override;
    bool FontKeyWritable(TFontKey key) override;
    bool WriteFontValue(TFontKey key, const std::string& name, const TRegValue& value) override;
    bool DeleteFontValue(TFontKey key, const std::string& name) override;
    void FontsChanged() override;
    void SetProcessFontObserver(IProcessFontObserver* observer) override;
    int LastErrorCode() const override { return LastErrorNumber; }
    std::string LastErrorText() const override { return LastError; }

    // Where this run keeps the links of its temporarily installed fonts:
    // a folder per running program inside the user font folder, not hidden,
    // since fontconfig skips folders whose names start with a dot.
    std::string TemporaryFolder() const;
    // Removes the links that programs no longer running left, and their
    // folders; never what a link points to.
    void RemoveStaleTemporaryFolders();
    // Removes the unfinished copies into the font folder that a killed
    // program left.
    void RemoveLeftoverCopies();

    // The user font folder fontconfig would install into: $XDG_DATA_HOME/fonts.
    static std::optional<std::string> DefaultUserFontFolder();

private:
    // What one listing saw. The family names are read at once (a start needs
    // nothing else); the faces, font lists and files only when first asked.
    struct TSnapshot {
        // Set is the configuration's own list of installed faces, read in
        // place: a copy of 20,000 patterns costs more than the start may.
        TFcConfigPtr Config;
        const FcFontSet* Set = nullptr;
        std::vector<int> Listed; // the patterns of Set that count as faces
        std::vector<std::string> FaceFamilies;
        bool Indexed = false;
        std::unordered_map<std::string, std::vector<TFaceInfo>, TKeyHash, TKeyEqual> Faces;
        TFontList Fonts;
        TFontList Type1;
        std::unordered_set<std::string> FileNames;
        // Folder -> its entries' names folded to lower case -> as spelled.
        std::unordered_map<std::string, std::unordered_map<std::string, std::string>> FolderNames;
    };

    struct TReading;

    void TakeSnapshot(bool rescan);
    // The faces of a configuration's installed fonts, each file's face once.
    static std::unique_ptr<TSnapshot> ListFaces(FcConfig* config);
    // The configuration answered from, read now when no look has read it yet
    // (which may mean a scan of every font folder).
    FcConfig* LoadedConfig();
    void IndexSnapshot(TSnapshot& snapshot) const;
    void AddToFontLists(const TFcFace& face, TSnapshot& snapshot) const;
    void AddFontValue(TFontList& values, const std::string& name, TRegValue value,
                      const std::string& file) const;
    bool IsUserFile(const std::string& fileText) const;
    std::string FileText(const std::string& file) const;
    // A Type 1 font is listed with a metrics file: the ".pfm" beside the
    // outline (names compared ignoring case), else the ".afm", else the
    // outline itself.
    std::string Type1MetricsPath(const std::string& outline, TSnapshot& snapshot) const;
    // The snapshot, taken again when stale, with its faces and lists indexed.
    const TSnapshot& Current();

    // A bare name lies in the user font folder.
    std::string InUserFolder(const std::string& file) const;
    // The file fontconfig reads: a Type 1 pair loads through its outline.
    std::string LoadedFile(const TFontFiles& files) const;
    void ReloadAppFonts();
    void SetLastError(int code, std::string text = std::string());
    // Faces in the file; asInstalled: only those fontconfig would serve
    // from the font folder, after its rules.
    int LoadableFaces(const TFontFiles& files, bool asInstalled);

    std::string UserFontFolder;
    // This object's own configuration, never the process's current one:
    // the windows draw with a small configuration of their own.
    TFcConfigPtr Config;
    std::unique_ptr<TSnapshot> Snapshot;
    // Fontconfig must read its folders again before the next listing.
    bool Rescan = false;
    // Counts the changes that call for a rescan; a reading taken on another
    // thread before the last of them is out of date.
    std::atomic<int> Changes = 0;
    std::vector<std::pair<std::string, int64_t>> Inputs;
    std::vector<std::string> AppFonts;
    // Link made for each temporarily installed file.
    std::vector<std::pair<std::string, std::string>> TemporaryLinks;
    IProcessFontObserver* Observer = nullptr;
    int LastErrorNumber = 0;
    std::string LastError;
};

} // namespace lw
