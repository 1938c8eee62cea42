#pragma once

#include "fonts/font_details.h"

#include <optional>
#include <string>

namespace lw {

// What a sample shows of a face: the text asked for while the face maps
// most of its letters; else a sentence (or the core letters) of a script the
// face covers; else the first glyphs a symbol font maps; else nothing, and
// the sample says so rather than borrow another font's glyphs.
struct TDrawableSample {
    enum TKind { Asked, InScript, Glyphs, Nothing };
    TKind Kind = Asked;
    std::u32string Text;
    std::string Script; // ISO 15924 code, for InScript
};

// codePoints: what the face maps; nothing when that is not known (a Type 1
// font), which keeps the text asked for.
TDrawableSample ChooseSample(const std::u32string& asked,
                             const std::optional<TCodeRanges>& codePoints);

} // namespace lw
