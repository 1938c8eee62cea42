#include "command_run.h"
#include "font_builder.h"
#include "fonts/byte_source.h"
#include "fonts/font_details.h"
#include "fonts/font_facts.h"
#include "reader_test_support.h"
#include "test_env.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lw {
namespace {

using test::CmapFormat12;
using test::CmapFormat4;
using test::CmapTable;
using test::Lines;
using test::TBytes;
using test::TByteWriter;
using test::TNameTableBuilder;
using test::TSfntBuilder;

// Lives as long as the expression it is called in, as the bytes do.
TByteView View(const TBytes& bytes) {
    return TByteView(bytes);
}

TFontDetails Read(const TBytes& bytes, uint32_t face = 0) {
    TMemoryByteSource source(bytes);
    return ReadFontDetails(source, face);
}

TBytes OS2WithFsType(uint16_t version, uint16_t fsType) {
    TBytes os2 = test::OS2Table(version, 700, 5, 0x0801, 0x20);
    os2[8] = uint8_t(fsType >> 8);
    os2[9] = uint8_t(fsType);
    os2[32] = 2; // PANOSE family: text and display
    std::copy_n("LTWL", 4, os2.begin() + 58);
    return os2;
}

TNameTableBuilder VariableNames() {
    TNameTableBuilder names;
    names.Windows(1, "Probe Sans").Windows(2, "Regular").Mac(1, "Probe Mac");
    names.Windows(13,
                  "This Font Software is licensed under the SIL Open Font License, Version 1.1");
    names.Windows(256, "Weight").Windows(257, "Width").Windows(258, "Light").Windows(259, "Bold");
    names.Windows(256, "Graisse", 0x40C);
    return names;
}

TBytes VariableFont(uint16_t glyphs = 40) {
    const TBytes cmap = CmapTable({
        {3, 1, CmapFormat4({{'A', 'Z', 1}, {0x0430, 0x044F, 27}})},
        {3, 10, CmapFormat12({{'A', 'Z', 1}, {0x0430, 0x044F, 27}, {0x1F600, 0x1F601, 59}})},
    });
    return TSfntBuilder()
        .AddTable("GPOS", test::LayoutTable({"latn", "cyrl"}, {"kern", "mark", "kern"}))
        .AddTable("GSUB", test::LayoutTable({"latn", "DFLT"}, {"liga", "smcp"}))
        .AddTable("OS/2", OS2WithFsType(4, 0x0304))
        .AddTable("STAT", test::StatTable({{"wght", 256}, {"wdth", 257}},
                                          {{0, 258, 300}, {0, 259, 700}, {1, 2, 100}}))
        .AddTable("cmap", cmap)
        .AddTable("fvar",
                  test::FvarTable({{"wght", 100, 400, 900, 256}, {"wdth", 75, 100, 100, 257}},
                                  {{258, {300, 100}}, {259, {700, 87.5}}}))
        .AddTable("head", test::HeadTable(2048, 9))
        .AddTable("maxp", test::MaxpTable(glyphs))
        .AddTable("name", VariableNames().Build())
        .AddTable("post", test::PostTable(-12.5, true))
        .Build();
}

// What info --details prints of the same font (the code point count,
// fsType, the layout tags, the axes and instances, each face's glyph count
// in a collection) CliInfoDetailsFollowTheRecordFaceByFace checks; here the
// rest.
TEST(FontDetails, ReadsTheTablesOfAWholeFontAndNoFacePastTheLast) {
    const TFontDetails d = Read(VariableFont());
    ASSERT_TRUE(d.OS2 && d.Post && d.GlyphCount && d.UnitsPerEm && d.Cmap);
    EXPECT_EQ(d.OS2->Version, 4);
    EXPECT_EQ(d.OS2->WeightClass, 700);
    EXPECT_EQ(d.OS2->FamilyClass, 0x0801);
    EXPECT_EQ(d.OS2->Panose[0], 2);
    EXPECT_EQ(d.OS2->VendorId, "LTWL");
    EXPECT_EQ(d.OS2->Selection, 0x20);
    EXPECT_EQ(d.Post->ItalicAngle, -12.5);
    EXPECT_TRUE(d.Post->IsFixedPitch);
    EXPECT_EQ(*d.GlyphCount, 40);
    EXPECT_EQ(*d.UnitsPerEm, 2048);
    // The full-repertoire subtable wins over the BMP one.
    EXPECT_EQ(d.Cmap->Encoding, 10);
    EXPECT_EQ(d.Cmap->Format, 12);
    EXPECT_FALSE(HasCodePoint(d.Cmap->CodePoints, 'a'));

    EXPECT_EQ(NameText(d.Names, 1), "Probe Sans");
    EXPECT_EQ(d.Names.size(), 9u);
    EXPECT_EQ(NameText(d.Names, 256), "Weight"); // US English over French

    ASSERT_TRUE(d.Style);
    ASSERT_EQ(d.Style->Values.size(), 3u);
    EXPECT_EQ(d.Style->Values[1].Name, "Bold");
    EXPECT_EQ(d.Style->Values[1].AxisTag, "wght");
    EXPECT_EQ(d.Style->Values[2].AxisTag, "wdth");
    EXPECT_EQ(d.Style->Values[2].Value, 100);

    // A face past the last, or a second face of a single font, reads as nothing.
    EXPECT_FALSE(Read(test::Collection({VariableFont(40), VariableFont(7)}), 2).GlyphCount);
    EXPECT_FALSE(Read(VariableFont(), 1).GlyphCount);
}

TCodeRanges Codes(const TBytes& subtable) {
    return ParseCmapSubtable(View(subtable)).value_or(TCodeRanges{{0xDEAD, 0xDEAD}});
}

TEST(FontDetails, CmapFormatsGiveTheCodePointsMappedToRealGlyphs) {
    // Glyph 0 is no glyph: a code mapped there is not covered.
    EXPECT_EQ(Codes(CmapFormat4({{'a', 'c', 0}, {'x', 'z', 5}})),
              (TCodeRanges{{'b', 'c'}, {'x', 'z'}}));
    EXPECT_EQ(Codes(CmapFormat12({{0x10000, 0x10003, 0}, {0x20, 0x20, 3}})),
              (TCodeRanges{{0x20, 0x20}, {0x10001, 0x10003}}));
    EXPECT_EQ(Codes(CmapFormat12({{0x41, 0x5A, 0}, {0x61, 0x7A, 9}}, true)),
              (TCodeRanges{{0x61, 0x7A}}));
    TByteWriter format0;
    format0.BE16(0).BE16(262).BE16(0).Zeros(0x41).U8(3).U8(4).U8(0).U8(6).Zeros(256 - 0x45);
    EXPECT_EQ(Codes(format0.Bytes()), (TCodeRanges{{0x41, 0x42}, {0x44, 0x44}}));
    TByteWriter format6;
    format6.BE16(6).BE16(16).BE16(0).BE16(0x100).BE16(3).BE16(1).BE16(0).BE16(2);
    EXPECT_EQ(Codes(format6.Bytes()), (TCodeRanges{{0x100, 0x100}, {0x102, 0x102}}));
    // idRangeOffset into the glyph array: 'a' -> 7, 'b' -> 0 (unmapped).
    TByteWriter indexed;
    indexed.BE16(4).BE16(0).BE16(0).BE16(4).BE16(0).BE16(0).BE16(0);
    indexed.BE16('b').BE16(0xFFFF).BE16(0).BE16('a').BE16(0xFFFF).BE16(0).BE16(1);
    indexed.BE16(4).BE16(0).BE16(7).BE16(0);
    EXPECT_EQ(Codes(indexed.Bytes()), (TCodeRanges{{'a', 'a'}}));
    // Overlapping segments: a code belongs to the first whose end reaches it.
    EXPECT_EQ(Codes(CmapFormat4({{'a', 'f', 0}, {'a', 'h', 5}})), (TCodeRanges{{'b', 'h'}}));
    EXPECT_FALSE(ParseCmapSubtable(View(TBytes{0, 2, 0, 0})));
}

TEST(FontDetails, CmapChoosesTheBestUnicodeSubtableThatReads) {
    const TBytes symbol = CmapFormat4({{0xF020, 0xF07E, 1}});
    const TBytes latin = CmapFormat4({{'a', 'z', 1}});
    TBytes lying = CmapFormat12({{'a', 'z', 1}});
    lying[15] = 200; // 200 groups claimed, 1 held
    const auto best = [](const TBytes& cmap) { return ParseCmap(View(cmap)); };
    // The symbol subtable is no Unicode one, so a font of it alone maps nothing.
    EXPECT_FALSE(best(CmapTable({{3, 0, symbol}})));
    EXPECT_EQ(best(CmapTable({{3, 0, symbol}, {0, 3, latin}}))->Platform, 0);
    EXPECT_EQ(best(CmapTable({{0, 3, symbol}, {3, 1, latin}}))->CodePoints,
              (TCodeRanges{{'a', 'z'}}));
    // A subtable that fails its check is passed over for the next best.
    const auto fallback = best(CmapTable({{3, 10, lying}, {3, 1, latin}}));
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->Format, 4);
    TBytes manyTables = CmapTable({{3, 1, latin}});
    manyTables[3] = 0xFF;
    EXPECT_FALSE(best(manyTables));
}

