#include "fonts/opentype_font_file.h"

#include "base/language_ids.h"
#include "base/strings.h"
#include "fonts/byte_view.h"
#include "fonts/font_manager.h"
#include "fonts/font_paths.h"
#include "fonts/font_text.h"
#include "platform/services.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <set>

namespace lw {

namespace {

constexpr int kErrorText = 1;

constexpr size_t kOffsetTableSize = 12;
constexpr size_t kCollectionHeaderSize = 12;
constexpr uint32_t kCollectionTag = 0x74746366; // 'ttcf'
// Face numbers above this do not fit the 16 bits the system numbers them in.
constexpr uint32_t kMaxCollectionFaces = 0xFFFF;
constexpr size_t kTableRecordSize = 16;
constexpr size_t kNameHeaderSize = 6;
constexpr size_t kNameRecordSize = 12;
constexpr size_t kMaxUtf16NameBytes = 32768;
constexpr size_t kMaxMacNameBytes = 16384;
constexpr size_t kOS2Version0Size = 78;
constexpr size_t kOS2Size = 86;
constexpr size_t kHeadSize = 54;

constexpr uint16_t kPlatformUnicode = 0;
constexpr uint16_t kPlatformMacintosh = 1;
constexpr uint16_t kPlatformWindows = 3;
constexpr uint16_t kStyleNameId = 2;
constexpr uint16_t kFullNameId = 4;

// Name records looked at per file, over all its 'name' tables. A real font
// has one table of a few hundred records; a crafted one could list 65,535
// tables of 65,535 records each.
constexpr uint64_t kNameRecordBudget = uint64_t(1) << 21;

// The record field each name id fills; ids 15, 18 and from 20 on fill none.
constexpr size_t kNameIdCount = 20;
using TNameField = std::string TFontFile::*;
constexpr std::array<TNameField, kNameIdCount> kNameFields = {
    &TFontFile::Copyright,
    &TFontFile::FamilyName,
    &TFontFile::StyleName,
    &TFontFile::UniqueID,
    &TFontFile::FullName,
    &TFontFile::Version,
    &TFontFile::PostScriptName,
    &TFontFile::Trademark,
    &TFontFile::Manufacturer,
    &TFontFile::Designer,
    &TFontFile::Description,
    &TFontFile::VendorURL,
    &TFontFile::DesignerURL,
    &TFontFile::LicenseDescription,
    &TFontFile::LicenseURL,
    nullptr,
    &TFontFile::PreferredFamily,
    &TFontFile::PreferredStyle,
    nullptr,
    &TFontFile::SampleText,
};

// Where the text of the record that a name id ends up with lies.
struct TNameChoice {
    bool Taken = false;
    uint16_t Platform = 0;
    uint64_t Offset = 0;
    uint16_t Length = 0;
};

struct TNameTableChoice {
    bool Found = false;
    std::array<TNameChoice, kNameIdCount> Names;
};

// Decides which record of one table each field takes, without reading any
// text: the choice depends on the records' platforms and languages only.
// Style and full name: the first record in the system language wins outright,
// failing that the first US English one, failing both the last; every other
// field takes the last record.
TNameTableChoice ChooseNames(const TByteView& records, uint16_t count, uint64_t storage,
                             bool allowMacintosh, uint16_t systemLangId) {
    TNameTableChoice choice;
    uint16_t styleLang = 0;
    uint16_t fullNameLang = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t at = uint64_t(i) * kNameRecordSize;
        if (!records.Contains(at, kNameRecordSize)) {
            break; // the records the file still held
        }
        const uint16_t platform = records.BE16(at);
        if (platform != kPlatformWindows && !(platform == kPlatformMacintosh && allowMacintosh)) {
            continue;
        }
        choice.Found = true;
        const uint16_t lang = records.BE16(at + 4);
        const uint16_t nameId = records.BE16(at + 6);
        if (nameId >= kNameIdCount || kNameFields[nameId] == nullptr) {
            continue;
        }
        if (nameId == kStyleNameId || nameId == kFullNameId) {
            uint16_t& chosen = nameId == kStyleNameId ? styleLang : fullNameLang;
            if (chosen == systemLangId || (chosen == kLangEnglishUS && lang != systemLangId)) {
                continue;
            }
            chosen = lang;
        }
        choice.Names[nameId] =
            TNameChoice{true, platform, storage + records.BE16(at + 10), records.BE16(at + 8)};
    }
    return choice;
}

std::string ReadNameString(IByteSource& source, const TNameChoice& name) {
    // A record's twenty names are read into one buffer, not twenty.
    thread_local std::vector<uint8_t> bytes;
    if (name.Platform == kPlatformWindows || name.Platform == kPlatformUnicode) {
        const size_t n = std::min<size_t>(name.Length, kMaxUtf16NameBytes);
        if (!source.Read(name.Offset, n, bytes)) {
            return LoadStr(kErrorText);
        }
        // Big-endian units; bytes the file did not hold are zero, and a last
        // odd byte stands alone as the low byte of a unit.
        const TByteView view(bytes);
        std::array<uint16_t, kMaxUtf16NameBytes / 2 + 1> units;
        for (size_t i = 0; i < n / 2; ++i) {
            units[i] = view.BE16(2 * i);
        }
        if (n % 2 != 0) {
            units[n / 2] = view.U8(n - 1);
        }
        return Utf16ToUtf8(std::span<const uint16_t>(units.data(), (n + 1) / 2));
    }
    if (name.Platform == kPlatformMacintosh) {
        const size_t n = std::min<size_t>(name.Length, kMaxMacNameBytes);
        if (!source.Read(name.Offset, n, bytes)) {
            return LoadStr(kErrorText);
        }
        return MacRomanToUtf8(bytes);
    }
    return std::string();
}

std::string TagText(const TByteView& directory, uint64_t at) {
    std::string tag;
    for (uint64_t k = 0; k < 4; ++k) {
        const uint8_t c = directory.U8(at + k);
        if (c == 0) {
            break;
        }
        tag += static_cast<char>(c);
    }
    return tag;
}

// TrueType, CFF and Apple's two older tags.
bool HasSfntSignature(const TByteView& offsetTable) {
    if (!offsetTable.Contains(0, 4)) {
        return false;
    }
    const uint32_t version = offsetTable.BE32(0);
    return version == 0x00010000 || version == 0x4F54544F /* OTTO */ ||
           version == 0x74727565 /* true */ || version == 0x74797031 /* typ1 */;
}

bool IsCollection(IByteSource& source) {
    const std::vector<uint8_t> tag = ReadUpTo(source, 0, 4);
    return TByteView(tag).Contains(0, 4) && TByteView(tag).BE32(0) == kCollectionTag;
}

bool IsOpenTypeLayoutTag(const std::string& tag) {
    return tag == "DSIG" || tag == "BASE" || tag == "GDEF" || tag == "GPOS" || tag == "GSUB" ||
           tag == "JSTF";
}

} // namespace

