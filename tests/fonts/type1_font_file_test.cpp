#include "fake_font_system.h"
#include "fonts/font_manager.h"
#include "fonts/type1_encoding.h"
#include "fonts/type1_font_file.h"
#include "reader_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::PfbFile;
using test::ReadType1;
using test::TBytes;
using test::TextBytes;
using test::TPfmBuilder;

TType1FontFile ReadHeader(const std::string& header) {
    return ReadType1(TPfmBuilder().Build(), PfbFile(header));
}

TEST(Type1HeaderValue, CutsValuesAsTheHeaderWritesThem) {
    const struct {
        const char* Line;
        const char* Key;
        bool Match;
        const char* Value;
    } cases[] = {
        {"/Weight (Bold) readonly def", "/Weight ", true, "Bold"},
        {"/Notice (Sans is a mark (TM) of X) readonly def", "/Notice ", true,
         "Sans is a mark (TM) of X"},
        {"/ItalicAngle -12 def", "/ItalicAngle ", true, "-12"},
        {"/FamilyName /Sans def", "/FamilyName ", true, "Sans"},
        {"/FullName (Sans Bold) def", "/FullName ", true, "Sans Bold"},
        {"/UniqueID 5012345 readonly def", "/UniqueID ", true, "5012345"},
        // The first ending found is the one that counts.
        {"/Notice (A) def (B) readonly def", "/Notice ", true, "A) def (B"},
        {"/Weight (Bold)", "/Weight ", true, ""}, // no ending: empty
        {"/Weight ", "/Weight ", true, ""},
        {"/Weight (", "/Weight ", true, ""},
        {"%!PS-AdobeFont-1.0: Sans 001.002 def", "%!PS-AdobeFont-1.0: ", true, "Sans 001.002 def"},
        {"/isFixedPitch true def", "/isFixedPitch", true, "true"},
        {" /FullName (X) readonly def", "/FullName ", false, ""},
        {"/fullname (X) readonly def", "/FullName ", false, ""},
        {"/FullName", "/FullName ", false, ""},
    };
    for (const auto& c : cases) {
        std::string value = "untouched";
        EXPECT_EQ(GetHeaderValue(c.Line, c.Key, value), c.Match) << c.Line;
        EXPECT_EQ(value, c.Match ? c.Value : "untouched") << c.Line;
    }
}

TEST(Type1Reader, MetricsGiveNamesAndStyleAndTextsNotUtf8AreWindows1252) {
    const struct {
        uint16_t Weight;
        uint8_t Italic;
        const char* Style;
    } styles[] = {
        {400, 0, "Regular"},     {400, 1, "Italic"},  {700, 0, "Bold"},
        {300, 1, "Bold Italic"}, {400, 2, "Regular"}, {700, 2, "Bold"},
    };
    for (const auto& s : styles) {
        TPfmBuilder pfm;
        pfm.Weight = s.Weight;
        pfm.Italic = s.Italic;
        EXPECT_EQ(ReadType1(pfm.Build(), PfbFile("")).StyleName, s.Style)
            << s.Weight << "/" << int(s.Italic);
    }
    // The names, and the header's texts, in Windows-1252 where they are not UTF-8.
    TPfmBuilder pfm;
    pfm.FaceName = "Caf\xE9";
    pfm.PostScriptName = "Caf\xE9-BoldOblique";
    const TType1FontFile font =
        ReadType1(pfm.Build(),
                  PfbFile("/Notice (\xA9 1999 \x93X\x94) readonly def\n/Weight (Halbfett) def\n"));
    EXPECT_EQ(font.FamilyName, "Café");
    EXPECT_EQ(font.PostScriptName, "Café-BoldOblique");
    EXPECT_EQ(font.FullName, "Café-BoldOblique");
    EXPECT_EQ(font.RegistryName, "Café BoldOblique");
    EXPECT_EQ(font.FontType, ftType1);
    EXPECT_EQ(font.Trademark, "© 1999 “X”");
    EXPECT_EQ(font.PSWeight, "Halbfett");

    TPfmBuilder utf8;
    utf8.FaceName = "Café";
    EXPECT_EQ(ReadType1(utf8.Build(), PfbFile("/Notice (Ⓒ X) def\n")).FamilyName, "Café");
    EXPECT_EQ(ReadType1(utf8.Build(), PfbFile("/Notice (Ⓒ X) def\n")).Trademark, "Ⓒ X");
}

