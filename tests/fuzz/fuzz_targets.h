#pragma once

#include "fonts/font_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lw::fuzz {

// The entry of each name, as the fuzzers' and the replay's command lines
// name them; nothing for an unknown name.
using TFuzzRun = void (*)(const uint8_t*, size_t);
TFuzzRun FuzzRunNamed(const std::string& name);

// A Type 1 input: two bytes (little-endian) giving the length of the
// metrics file, the metrics file, then the outline file. A length past the
// end gives the metrics file the rest and the outline file nothing.
std::vector<uint8_t> JoinType1Input(const std::vector<uint8_t>& metrics,
                                    const std::vector<uint8_t>& outline);

// Every text of the record and its JSON line are valid UTF-8.
bool RecordTextsValid(const TFontFile& font);

} // namespace lw::fuzz
