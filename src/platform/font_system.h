#pragma once

#include "platform/registry_port.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lw {

// Font kinds and face flags as the catalogue reasons about them.
enum TFontKind : int {
    RASTER_FONTTYPE = 1,
    DEVICE_FONTTYPE = 2,
    TRUETYPE_FONTTYPE = 4,
};

inline constexpr uint32_t NTM_ITALIC = 0x1;
inline constexpr uint32_t NTM_STRIKEOUT = 0x10;
inline constexpr uint32_t NTM_BOLD = 0x20;
inline constexpr uint32_t NTM_REGULAR = 0x40;
inline constexpr uint32_t NTM_STYLE_MASK = 127;
inline constexpr uint32_t NTM_PS_OPENTYPE = 0x20000;
inline constexpr uint32_t NTM_TT_OPENTYPE = 0x40000;
inline constexpr uint32_t NTM_TYPE1 = 0x100000;

// One installed face as the system enumerates it.
struct TFaceInfo {
    TFaceInfo() = default;
    TFaceInfo(std::string fullName, std::string style, int kind, uint32_t flags,
              std::string file = std::string(), int index = 0)
        : FullName(std::move(fullName)), StyleName(std::move(style)), Kind(kind), Flags(flags),
          File(std::move(file)), Index(index) {}

    std::string FullName;
    std::string StyleName;
    int Kind = 0;
    uint32_t Flags = 0;
    // Where the face is: its file and its number in the file (a collection
    // holds several; a named instance of a variable font is numbered in the
    // high 16 bits). Empty when the system does not say.
    std::string File;
    int Index = 0;

    bool Scalable() const {
        return Kind == TRUETYPE_FONTTYPE ||
               (Flags & (NTM_PS_OPENTYPE | NTM_TT_OPENTYPE | NTM_TYPE1)) != 0;
    }
};

// The two lists of installed fonts that the registry of the system this
// program was first written for keeps, and this port mirrors.
enum class TFontKey { Fonts, Type1 };

// One such list: value names, compared ignoring ASCII case, and their data.
using TFontList = std::unordered_map<std::string, TRegValue, TKeyHash, TKeyEqual>;

class EFontSystemError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file or files of one font: a Type 1 font is a metrics file and an
// outline file, every other font one file. The two travel as two fields and
// are never joined into one text that would have to be split again: a file
// name here may hold any byte but "/" and NUL, "|" included.
struct TFontFiles {
    std::string File;    // the font file; for Type 1 the metrics file
    std::string Outline; // the Type 1 outline file; empty for other fonts

    TFontFiles() = default;
    TFontFiles(std::string file, std::string outline = std::string())
        : File(std::move(file)), Outline(std::move(outline)) {}
    bool operator==(const TFontFiles&) const = default;
};

// Told when a font file is loaded into this process or let go, so windows
// that draw with their own font machinery can follow.
class IProcessFontObserver {
public:
    virtual ~IProcessFontObserver() = default;
    virtual void FontFileLoaded(const std::string& path) = 0;
    virtual void FontFileReleased(const std::string& path) = 0;
};

// A face's names, as the system reads them from its file.
struct TFaceNames {
    std::string Family;
    std::string Style;
    std::string FullName;
};

// A look at the installed fonts taken on another thread: the first look
// after fonts were added can take the system seconds.
class TFontReading {
public:
    virtual ~TFontReading() = default;
};

// What the system has installed, and the changes this program makes to it.
class IFontSystem {
public:
    virtual ~IFontSystem() = default;
    // A fresh look at the installed fonts: one family name per face, in the
    // system's order, repeats included. Throws EFontSystemError on failure.
    virtual std::vector<std::string> EnumFamilyFaces() = 0;
    // Takes a look without changing what this object answers from, on any
    // thread while the owning one goes on asking; one reading at a time.
    // Nothing when this system reads only where it is asked.
    virtual std::unique_ptr<TFontReading> ReadInstalledFonts() { return nullptr; }
    // Answers from a reading from now on and gives what EnumFamilyFaces
    // would; a look taken here since the reading began is kept instead, and
    // without a reading the look is taken here. Throws as EnumFamilyFaces.
    virtual std::vector<std::string> AdoptReading(std::unique_ptr<TFontReading>) {
        return EnumFamilyFaces();
    }
    // The faces of one family (name compared ignoring case); none when
    // unknown. Valid until the next enumeration.
    virtual const std::vector<TFaceInfo>& EnumFaces(const std::string& family) = 0;
    // The folder fonts are installed into; nothing when it cannot be found.
    virtual std::optional<std::string> FontsFolder() = 0;
    // The values of a font list: name -> file text (Fonts: a string; Type 1:
    // the "T", metrics, outline list). Null when the list cannot be read; the
    // values stay valid until the next enumeration.
    virtual const TFontList* FontKey(TFontKey key) = 0;
    // The folders fonts are served from, to watch for changes by others.
    virtual std::vector<std::string> FontFolders() = 0;
    // Whether a font file of this name (no folder) is among the files the
    // system serves fonts from.
    virtual bool ServesFileNamed(const std::string& fileName) = 0;

    // Loads a font for this process: paths, or bare names in the font
    // folder. Gives the number of faces loaded, 0 when the file is not a font
    // the system will serve (LastErrorCode and LastErrorText say why).
    virtual int AddFontResource(const TFontFiles& files) = 0;
    // Lets a font go again; false when it is neither loaded nor installed.
    virtual bool RemoveFontResource(const TFontFiles& files) = 0;
    // Installs a font for every program of the session, until removed or
    // until the program ends; gives the faces loaded like AddFontResource.
    virtual int AddTemporaryFont(const TFontFiles& files) = 0;
    virtual bool RemoveTemporaryFont(const TFontFiles& files) = 0;
    // The faces the system would serve from these files once installed,
    // after its own rules for which fonts it refuses; 0 when none (the last
    // error says why). Loads nothing.
    virtual int FacesServed(const TFontFiles& files) = 0;
    // Whether the font lists can be written (the font folder is usable);
    // when not, the last error says why.
    virtual bool FontKeyWritable(TFontKey key) = 0;
    // A value written or deleted is made true by its file entering or
    // leaving the font folder; these only say the lists must be read again.
    virtual bool WriteFontValue(TFontKey key, const std::string& name, const TRegValue& value) = 0;
    virtual bool DeleteFontValue(TFontKey key, const std::string& name) = 0;
    // The faces a font file holds, read from the file whatever the
    // configuration says of it (a disabled font is no longer listed).
    virtual std::vector<TFaceNames> FacesOfFile(const std::string& path) = 0;
    // The installed fonts changed: every program should look again.
    virtual void FontsChanged() = 0;
    virtual void SetProcessFontObserver(IProcessFontObserver* observer) = 0;
    // The system's error number of the last failure, 0 when the failure
    // came with none (a file that is no font the system serves).
    virtual int LastErrorCode() const = 0;
    virtual std::string LastErrorText() const = 0;
};

} // namespace lw
