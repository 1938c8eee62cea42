#pragma once

#include "base/color.h"

#include <optional>
#include <string>

namespace lw {

// Prints the text on one page of the current printer in the given font,
// size and colour, inside half-inch margins with long lines wrapped, on the
// current printer (a PDF file in the documents folder when there is none).
// Gives where the page went (printer name or file), nothing when aborted.
std::optional<std::string> PrintSample(const std::string& title, const std::string& text,
                                       const std::string& fontName, TColor color, int size);

} // namespace lw
