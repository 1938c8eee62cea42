#include "base/strings.h"
#include "fake_font_system.h"
#include "font_builder.h"
#include "fonts/font_change.h"
#include "fonts/font_manager.h"
#include "fonts/opentype_font_file.h"
#include "fonts/type1_font_file.h"
#include "pages/delete_dialog.h"
#include "reader_test_support.h"
#include "small_disk.h"
#include "test_env.h"
#include "told.h"

#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::TrueTypeFace;

// A catalogue over the faces and font list of a fake font system; it is
// made when a test first asks for it, after the test has described the fonts.
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
    const std::vector<test::TScriptedPrompts::TMessage>& Messages() {
        return test::TestPrompts().Messages;
    }

    test::TFakeFontSystem System;
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
    EXPECT_TRUE(Messages().empty());
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

    const test::TScratchFolder folder("pfb-case");
    const std::string upper = folder.Write("SANS.PFB", {'x'});
    EXPECT_EQ(TFontManager::GetPfbFileName((folder.Path / "sans.pfm").string()), upper);
    EXPECT_EQ(TFontManager::GetPfbFileName((folder.Path / "other.pfm").string()),
              (folder.Path / "other.pfb").string());
}

// The catalogue with real files: a font folder and a folder of fonts to
// install, both inside the temporary home.
class InstallTest : public FontManagerTest {
protected:
    void SetUp() override {
        FontManagerTest::SetUp();
        fs::create_directories(FontsFolder);
        fs::create_directories(Source);
        System.Folder = FontsFolder.string();
        Catalogue();
    }
    void TearDown() override { Fonts.reset(); }
    // A small TrueType font of the family Probe that fontconfig accepts.
    fs::path MakeTrueType(const std::string& fileName, const std::string& style) {
        test::WriteFile(Source / fileName, test::NamedTrueType("Probe", style));
        return Source / fileName;
    }
    std::pair<fs::path, fs::path> MakeType1(const std::string& base, const std::string& psName) {
        test::TPfmBuilder pfm;
        pfm.FaceName = "Probe PS";
        pfm.PostScriptName = psName;
        const fs::path metrics = Source / (base + ".pfm");
        const fs::path outline = Source / (base + ".pfb");
        test::WriteFile(metrics, pfm.Build());
        test::WriteFile(outline, test::PfbFile("%!PS-AdobeFont-1.0: " + psName +
                                               " 001.000\n/FullName (Probe) readonly def\n"));
        return {metrics, outline};
    }

    const test::TScratchFolder Scratch{"install"};
    const fs::path Root = Scratch.Path;
    const fs::path FontsFolder = Root / "fonts";
    const fs::path Source = Root / "source";
};

TEST_F(InstallTest, RefusalsAndCopyAndFolderFailuresAreReportedWithTheirCodes) {
    TOpenTypeFontFile font(MakeTrueType("probe.ttf", "Regular").string());
    font.Installed = true;
    Fonts->InstallFont(font, true);
    ASSERT_TRUE(test::ToldOnce(
        "Ne moze instalirati Probe Regular.\n\nODABRANI FONT JE ODUVEK INSTALIRAN!!!.", "Greska ",
        TMsgIcon::Warning));
    EXPECT_FALSE(fs::exists(FontsFolder / "probe.ttf"));
    EXPECT_EQ(System.Changes, 0);
    font.Installed = false;
    font.FullName.clear();
    EXPECT_EQ(Fonts->InstallFontFile(font), TFontManager::irNoData);
    EXPECT_EQ(Fonts->GetErrorText(TFontManager::irNoData), "Nema dovoljno podataka.");
    font.FullName = "Probe Regular";

    System.KeysReadOnly = true;
    EXPECT_EQ(Fonts->InstallFontFile(font), TFontManager::irNoRegistry);
    EXPECT_FALSE(fs::exists(FontsFolder / "probe.ttf"));
    System.KeysReadOnly = false;
    // A file gone since it was read makes the copy fail.
    fs::remove(Source / "probe.ttf");
    EXPECT_EQ(Fonts->InstallFontFile(font), TFontManager::irCopyFailed);
    EXPECT_TRUE(fs::is_empty(FontsFolder));
    EXPECT_EQ(Fonts->ErrorFile1, (Source / "probe.ttf").string());
    EXPECT_EQ(Fonts->ErrorFile2, (FontsFolder / "probe.ttf").string());
    const std::string text = Fonts->GetErrorText(TFontManager::irCopyFailed);
    EXPECT_EQ(text.rfind("Greska pri kopiranju  " + (Source / "probe.ttf").string(), 0), 0u)
        << text;
    EXPECT_EQ(Fonts->GetErrorText(77), "");
}

