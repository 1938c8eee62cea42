#include "pages/file_info.h"

#include "base/strings.h"
#include "fonts/font_file.h"
#include "fonts/font_manager.h"

namespace lw {

namespace {
constexpr int kFullName = 13012;
constexpr int kFamily = 10026;
constexpr int kStyle = 10027;
constexpr int kType = 10029;
constexpr int kVersion = 10028;
constexpr int kInstalledStyles = 13013;
constexpr int kNotInstalled = 13004;
constexpr int kErrorCaption = 22;
} // namespace

TFileInfoTexts EmptyFileInfo() {
    return {FmtLoadStr(kFullName, ""), FmtLoadStr(kFamily, ""),  FmtLoadStr(kStyle, ""),
            FmtLoadStr(kType, ""),     FmtLoadStr(kVersion, ""), LoadStr(kNotInstalled)};
}

TFileInfoTexts FileInfo(const TFontFile& font, TFontManager& fonts) {
    TFileInfoTexts texts;
    texts.FullName = FmtLoadStr(kFullName, font.FullName);
    texts.Family = FmtLoadStr(kFamily, font.FamilyName);
    texts.Style = FmtLoadStr(kStyle, font.StyleName);
    texts.Type = FmtLoadStr(kType, fonts.GetFontTypeName(font.FontType));
    texts.Version = FmtLoadStr(kVersion, font.Version);
    if (font.Installed) {
        std::vector<std::string> styles;
        fonts.GetFamilyStyleNames(font.FamilyName, styles);
        texts.Installed = FmtLoadStr(kInstalledStyles, JoinStrings(styles, ", "));
    } else {
        texts.Installed = LoadStr(kNotInstalled);
    }
    return texts;
}

TFileInfoTexts FileInfo(const TFontFile& font, TFontManager& fonts,
                        const std::vector<std::unique_ptr<TFontFile>>& faces) {
    TFileInfoTexts texts = FileInfo(font, fonts);
    if (faces.size() > 1) {
        std::vector<std::string> families;
        std::vector<std::string> styles;
        for (const std::unique_ptr<TFontFile>& face : faces) {
            families.push_back(face->FamilyName);
            styles.push_back(face->StyleName);
        }
        texts.Family = FmtLoadStr(kFamily, JoinStrings(families, ", "));
        texts.Style = FmtLoadStr(kStyle, JoinStrings(styles, ", "));
    }
    return texts;
}

std::string JoinStrings(const std::vector<std::string>& items, const std::string& separator) {
    std::string joined;
    std::string previous;
    for (const std::string& item : items) {
        if (item != previous) {
            joined += item + separator;
        }
        previous = item;
    }
    if (joined.size() >= separator.size()) {
        joined.erase(joined.size() - separator.size());
    }
    return joined;
}

std::string PreviewErrorText(const std::string& reason) {
    std::string caption = LoadStr(kErrorCaption);
    // Only the letters a to z, as the caption is plain Latin.
    for (char& c : caption) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return reason + ": " + caption;
}

} // namespace lw
