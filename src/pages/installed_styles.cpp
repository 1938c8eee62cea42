#include "pages/installed_styles.h"

#include "base/strings.h"
#include "fonts/font_manager.h"
#include "platform/services.h"

#include <algorithm>

namespace lw {

namespace {
constexpr int kTemporary = 10015;
constexpr int kTypeLine = 10029;
} // namespace

TFamilyDescription DescribeFamily(TFontManager& fonts, const std::string& family) {
    TFamilyDescription result;
    std::vector<std::string> styles;
    std::vector<std::string> fullNames;
    fonts.GetFamilyStyles(family, styles, fullNames);
    const size_t count = std::min(styles.size(), fullNames.size());
    if (count == 0) {
        return result;
    }
    result.HasStyles = true;
    result.TypeLine = FmtLoadStr(kTypeLine, fonts.GetFontTypeName(fonts.GetFontType(family)));
    std::vector<std::string>& lines = result.StyleLines;
    auto less = [](const std::string& a, const std::string& b) {
        return Text().CompareIgnoreCase(a, b) < 0;
    };
    for (size_t i = 0; i < count; ++i) {
        // A Type 1 font shows its outline file: that is the font, the
        // metrics file (".pfm", ".afm") only goes with it.
        const TFontFiles files = fonts.GetFontFiles(fullNames[i], family, styles[i]);
        std::string file = files.Outline.empty() ? files.File : files.Outline;
        if (file.empty()) {
            file = "(\?\?\?)"; // escaped: "??)" would be a trigraph
        }
        if (fonts.IsTemporary(fullNames[i])) {
            file += "  (" + LoadStr(kTemporary) + ")";
        }
        std::string line = styles[i] + "   |   " + fullNames[i] + "   --->   " + file;
        auto at = std::lower_bound(lines.begin(), lines.end(), line, less);
        if (at == lines.end() || Text().CompareIgnoreCase(*at, line) != 0) {
            result.StyleFullNames.insert(result.StyleFullNames.begin() + (at - lines.begin()),
                                         fullNames[i]);
            lines.insert(at, std::move(line));
        }
    }
    return result;
}

} // namespace lw