// A file of the font's name in the folder: an older one of its family is
// copied over; another family's font, or a file that is no font at all,
// keeps its name, and the new font takes the first free numbered one beside it.
TEST_F(InstallTest, OnlyAnOlderFileOfTheFamilyIsCopiedOverAndOthersKeepTheirNames) {
    test::WriteFile(FontsFolder / "probe.ttf", test::NamedTrueType("Probe", "Book"));
    TOpenTypeFontFile font(MakeTrueType("probe.ttf", "Regular").string());
    int heard = 0;
    TFontChangeSubscription listen([&] { ++heard; });
    Fonts->InstallFont(font, true);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(test::ReadFile(FontsFolder / "probe.ttf"), test::ReadFile(Source / "probe.ttf"));
    EXPECT_EQ(System.Loaded, std::vector<std::string>{"probe.ttf"});
    ASSERT_EQ(System.Fonts.count("Probe Regular (TrueType)"), 1u);
    EXPECT_EQ(System.Fonts.at("Probe Regular (TrueType)").Text, "probe.ttf");
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(System.Changes, 1);

    const test::TBytes otherFont = test::NamedTrueType("Other");
    const test::TBytes noFont = {'o', 'l', 'd'};
    test::WriteFile(FontsFolder / "probe.ttf", otherFont);
    test::WriteFile(FontsFolder / "probe-2.ttf", noFont);
    EXPECT_EQ(Fonts->InstallFontFile(font), TFontManager::irInstalled);
    EXPECT_EQ(test::ReadFile(FontsFolder / "probe.ttf"), otherFont);
    EXPECT_EQ(test::ReadFile(FontsFolder / "probe-2.ttf"), noFont);
    EXPECT_EQ(test::ReadFile(FontsFolder / "probe-3.ttf"), test::ReadFile(Source / "probe.ttf"));
    EXPECT_EQ(System.Loaded, (std::vector<std::string>{"probe.ttf", "probe-3.ttf"}));
    EXPECT_EQ(System.Fonts.at("Probe Regular (TrueType)").Text, "probe-3.ttf");
    // Beside the other font, the family's own numbered file is the one
    // brought up to date: never a second copy of the family.
    test::WriteFile(FontsFolder / "probe-3.ttf", test::NamedTrueType("Probe", "Book"));
    EXPECT_EQ(Fonts->InstallFontFile(font), TFontManager::irInstalled);
    EXPECT_EQ(test::ReadFile(FontsFolder / "probe-3.ttf"), test::ReadFile(Source / "probe.ttf"));
    EXPECT_FALSE(fs::exists(FontsFolder / "probe-4.ttf"));

    const auto [metrics, outline] = MakeType1("pair", "Probe-Bold");
    test::WriteFile(FontsFolder / "pair.pfb", noFont);
    TType1FontFile pair(metrics.string());
    EXPECT_EQ(Fonts->InstallFontFile(pair), TFontManager::irInstalled);
    EXPECT_EQ(test::ReadFile(FontsFolder / "pair.pfb"), noFont);
    EXPECT_FALSE(fs::exists(FontsFolder / "pair.pfm")) << "a pair keeps one name";
    EXPECT_EQ(test::ReadFile(FontsFolder / "pair-2.pfm"), test::ReadFile(metrics));
    EXPECT_EQ(test::ReadFile(FontsFolder / "pair-2.pfb"), test::ReadFile(outline));
}

