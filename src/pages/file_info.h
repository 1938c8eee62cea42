#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lw {

class TFontFile;
class TFontManager;

// What the not-installed page's six labels say of a font file.
struct TFileInfoTexts {
    std::string FullName;
    std::string Family;
    std::string Style;
    std::string Type;
    std::string Version;
    std::string Installed;
    bool operator==(const TFileInfoTexts&) const = default;
};

// The labels with nothing previewed.
TFileInfoTexts EmptyFileInfo();
// The labels for a previewed file; an installed one lists its family's
// installed styles.
TFileInfoTexts FileInfo(const TFontFile& font, TFontManager& fonts);
// The same for a file of several faces (a collection): the first face is
// previewed, the family and style lines name those of every face.
TFileInfoTexts FileInfo(const TFontFile& font, TFontManager& fonts,
                        const std::vector<std::unique_ptr<TFontFile>>& faces);

// The name of the configuration file whose rule hides a file lying in a
// folder fontconfig serves fonts from: installed, but not served. None for a
// file anywhere else.
std::optional<std::string> DisablingRule(const TFontFile& font);

// The items joined, each followed by the separator except the last; an item
// equal to the one before it (exactly) is left out.
std::string JoinStrings(const std::vector<std::string>& items, const std::string& separator);

// Status panel 1 for a file that could not be previewed: the reason, ": "
// and the error caption in capitals.
std::string PreviewErrorText(const std::string& reason);

} // namespace lw
