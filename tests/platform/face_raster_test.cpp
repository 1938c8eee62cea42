// Drawing sample lines straight from font files, as the sheets do.
#include "font_builder.h"
#include "platform/linux/freetype_rasterizer.h"
#include "test_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;

const std::string kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string kMono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

// Pixels more than half covered, in the rows from fromRow down.
size_t Ink(const TCoverage& line, int fromRow = 0) {
    const size_t from = std::min(line.Alpha.size(), static_cast<size_t>(fromRow) * line.Width);
    return static_cast<size_t>(std::count_if(line.Alpha.begin() + static_cast<long>(from),
                                             line.Alpha.end(), [](uint8_t a) { return a > 128; }));
}

TEST(FaceRasterizer, DrawsALineInTheFacesOwnGlyphsWithinItsWidth) {
    TFreeTypeRasterizer raster;
    const std::optional<TCoverage> line = raster.DrawLine(kSans, 0, 32, U"Hamburefonstiv", 2000);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->Alpha.size(), static_cast<size_t>(line->Width) * line->Height);
    EXPECT_GT(line->Width, 150) << "fourteen letters at 32 pixels";
    EXPECT_LT(line->Width, 2000) << "cut to the ink";
    EXPECT_GE(line->Height, 32);
    EXPECT_GT(line->Baseline, 16);
    EXPECT_GT(Ink(*line), 500u);
    // Nothing below the baseline in a line without descenders but the
    // antialiased edge.
    EXPECT_EQ(Ink(*line, line->Baseline + 2), 0u);

    // The width given cuts the line; a wider face is wider.
    const std::optional<TCoverage> cut = raster.DrawLine(kSans, 0, 32, U"Hamburgefonstiv", 60);
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->Width, 60);
    const std::optional<TCoverage> mono = raster.DrawLine(kMono, 0, 32, U"iiii", 2000);
    const std::optional<TCoverage> sans = raster.DrawLine(kSans, 0, 32, U"iiii", 2000);
    ASSERT_TRUE(mono && sans);
    EXPECT_GT(mono->Width, sans->Width) << "a monospaced i is as wide as an m";
}

TEST(FaceRasterizer, WhatCannotBeDrawnGivesNothingAndFacesStayBounded) {
    TFreeTypeRasterizer raster(2);
    EXPECT_FALSE(raster.DrawLine("/no/such/font.ttf", 0, 24, U"x", 100));
    EXPECT_FALSE(raster.DrawLine(kSans, 7, 24, U"x", 100)) << "one face in the file";
    EXPECT_FALSE(raster.DrawLine(kSans, 0, 0, U"x", 100));
    const fs::path junk = test::TestHome().Root() / "junk.ttf";
    test::WriteFile(junk, test::TBytes(4096, 0x5A));
    EXPECT_FALSE(raster.DrawLine(junk.string(), 0, 24, U"x", 100));

    const fs::path copy = test::TestHome().Root() / "copy.ttf";
    fs::copy_file(kSans, copy, fs::copy_options::overwrite_existing);
    for (const std::string& file : {kSans, kMono, copy.string(), kSans}) {
        EXPECT_TRUE(raster.DrawLine(file, 0, 24, U"x", 100)) << file;
        EXPECT_LE(raster.LoadedFaces(), 2u);
    }
    raster.ReleaseFaces();
    EXPECT_EQ(raster.LoadedFaces(), 0u);
    fs::remove(junk);
    fs::remove(copy);
}

// Columns [from, from + count) of a line, row after row.
std::vector<uint8_t> Columns(const TCoverage& line, int from, int count) {
    std::vector<uint8_t> cut;
    for (int y = 0; y < line.Height; ++y) {
        for (int x = from; x < from + count; ++x) {
            cut.push_back(
                x >= 0 && x < line.Width ? line.Alpha[static_cast<size_t>(y) * line.Width + x] : 0);
        }
    }
    return cut;
}

TEST(FaceRasterizer, JoinedAndRightToLeftScriptsAreShapedAsTheyAreWritten) {
    TFreeTypeRasterizer raster;
    // Three beh joined: the initial, medial and final forms the font has for
    // them, not three isolated letters.
    const auto joined = raster.DrawLine(kSans, 0, 32, U"\u0628\u0628\u0628", 2000);
    const auto forms = raster.DrawLine(kSans, 0, 32, U"\uFE91\uFE92\uFE90", 2000);
    const auto isolated = raster.DrawLine(kSans, 0, 32, U"\uFE8F\uFE8F\uFE8F", 2000);
    ASSERT_TRUE(joined && forms && isolated);
    EXPECT_EQ(joined->Alpha, forms->Alpha);
    EXPECT_NE(joined->Alpha, isolated->Alpha);

    // Hebrew runs right to left: the second letter stands on the left.
    const auto word = raster.DrawLine(kSans, 0, 32, U"\u05D0\u05D1", 2000);
    const auto bet = raster.DrawLine(kSans, 0, 32, U"\u05D1", 2000);
    const auto alef = raster.DrawLine(kSans, 0, 32, U"\u05D0", 2000);
    ASSERT_TRUE(word && bet && alef);
    EXPECT_EQ(Columns(*word, 0, bet->Width - 3), Columns(*bet, 0, bet->Width - 3));
    EXPECT_NE(Columns(*word, 0, bet->Width - 3), Columns(*alef, 0, bet->Width - 3));

    // Too long for its room, a right-to-left line keeps its beginning, at
    // the right, where the wide line has it.
    const std::u32string hebrew = U"\u05D0\u05D1\u05D2\u05D3\u05D4\u05D5\u05D6\u05D7";
    const auto full = raster.DrawLine(kSans, 0, 32, hebrew, 2000);
    const auto cut = raster.DrawLine(kSans, 0, 32, hebrew, 60);
    ASSERT_TRUE(full && cut);
    ASSERT_EQ(cut->Width, 60);
    ASSERT_GT(full->Width, 100);
    const int shift = full->Width - 60;
    bool found = false;
    for (int s = shift - 1; s <= shift + 1 && !found; ++s) {
        found = Columns(*cut, 0, 60) == Columns(*full, s, 60);
    }
    EXPECT_TRUE(found) << "the cut line is the wide line's right end";
}

} // namespace
} // namespace lw
