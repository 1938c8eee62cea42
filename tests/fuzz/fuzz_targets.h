#pragma once

#include "fonts/font_file.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lw::fuzz {

// One input through a reader, as the fuzzers and the corpus replay run it.
// A record whose texts are not valid UTF-8 stops the process, so the fuzzer
// reports it like a crash.
void RunOpenType(const uint8_t* data, size_t size);
// The input holds both files of a Type 1 font: see SplitType1Input.
void RunType1(const uint8_t* data, size_t size);

// A Type 1 input: two bytes (little-endian) giving the length of the
// metrics file, the metrics file, then the outline file. A length past the
// end gives the metrics file the rest and the outline file nothing.
std::vector<uint8_t> JoinType1Input(const std::vector<uint8_t>& metrics,
                                    const std::vector<uint8_t>& outline);

// Every text of the record and its JSON line are valid UTF-8.
bool RecordTextsValid(const TFontFile& font);

} // namespace lw::fuzz
