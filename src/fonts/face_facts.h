#pragma once

#include "fonts/font_details.h"
#include "platform/byte_source.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// The design a face declares in PANOSE or its IBM family class.
enum class TDesignClass : uint8_t { Unknown, Serif, SansSerif, Script, Decorative, Symbol };

// What the automatic categories and the samples ask of one face, read from
// its file once and kept in the facts cache.
struct TFaceFacts {
    // The file held the face and it could be read.
    bool Readable = false;
    std::vector<std::string> Scripts; // ISO 15924 codes, in the script table's order
    bool Monospace = false;
    uint16_t Weight = 400; // OS/2 usWeightClass
    uint16_t Width = 5;    // OS/2 usWidthClass
    bool Italic = false;
    bool Oblique = false;
    TDesignClass Design = TDesignClass::Unknown;
    bool Variable = false;
    std::string Format;  // "truetype", "cff" or "type1"
    std::string Vendor;  // OS/2 achVendID without its padding
    std::string License; // as RecognisedLicense names it; empty when the font names none
    bool operator==(const TFaceFacts&) const = default;
};

// The facts of face faceIndex of an sfnt file or collection.
TFaceFacts SfntFaceFacts(IByteSource& source, uint32_t faceIndex);
// The facts of any font file by its extension (Type 1 metrics or outline
// files too); a file that cannot be read gives facts that are not Readable.
TFaceFacts ReadFaceFacts(const std::string& path, uint32_t faceIndex);

// Whether every glyph that advances at all advances by the same width.
bool MonospaceAdvances(const TByteView& hhea, const TByteView& hmtx);
TDesignClass DesignOf(const TOS2Info& os2);

// The code points a face maps, for choosing a sample it can draw; a symbol
// font's private codes when it has no Unicode map. Nothing when it is not
// known: a Type 1 font (its glyphs go by name) or a face that cannot be read.
std::optional<TCodeRanges> FaceCodePoints(const std::string& path, uint32_t faceIndex);
std::optional<TCodeRanges> SfntCodePoints(IByteSource& source, uint32_t faceIndex);

} // namespace lw
