#include "base/strings.h"
#include "fake_font_system.h"
#include "fonts/font_manager.h"
#include "test_env.h"
#include "test_home.h"
#include "told.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace lw {
namespace {

using test::TFakeFontSystem;
using test::TrueTypeFace;

class FontManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetLanguage(0);
        test::TestPrompts().Reset();
    }
    TFontManager& Catalogue() {
        if (!Fonts) {
            Fonts = std::make_unique<TFontManager>();
            Fonts->LoadFontTypeNames();
        }
        return *Fonts;
    }
    TFakeFontSystem System;
    std::unique_ptr<TFontManager> Fonts;
};

TEST_F(FontManagerTest, FamiliesAreSortedOnceEachWithoutDefaultAndKeptWhenEnumerationFails) {
    System.FaceFamilies = {"zapf",    "Arial",  "Arial",  "arial",
                           "Default", "Éclair", "Bodoni", "Arial"};
    TFontManager& fonts = Catalogue();
    EXPECT_EQ(fonts.Families, (std::vector<std::string>{"Arial", "Bodoni", "Éclair", "zapf"}));
    System.FailEnumeration = true;
    fonts.Refresh();
    EXPECT_EQ(fonts.Families.size(), 4u);
    System.FailEnumeration = false;
    System.FaceFamilies.clear();
    fonts.Refresh();
    EXPECT_TRUE(fonts.Families.empty());
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
}

TEST_F(FontManagerTest, MissingFontsFolderIsReportedAndNamedAsAnError) {
    System.Folder.reset();
    TFontManager& fonts = Catalogue();
    ASSERT_TRUE(
        test::ToldOnce("Ne mogu locirati folder sa fontovima.", "<Greska>", TMsgIcon::Error));
    EXPECT_EQ(fonts.FontsFolder, "<Greska>");
}

TEST_F(FontManagerTest, StylesAreOrderedByTheTextOfTheirFlagsAndBitmapsListOneASize) {
    System.AddFace("Sans", TrueTypeFace("Sans", "Regular", NTM_REGULAR));
    System.AddFace("Sans", TrueTypeFace("Sans Italic", "Italic", NTM_ITALIC));
    System.AddFace("Sans", TrueTypeFace("Sans Bold", "Bold", NTM_BOLD));
    System.AddFace("Sans", TrueTypeFace("Sans Bold Italic", "Bold Italic", NTM_BOLD | NTM_ITALIC));
    System.AddFace("Sans", TrueTypeFace("Sans Odd", "Odd", 8));
    for (int size = 0; size < 3; ++size) {
        System.AddFace("Fixed", TFaceInfo{"Fixed", "Regular", RASTER_FONTTYPE, NTM_REGULAR});
    }
    System.AddFace("Odd", TFaceInfo{"Odd", "Regular", 0, NTM_REGULAR});
    std::vector<std::string> styles;
    std::vector<std::string> names;
    Catalogue().GetFamilyStyles("sans", styles, names);
    EXPECT_EQ(styles,
              (std::vector<std::string>{"Italic", "Bold", "Bold Italic", "Regular", "Odd"}));
    EXPECT_EQ(names, (std::vector<std::string>{"Sans Italic", "Sans Bold", "Sans Bold Italic",
                                               "Sans", "Sans Odd"}));
    std::vector<std::string> onlyNames;
    Catalogue().GetFamilyFullNames("Sans", onlyNames);
    EXPECT_EQ(onlyNames, names);
    Catalogue().GetFamilyStyles("Unknown", styles, names);
    EXPECT_TRUE(styles.empty());
    EXPECT_TRUE(names.empty());

    // Bitmap families have a style a size, and a type of their own.
    Catalogue().GetFamilyStyles("Fixed", styles, names);
    EXPECT_EQ(styles, std::vector<std::string>(3, "(Bitmap font)"));
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(Catalogue().GetFontType("Fixed"), ftBitmap);
    Catalogue().GetFamilyStyles("Odd", styles, names);
    EXPECT_EQ(styles, std::vector<std::string>{"(Nepoznat tip fonta)"});
    EXPECT_EQ(Catalogue().GetFontType("Odd"), ftUnknown);
}

