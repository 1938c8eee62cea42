#include "base/strings.h"
#include "fake_font_system.h"
#include "fonts/font_manager.h"
#include "pages/installed_styles.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

using test::TFakeFontSystem;
using test::TrueTypeFace;

TEST(DescribeFamily, LinesAreSortedUniqueCutAtTheBarAndMarkTemporaryFonts) {
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
    const TFamilyDescription ps = DescribeFamily(fonts, "PS");
    EXPECT_EQ(ps.StyleLines,
              std::vector<std::string>{"Regular   |   PS-Regular   --->   /f/ps.pfm"});
    EXPECT_EQ(ps.TypeLine, "Tip:  Type 1");
    const TFamilyDescription none = DescribeFamily(fonts, "Nobody");
    EXPECT_FALSE(none.HasStyles);
    EXPECT_TRUE(none.StyleLines.empty());
}

} // namespace
} // namespace lw
