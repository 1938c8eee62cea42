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
    // A metrics file, its outline beside it with the same base name (found
    // ignoring case). The path is taken whole, "|" and all; a bare name is
    // taken from the font folder. Throws EFontFileError when either file
    // cannot be opened.
    explicit TType1FontFile(const std::string& metricsFile);
    // The metrics and outline files as the font list keeps an installed
    // Type 1 font; an empty outline lies beside the metrics file.
    explicit TType1FontFile(const TFontFiles& files);
    // Reads the two files' bytes already at hand; the file names stay empty
    // and the catalogue is not asked whether the font is installed.
    TType1FontFile(IByteSource& metrics, IByteSource& outline);

    // The metrics and outline files, or only their names.
    TFontFiles GetFiles(bool fullPath) const override;

    std::string PfbFileName;
    std::string PSFullName;
    std::string PSFamilyName;
    std::string PSWeight;
    int32_t ItalicAngle = 0;
    bool IsFixedPitch = false;

private:
    void ReadFiles();
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
