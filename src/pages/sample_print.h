#pragma once

#include "app/color.h"

#include <optional>
#include <string>

namespace lw {

// Prints the text on one page of the current printer in the given font,
// size and colour, a line per line, without margins or wrapping. With no
// printer installed the page goes to a PDF file in the documents folder.
// Gives where the page went (printer name or file), nothing when aborted.
std::optional<std::string> PrintSample(const std::string& title, const std::string& text,
                                       const std::string& fontName, TColor color, int size);

// The file a PDF print of `title` goes to: the documents folder, the title
// made safe as a file name, never an existing file.
std::string PdfPathFor(const std::string& title);

} // namespace lw