TEST(Type1Reader, HeaderKeysFillTheirFieldsAndTheLastLineWins) {
    const TType1FontFile font = ReadHeader("%!PS-AdobeFont-1.0: Sans 001.002\r\n"
                                           "/FontName /Sans-Bold def\r\n"
                                           "/FullName (Sans Bold) readonly def\r"
                                           "/FamilyName (Sans) readonly def\n"
                                           "/Weight (Bold) readonly def\n"
                                           "/ItalicAngle -12 def\n"
                                           "/isFixedPitch true def\n"
                                           "/UniqueID 5012345 def\n"
                                           "/Copyright (Copyright 1999 X) readonly def\n"
                                           "/Notice (Sans is a mark (TM) of X) readonly def\n"
                                           " /Weight (Light) readonly def\n"
                                           "/FamilyName (Sans Two) readonly def\n");
    EXPECT_EQ(font.Version, "Sans 001.002");
    EXPECT_EQ(font.PSFullName, "Sans Bold");
    EXPECT_EQ(font.PSFamilyName, "Sans Two");
    EXPECT_EQ(font.PSWeight, "Bold"); // the line with a leading blank is no key
    EXPECT_EQ(font.ItalicAngle, -12);
    EXPECT_TRUE(font.IsFixedPitch);
    EXPECT_EQ(font.UniqueID, "5012345");
    EXPECT_EQ(font.Copyright, "Copyright 1999 X");
    EXPECT_EQ(font.Trademark, "Sans is a mark (TM) of X");
    // The names of the record come from the metrics file, never the header.
    EXPECT_EQ(font.PostScriptName, "Sans-Regular");
    EXPECT_EQ(font.FullName, "Sans-Regular");

    EXPECT_FALSE(ReadHeader("/isFixedPitch false def\n").IsFixedPitch);
    EXPECT_FALSE(ReadHeader("/isFixedPitch true def\n/isFixedPitch false def\n").IsFixedPitch);
    EXPECT_EQ(ReadHeader("/ItalicAngle -12.5 def\n").ItalicAngle, 0);
    EXPECT_EQ(ReadHeader("/ItalicAngle 99999999999 def\n").ItalicAngle, 0);
    EXPECT_EQ(ReadHeader("/ItalicAngle 8 readonly def\n").ItalicAngle, 8);
    EXPECT_EQ(ReadHeader("/ItalicAngle -3 def\n/ItalicAngle (x) def\n").ItalicAngle, 0);
}

TEST(Type1Reader, OnlyTheFirstSegmentsFirst16384BytesAreScanned) {
    const std::string filler(16000, 'x');
    EXPECT_EQ(ReadHeader(filler + "\n/Weight (Near) def\n").PSWeight, "Near");
    EXPECT_EQ(ReadHeader(filler + std::string(400, 'y') + "\n/Weight (Far) def\n").PSWeight, "");
    // A segment length shorter than the text ends the scan there, and one
    // longer than the file reads what the file holds.
    const std::string header = "/Weight (Bold) def\n/FullName (Cut) def\n";
    EXPECT_EQ(ReadType1(TPfmBuilder().Build(), PfbFile(header, 20)).PSFullName, "");
    EXPECT_EQ(ReadType1(TPfmBuilder().Build(), PfbFile(header, 20)).PSWeight, "Bold");
    EXPECT_EQ(ReadType1(TPfmBuilder().Build(), PfbFile(header, 0xFFFFFFFF)).PSFullName, "Cut");
    // A zero byte ends the text.
    constexpr char kWithZero[] = "/Weight (A) def\n\0/FullName (B) def\n";
    const TType1FontFile zero = ReadHeader(std::string(kWithZero, sizeof kWithZero - 1));
    EXPECT_EQ(zero.PSWeight, "A");
    EXPECT_EQ(zero.PSFullName, "");
}