TEST(FontDetails, TablesThatFailTheirChecksAreAbsent) {
    // OS/2: each version's size, Apple's short version 0 included.
    EXPECT_TRUE(ParseOS2(View(TBytes(68, 0))));
    EXPECT_FALSE(ParseOS2(View(TBytes(67, 0))));
    TBytes version5 = test::OS2Table(5, 400, 5, 0, 0);
    EXPECT_TRUE(ParseOS2(View(version5)));
    version5.resize(96);
    EXPECT_FALSE(ParseOS2(View(version5)));
    EXPECT_FALSE(ParsePost(View(TBytes(31, 0))));
    EXPECT_FALSE(ParseGlyphCount(View(TBytes(5, 0))));
    EXPECT_FALSE(ParseUnitsPerEm(View(TBytes(53, 0))));

    // fvar claiming more instances, axis records too short, axes past the end.
    const TBytes fvar = test::FvarTable({{"wght", 100, 400, 900, 256}}, {{258, {300}}});
    for (const auto& [at, value] : {std::pair{13, 9}, std::pair{11, 19}, std::pair{4, 0xFF}}) {
        TBytes lying = fvar;
        lying[size_t(at)] = uint8_t(value);
        EXPECT_FALSE(ParseFvar(View(lying), {})) << "byte " << at;
    }

    TBytes layout = test::LayoutTable({"latn"}, {"kern"});
    layout[7] = 0xF0; // feature list past the table: no features, scripts still read
    EXPECT_EQ(ParseLayoutTags(View(layout))->Features, std::vector<std::string>{});
    EXPECT_EQ(ParseLayoutTags(View(layout))->Scripts, std::vector<std::string>{"latn"});
    // Language systems by script; a script whose table lies past the end
    // keeps its tag and names no language.
    test::TByteWriter languages;
    languages.BE16(1).BE16(0).BE16(10).BE16(0).BE16(0);
    languages.BE16(2).Text("latn").BE16(14).Text("cyrl").BE16(0x7000);
    languages.BE16(0).BE16(2).Text("TRK ").BE16(0).Text("DEU ").BE16(0);
    const std::optional<TLayoutTags> withLanguages = ParseLayoutTags(View(languages.Bytes()));
    ASSERT_TRUE(withLanguages);
    EXPECT_EQ(withLanguages->Scripts, (std::vector<std::string>{"cyrl", "latn"}));
    EXPECT_EQ(withLanguages->Languages, (std::vector<std::string>{"latn/DEU ", "latn/TRK "}));
    TBytes stat = test::StatTable({{"wght", 256}}, {{0, 258, 300}});
    stat[7] = 40; // 40 design axes claimed
    EXPECT_FALSE(ParseStat(View(stat), {}));
    // A value offset past the table drops that value alone.
    TBytes farValue = test::StatTable({{"wght", 256}}, {{0, 258, 300}, {0, 259, 700}});
    farValue[28] = 0x7F;
    EXPECT_EQ(ParseStat(View(farValue), {})->Values.size(), 1u);

    TNameTableBuilder lyingNames = VariableNames();
    lyingNames.ClaimedCount = 500;
    EXPECT_TRUE(ParseNameRecords(View(lyingNames.Build())).empty());
    TNameTableBuilder farText;
    farText.Windows(1, "Kept").Lying(3, 4, 0x400, 0x10);
    const std::vector<TNameRecord> records = ParseNameRecords(View(farText.Build()));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Text, "Kept");
    EXPECT_EQ(records[1].Text, "");
}