TEST_F(InstallTest, AFontThatWillNotLoadNeverReplacesAnInstalledFile) {
    TOpenTypeFontFile font(MakeTrueType("probe.ttf", "Regular").string());
    System.RefusedLoads = {"probe.ttf"};
    // Nothing there yet: the copy stays, unregistered, as a failed load leaves it.
    EXPECT_EQ(Fonts->InstallFontFile(font), TFontManager::irLoadRefused);
    EXPECT_TRUE(fs::exists(FontsFolder / "probe.ttf"));
    EXPECT_TRUE(System.Fonts.empty());
    // The system gave no error number: the program's own text, not a sentence of the system's.
    EXPECT_EQ(Fonts->GetErrorText(TFontManager::irLoadRefused), "Nekakva greska.");

    // An installed font of the same file name is kept byte for byte.
    const test::TBytes installed = {'k', 'e', 'p', 't'};
    test::WriteFile(FontsFolder / "probe.ttf", installed);
    EXPECT_EQ(Fonts->InstallFontFile(font), TFontManager::irLoadRefused);
    EXPECT_EQ(test::ReadFile(FontsFolder / "probe.ttf"), installed);
    EXPECT_TRUE(System.Loaded.empty());
}

TEST_F(InstallTest, AFullDiskLeavesNoPartialFontAndKeepsTheOlderCopy) {
    // A file system of 32 KB: the font folder fills up during the copy.
    const fs::path small = Root / "small";
    const test::TSmallDisk disk(small, "size=32k");
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Reason();
    }
    const test::TBytes olderBytes = test::NamedTrueType("Big", "Book");
    test::WriteFile(small / "big.ttf", olderBytes);
    System.Folder = small.string();
    TFontManager fonts;
    test::TBytes bytes = test::NamedTrueType("Big");
    bytes.resize(64 * 1024, 0);
    test::WriteFile(Source / "big.ttf", bytes);
    TOpenTypeFontFile font((Source / "big.ttf").string());
    EXPECT_EQ(fonts.InstallFontFile(font), TFontManager::irCopyFailed);
    EXPECT_EQ(fonts.GetErrorText(TFontManager::irCopyFailed),
              "Greska pri kopiranju  " + (Source / "big.ttf").string() + "  u  " +
                  (small / "big.ttf").string() + ".\n\nNo space left on device");
    EXPECT_EQ(disk.Entries(), std::vector<std::string>{"big.ttf"});
    EXPECT_EQ(test::ReadFile(small / "big.ttf"), olderBytes) << "the older copy is intact";
    EXPECT_TRUE(System.Fonts.empty());
}