class Type1FileTest : public ::testing::Test {
protected:
    void WritePair(const fs::path& pfm, const fs::path& pfb, const std::string& psName) {
        TPfmBuilder metrics;
        metrics.FaceName = "Probe";
        metrics.PostScriptName = psName;
        test::WriteFile(pfm, metrics.Build());
        test::WriteFile(pfb, PfbFile("/FullName (" + psName + ") readonly def\n"));
    }
    test::TScratchFolder Folder{"type1-reader"};
    const fs::path FontsFolder = FontManager->FontsFolder;
};

TEST_F(Type1FileTest, TheFormsOfFileNamesAndEitherFileMissing) {
    const fs::path a = Folder.Path / "a";
    const fs::path b = Folder.Path / "b";
    const fs::path piped = Folder.Path / "pipe|dir";
    const struct {
        fs::path Pfm;
        fs::path Pfb;
        TFontFiles Opened;
        const char* PSName;
    } cases[] = {
        // Bare names are in the font folder.
        {FontsFolder / "LwTimes.pfm", FontsFolder / "LwTimes.pfb", TFontFiles("LwTimes.pfm"),
         "LwTimes-Roman"},
        {FontsFolder / "x.PFM", FontsFolder / "y.pfb", TFontFiles("x.PFM", "y.pfb"), "Bare-Pair"},
        {a / "x.PFM", b / "y.pfb", TFontFiles((a / "x.PFM").string(), (b / "y.pfb").string()),
         "Full-Pair"},
        // A "|" in a path is part of the name: one metrics path is never split.
        {piped / "X|Y.pfm", piped / "X|Y.pfb", TFontFiles((piped / "X|Y.pfm").string()),
         "Piped-Pair"},
        {a / "x.pfm", a / "x.pfb", TFontFiles((a / "x.pfm").string()), "Beside"},
        // An outline file copied with an upper-case name is found all the same.
        {a / "Upper.PFM", a / "UPPER.PFB", TFontFiles((a / "Upper.PFM").string()), "Upper"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.PSName);
        WritePair(c.Pfm, c.Pfb, c.PSName);
        const TType1FontFile font(c.Opened);
        const std::string pfm = c.Pfm.filename().string();
        const std::string pfb = c.Pfb.filename().string();
        EXPECT_EQ(font.FileName, c.Pfm.string());
        EXPECT_EQ(font.PfbFileName, c.Pfb.string());
        EXPECT_EQ(font.PSFullName, c.PSName);
        EXPECT_EQ(font.GetFileName(true), c.Pfm.string() + "|" + c.Pfb.string());
        EXPECT_EQ(font.GetFileName(false), pfm + "|" + pfb);
        EXPECT_EQ(font.GetFiles(false), TFontFiles(pfm, pfb));
    }
    for (const char* name : {"LwTimes.pfm", "LwTimes.pfb", "x.PFM", "y.pfb"}) {
        fs::remove(FontsFolder / name);
    }

    // Either file missing throws.
    WritePair(Folder.Path / "only.pfm", Folder.Path / "other.pfb", "Only");
    EXPECT_THROW(TType1FontFile((Folder.Path / "only.pfm").string()), EFontFileError);
    EXPECT_THROW(TType1FontFile(TFontFiles((Folder.Path / "none.pfm").string(),
                                           (Folder.Path / "other.pfb").string())),
                 EFontFileError);
    EXPECT_NO_THROW(TType1FontFile(
        TFontFiles((Folder.Path / "only.pfm").string(), (Folder.Path / "other.pfb").string())));
}

TEST_F(Type1FileTest, InstalledWhenTheFontListKnowsItsName) {
    WritePair(Folder.Path / "probe.pfm", Folder.Path / "probe.pfb", "Probe-Bold");
    const std::string file = (Folder.Path / "probe.pfm").string();
    test::TFakeFontSystem system;
    system.AddFace("Probe",
                   TFaceInfo{"Probe-Bold", "Regular", DEVICE_FONTTYPE, NTM_TYPE1 | NTM_REGULAR});
    EXPECT_FALSE(TType1FontFile(file).Installed);
    system.Type1["Probe Bold"] =
        TRegValue::FromMultiString({"T", "/elsewhere/p.pfm", "/elsewhere/p.pfb"});
    // No file in the font folder is looked at.
    EXPECT_TRUE(TType1FontFile(file).Installed);
    system.KeysUnreadable = true;
    EXPECT_FALSE(TType1FontFile(file).Installed);
}