std::vector<uint64_t> CollectionDirectories(IByteSource& source) {
    const std::vector<uint8_t> headerBytes = ReadUpTo(source, 0, kCollectionHeaderSize);
    const TByteView header(headerBytes);
    if (!header.Contains(0, kCollectionHeaderSize) || header.BE32(0) != kCollectionTag) {
        return {};
    }
    // Only the offsets the file holds count, however many the header claims.
    const uint64_t size = source.Size();
    const uint64_t room = size > kCollectionHeaderSize ? (size - kCollectionHeaderSize) / 4 : 0;
    const uint64_t count =
        std::min<uint64_t>({header.BE32(8), room, uint64_t(kMaxCollectionFaces)});
    const std::vector<uint8_t> offsetBytes =
        ReadUpTo(source, kCollectionHeaderSize, size_t(count) * 4);
    const TByteView offsets(offsetBytes);
    std::vector<uint64_t> directories;
    for (uint64_t i = 0; i < count && offsets.Contains(i * 4, 4); ++i) {
        const uint64_t at = offsets.BE32(i * 4);
        const bool inside = at <= size && kOffsetTableSize <= size - at;
        directories.push_back(inside ? at : kNoDirectory);
    }
    return directories;
}

TOpenTypeFontFile::TOpenTypeFontFile(const std::string& fileName, uint32_t faceIndex) {
    FileName = InFontsFolder(fileName);
    const std::unique_ptr<IByteSource> source = FileShell().OpenFontFile(FileName);
    ReadFont(*source, SystemLocale().DefaultLangID(), faceIndex);
    Installed = IsInstalled(fileName);
}

