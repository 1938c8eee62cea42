#pragma once

#include "fonts/font_details.h"
#include "platform/byte_source.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lw {

// The codes of a Type 1 font's encoding and the glyph name at each, in
// code order: the standard encoding's when the outline names it, else those
// its own "dup CODE /name put" lines give.
std::vector<std::pair<uint8_t, std::string>> Type1Encoding(const std::string& cleartext);

// The character a glyph name stands for: a name of the standard and Latin-1
// character sets, "uniXXXX" or "uXXXX" to "uXXXXXX"; nothing for another.
std::optional<uint32_t> GlyphNameCode(std::string_view name);

// The code points a Type 1 outline maps: the characters its encoded glyph
// names stand for. Glyphs the encoding leaves out are not reached by text
// and are not counted.
TCodeRanges Type1CodePoints(IByteSource& outline);

} // namespace lw
