#pragma once

#include "fonts/byte_source.h"
#include "fonts/font_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// Where the table directory of each face of a collection (".ttc", ".otc")
// lies, in face order. A face whose directory would start outside the file
// is kept in its place (the faces after it keep their numbers) as
// kNoDirectory. Empty when the file is no collection.
inline constexpr uint64_t kNoDirectory = ~uint64_t(0);
std::vector<uint64_t> CollectionDirectories(IByteSource& source);

// A TrueType or OpenType font file (".ttf", ".otf"), or one face of a
// collection: names from its 'name' table, OS/2 and 'head' values, TrueType
// or OpenType by its tables.
class TOpenTypeFontFile : public TFontFile {
public:
    // Reads the file; a bare file name is taken from the font folder. Throws
    // EFontFileError when the file cannot be opened.
    explicit TOpenTypeFontFile(const std::string& fileName, uint32_t faceIndex = 0);
    // Reads a font already at hand, choosing names for the given system
    // language. FileName stays empty and the catalogue is not asked whether
    // the font is installed.
    TOpenTypeFontFile(IByteSource& source, uint16_t systemLangId, uint32_t faceIndex = 0);

    TFontFiles GetFiles(bool fullPath) const override;

    int32_t WeightClass = 0;
    int32_t WidthClass = 0;
    int32_t FamilyClass = 0; // sFamilyClass sign-extended: class in the high byte
    uint8_t Outlines = 1;    // 1 TrueType outlines (or bitmaps only), 2 PostScript

private:
    void ReadFont(IByteSource& source, uint16_t systemLangId, uint32_t faceIndex);
    // The offset of the face's table directory: 0 for a single font.
    std::optional<uint64_t> FindDirectory(IByteSource& source, uint32_t faceIndex);
    void ReadNameTables(IByteSource& source, const std::vector<uint64_t>& offsets,
                        uint16_t systemLangId);
    void ReadOS2Table(IByteSource& source, uint64_t offset);
    void ReadHeadTable(IByteSource& source, uint64_t offset);
    bool IsInstalled(const std::string& argument) const;
};

} // namespace lw