TEST_F(InstallTest, AType1PairIsCopiedWholeListedWithBothNamesAndUninstalledWhole) {
    const auto [metrics, outline] = MakeType1("probe", "Probe-Bold");
    TType1FontFile font(metrics.string());
    ASSERT_EQ(font.RegistryName, "Probe Bold");
    EXPECT_EQ(Fonts->InstallFontFile(font), TFontManager::irInstalled);
    EXPECT_TRUE(fs::exists(FontsFolder / "probe.pfm"));
    EXPECT_TRUE(fs::exists(FontsFolder / "probe.pfb"));
    EXPECT_EQ(System.Loaded, std::vector<std::string>{"probe.pfm|probe.pfb"});
    ASSERT_EQ(System.Type1.count("Probe Bold"), 1u);
    EXPECT_EQ(System.Type1.at("Probe Bold").Lines,
              (std::vector<std::string>{"T", "probe.pfm", "probe.pfb"}));
    // Read back as the catalogue reads the list: both files, metrics first.
    System.AddFace("Probe PS",
                   TFaceInfo{"Probe-Bold", "Bold", DEVICE_FONTTYPE, NTM_TYPE1 | NTM_BOLD});
    EXPECT_EQ(Fonts->GetFontFileName("Probe-Bold", "Probe PS", "Bold"), "probe.pfm|probe.pfb");

    // Both files go, a read-only one too.
    fs::permissions(FontsFolder / "probe.pfb", fs::perms::owner_read);
    int heard = 0;
    TFontChangeSubscription listen([&] { ++heard; });
    EXPECT_TRUE(Fonts->UninstallFont("Probe-Bold", "Probe PS", true, false));
    EXPECT_TRUE(Messages().empty()) << Messages().front().Text;
    EXPECT_FALSE(fs::exists(FontsFolder / "probe.pfm"));
    EXPECT_FALSE(fs::exists(FontsFolder / "probe.pfb"));
    EXPECT_EQ(System.Type1.count("Probe Bold"), 0u);
    EXPECT_EQ(System.Unloaded, std::vector<std::string>{"probe.pfm|probe.pfb"});
    EXPECT_EQ(heard, 1);
}

TEST_F(InstallTest, FolderInstallTakesCollectionsOnceSkipsBitmapsAndStopsOnCancel) {
    MakeTrueType("a.ttf", "A");
    test::WriteFile(Source / "b.ttc", test::Collection({test::NamedTrueType("Probe B1"),
                                                        test::NamedTrueType("Probe B2")}));
    test::WriteFile(Source / "c.fon", {1, 2, 3});
    Fonts->InstallFolderFonts({"a.ttf", "b.ttc", "c.fon"}, Source.string(), false);
    EXPECT_TRUE(Messages().empty()) << Messages()[0].Text;
    EXPECT_EQ(System.Loaded, (std::vector<std::string>{"a.ttf", "b.ttc"}));
    EXPECT_EQ(test::ReadFile(FontsFolder / "b.ttc"), test::ReadFile(Source / "b.ttc"));
    EXPECT_EQ(System.Changes, 0);

    for (const char* name : {"d", "e", "f", "g"}) {
        MakeTrueType(std::string(name) + ".ttf", name);
        System.RefusedLoads.push_back(std::string(name) + ".ttf");
    }
    test::TestPrompts().Answers = {TMsgResult::Ok, TMsgResult::Ok, TMsgResult::Cancel};
    Fonts->InstallFolderFonts({"d.ttf", "e.ttf", "f.ttf", "g.ttf"}, Source.string() + "/", true);
    ASSERT_EQ(Messages().size(), 3u);
    EXPECT_EQ(Messages()[2].Buttons, TMsgButtons::OkCancel);
    EXPECT_NE(Messages()[2].Text.find("Probe f"), std::string::npos);
    EXPECT_FALSE(fs::exists(FontsFolder / "g.ttf")) << "nothing after Cancel";
    EXPECT_EQ(System.Changes, 1) << "the broadcast still goes out";
}

