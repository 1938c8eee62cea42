#include "pages/family_search.h"
#include "pages/sample_text.h"

#include "command_run.h"
#include "font_builder.h"
#include "test_home.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;

TSampleFormat Format(const std::string& font, int size, TColor color) {
    return TSampleFormat{.FontName = font, .SizePoints = size, .Color = color};
}

TEST(SampleRtf, BuildsHeaderColoursStylesAndParagraphsEscapesAnyTextAndAReaderGetsItBack) {
    TSampleFormat arial = Format("Arial", 12, 0);
    arial.Bold = true;
    EXPECT_EQ(BuildSampleRtf("ab\ncd", arial),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3082{\\fonttbl{\\f0\\fnil Arial;}}"
              "{\\colortbl;\\red0\\green0\\blue0;}"
              "\\pard\\plain\\f0\\fs24\\cf1\\b ab \\par\r\ncd\r\n }");

    const std::string red = BuildSampleRtf("x", Format("Sans", 10, 255));
    EXPECT_NE(red.find("{\\colortbl;\\red255\\green0\\blue0;}"), std::string::npos);
    EXPECT_NE(red.find("\\fs20\\cf1 x"), std::string::npos);

    TSampleFormat styled = Format("Sans", 10, RGBColor(1, 2, 3));
    styled.Bold = true;
    styled.Underline = true;
    const std::string boldUnderline = BuildSampleRtf("x", styled);
    EXPECT_NE(boldUnderline.find("\\cf1\\b\\ul x"), std::string::npos);
    EXPECT_NE(boldUnderline.find("\\red1\\green2\\blue3"), std::string::npos);
    styled.Italic = true;
    EXPECT_NE(BuildSampleRtf("x", styled).find("\\cf1\\b\\i\\ul x"), std::string::npos);

    // A line break at the end adds no empty paragraph.
    const std::string rtf = BuildSampleRtf("one\r\ntwo\r\n", Format("Sans", 10, 0));
    EXPECT_NE(rtf.find(" one \\par\r\ntwo\r\n }"), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("two \\par"), std::string::npos);

    // Rich-text characters and any language are escaped.
    const std::string escaped = BuildSampleRtf("a\\b{c}d ćž €😀", Format("Font {x}", 10, 0));
    // The font's name, the text, ć and ž, €, and U+1F600 as a surrogate pair.
    for (const char* part : {"\\fnil Font \\{x\\};", "a\\\\b\\{c\\}d ", "{\\u263?}{\\u382?}",
                             "{\\u8364?}", "{\\u-10179?\\u-8704?}"}) {
        EXPECT_NE(escaped.find(part), std::string::npos) << part << " in " << escaped;
    }
    // Broken UTF-8 becomes a replacement character, never a read past the end.
    EXPECT_NE(BuildSampleRtf(std::string("x\xC3"), Format("F", 10, 0)).find("x{\\u-3?}"),
              std::string::npos);
    EXPECT_NE(BuildSampleRtf(std::string("\xE2\x82"), Format("F", 10, 0)).find("{\\u-3?}"),
              std::string::npos);

    // A real reader, unrtf in its HTML rendering, gets back the text, the
    // font, the colour and the styles.
    TSampleFormat format = Format("Arial", 10, 255);
    format.Bold = true;
    format.Underline = true;
    const fs::path file = test::TestHome().Root() / "copy.rtf";
    test::WriteText(file, BuildSampleRtf("Ćao {x} a\\b ž\ntwo", format));
    const std::string html =
        test::RunCommand("unrtf --html '" + file.string() + "' 2>/dev/null").Output;
    fs::remove(file);
    ASSERT_NE(html.find("<body>"), std::string::npos) << "unrtf did not run: " << html;
    const std::string body = html.substr(html.find("<body>"));
    for (const char* part : {"face=\"Arial\"", "color=\"#ff0000\"", "<b><u>", "&#262;",
                             "ao {x} a\\b ", "&#382;", "two"}) {
        EXPECT_NE(body.find(part), std::string::npos) << part << " in " << body;
    }
}

