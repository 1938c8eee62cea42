#pragma once

#include "fonts/byte_source.h"
#include "fonts/font_file.h"

#include <cstdint>
#include <string>

namespace lw {

// A TrueType or OpenType font file (".ttf", ".otf"): names from its 'name'
// table, OS/2 and 'head' values, TrueType or OpenType by its tables.
class TOpenTypeFontFile : public TFontFile {
public:
    // Reads the file; a bare file name is taken from the font folder. Throws
    // EFontFileError when the file cannot be opened.
    explicit TOpenTypeFontFile(const std::string& fileName);
    // Reads a font already at hand, choosing names for the given system
    // language. FileName stays empty and the catalogue is not asked whether
    // the font is installed.
    TOpenTypeFontFile(IByteSource& source, uint16_t systemLangId);

    TFontFiles GetFiles(bool fullPath) const override;

    int32_t WeightClass = 0;
    int32_t WidthClass = 0;
    int32_t FamilyClass = 0; // sFamilyClass sign-extended: class in the high byte
    uint8_t Outlines = 1;    // 1 TrueType outlines (or bitmaps only), 2 PostScript

private:
    void ReadFont(IByteSource& source, uint16_t systemLangId);
    void ReadNameTables(IByteSource& source, const std::vector<uint64_t>& offsets,
                        uint16_t systemLangId);
    void ReadOS2Table(IByteSource& source, uint64_t offset);
    void ReadHeadTable(IByteSource& source, uint64_t offset);
    bool IsInstalled(const std::string& argument) const;
};

} // namespace lw