TEST_F(InstallTest, TemporaryFontsAreListedAndRemovedWithOneBroadcastAndNoFileDeleted) {
    Fonts->RemoveTemporaryFonts();
    EXPECT_EQ(System.Changes, 0);
    const fs::path file = MakeTrueType("temp.ttf", "Temp");
    TOpenTypeFontFile font(file.string());
    Fonts->InstallTemporarily(font, false);
    EXPECT_EQ(System.TemporaryLoaded, std::vector<std::string>{file.string()});
    EXPECT_TRUE(Fonts->IsTemporary("probe temp"));
    EXPECT_FALSE(fs::exists(FontsFolder / "temp.ttf")) << "nothing is copied";
    Fonts->RemoveTemporaryFonts();
    EXPECT_EQ(System.TemporaryUnloaded, std::vector<std::string>{file.string()});
    EXPECT_EQ(System.Changes, 1);
    EXPECT_FALSE(Fonts->IsTemporary("Probe Temp"));
    EXPECT_TRUE(Fonts->TempFiles.empty());

    // Uninstalling a temporary style unloads it and deletes no file.
    Fonts->InstallTemporarily(font, false);
    System.AddFace("Probe", TrueTypeFace("Probe Temp", "Regular", NTM_REGULAR));
    EXPECT_TRUE(Fonts->UninstallFont("Probe Temp", "Probe", true, false));
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(System.TemporaryUnloaded, std::vector<std::string>(2, file.string()));
    EXPECT_FALSE(Fonts->IsTemporary("Probe Temp"));

    // A collection is loaded whole: each of its faces is temporary, removing
    // one asks before the others go with it, and the file is let go once.
    const fs::path pair = Source / "pair.ttc";
    test::WriteFile(
        pair, test::Collection({test::NamedTrueType("Probe A"), test::NamedTrueType("Probe B")}));
    TOpenTypeFontFile collection(pair.string());
    Fonts->InstallTemporarily(collection, false);
    EXPECT_TRUE(Fonts->IsTemporary("Probe B Regular"));
    EXPECT_EQ(Fonts->GetFontFileName("Probe B Regular", "Probe B", "Regular"), pair.string());
    System.AddFace("Probe B", TrueTypeFace("Probe B Regular", "Regular", NTM_REGULAR));
    System.TemporaryUnloaded.clear();
    test::TestPrompts().Answers.push_back(TMsgResult::No);
    EXPECT_FALSE(Fonts->UninstallFont("Probe B Regular", "Probe B", true, false));
    ASSERT_TRUE(test::ToldOnce("Fajl pair.ttc sadrzi i fontove: Probe A Regular.\n\nUklanjanjem "
                               "ovog fonta nestaju i oni. Da li zelis da nastavis?",
                               std::nullopt, TMsgIcon::Question, TMsgButtons::YesNo));
    EXPECT_TRUE(System.TemporaryUnloaded.empty());
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    EXPECT_TRUE(Fonts->UninstallFont("Probe B Regular", "Probe B", true, false));
    EXPECT_EQ(System.TemporaryUnloaded, std::vector<std::string>{pair.string()});
    EXPECT_FALSE(Fonts->IsTemporary("Probe A Regular"));
    EXPECT_TRUE(fs::exists(pair));
    Fonts->InstallTemporarily(collection, false);
    System.TemporaryUnloaded.clear();
    Fonts->RemoveTemporaryFonts();
    EXPECT_EQ(System.TemporaryUnloaded, std::vector<std::string>{pair.string()});
}

TEST_F(InstallTest, FontsOutsideTheUserFontFolderAreNotRemoved) {
    const fs::path system = Root / "system-fonts";
    fs::create_directories(system);
    fs::copy_file(MakeTrueType("sys.ttf", "System"), system / "sys.ttf");
    System.AddFace("Probe", TrueTypeFace("Probe System", "Regular", NTM_REGULAR));
    System.Fonts["Probe System (TrueType)"] = TRegValue::FromString((system / "sys.ttf").string());
    EXPECT_FALSE(Fonts->UninstallFont("Probe System", "Probe", true, false));
    // The reason is where the file lies, not the text of a call never made.
    EXPECT_TRUE(test::ToldOnce("Font  " + (system / "sys.ttf").string() +
                               "  nije u tvom folderu sa fontovima  (" + FontsFolder.string() +
                               "):  instaliran je za sve korisnike sistema i moze ga "
                               "ukloniti samo administrator."));
    EXPECT_TRUE(fs::exists(system / "sys.ttf"));
    EXPECT_TRUE(System.Unloaded.empty());
    EXPECT_EQ(System.Fonts.count("Probe System (TrueType)"), 1u);
    EXPECT_EQ(System.Changes, 0);
}

