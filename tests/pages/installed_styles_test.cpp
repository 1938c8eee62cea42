#include "base/strings.h"
#include "fake_font_system.h"
#include "fonts/font_manager.h"
#include "pages/installed_styles.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

using test::TFakeFontSystem;
using test::TrueTypeFace;

TEST(DescribeFamily, LinesAreSortedUniqueCutAtTheBarMarkTemporaryFontsAndNameType1Outlines) {
    SetLanguage(0);
    TFakeFontSystem system;
    system.AddFace("Sans", TrueTypeFace("Sans Bold", "Bold", NTM_BOLD));
    system.AddFace("Sans", TrueTypeFace("SANS BOLD", "BOLD", NTM_BOLD));
    system.AddFace("Sans", TrueTypeFace("Sans", "Regular", NTM_REGULAR));
    system.AddFace("Sans", TrueTypeFace("Sans Lost", "Lost", NTM_REGULAR));
    system.AddFace("Sans", TrueTypeFace("Sans Temp", "Temp", NTM_ITALIC));
    system.AddFace("PS",
                   TFaceInfo{"PS-Regular", "Regular", DEVICE_FONTTYPE, NTM_TYPE1 | NTM_REGULAR});
    system.Fonts["Sans Bold (TrueType)"] = TRegValue::FromString("sans-bold.ttf");
    system.Fonts["Sans (TrueType)"] = TRegValue::FromString("sans.ttf");
    system.Type1["PS Regular"] = TRegValue::FromMultiString({"T", "/f/ps.pfm", "/f/ps.pfb"});
    // A Type 1 family as a Linux system serves it: each style from a ".pfb"
    // and a ".t1" with the same names, its metrics in ".afm" files, and the
    // same styles again as OpenType.
    const uint32_t type1 = NTM_TYPE1;
    for (int copy = 0; copy < 2; ++copy) {
        system.AddFace("URW Gothic", TFaceInfo{"URWGothic-BookOblique", "Book Oblique",
                                               DEVICE_FONTTYPE, type1 | NTM_ITALIC});
        system.AddFace("URW Gothic",
                       TFaceInfo{"URWGothic-Demi", "Demi", DEVICE_FONTTYPE, type1 | NTM_REGULAR});
    }
    system.AddFace("URW Gothic", TFaceInfo{"URW Gothic Book Oblique", "Book Oblique",
                                           TRUETYPE_FONTTYPE, NTM_PS_OPENTYPE | NTM_ITALIC});
    system.Type1["URWGothic BookOblique"] =
        TRegValue::FromMultiString({"T", "/u/gothic-bo.afm", "/u/gothic-bo.pfb"});
    system.Type1["URWGothic Demi"] =
        TRegValue::FromMultiString({"T", "/u/gothic-d.afm", "/u/gothic-d.pfb"});
    TFontManager fonts;
    fonts.LoadFontTypeNames();
    fonts.TempNames = {"Sans Temp"};
    fonts.TempFiles = {TFontFiles("/tmp/temp.ttf")};

    const TFamilyDescription sans = DescribeFamily(fonts, "Sans");
    EXPECT_EQ(sans.TypeLine, "Tip:  TrueType");
    EXPECT_EQ(sans.StyleLines, (std::vector<std::string>{
                                   "Bold   |   Sans Bold   --->   sans-bold.ttf",
                                   "Lost   |   Sans Lost   --->   (\?\?\?)",
                                   "Regular   |   Sans   --->   sans.ttf",
                                   "Temp   |   Sans Temp   --->   /tmp/temp.ttf  (Privremen)",
                               }));
    // Each line's own full name, for the commands on the style chosen.
    EXPECT_EQ(sans.StyleFullNames,
              (std::vector<std::string>{"Sans Bold", "Sans Lost", "Sans", "Sans Temp"}));
    const TFamilyDescription ps = DescribeFamily(fonts, "PS");
    EXPECT_EQ(ps.StyleLines,
              std::vector<std::string>{"Regular   |   PS-Regular   --->   /f/ps.pfb"});
    EXPECT_EQ(ps.TypeLine, "Tip:  Type 1");
    const TFamilyDescription none = DescribeFamily(fonts, "Nobody");
    EXPECT_FALSE(none.HasStyles);
    EXPECT_TRUE(none.StyleLines.empty());

    // Each Type 1 style is one line naming its outline.
    std::vector<std::string> styles;
    fonts.GetFamilyStyleNames("URW Gothic", styles);
    EXPECT_EQ(styles, (std::vector<std::string>{"Book Oblique", "Demi"}));
    std::vector<std::string> fullNames;
    fonts.GetFamilyFullNames("URW Gothic", fullNames);
    EXPECT_EQ(fullNames, (std::vector<std::string>{"URWGothic-BookOblique",
                                                   "URW Gothic Book Oblique", "URWGothic-Demi"}));
    EXPECT_EQ(DescribeFamily(fonts, "URW Gothic").StyleLines,
              (std::vector<std::string>{
                  "Book Oblique   |   URW Gothic Book Oblique   --->   (\?\?\?)",
                  "Book Oblique   |   URWGothic-BookOblique   --->   /u/gothic-bo.pfb",
                  "Demi   |   URWGothic-Demi   --->   /u/gothic-d.pfb",
              }));
}

} // namespace
} // namespace lw
