// Damaged and hostile files: each gives what it holds, never a crash, a hang
// or a read outside its bytes (the sanitizer build runs these too).
#include "fonts/opentype_font_file.h"
#include "fonts/type1_font_file.h"
#include "fuzz_targets.h"
#include "reader_test_support.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

using test::NamesOnly;
using test::OS2Table;
using test::PfbFile;
using test::ReadOpenType;
using test::ReadType1;
using test::TBytes;
using test::TNameTableBuilder;
using test::TPfmBuilder;
using test::TSfntBuilder;

TBytes SmallFont() {
    return TSfntBuilder()
        .AddTable("name",
                  TNameTableBuilder().Windows(1, "Family").Windows(4, "Family Full").Build())
        .AddTable("OS/2", OS2Table(3, 700, 5, 0x0102, 0x20))
        .AddTable("head", test::HeadTable(1000, 7))
        .Build();
}

TEST(MalformedOpenType, EveryTruncationGivesWhatIsThere) {
    const TBytes full = SmallFont();
    const TOpenTypeFontFile whole = ReadOpenType(full);
    ASSERT_EQ(whole.FullName, "Family Full");
    ASSERT_EQ(whole.UnitsPerEm, 1000);
    test::TScratchFolder folder("truncated-fonts");
    for (size_t size = 0; size <= full.size(); ++size) {
        const TBytes cut(full.begin(), full.begin() + static_cast<long>(size));
        // Through a file too, where reads past the end come back short.
        const TOpenTypeFontFile font(folder.Write("cut.ttf", cut));
        SCOPED_TRACE(size);
        EXPECT_TRUE(fuzz::RecordTextsValid(font));
        // A text is either all there or cut short, never anything else.
        EXPECT_EQ(whole.FullName.compare(0, font.FullName.size(), font.FullName), 0);
        EXPECT_TRUE(font.WeightClass == 0 || font.WeightClass == 700);
        if (size == full.size()) {
            EXPECT_EQ(font.UnitsPerEm, 1000);
            EXPECT_EQ(font.FullName, "Family Full");
        }
    }
    // Nothing at all: an empty record, still TrueType, and no error.
    const TOpenTypeFontFile empty = ReadOpenType({});
    EXPECT_EQ(empty.FontType, ftTrueType);
    EXPECT_EQ(empty.FullName, "");
    EXPECT_EQ(empty.RegistryName, " (TrueType)");
}

TEST(MalformedOpenType, OffsetsAndCountsPastTheEnd) {
    const TOpenTypeFontFile lying = ReadOpenType(TSfntBuilder()
                                                     .AddTableAt("name", 0xFFFFFFF0u)
                                                     .AddTableAt("OS/2", 0xFFFFFFFFu)
                                                     .AddTableAt("head", 0x7FFFFFFFu)
                                                     .Build());
    EXPECT_EQ(lying.FullName, "");
    EXPECT_EQ(lying.WeightClass, 0);
    EXPECT_EQ(lying.UnitsPerEm, 0);

    TSfntBuilder manyTables;
    manyTables.AddTable("name", TNameTableBuilder().Windows(4, "Still Here").Build());
    manyTables.ClaimedNumTables = 0xFFFF;
    EXPECT_EQ(ReadOpenType(manyTables.Build()).FullName, "Still Here");

    TNameTableBuilder manyNames;
    manyNames.Windows(1, "Real Family").Windows(4, "Real Full");
    manyNames.ClaimedCount = 0xFFFF;
    const TOpenTypeFontFile counted = ReadOpenType(NamesOnly(manyNames));
    EXPECT_EQ(counted.FamilyName, "Real Family");
    EXPECT_EQ(counted.FullName, "Real Full");

    TNameTableBuilder strings;
    strings.Lying(3, 1, 0xFFFF, 0xFFF0).Lying(3, 6, 0xFFFF, 0).Windows(4, "Full");
    strings.ClaimedStringOffset = 0xFFFF;
    const TOpenTypeFontFile storage = ReadOpenType(NamesOnly(strings));
    EXPECT_EQ(storage.FamilyName, "");
    EXPECT_EQ(storage.FullName, "");

    // A string running past the end of the file stops where the file does.
    TNameTableBuilder tail;
    tail.Lying(3, 1, 0xFFFF, 0).Add(3, 1, 0x409, 19, test::Utf16Be("Tail"));
    EXPECT_EQ(ReadOpenType(NamesOnly(tail)).FamilyName, "Tail");
}

