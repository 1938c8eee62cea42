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

size_t Ink(const TCoverage& line) {
    return static_cast<size_t>(
        std::count_if(line.Alpha.begin(), line.Alpha.end(), [](uint8_t a) { return a > 128; }));
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
    size_t below = 0;
    for (int y = line->Baseline + 2; y < line->Height; ++y) {
        for (int x = 0; x < line->Width; ++x) {
            below += line->Alpha[static_cast<size_t>(y) * line->Width + x] > 128;
        }
    }
    EXPECT_EQ(below, 0u);

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

} // namespace
} // namespace lw
