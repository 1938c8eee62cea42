#pragma once

#include "fonts/font_details.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lw {

// What OS/2 fsType lets a document do with the font, in words: the
// embedding level, then "no subsetting" and "bitmap only" when set.
std::string EmbeddingRights(uint16_t fsType);

struct TUnicodeBlock {
    const char* Name;
    uint32_t First;
    uint32_t Last;
};
const std::vector<TUnicodeBlock>& UnicodeBlocks();

struct TBlockCoverage {
    std::string Name;
    uint64_t Covered = 0;
    uint64_t Size = 0;
};
// The blocks of the table the code points reach, in block order.
std::vector<TBlockCoverage> BlockCoverage(const TCodeRanges& codePoints);

// The scripts whose core letters are all mapped, in the table's order.
std::vector<std::string> ScriptsCovered(const TCodeRanges& codePoints);
// The same scripts by their ISO 15924 codes ("Latn", "Cyrl", ...).
std::vector<std::string> ScriptCodesCovered(const TCodeRanges& codePoints);
// The English name of a code of the table; empty for another code.
std::string ScriptName(const std::string& code);
// The core letters of a code of the table, in code point order.
std::u32string ScriptCoreLetters(const std::string& code);
// Every code of the table, in its order.
std::vector<std::string> KnownScriptCodes();

// The licence the licence description and URL name: an SPDX-style id
// ("OFL-1.1", "Apache-2.0", ...) or "other".
std::string RecognisedLicense(const std::string& description, const std::string& url);

// A licence RecognisedLicense names by its own id: the id the command line's
// automatic categories use ("license:ofl") and its name in words.
struct TKnownLicense {
    const char* Id;
    const char* ShortId;
    const char* Name;
};
// Nothing for "public-domain" and "other", which have no licence to name.
const TKnownLicense* KnownLicense(const std::string& id);

// What a layout feature tag does, in words; empty for a tag not in the table.
std::string FeatureName(const std::string& tag);

} // namespace lw