TEST(FontDetails, TableRecordsPointingPastTheFileLeaveTheTableAbsent) {
    TBytes font = TSfntBuilder()
                      .AddTable("maxp", test::MaxpTable(9))
                      .AddTableAt("OS/2", 0xFFFFFFF0u, 100)
                      .AddTableAt("head", 12, 0xFFFFFF00u)
                      .Build();
    const TFontDetails d = Read(font);
    EXPECT_EQ(*d.GlyphCount, 9);
    EXPECT_FALSE(d.OS2);
    EXPECT_FALSE(d.UnitsPerEm);
    TSfntBuilder many;
    many.AddTable("maxp", test::MaxpTable(3));
    many.ClaimedNumTables = 0xFFFF;
    EXPECT_EQ(*Read(many.Build()).GlyphCount, 3);
    for (size_t cut = 0; cut < font.size(); cut += 7) {
        const TBytes part(font.begin(), font.begin() + long(cut));
        EXPECT_FALSE(Read(part).OS2) << cut;
    }
}

TEST(FontDetails, CliInfoDetailsFollowTheRecordFaceByFace) {
    test::TScratchFolder folder("cli-details");
    const std::string single = folder.Write("variable.ttf", VariableFont());
    const std::string collection =
        folder.Write("two.ttc", test::Collection({VariableFont(40), VariableFont(7)}));
    const std::string cli = test::BuildBinFolder() + "/letterwell-cli info ";
    const std::string files = "'" + single + "' '" + collection + "'";
    const test::TCommandRun plain = test::RunCommand(cli + files);
    const test::TCommandRun details = test::RunCommand(cli + "--details " + files);
    EXPECT_EQ(details.Status, 0);
    const std::vector<std::string> plainLines = Lines(plain.Output);
    const std::vector<std::string> lines = Lines(details.Output);
    ASSERT_EQ(lines.size(), 3u) << details.Output;
    ASSERT_EQ(plainLines.size(), 3u);
    for (size_t i = 0; i < lines.size(); ++i) {
        // The record as info gives it, its closing brace moved past the details.
        const std::string record = plainLines[i].substr(0, plainLines[i].size() - 1);
        EXPECT_EQ(lines[i].rfind(record + ", \"Names\": [{\"NameID\": 1, \"Platform\": 3, ", 0), 0u)
            << lines[i];
        EXPECT_NE(
            lines[i].find("\"CodePoints\": 60, \"Blocks\": [{\"Name\": \"Basic Latin\", "
                          "\"Covered\": 26, \"Size\": 128}, {\"Name\": \"Cyrillic\", "
                          "\"Covered\": 32, \"Size\": 256}, {\"Name\": \"Emoticons\", "
                          "\"Covered\": 2, \"Size\": 80}], \"Scripts\": [], \"FsType\": 772, "
                          "\"Embedding\": \"preview & print; no subsetting; bitmap only\", "
                          "\"Features\": [\"kern\", \"liga\", \"mark\", \"smcp\"], "
                          "\"LayoutScripts\": [\"DFLT\", \"cyrl\", \"latn\"], "
                          "\"Axes\": [{\"Tag\": \"wght\", \"Name\": \"Weight\", \"Min\": 100, "
                          "\"Default\": 400, \"Max\": 900}, {\"Tag\": \"wdth\", \"Name\": "
                          "\"Width\", \"Min\": 75, \"Default\": 100, \"Max\": 100}], "
                          "\"Instances\": [{\"Name\": \"Light\", \"Coordinates\": [300, 100]}, "
                          "{\"Name\": \"Bold\", \"Coordinates\": [700, 87.5]}], "
                          "\"License\": \"OFL-1.1\"}"),
            std::string::npos)
            << lines[i];
    }
    EXPECT_NE(lines[1].find("\"GlyphCount\": 40,"), std::string::npos);
    EXPECT_NE(lines[2].find("\"GlyphCount\": 7,"), std::string::npos);
    EXPECT_EQ(test::RunCommand(cli + "--details 2>/dev/null").Status, 2);
}

