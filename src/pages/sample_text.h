#pragma once

#include "base/color.h"

#include <functional>
#include <string>
#include <vector>

namespace lw {

// Lines of a text broken at CR LF, CR or LF; a break at the very end does
// not make an empty last line.
std::vector<std::string> SplitSampleLines(const std::string& text);

struct TSampleFormat {
    std::string FontName;
    int SizePoints = 0;
    // Red in the lowest byte, as stored colours are.
    TColor Color = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

// At most this many characters of a selection are copied.
inline constexpr size_t kMaxCopiedCharacters = 65535;

// The selection as a rich-text document in the sample's font, size, colour
// and styles. Backslashes and braces are escaped and characters beyond ASCII
// written as Unicode escapes, so any language pastes as typed.
std::string BuildSampleRtf(const std::string& selection, const TSampleFormat& format);

// The first `count` characters of a UTF-8 text.
std::string FirstCharacters(const std::string& text, size_t count);

// Top of each printed line on a page: lines are spaced by 1.25 times the
// text height (rounded half to even); a line that would start below the
// page is dropped.
std::vector<int> SampleLineTops(size_t lineCount, double textHeight, int pageHeight);

// One line of the sample cut into the lines a page `width` wide prints:
// at the blanks, a word wider than the page at the last character that
// fits (never inside a UTF-8 character). measure gives a text's width.
std::vector<std::string> WrapSampleLine(const std::string& line, double width,
                                        const std::function<double(const std::string&)>& measure);

} // namespace lw
