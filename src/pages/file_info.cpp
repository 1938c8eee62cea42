#include "pages/file_info.h"

#include "base/strings.h"
#include "fonts/disabled_fonts.h"
#include "fonts/font_file.h"
#include "fonts/font_manager.h"
#include "platform/services.h"

#include <algorithm>
#include <optional>

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
constexpr int kInstalledButDisabled = 30318;
} // namespace

std::optional<std::string> DisablingRule(const TFontFile& font) {
    const std::string path = font.GetFileName(true);
    const std::vector<std::string> folders = FontSystem().FontFolders();
    if (std::none_of(folders.begin(), folders.end(), [&](const std::string& folder) {
            return path.starts_with(folder + (folder.ends_with('/') ? "" : "/"));
        })) {
        return std::nullopt;
    }
    for (const TRejectSource& source : UserDisabledFonts().ReadSources()) {
        for (const TRejectRule& rule : source.Rules) {
            if ((rule.Kind == TRejectRule::TKind::FileGlob &&
                 FontconfigGlobMatches(rule.Value, path)) ||
                (rule.Kind == TRejectRule::TKind::Family &&
                 Text().CompareIgnoreCase(rule.Value, font.FamilyName) == 0)) {
                return source.Path.substr(source.Path.rfind('/') + 1);
            }
        }
    }
    return std::nullopt;
}

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
    } else if (const std::optional<std::string> rule = DisablingRule(font)) {
        texts.Installed = FmtLoadStr(kInstalledButDisabled, *rule);
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