// An outline's clear text as fonts write it: names in /FontInfo, indented
// by some, then the encrypted part, whose bytes may look like anything.
const char* const kDictionary = "%!PS-AdobeFont-1.0: Probe-BoldItalic 002.000\n"
                                "/FontInfo 9 dict dup begin\n"
                                "  /version (002.000) readonly def\n"
                                "  /Notice (Probe is a mark) readonly def\n"
                                "  /FullName (Probe Bold Italic) readonly def\n"
                                "  /FamilyName (Probe) readonly def\n"
                                "  /Weight (Bold) readonly def\n"
                                "  /ItalicAngle -12 def\n"
                                "end readonly def\n"
                                "/FontName /Probe-BoldItalic def\n"
                                "currentfile eexec\n"
                                "/FullName (Hidden) readonly def\n";

TType1FontFile ReadOutline(const TBytes& outline, const TBytes* afm = nullptr) {
    TMemoryByteSource outlineSource(outline);
    if (afm == nullptr) {
        return TType1FontFile(outlineSource, nullptr, TType1Metrics::None);
    }
    TMemoryByteSource metrics(*afm);
    return TType1FontFile(outlineSource, &metrics, TType1Metrics::Afm);
}

TEST(Type1Outline, TheFontDictionaryNamesAFontAndAnAfmFillsWhatItLeavesOut) {
    // The same names from binary segments (".pfb") and from text (".pfa").
    for (const TBytes& outline : {PfbFile(kDictionary), TextBytes(kDictionary)}) {
        const TType1FontFile font = ReadOutline(outline);
        EXPECT_FALSE(font.NotAFont);
        EXPECT_EQ(font.PostScriptName, "Probe-BoldItalic");
        EXPECT_EQ(font.FullName, "Probe-BoldItalic");
        EXPECT_EQ(font.RegistryName, "Probe BoldItalic");
        EXPECT_EQ(font.FamilyName, "Probe");
        EXPECT_EQ(font.StyleName, "Bold Italic");
        EXPECT_EQ(font.PSFullName, "Probe Bold Italic"); // not the encrypted part's
        EXPECT_EQ(font.PSWeight, "Bold");
        EXPECT_EQ(font.Version, "002.000");
        EXPECT_EQ(font.Trademark, "Probe is a mark");
        EXPECT_EQ(font.ItalicAngle, -12);
        EXPECT_EQ(font.FontType, ftType1);
    }
    // Without a family the PostScript name stands for it.
    EXPECT_EQ(ReadOutline(PfbFile("/FontName /Lone-Name def\n")).FamilyName, "Lone-Name");
    // Text that is no Type 1 font, and segments that start with a binary one.
    EXPECT_TRUE(ReadOutline(TextBytes("StartFontMetrics 2.0\n")).NotAFont);
    EXPECT_TRUE(ReadOutline(TBytes{0x80, 2, 4, 0, 0, 0, 1, 2, 3, 4}).NotAFont);
    EXPECT_TRUE(ReadOutline(TBytes{}).NotAFont);

    // An .afm beside it fills what the dictionary leaves out.
    const TBytes afm = TextBytes("StartFontMetrics 4.1\r\n"
                                 "Comment FamilyName Not-This\r\n"
                                 "FontName Metric-Name\r\n"
                                 "FullName Metric Name Light\r\n"
                                 "FamilyName Metric Name\r\n"
                                 "Weight Light\r\n"
                                 "Version 003.001\r\n"
                                 "Notice From the metrics\r\n"
                                 "StartCharMetrics 1\r\n"
                                 "FamilyName After The Header\r\n");
    // An outline that names nothing takes every name from the metrics.
    const TType1FontFile bare = ReadOutline(PfbFile("%!PS-AdobeFont-1.0: X 1\n"), &afm);
    EXPECT_EQ(bare.PostScriptName, "Metric-Name");
    EXPECT_EQ(bare.FamilyName, "Metric Name");
    EXPECT_EQ(bare.StyleName, "Light");
    EXPECT_EQ(bare.Version, "003.001");
    EXPECT_EQ(bare.Trademark, "From the metrics");
    // Where both say, the outline's dictionary wins: the system reads it.
    const TType1FontFile both = ReadOutline(PfbFile(kDictionary), &afm);
    EXPECT_EQ(both.PostScriptName, "Probe-BoldItalic");
    EXPECT_EQ(both.FamilyName, "Probe");
    EXPECT_EQ(both.Version, "002.000");
    // Metrics that are no text at all change nothing.
    const TBytes noise{0, 0xFF, '\n', 'F'};
    EXPECT_EQ(ReadOutline(PfbFile(kDictionary), &noise).FamilyName, "Probe");
}