TEST_F(InstallTest, UninstallAndBackupFailuresNameTheirCause) {
    System.AddFace("Probe", TrueTypeFace("Probe Lost", "Regular", NTM_REGULAR));
    EXPECT_FALSE(Fonts->UninstallFont("Probe Lost", "Probe", true, false));
    EXPECT_FALSE(Fonts->BackupFontFiles("Probe Lost", "Probe", (Root / "backup").string()));
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].Text, "Nemoguce odrediti asocijaciju sa fontom  Probe Lost.");
    EXPECT_EQ(Messages()[1].Text, Messages()[0].Text);

    TOpenTypeFontFile font(MakeTrueType("kept.ttf", "Kept").string());
    ASSERT_EQ(Fonts->InstallFontFile(font), TFontManager::irInstalled);
    System.AddFace("Probe", TrueTypeFace("Probe Kept", "Regular", NTM_REGULAR));
    System.RefusedUnloads = {"kept.ttf"};
    EXPECT_FALSE(Fonts->UninstallFont("Probe Kept", "Probe", true, false));
    EXPECT_EQ(Messages().back().Text,
              "Prekinuto oslobadjanje resursa za kept.ttf.\n\nrefused by the test");
    EXPECT_TRUE(fs::exists(FontsFolder / "kept.ttf"));
    EXPECT_EQ(System.Fonts.count("Probe Kept (TrueType)"), 1u) << "nothing changed";

    fs::create_directories(Root / "backup");
    EXPECT_TRUE(Fonts->BackupFontFiles("Probe Kept", "Probe", (Root / "backup").string()));
    EXPECT_TRUE(fs::exists(Root / "backup" / "kept.ttf"));
    EXPECT_FALSE(Fonts->BackupFontFiles("Probe Kept", "Probe", (Root / "no-such-folder").string()));
    EXPECT_EQ(Messages().back().Text.rfind("Greska pri kopiranju  " +
                                               (FontsFolder / "kept.ttf").string() + "  u  " +
                                               (Root / "no-such-folder").string(),
                                           0),
              0u)
        << Messages().back().Text;
}

TEST_F(InstallTest, TheUninstallDialogOffersEveryStyleSelected) {
    System.AddFace("Probe", TrueTypeFace("Probe Bold", "Bold", NTM_BOLD));
    System.AddFace("Probe", TrueTypeFace("Probe Italic", "Italic", NTM_ITALIC));
    System.AddFace("Probe", TrueTypeFace("Probe", "Regular", NTM_REGULAR));
    std::unique_ptr<TFontManager> saved = std::move(FontManager);
    FontManager = std::move(Fonts);
    std::vector<std::string> chosen = {"untouched"};
    {
        TfDelete dialog;
        QTimer::singleShot(0, &dialog, [&dialog] {
            EXPECT_EQ(dialog.lstFullNames->count(), 3);
            EXPECT_EQ(dialog.lstFullNames->selectedItems().size(), 3);
            dialog.btnCancel->click();
        });
        EXPECT_EQ(dialog.Execute("Probe", chosen), QDialog::Rejected);
        EXPECT_EQ(chosen, std::vector<std::string>{"untouched"});
        QTimer::singleShot(0, &dialog, [&dialog] {
            dialog.lstFullNames->item(1)->setSelected(false);
            dialog.btnDelete->click();
        });
        EXPECT_EQ(dialog.Execute("Probe", chosen), QDialog::Accepted);
        // Style order: italic, bold, regular.
        EXPECT_EQ(chosen, (std::vector<std::string>{"Probe Italic", "Probe"}));
        EXPECT_EQ(dialog.windowTitle().toStdString(), LoadStr(17100));
        EXPECT_EQ(dialog.size(), QSize(242, 123));
    }
    Fonts = std::move(FontManager);
    FontManager = std::move(saved);
}

} // namespace
} // namespace lw
