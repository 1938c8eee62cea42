#include "base/helpers.h"
#include "platform/services.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace lw {
namespace {

TEST(NextToken, SplitsAPairGivesEmptyTokensAfterAndRestartsOnNewText) {
    // Each call's token and whether a separator followed it.
    using Step = std::pair<std::string, bool>;
    std::string token = "unchanged";
    const auto next = [&token](const char* text) {
        NextToken(text, '|', token);
        return Step(token, TokenSeparatorFound);
    };
    EXPECT_EQ(next("a|b"), Step("a", true));
    EXPECT_EQ(next(""), Step("b", false));
    EXPECT_EQ(next(""), Step("", false));
    // Calls past the end stay empty rather than reading beyond the text.
    EXPECT_EQ(next(""), Step("", false));

    // New text restarts the scan, and empty fields survive.
    EXPECT_EQ(next("first|second"), Step("first", true));
    EXPECT_EQ(next("x||y"), Step("x", true));
    EXPECT_EQ(next(""), Step("", true));
    EXPECT_EQ(next(""), Step("y", false));
}

TEST(NameWithoutExtension, CutsFolderAndLastExtensionOnly) {
    EXPECT_EQ(NameWithoutExtension("/usr/share/fonts/DejaVuSans.ttf"), "DejaVuSans");
    EXPECT_EQ(NameWithoutExtension("/fonts/archive.tar.gz"), "archive.tar");
    EXPECT_EQ(NameWithoutExtension("/fonts/README"), "README");
    EXPECT_EQ(NameWithoutExtension("plain.pfm"), "plain");
    EXPECT_EQ(NameWithoutExtension("/dotted.folder/name"), "name");
}

TEST(TextMatches, IgnoresCaseByTheLocaleIncludingLettersBeyondAscii) {
    EXPECT_TRUE(TextMatches("sans", "DejaVu Sans Mono", false));
    EXPECT_FALSE(TextMatches("sans", "DejaVu Sans Mono", true));
    EXPECT_TRUE(TextMatches("dejavu sans mono", "DejaVu Sans Mono", true));
    EXPECT_TRUE(TextMatches("ćirilica", "Stara ĆIRILICA", false));
    EXPECT_FALSE(TextMatches("serif", "DejaVu Sans", false));
}

TEST(SwapLong, ReversesTheFourBytes) {
    EXPECT_EQ(SwapLong(0x00010000u), 0x00000100u);
    EXPECT_EQ(SwapLong(0x4F54544Fu), 0x4F54544Fu);
    EXPECT_EQ(SwapLong(0x12345678u), 0x78563412u);
    EXPECT_EQ(SwapLong(SwapLong(0xDEADBEEFu)), 0xDEADBEEFu);
}

class TFixedFolders : public ISpecialFolders {
public:
    std::map<int, std::string> Folders;
    std::optional<std::string> Path(int csidl) const override {
        const auto it = Folders.find(csidl);
        return it == Folders.end() ? std::nullopt : std::optional(it->second);
    }
};

TEST(GetSpecialFolderPath, EndsWithExactlyOneSeparatorOrSaysError) {
    TFixedFolders folders;
    folders.Folders[CSIDL_PERSONAL] = "/home/user/Documents";
    folders.Folders[CSIDL_DESKTOP] = "/";
    folders.Folders[CSIDL_FONTS] = "";
    ISpecialFolders* real = Platform().Folders;
    Platform().Folders = &folders;
    EXPECT_EQ(GetPersonalFolderPath(), "/home/user/Documents/");
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_DESKTOP), "/");
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_FONTS), "<Error>");
    EXPECT_EQ(GetSpecialFolderPath(0x7777), "<Error>");
    Platform().Folders = real;
}

} // namespace
} // namespace lw