TEST(FontFacts, EmbeddingRightsAndFeatureTagsInWords) {
    EXPECT_EQ(EmbeddingRights(0), "installable");
    EXPECT_EQ(EmbeddingRights(0x0002), "restricted licence");
    EXPECT_EQ(EmbeddingRights(0x0004), "preview & print");
    EXPECT_EQ(EmbeddingRights(0x0008), "editable");
    // Two levels at once: the less restrictive holds.
    EXPECT_EQ(EmbeddingRights(0x000A), "editable");
    EXPECT_EQ(EmbeddingRights(0x0200), "installable; bitmap only");

    EXPECT_EQ(FeatureName("liga"), "Standard ligatures");
    EXPECT_EQ(FeatureName("kern"), "Kerning");
    EXPECT_EQ(FeatureName("smcp"), "Small capitals");
    EXPECT_EQ(FeatureName("zzzz"), "");
}

TEST(FontFacts, BlocksAndScriptsFromTheCodePoints) {
    const TCodeRanges codes = {{'A', 'Z'}, {'a', 'z'}, {0x0410, 0x044F}, {0x4E00, 0x4E00}};
    const std::vector<TBlockCoverage> blocks = BlockCoverage(codes);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].Name, "Basic Latin");
    EXPECT_EQ(blocks[0].Covered, 52u);
    EXPECT_EQ(blocks[0].Size, 128u);
    EXPECT_EQ(blocks[1].Name, "Cyrillic");
    EXPECT_EQ(blocks[1].Covered, 64u);
    EXPECT_EQ(blocks[2].Covered, 1u);
    // One ideograph is no Han coverage; a missing letter loses the script.
    EXPECT_EQ(ScriptsCovered(codes), (std::vector<std::string>{"Latin", "Cyrillic"}));
    EXPECT_EQ(ScriptsCovered({{'A', 'Z'}, {'a', 'y'}}), std::vector<std::string>{});
    for (size_t i = 1; i < UnicodeBlocks().size(); ++i) {
        EXPECT_LT(UnicodeBlocks()[i - 1].Last, UnicodeBlocks()[i].First) << i;
    }
}

