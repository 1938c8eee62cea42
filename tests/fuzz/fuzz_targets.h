#pragma once

#include "fonts/font_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lw::fuzz {

// One input through a reader, as the fuzzers and the corpus replay run it.
// A record whose texts are not valid UTF-8 stops the process, so the fuzzer
// reports it like a crash.
void RunOpenType(const uint8_t* data, size_t size);
// The input holds both files of a Type 1 font: see JoinType1Input.
void RunType1(const uint8_t* data, size_t size);
// Every face of a collection, and one face past them.
void RunCollection(const uint8_t* data, size_t size);
// The details of every face (as RunCollection picks them) of an sfnt file
// or collection: the table readers, the facts drawn from them and the JSON
// of info --details. Broken text or code point ranges out of order stop
// the process like a crash.
void RunDetails(const uint8_t* data, size_t size);
// A Type 1 outline file alone (binary segments or text).
void RunType1Outline(const uint8_t* data, size_t size);
// An ".afm" and an outline file, split as a Type 1 input.
void RunType1Afm(const uint8_t* data, size_t size);

// The parsers of the files a user or another program can change. Where a
// parser has a writer, what it read is written and read again and must come
// back the same; a difference stops the process like a crash.
void RunSettings(const uint8_t* data, size_t size);
void RunBundle(const uint8_t* data, size_t size);
void RunCategoryFile(const uint8_t* data, size_t size);
void RunMasks(const uint8_t* data, size_t size);
// The face facts cache: the whole file, and its entries without signature
// and checksum.
void RunFactsCache(const uint8_t* data, size_t size);
// font-manager's Collections.json, written back and read again.
void RunCollections(const uint8_t* data, size_t size);
// A fontconfig file's rejectfont rules: each rule lies inside the text,
// removing one leaves a readable file with the others, and the program's
// own file names its globs back.
void RunRejectRules(const uint8_t* data, size_t size);

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