TEST(SampleText, LinesSplitAtEveryBreakArePrintedSpacedAndWrapped) {
    EXPECT_EQ(SplitSampleLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitSampleLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitSampleLines(""), std::vector<std::string>{""});
    EXPECT_EQ(FirstCharacters("čćž", 2), "čć");
    EXPECT_EQ(FirstCharacters(std::string(70000, 'x'), kMaxCopiedCharacters).size(), 65535u);

    // Printed lines below the page are dropped.
    // 1.25 x 10 = 12.5 rounds to 12, 1.25 x 14 = 17.5 rounds to 18.
    EXPECT_EQ(SampleLineTops(4, 10, 1000), (std::vector<int>{0, 12, 24, 36}));
    EXPECT_EQ(SampleLineTops(3, 14, 1000), (std::vector<int>{0, 18, 36}));
    // A line that starts inside the page is printed even if it ends below it.
    EXPECT_EQ(SampleLineTops(10, 40, 120), (std::vector<int>{0, 50, 100}));
    EXPECT_TRUE(SampleLineTops(0, 10, 100).empty());

    // Wrapped at blanks, a long word at the last character that fits. One
    // unit a byte, so a width counts characters of ASCII text.
    const auto bytes = [](const std::string& text) { return static_cast<double>(text.size()); };
    const auto wrap = [&](const std::string& line, double width) {
        return WrapSampleLine(line, width, bytes);
    };
    using TLines = std::vector<std::string>;
    EXPECT_EQ(wrap("", 10), TLines{""});
    EXPECT_EQ(wrap("fits here", 9), TLines{"fits here"});
    EXPECT_EQ(wrap("The quick brown fox jumps over the lazy dog", 16),
              (TLines{"The quick brown", "fox jumps over", "the lazy dog"}));
    EXPECT_EQ(wrap("ab abcdefgh c", 3), (TLines{"ab", "abc", "def", "gh", "c"}));
    EXPECT_EQ(wrap("abcdefg", 3), (TLines{"abc", "def", "g"}));
    // Narrower than a character: one a line, still every one of them.
    EXPECT_EQ(wrap("ab", 0), (TLines{"a", "b"}));
    // Characters are never cut: "č" is two bytes, so "ač" is three.
    EXPECT_EQ(wrap("ačb", 2), (TLines{"a", "č", "b"}));
}

TEST(FamilySearch, SearchesDownwardThenFromTheTopUpToTheSelectedFamily) {
    const std::vector<std::string> families = {"Arial", "Sans Mono", "Sans", "Times", "Verdana"};
    EXPECT_EQ(FindFamily(families, 0, "sans", false), 1u);
    EXPECT_EQ(FindFamily(families, 1, "sans", false), 2u);
    // Matches only before and at the selection: the first from the top.
    EXPECT_EQ(FindFamily(families, 3, "sans", false), 1u);
    // Only the selected family matches: it is found again.
    EXPECT_EQ(FindFamily(families, 3, "tim", false), 3u);
    EXPECT_EQ(FindFamily(families, 0, "SANS", true), 2u);
    EXPECT_EQ(FindFamily(families, 0, "san", true), std::nullopt);
    EXPECT_EQ(FindFamily(families, -1, "arial", false), 0u);
    EXPECT_EQ(FindFamily(families, 4, "Nothing", false), std::nullopt);
    EXPECT_EQ(FindFamily({}, -1, "x", false), std::nullopt);
}

TEST(SizeBox, TextsAndPresets) {
    EXPECT_EQ(SizeFromText("36", 24), 36);
    EXPECT_EQ(SizeFromText("3a", 24), 24);
    EXPECT_EQ(SizeFromText("abc", 24), 24);
    EXPECT_EQ(SizeFromText("", 24), 24);
    EXPECT_EQ(SizeFromText("99999999999", 24), 24);
    EXPECT_EQ(PresetSizes()[NextPresetIndex("24")], 36);
    EXPECT_EQ(PresetSizes()[NextPresetIndex("13")], 8);
}

} // namespace
} // namespace lw