TEST(Type1Outline, SegmentsAreWalkedWithinTheFile) {
    // Two text segments: the names may run on into the second.
    TBytes twoSegments = PfbFile("/FontName /Two-Parts def\n");
    twoSegments.resize(twoSegments.size() - 12); // the binary segment and the end mark
    const TBytes second = PfbFile("/FamilyName (Two) readonly def\ncurrentfile eexec\n");
    twoSegments.insert(twoSegments.end(), second.begin(), second.end());
    const TType1FontFile two = ReadOutline(twoSegments);
    EXPECT_EQ(two.PostScriptName, "Two-Parts");
    EXPECT_EQ(two.FamilyName, "Two");
    // A length claiming more than the file holds reads what is there.
    EXPECT_EQ(ReadOutline(PfbFile("/FontName /Short def\n", 0xFFFFFFF0)).PostScriptName, "Short");
    // A segment header cut short ends the walk.
    TBytes cut = PfbFile("/FontName /Cut def\n");
    cut.resize(cut.size() - 9);
    EXPECT_EQ(ReadOutline(cut).PostScriptName, "Cut");
}

TEST(Type1Outline, TheEncodingGivesTheCodePointsItsGlyphNamesStandFor) {
    const TBytes own =
        PfbFile("/Encoding 256 array\n0 1 255 {1 index exch /.notdef put} for\n"
                "dup 65 /A put dup 66 /B put\ndup 200 /Eacute put\ndup 201 /uni0416 put\n"
                "dup 202 /u1F600 put\ndup 203 /a.sc put\ndup 204 /glyph17 put\n"
                "dup 300 /C put\nreadonly def\ncurrentfile eexec\ndup 67 /C put\n");
    TMemoryByteSource ownSource(own);
    EXPECT_EQ(
        Type1CodePoints(ownSource),
        (TCodeRanges{{'A', 'B'}, {'a', 'a'}, {0xC9, 0xC9}, {0x416, 0x416}, {0x1F600, 0x1F600}}));
    // The standard encoding: 149 names, the quotes and ligatures at their
    // own code points.
    const TBytes standard = PfbFile("/Encoding StandardEncoding def\ncurrentfile eexec\n");
    EXPECT_EQ(Type1Encoding(std::string(standard.begin() + 6, standard.end() - 12)).size(), 149u);
    TMemoryByteSource standardSource(standard);
    const TCodeRanges codes = Type1CodePoints(standardSource);
    EXPECT_EQ(CodePointCount(codes), 149u);
    for (const uint32_t code : {0x2019u, 0x2018u, 0xFB01u, 0x0141u, 0x00DFu}) {
        EXPECT_TRUE(HasCodePoint(codes, code)) << code;
    }
    EXPECT_FALSE(GlyphNameCode("uniD800")) << "a surrogate is no character";
    EXPECT_FALSE(GlyphNameCode("u110000"));
    const TBytes unencoded = PfbFile("/FontName /NoEncoding def\n");
    TMemoryByteSource none(unencoded);
    EXPECT_TRUE(Type1CodePoints(none).empty());
}

