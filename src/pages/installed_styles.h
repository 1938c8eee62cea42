#pragma once

#include <string>
#include <vector>

namespace lw {

class TFontManager;

// What the installed page shows for one family.
struct TFamilyDescription {
    // "style   |   full name   --->   file", sorted ignoring case, no repeats.
    std::vector<std::string> StyleLines;
    // The full name each line shows, at the same place.
    std::vector<std::string> StyleFullNames;
    // The type line, or nothing for a family without styles.
    std::string TypeLine;
    bool HasStyles = false;
};

TFamilyDescription DescribeFamily(TFontManager& fonts, const std::string& family);

} // namespace lw
