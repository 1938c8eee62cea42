#pragma once

#include "fonts/drawable_sample.h"

#include <QString>

namespace lw {

// The words that say a sample is not the one asked for: the script's name in
// small letters, "glyphs" for a symbol font's row, or that nothing can be
// drawn; empty for the asked sample. The sheets, the pages and printing say it
// alike.
QString SampleMark(const TDrawableSample& sample);

} // namespace lw