TEST(MalformedOpenType, EmptyTablesAndShortTables) {
    const TOpenTypeFontFile empty = ReadOpenType(
        TSfntBuilder().AddTable("name", {}).AddTable("OS/2", {}).AddTable("head", {}).Build());
    EXPECT_EQ(empty.FullName, "");
    EXPECT_EQ(empty.Selection, 0);
    EXPECT_EQ(empty.UnitsPerEm, 0);
    // A field cut by the end of the file reads as zero, not as half a value.
    TBytes cut = TSfntBuilder().AddTable("OS/2", TBytes(63, 0)).Build();
    const TBytes os2 = OS2Table(0, 400, 5, 0x0805, 0x0140);
    std::copy(os2.begin(), os2.begin() + 63, cut.end() - 64);
    cut.pop_back(); // the padding after the table
    const TOpenTypeFontFile shortTable = ReadOpenType(cut);
    EXPECT_EQ(shortTable.WeightClass, 400);
    EXPECT_EQ(shortTable.FamilyClass, 2053);
    EXPECT_EQ(shortTable.Selection, 0);
}

// Thousands of 'name' tables, each claiming 65,535 records, cost a bounded
// amount of work; the last table still has the final word.
TEST(MalformedOpenType, ManyHugeNameTablesStayBoundedAndTheLastCounts) {
    constexpr uint32_t kTables = 3000;
    const uint32_t garbageAt = 12 + 16 * (kTables + 1);
    const uint32_t realAt = garbageAt + 800000;
    TSfntBuilder sfnt;
    for (uint32_t i = 0; i < kTables; ++i) {
        sfnt.AddTableAt("name", garbageAt + i); // every offset reads a count of 0xFFFF
    }
    sfnt.AddTableAt("name", realAt);
    TBytes bytes = sfnt.Build();
    bytes.resize(realAt, 0xFF);
    const TBytes real = TNameTableBuilder().Windows(4, "Last Word").Build();
    bytes.insert(bytes.end(), real.begin(), real.end());
    EXPECT_EQ(ReadOpenType(bytes).FullName, "Last Word");
}

TEST(MalformedType1, OffsetsAndLengthsPastTheEnd) {
    TPfmBuilder outside;
    outside.FaceOffset = 0xFFFFFFFF;
    outside.DriverInfoOffset = 0x7FFFFFFF;
    const TType1FontFile offsets = ReadType1(outside.Build(), PfbFile("/Weight (Bold) def\n"));
    EXPECT_EQ(offsets.FamilyName, "");
    EXPECT_EQ(offsets.FullName, "");
    EXPECT_EQ(offsets.PSWeight, "Bold");

    // A name at the very end, without its terminating zero.
    TPfmBuilder last;
    TBytes pfmBytes = last.Build();
    pfmBytes.back() = 'Z';
    TPfmBuilder pointing = last;
    pointing.FaceOffset = static_cast<uint32_t>(pfmBytes.size() - 1);
    TBytes pointed = pointing.Build();
    pointed.back() = 'Z';

    test::TScratchFolder folder("malformed-type1");
    const std::string pfb =
        folder.Write("font.pfb", PfbFile("/FullName (Whole) def\n", 0xFFFFFFFF));
    const std::string pfm = folder.Write("font.pfm", pointed);
    const TType1FontFile atEnd(TFontFiles(pfm, pfb));
    EXPECT_EQ(atEnd.FamilyName, "Z");
    EXPECT_EQ(atEnd.PSFullName, "Whole"); // the segment claims more than the file has

    for (const TBytes& shortPfb : {TBytes{}, TBytes{0x80}, TBytes{0x80, 0x01, 0xFF, 0xFF, 0xFF}}) {
        const TType1FontFile font(TFontFiles(folder.Write("font.pfm", last.Build()),
                                             folder.Write("short.pfb", shortPfb)));
        EXPECT_EQ(font.PSFullName, "");
        EXPECT_EQ(font.FamilyName, "Sans");
    }
    const TBytes pfmHead(pfmBytes.begin(), pfmBytes.begin() + 84);
    const TType1FontFile truncated(TFontFiles(folder.Write("cut.pfm", pfmHead), pfb));
    // The offsets lie beyond the cut and read as 0: the file's first text,
    // which its leading zero byte makes empty.
    EXPECT_EQ(truncated.FullName, "");
    EXPECT_EQ(truncated.StyleName, "Bold"); // the weight is cut in half: 0, not 400
    EXPECT_TRUE(fuzz::RecordTextsValid(truncated));
}

} // namespace
} // namespace lw