TEST(Type1Outline, StringEscapesAreUndoneInAnOutlineThatNamesItself) {
    const std::string header = "/Notice (Copyright \\050URW\\051++ \\251 2001\\\\x) readonly def\n"
                               "/FullName (Tab\\tEnd\\q) readonly def\n"
                               "/FamilyName (Seven\\0678) readonly def\n";
    const TType1FontFile font = ReadOutline(PfbFile(header));
    EXPECT_EQ(font.Trademark, "Copyright (URW)++ \xC2\xA9 2001\\x"); // byte 251 octal is U+00A9
    EXPECT_EQ(font.PSFullName, "Tab\tEndq");
    EXPECT_EQ(font.FamilyName, "Seven78");
    // A ".pfm" pair keeps the header's text as it stands.
    EXPECT_EQ(ReadHeader(header).Trademark, "Copyright \\050URW\\051++ \\251 2001\\\\x");
}

TEST(Type1Outline, StyleFromTheNames) {
    const struct {
        const char* Family;
        const char* FullName;
        const char* Weight;
        const char* Style;
    } cases[] = {
        {"URW Gothic", "URW Gothic Book Oblique", "Book", "Book Oblique"},
        {"NimbusSans", "Nimbus Sans-Bold", "Bold", "Bold"}, // blanks and hyphens aside
        {"D050000L", "D050000L", "Regular", "Regular"},     // the family alone
        {"Sans", "Serif Bold", "Bold", "Bold"},             // another name: the weight
        {"Sans", "Serif Bold", "", "Regular"},
        {"", "Sans Bold", "Medium", "Medium"},
        {"Sans", "", "", "Regular"},
        {"Sans Extra", "Sans", "Light", "Regular"}, // a full name ending inside the family
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Type1StyleName(c.Family, c.FullName, c.Weight), c.Style) << c.FullName;
    }
}

TEST_F(Type1FileTest, AnOutlineFileIsAFontWithOrWithoutItsMetrics) {
    const fs::path alone = Folder.Path / "alone.pfb";
    test::WriteFile(alone, PfbFile(kDictionary));
    const TType1FontFile lone(alone.string());
    EXPECT_EQ(lone.FamilyName, "Probe");
    EXPECT_EQ(lone.MetricsFileName, "");
    EXPECT_EQ(lone.GetFiles(true), TFontFiles(alone.string()));
    EXPECT_EQ(TFontManager::GetCompanionFile(alone.string()), "");

    // An ".afm" beside it (any case) goes with it, from either side.
    const fs::path outline = Folder.Path / "paired.pfb";
    const fs::path afm = Folder.Path / "PAIRED.AFM";
    test::WriteFile(outline, PfbFile("/FontName /Paired-Regular def\n"));
    test::WriteFile(afm, TextBytes("FamilyName Paired\n"));
    const TType1FontFile fromOutline(outline.string());
    EXPECT_EQ(fromOutline.FileName, outline.string());
    EXPECT_EQ(fromOutline.FamilyName, "Paired");
    EXPECT_EQ(fromOutline.GetFiles(false), TFontFiles("PAIRED.AFM", "paired.pfb"));
    const TType1FontFile fromMetrics(afm.string());
    EXPECT_EQ(fromMetrics.PfbFileName, outline.string());
    EXPECT_EQ(fromMetrics.PostScriptName, "Paired-Regular");
    EXPECT_EQ(TFontManager::GetCompanionFile(outline.string()), afm.string());
    EXPECT_EQ(TFontManager::GetCompanionFile(afm.string()), outline.string());

    // Text outlines are fonts too; a ".pfm" beside one names it as ever.
    const fs::path pfa = Folder.Path / "text.pfa";
    test::WriteFile(pfa, TextBytes(kDictionary));
    EXPECT_EQ(TType1FontFile(pfa.string()).PostScriptName, "Probe-BoldItalic");
    TPfmBuilder metrics;
    metrics.FaceName = "From Pfm";
    test::WriteFile(Folder.Path / "text.pfm", metrics.Build());
    EXPECT_EQ(TType1FontFile(pfa.string()).FamilyName, "From Pfm");
    EXPECT_EQ(TType1FontFile((Folder.Path / "text.pfm").string()).PfbFileName, pfa.string());
}

} // namespace
} // namespace lw