TEST(FontFacts, LicenceRecognisedFromDescriptionOrUrl) {
    struct TCase {
        const char* Description;
        const char* Url;
        const char* Id;
    };
    const TCase cases[] = {
        {"This Font Software is licensed under the SIL Open Font License, Version 1.1.", "",
         "OFL-1.1"},
        {"", "https://openfontlicense.org", "OFL-1.1"},
        {"", "http://scripts.sil.org/OFL", "OFL-1.1"},
        {"SIL Open Font License, Version 1.0", "", "other"},
        {"Licensed under the Apache License, Version 2.0", "", "Apache-2.0"},
        {"", "http://www.apache.org/licenses/LICENSE-2.0", "Apache-2.0"},
        {"This Font Software is licensed under the Ubuntu Font Licence", "", "UFL-1.0"},
        {"GNU General Public License; as a special exception, if you create a document "
         "which uses this font ...",
         "", "GPL-with-font-exception"},
        {"GNU General Public License version 3", "", "other"},
        {"Fonts are (c) Bitstream (see below). DejaVu changes are in public domain. "
         "Bitstream Vera Fonts Copyright",
         "", "Bitstream-Vera"},
        {"This font is in the public domain.", "", "public-domain"},
        {"", "", "other"},
        {"All rights reserved.", "", "other"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(RecognisedLicense(c.Description, c.Url), c.Id) << c.Description << c.Url;
    }
}

} // namespace
} // namespace lw