TEST_F(FontManagerTest, TypeCodesFollowKindFlagsAndTheVerticalMark) {
    System.AddFace("Plain", TrueTypeFace("Plain", "Regular", NTM_REGULAR));
    System.AddFace("Vertical", TrueTypeFace("@Vertical", "Regular", NTM_REGULAR));
    System.AddFace("VerticalOT",
                   TrueTypeFace("@VerticalOT", "Regular", NTM_REGULAR | NTM_TT_OPENTYPE));
    System.AddFace("Cff", TrueTypeFace("Cff", "Regular", NTM_REGULAR | NTM_PS_OPENTYPE));
    System.AddFace("DeviceOT", TFaceInfo{"DeviceOT", "Regular", DEVICE_FONTTYPE, NTM_PS_OPENTYPE});
    System.AddFace("PS",
                   TFaceInfo{"PS-Regular", "Regular", DEVICE_FONTTYPE, NTM_TYPE1 | NTM_REGULAR});
    System.AddFace("Device", TFaceInfo{"Device", "Regular", DEVICE_FONTTYPE, NTM_REGULAR});
    // The first face that is not a bitmap decides.
    System.AddFace("Mixed", TFaceInfo{"Mixed", "Regular", RASTER_FONTTYPE, 0});
    System.AddFace("Mixed", TrueTypeFace("Mixed", "Regular", NTM_REGULAR));
    TFontManager& fonts = Catalogue();
    EXPECT_EQ(fonts.GetFontType("Plain"), ftTrueType);
    EXPECT_EQ(fonts.GetFontType("Vertical"), ftTrueTypeCollection);
    EXPECT_EQ(fonts.GetFontType("VerticalOT"), ftOpenType);
    EXPECT_EQ(fonts.GetFontType("Cff"), ftOpenType);
    EXPECT_EQ(fonts.GetFontType("DeviceOT"), ftOpenType);
    EXPECT_EQ(fonts.GetFontType("PS"), ftType1);
    EXPECT_EQ(fonts.GetFontType("Device"), ftUnknown);
    EXPECT_EQ(fonts.GetFontType("Mixed"), ftTrueType);
    EXPECT_EQ(fonts.GetFontType("Nobody"), ftUnknown);
    EXPECT_EQ(fonts.GetFontTypeName(ftType1), "Type 1");
    EXPECT_EQ(fonts.GetFontTypeName(9), "");
}

TEST_F(FontManagerTest, StyleFlagsAndStyleByFullName) {
    System.AddFace("Sans", TrueTypeFace("Sans Bold Italic", "Bold Italic", NTM_BOLD | NTM_ITALIC));
    System.AddFace("Sans", TrueTypeFace("Sans Struck", "Struck", NTM_STRIKEOUT | NTM_REGULAR));
    TFontManager& fonts = Catalogue();
    EXPECT_EQ(fonts.GetStyleFlags("Sans", "Bold Italic"), TFontStyles(fsBold | fsItalic));
    EXPECT_EQ(fonts.GetStyleFlags("Sans", "Struck"), TFontStyles(fsStrikeOut));
    EXPECT_EQ(fonts.GetStyleFlags("Sans", "bold italic"), 0u); // exact comparison
    EXPECT_EQ(fonts.GetStyleFlags("Sans", ""), 0u);
    EXPECT_EQ(fonts.GetStyleByFullName("Sans", "Sans Struck"), "Struck");
    EXPECT_EQ(fonts.GetStyleByFullName("Sans", "sans struck"), "");
}

TEST_F(FontManagerTest, RegistryNamesAreTriedInTheirFixedOrder) {
    System.AddFace("Sans", TrueTypeFace("Sans Heavy", "Heavy", NTM_REGULAR));
    System.AddFace("Sans", TrueTypeFace("Sans Bold", "Fett", NTM_BOLD));
    TFontManager& fonts = Catalogue();
    const std::vector<std::string> order = {"Sans  (OpenType)", "Sans  (TrueType)", "Sans Heavy",
                                            "Sans Heavy (OpenType)", "Sans Heavy (TrueType)"};
    // Each name is found once every name before it in the order is missing.
    for (const std::string& name : order) {
        System.Fonts[name] = TRegValue::FromString("file");
        EXPECT_EQ(fonts.FindRegistryName("Sans Heavy", "Sans", "Heavy"), name);
    }
    System.Fonts.clear();
    System.Fonts["Sans Bold (OpenType)"] = TRegValue::FromString("b.otf");
    EXPECT_EQ(fonts.FindRegistryName("Sans Extra", "Sans", "Fett"), "Sans Bold (OpenType)");
    EXPECT_EQ(fonts.FindRegistryName("Nothing", "Sans", "Other"), "");
    System.KeysUnreadable = true;
    EXPECT_THROW(fonts.FindRegistryName("Sans Heavy", "Sans", "Heavy"), EAbort);
    EXPECT_EQ(fonts.GetFontFileName("Sans Heavy", "Sans", "Heavy"), "");
}

