#pragma once

#include "fonts/byte_source.h"
#include "fonts/font_file.h"

#include <cstdint>
#include <string>

namespace lw {

// A PostScript Type 1 font: the metrics file (".pfm") names it, the outline
// file (".pfb") beside it carries the PostScript header.
class TType1FontFile : public TFontFile {
public:
    // fileNames: a metrics file, or "metrics|outline" as the font list keeps
    // an installed Type 1 font; bare names are taken from the font folder.
    // Throws EFontFileError when either file cannot be opened.
    explicit TType1FontFile(const std::string& fileNames);
    // Reads the two files' bytes already at hand; the file names stay empty
    // and the catalogue is not asked whether the font is installed.
    TType1FontFile(IByteSource& metrics, IByteSource& outline);

    // The metrics and outline files joined by "|", or only their names.
    std::string GetFileName(bool fullPath) const override;

    std::string PfbFileName;
    std::string PSFullName;
    std::string PSFamilyName;
    std::string PSWeight;
    int32_t ItalicAngle = 0;
    bool IsFixedPitch = false;

private:
    void ReadFont(IByteSource& metrics, IByteSource& outline);
    void ReadMetrics(IByteSource& metrics);
    void ReadOutlineHeader(IByteSource& outline);
    void TakeHeaderLine(const std::string& line);
};

// True when line starts with key (exact case, at the very start); value is
// then the rest of the line cut as the PostScript header writes its values:
// "(text) readonly def" or "(text) def" gives text, "/Name def" gives Name,
// "-12 readonly def" gives -12; without a recognised ending it is empty. The
// version key's value is the rest of the line unchanged.
bool GetHeaderValue(const std::string& line, const std::string& key, std::string& value);

} // namespace lw