TOpenTypeFontFile::TOpenTypeFontFile(IByteSource& source, uint16_t systemLangId,
                                     uint32_t faceIndex) {
    ReadFont(source, systemLangId, faceIndex);
}

TFontFiles TOpenTypeFontFile::GetFiles(bool fullPath) const {
    return TFontFiles(fullPath ? FileName : FileNamePart(FileName));
}

std::optional<uint64_t> TOpenTypeFontFile::FindDirectory(IByteSource& source, uint32_t faceIndex) {
    FaceIndex = faceIndex;
    if (!IsCollection(source)) {
        return faceIndex == 0 ? std::optional<uint64_t>(0) : std::nullopt;
    }
    FontType = ftTrueTypeCollection;
    const std::vector<uint64_t> directories = CollectionDirectories(source);
    FaceCount = static_cast<uint32_t>(directories.size());
    if (faceIndex >= directories.size() || directories[faceIndex] == kNoDirectory) {
        return std::nullopt;
    }
    return directories[faceIndex];
}

void TOpenTypeFontFile::ReadFont(IByteSource& source, uint16_t systemLangId, uint32_t faceIndex) {
    FontType = ftTrueType;
    Outlines = 1;
    const std::optional<uint64_t> directoryAt = FindDirectory(source, faceIndex);
    const bool collection = FontType == ftTrueTypeCollection;
    // A face that is not there reads as a file of no tables.
    const std::vector<uint8_t> offsetBytes =
        directoryAt ? ReadUpTo(source, *directoryAt, kOffsetTableSize) : std::vector<uint8_t>();
    const TByteView offsetTable(offsetBytes);
    NotAFont = !HasSfntSignature(offsetTable);
    const uint16_t numTables = offsetTable.BE16(4);
    const std::vector<uint8_t> directoryBytes =
        directoryAt ? ReadUpTo(source, *directoryAt + kOffsetTableSize,
                               size_t(numTables) * kTableRecordSize)
                    : std::vector<uint8_t>();
    const TByteView directory(directoryBytes);

    std::vector<uint64_t> nameTables;
    std::optional<uint64_t> os2Table;
    std::optional<uint64_t> headTable;
    for (uint32_t i = 0; i < numTables; ++i) {
        const uint64_t at = uint64_t(i) * kTableRecordSize;
        if (!directory.Contains(at, kTableRecordSize)) {
            break; // a directory cut short ends with the last whole record
        }
        const std::string tag = TagText(directory, at);
        const uint64_t offset = directory.BE32(at + 8);
        if (tag == "name") {
            nameTables.push_back(offset);
        } else if (tag == "OS/2") {
            os2Table = offset;
        } else if (tag == "head") {
            headTable = offset;
        } else if (tag == "glyf" || tag == "EBDT") {
            Outlines = 1;
        } else if (tag == "CFF ") {
            Outlines = 2;
            FontType = ftOpenType;
        } else if (IsOpenTypeLayoutTag(tag)) {
            FontType = ftOpenType;
        }
    }
    // A collection is one kind of file to the user, whatever its faces hold.
    if (collection) {
        FontType = ftTrueTypeCollection;
    }
    // Each OS/2 or 'head' read sets all its fields, so only the last such
    // table in the directory counts.
    ReadNameTables(source, nameTables, systemLangId);
    if (os2Table) {
        ReadOS2Table(source, *os2Table);
    }
    if (headTable) {
        ReadHeadTable(source, *headTable);
    }
    RegistryName =
        FullName + (FontType == ftTrueType || Outlines == 1 ? " (TrueType)" : " (OpenType)");
}