TEST_F(FontManagerTest, FileNamesOfMarlettBitmapsType1PairsAndTemporaryFonts) {
    System.AddFace("Marlett", TrueTypeFace("Marlett", "Regular", NTM_REGULAR));
    System.AddFace("Fixed", TFaceInfo{"Fixed", "Regular", RASTER_FONTTYPE, 0});
    System.AddFace("Terminal", TFaceInfo{"Terminal", "Regular", RASTER_FONTTYPE, 0});
    System.AddFace("Misc", TFaceInfo{"Misc", "Regular", RASTER_FONTTYPE, 0});
    System.AddFace("Sans PS",
                   TFaceInfo{"Sans-Bold", "Bold", DEVICE_FONTTYPE, NTM_TYPE1 | NTM_BOLD});
    System.AddFace("Plain", TrueTypeFace("Plain", "Regular", NTM_REGULAR));
    System.Fonts["Fixed"] = TRegValue::FromString("FIXED.FON");
    System.Fonts["Terminal"] = TRegValue::FromString("terminal.ttf");
    System.Fonts["Misc"] = TRegValue::FromString("/usr/share/fonts/X11/misc/6x13.pcf.gz");
    System.Fonts["Plain (TrueType)"] = TRegValue::FromString("plain.ttf");
    System.Type1["Sans Bold"] = TRegValue::FromMultiString({"T", "C:\\F\\A.PFM", "C:\\F\\A.PFB"});
    TFontManager& fonts = Catalogue();
    EXPECT_EQ(fonts.GetFontFileName("Marlett", "Marlett", "Regular"), "Marlett.ttf");
    EXPECT_EQ(fonts.GetFontFileName("marlett", "Marlett", "Regular"), "");
    EXPECT_EQ(fonts.GetFontFileName("Fixed", "Fixed", "Regular"), "FIXED.FON");
    EXPECT_EQ(fonts.GetFontFileName("Terminal", "Terminal", "Regular"), "");
    EXPECT_EQ(fonts.GetFontFileName("Misc", "Misc", "Regular"),
              "/usr/share/fonts/X11/misc/6x13.pcf.gz");
    EXPECT_EQ(fonts.GetFontFileName("Sans-Bold", "Sans PS", "Bold"), "C:\\F\\A.PFM|C:\\F\\A.PFB");
    EXPECT_EQ(fonts.GetFontFileName("Plain", "Plain", "Regular"), "plain.ttf");
    // The same bytes stored as plain binary read the same way.
    std::vector<uint8_t> bytes = {'T', 0,   'a', '.', 'p', 'f', 'm', 0,
                                  'a', '.', 'p', 'f', 'b', 0,   0};
    System.Type1["Sans Bold"] = TRegValue::FromBinary(bytes);
    EXPECT_EQ(fonts.GetFontFileName("Sans-Bold", "Sans PS", "Bold"), "a.pfm|a.pfb");
    bytes.resize(5000, 'x');
    System.Type1["Sans Bold"] = TRegValue::FromBinary(bytes);
    EXPECT_EQ(fonts.GetFontFileName("Sans-Bold", "Sans PS", "Bold"), "");

    // Temporary fonts are found ignoring case, and come first.
    fonts.TempFiles = {TFontFiles("/tmp/a.ttf"), TFontFiles("/tmp/plain.ttf")};
    fonts.TempNames = {"Other", "PLAIN"};
    EXPECT_TRUE(fonts.IsTemporary("plain"));
    EXPECT_TRUE(fonts.IsTemporary("Other"));
    EXPECT_FALSE(fonts.IsTemporary("Plai"));
    EXPECT_EQ(fonts.GetFontFileName("Plain", "Plain", "Regular"), "/tmp/plain.ttf");
}

TEST(FontFiles, TypesByExtensionNamesForType1AndTheOutlineBesideMetrics) {
    EXPECT_EQ(TFontManager::GetFontFileType("/a/B.TTF"), ftTrueType);
    EXPECT_EQ(TFontManager::GetFontFileType("b.otf"), ftOpenType);
    EXPECT_EQ(TFontManager::GetFontFileType("c.Pfm"), ftType1);
    EXPECT_EQ(TFontManager::GetFontFileType("d.ttc"), ftTrueTypeCollection);
    EXPECT_EQ(TFontManager::GetFontFileType("d.OTC"), ftTrueTypeCollection);
    // Either file of a Type 1 pair, and an outline alone, in any of its forms.
    for (const char* type1 : {"e.pfb", "e.PFA", "e.t1", "e.afm"}) {
        EXPECT_EQ(TFontManager::GetFontFileType(type1), ftType1) << type1;
    }
    EXPECT_EQ(TFontManager::GetFontFileType("e.fon"), ftUnknown);
    EXPECT_EQ(TFontManager::GetFontFileType("/dir.ttf/noext"), ftUnknown);
    EXPECT_EQ(TFontManager::GetType1ValueName("Sans-Bold-Oblique"), "Sans Bold Oblique");

    namespace fs = std::filesystem;
    const fs::path folder = test::TestHome().Root() / "pfb-case";
    fs::create_directories(folder);
    std::ofstream(folder / "SANS.PFB") << "x";
    EXPECT_EQ(TFontManager::GetPfbFileName((folder / "sans.pfm").string()),
              (folder / "SANS.PFB").string());
    EXPECT_EQ(TFontManager::GetPfbFileName((folder / "other.pfm").string()),
              (folder / "other.pfb").string());
    fs::remove_all(folder);
}

} // namespace
} // namespace lw
