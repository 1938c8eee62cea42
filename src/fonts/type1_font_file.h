#pragma once

#include "fonts/byte_source.h"
#include "fonts/font_file.h"

#include <cstdint>
#include <string>

namespace lw {

// The kinds of metrics file a Type 1 font may have beside its outline.
enum class TType1Metrics { None, Pfm, Afm };

// A PostScript Type 1 font: an outline file (".pfb" in binary segments,
// ".pfa" or ".t1" as text) whose font dictionary names it, and beside it,
// with the same base name, a metrics file or none. A ".pfm" names the font
// itself; an ".afm" only fills what the dictionary leaves out.
class TType1FontFile : public TFontFile {
public:
    // A metrics or an outline file; the other one of the pair is looked for
    // beside it with the same base name (found ignoring case). The path is
    // taken whole, "|" and all; a bare name is taken from the font folder.
    // Throws EFontFileError when a file of the pair cannot be opened (a
    // lone outline file needs no metrics).
    explicit TType1FontFile(const std::string& path);
    // The metrics and outline files as the font list keeps an installed
    // Type 1 font; an empty outline lies beside the metrics file, and a lone
    // outline file stands in the first place.
    explicit TType1FontFile(const TFontFiles& files);
    // Reads the two files' bytes already at hand; the file names stay empty
    // and the catalogue is not asked whether the font is installed.
    TType1FontFile(IByteSource& metrics, IByteSource& outline);
    // An outline file with metrics of the given kind, or none (null).
    TType1FontFile(IByteSource& outline, IByteSource* metrics, TType1Metrics kind);

    // The metrics and outline files, or only their names; a lone outline
    // file alone.
    TFontFiles GetFiles(bool fullPath) const override;

    // The outline file and the metrics file (empty when there is none).
    std::string PfbFileName;
    std::string MetricsFileName;
    std::string PSFullName;
    std::string PSFamilyName;
    std::string PSWeight;
    int32_t ItalicAngle = 0;
    bool IsFixedPitch = false;

private:
    // What an ".afm" says, and the outline's own PostScript name and
    // version, before it is decided which of them names the font.
    struct TNames {
        std::string FontName, FullName, FamilyName, Weight, Version, Notice;
    };

    void ReadFiles(TType1Metrics kind);
    void ReadFont(IByteSource& outline, IByteSource* metrics, TType1Metrics kind);
    void ReadMetrics(IByteSource& metrics);
    void ReadAfm(IByteSource& metrics, TNames& names);
    // Named: a ".pfm" names the font, and only the outline's first segment
    // is scanned, as far as it goes; otherwise the whole clear text is.
    void ReadOutlineHeader(IByteSource& outline, TNames& names, bool named);
    // Escapes: the outline names the font, and its strings' escapes count.
    void TakeHeaderLine(const std::string& line, TNames& names, bool escapes);
    void NameFromOutline(const TNames& dictionary, const TNames& afm);
};

// The kind of Type 1 file a name says: outline (".pfb", ".pfa", ".t1"),
// metrics (".pfm", ".afm") or neither; ignoring case.
bool IsType1OutlineName(const std::string& path);
bool IsType1MetricsName(const std::string& path);
// The other file of a Type 1 pair beside path, found ignoring case: the
// outline of a metrics file (a ".pfb" of its name when there is none), the
// metrics file of an outline (empty when there is none).
std::string Type1Companion(const std::string& path);
// A Type 1 face's style as its names give it: what its full name says after
// the family name (blanks and hyphens aside), "Regular" when nothing, else
// its weight.
std::string Type1StyleName(const std::string& family, const std::string& fullName,
                           const std::string& weight);

// The clear text of an outline file up to its encrypted part (the text
// segments of a ".pfb" in turn, the start of a ".pfa" or ".t1").
std::string Type1Cleartext(IByteSource& outline);

// True when line starts with key (exact case, at the very start); value is
// then the rest of the line cut as the PostScript header writes its values:
// "(text) readonly def" or "(text) def" gives text, "/Name def" gives Name,
// "-12 readonly def" gives -12; without a recognised ending it is empty. The
// version key's value is the rest of the line unchanged.
bool GetHeaderValue(const std::string& line, const std::string& key, std::string& value);

} // namespace lw