void TOpenTypeFontFile::ReadNameTables(IByteSource& source, const std::vector<uint64_t>& offsets,
                                       uint16_t systemLangId) {
    // Several 'name' tables act one after the other, so a field ends with the
    // text of the last table that has a record for it. Walking them from the
    // last, the first text found for a field is final: each field's text is
    // read once, however many tables the directory lists.
    std::array<bool, kNameIdCount> done{};
    std::set<uint64_t> seen;
    uint64_t budget = kNameRecordBudget;
    for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) {
        const uint64_t offset = *it;
        if (!seen.insert(offset).second) {
            continue; // a repeat of a later table adds nothing
        }
        const std::vector<uint8_t> headerBytes = ReadUpTo(source, offset, kNameHeaderSize);
        const TByteView header(headerBytes);
        const uint16_t count = header.BE16(2);
        const uint64_t storage = offset + header.BE16(4);
        const uint64_t cost = 2 * uint64_t(std::max<uint16_t>(count, 1));
        if (cost > budget) {
            break;
        }
        budget -= cost;
        const std::vector<uint8_t> recordBytes =
            ReadUpTo(source, offset + kNameHeaderSize, size_t(count) * kNameRecordSize);
        const TByteView records(recordBytes);
        TNameTableChoice choice = ChooseNames(records, count, storage, false, systemLangId);
        if (!choice.Found) {
            // A table without Windows records still names the font through its
            // Macintosh records.
            choice = ChooseNames(records, count, storage, true, systemLangId);
        }
        for (size_t id = 0; id < kNameIdCount; ++id) {
            if (choice.Names[id].Taken && !done[id]) {
                this->*kNameFields[id] = ReadNameString(source, choice.Names[id]);
                done[id] = true;
            }
        }
    }
}

void TOpenTypeFontFile::ReadOS2Table(IByteSource& source, uint64_t offset) {
    const std::vector<uint8_t> versionBytes = ReadUpTo(source, offset, 2);
    const uint16_t version = TByteView(versionBytes).BE16(0);
    // Version 0 tables end after 78 bytes; the fields read lie within them.
    const std::vector<uint8_t> bytes =
        ReadUpTo(source, offset, version == 0 ? kOS2Version0Size : kOS2Size);
    const TByteView os2(bytes);
    WeightClass = os2.BE16(4);
    WidthClass = os2.BE16(6);
    FamilyClass = os2.BE16Signed(30);
    Selection = os2.BE16(62);
}

void TOpenTypeFontFile::ReadHeadTable(IByteSource& source, uint64_t offset) {
    const std::vector<uint8_t> bytes = ReadUpTo(source, offset, kHeadSize);
    const TByteView head(bytes);
    UnitsPerEm = head.BE16(18);
    LowestRecPPEM = head.BE16(46);
}

bool TOpenTypeFontFile::IsInstalled(const std::string& argument) const {
    // A file of that name in any folder the system serves fonts from counts
    // as this very font; without one nothing else needs asking.
    if (!FontManager || !FontSystem().ServesFileNamed(FileNamePart(argument))) {
        return false;
    }
    try {
        // The system lists a font by the names it reads, which need not be
        // the family this file gives (a typographic family, say), and
        // without the blanks some files end a full name with.
        const std::string suffix = RegistryName.substr(FullName.size());
        const std::string trimmed = FullName.substr(0, FullName.find_last_not_of(' ') + 1);
        return FontManager->ListsFont(TFontKey::Fonts, RegistryName) ||
               FontManager->ListsFont(TFontKey::Fonts, trimmed + suffix) ||
               !FontManager->FindRegistryName(FullName, FamilyName, StyleName).empty();
    } catch (const EAbort&) {
        return false; // the font list cannot be read
    }
}

} // namespace lw
