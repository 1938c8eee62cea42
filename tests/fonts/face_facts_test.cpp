// A face's facts from its tables, and the cache that keeps them.
#include "font_builder.h"
#include "fonts/byte_source.h"
#include "fonts/face_facts.h"
#include "fonts/facts_cache.h"
#include "reader_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::TFactsFontTraits;

TFaceFacts FactsOf(const TFactsFontTraits& traits) {
    const test::TBytes bytes = test::FactsFont(traits);
    TMemoryByteSource source(bytes);
    return SfntFaceFacts(source, 0);
}

TEST(FaceFacts, ReadFromTheFacesOwnTablesASymbolFontsPrivateCodesIncluded) {
    TFactsFontTraits traits;
    traits.Codes = {{'A', 'Z', 1}, {'a', 'z', 27}, {0x0410, 0x044F, 53}};
    traits.Advances = {600, 600, 0, 600};
    traits.Weight = 700;
    traits.Width = 3;
    traits.Selection = 0x0201; // italic and oblique
    traits.PanoseFamily = 2;
    traits.PanoseSerif = 11; // normal sans
    traits.Vendor = "GO";
    traits.License = "Licensed under the SIL Open Font License, Version 1.1";
    traits.Variable = true;
    traits.Cff = true;
    const TFaceFacts facts = FactsOf(traits);
    EXPECT_TRUE(facts.Readable);
    EXPECT_EQ(facts.Scripts, (std::vector<std::string>{"Latn", "Cyrl"}));
    // Zero advances are marks: they do not make a fixed-pitch font proportional.
    EXPECT_TRUE(facts.Monospace);
    EXPECT_EQ(facts.Weight, 700);
    EXPECT_EQ(facts.Width, 3);
    EXPECT_TRUE(facts.Italic);
    EXPECT_TRUE(facts.Oblique);
    EXPECT_EQ(facts.Design, TDesignClass::SansSerif);
    EXPECT_TRUE(facts.Variable);
    EXPECT_EQ(facts.Format, "cff");
    EXPECT_EQ(facts.Vendor, "GO"); // the padding goes
    EXPECT_EQ(facts.License, "OFL-1.1");

    const TFaceFacts plain = FactsOf(TFactsFontTraits());
    EXPECT_FALSE(plain.Monospace);
    EXPECT_FALSE(plain.Italic || plain.Oblique || plain.Variable);
    EXPECT_EQ(plain.Design, TDesignClass::Unknown);
    EXPECT_EQ(plain.Format, "truetype");
    EXPECT_TRUE(plain.License.empty());

    // A symbol font's private codes are its code points.
    const test::TBytes cmap = test::CmapTable({{3, 0, test::CmapFormat4({{0xF020, 0xF07E, 1}})}});
    const test::TBytes bytes = test::TSfntBuilder().AddTable("cmap", cmap).Build();
    TMemoryByteSource source(bytes);
    const std::optional<TCodeRanges> codes = SfntCodePoints(source, 0);
    ASSERT_TRUE(codes);
    EXPECT_EQ(*codes, (TCodeRanges{{0xF020, 0xF07E}}));
}

TEST(FaceFacts, DesignFromPanoseElseTheFamilyClass) {
    TOS2Info os2;
    const auto design = [&](uint8_t family, uint8_t serif, uint16_t familyClass) {
        os2.Panose[0] = family;
        os2.Panose[1] = serif;
        os2.FamilyClass = static_cast<int16_t>(familyClass);
        return DesignOf(os2);
    };
    EXPECT_EQ(design(2, 2, 0x0800), TDesignClass::Serif); // PANOSE wins over the class
    EXPECT_EQ(design(2, 13, 0), TDesignClass::SansSerif);
    EXPECT_EQ(design(3, 0, 0), TDesignClass::Script);
    EXPECT_EQ(design(4, 0, 0), TDesignClass::Decorative);
    EXPECT_EQ(design(5, 0, 0), TDesignClass::Symbol);
    // PANOSE "any" leaves it to sFamilyClass.
    EXPECT_EQ(design(0, 0, 0x0105), TDesignClass::Serif);
    EXPECT_EQ(design(0, 0, 0x0801), TDesignClass::SansSerif);
    EXPECT_EQ(design(0, 0, 0x0A00), TDesignClass::Script);
    EXPECT_EQ(design(0, 0, 0x0C00), TDesignClass::Symbol);
    EXPECT_EQ(design(0, 0, 0x0000), TDesignClass::Unknown);
}

class FactsCacheTest : public ::testing::Test {
protected:
    // Loads and saves the cache as a start of the program does: the weight
    // it gives for the font, how many files that took reading, and whether
    // the file it loaded was damaged.
    std::string Loaded(uint32_t face = 0) {
        TFactsCache cache(CacheFile);
        cache.Load();
        const uint16_t weight = cache.Facts(Font, face).Weight; // before the count of reads
        std::string said =
            "weight " + std::to_string(weight) + ", " + std::to_string(cache.FilesRead()) + " read";
        EXPECT_TRUE(cache.Save());
        return cache.LoadedDamaged() ? said + ", damaged" : said;
    }
    const test::TScratchFolder Folder{"facts"};
    const std::string Font = (Folder.Path / "a|b*?[x]\nfont.ttf").string();
    const std::string CacheFile = (Folder.Path / "cache" / "face-facts.cache").string();
};

TEST_F(FactsCacheTest, AFontIsReadOnceUntilItChangesAndADamagedCacheIsRebuilt) {
    TFactsFontTraits traits;
    test::WriteFile(Font, test::FactsFont(traits));
    EXPECT_EQ(Loaded(), "weight 400, 1 read");
    EXPECT_EQ(Loaded(), "weight 400, 0 read");
    // A variable font's named instance is the file's face.
    EXPECT_EQ(Loaded(0x30000), "weight 400, 0 read");
    // A new version of the font: another size and modification time.
    traits.Weight = 700;
    traits.Advances.push_back(800);
    test::WriteFile(Font, test::FactsFont(traits));
    fs::last_write_time(Font, fs::last_write_time(Font) + std::chrono::seconds(5));
    EXPECT_EQ(Loaded(), "weight 700, 1 read");
    // One byte changed inside: the checksum no longer holds.
    test::TBytes bytes = test::ReadFile(CacheFile);
    ASSERT_GT(bytes.size(), 40u);
    bytes[30] ^= 0x40;
    test::WriteFile(CacheFile, bytes);
    EXPECT_EQ(Loaded(), "weight 700, 1 read, damaged");
    EXPECT_EQ(Loaded(), "weight 700, 0 read");
}

// The stamp is read in one look at the file, yet counted as
// std::filesystem counts it: a cache written before stays good, and a new
// modification time alone (the same size) is noticed.
TEST_F(FactsCacheTest, TheStampIsTheFileSystemsAndATouchAloneIsNoticed) {
    test::WriteFile(Font, test::FactsFont(TFactsFontTraits()));
    TFactsEntry entry;
    entry.Path = Font;
    entry.Size = fs::file_size(Font);
    entry.ModifiedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                           fs::last_write_time(Font).time_since_epoch())
                           .count();
    entry.Facts.Readable = true;
    entry.Facts.Weight = 123; // not the file's: only the cache says it
    fs::create_directories(fs::path(CacheFile).parent_path());
    const std::string written = WriteFactsCache({entry});
    test::WriteText(CacheFile, written);
    EXPECT_EQ(Loaded(), "weight 123, 0 read");
    fs::last_write_time(Font, fs::last_write_time(Font) + std::chrono::milliseconds(1));
    EXPECT_EQ(Loaded(), "weight 400, 1 read");
}

TEST(FactsCacheFile, EntriesRoundTripAndTruncationIsRefused) {
    TFactsEntry entry;
    entry.Path = std::string("/f/\xff\n|x.ttf");
    entry.Face = 3;
    entry.Size = 1234567890123ull;
    entry.ModifiedNs = -5;
    entry.Facts.Readable = true;
    entry.Facts.Scripts = {"Latn", "Arab"};
    entry.Facts.Design = TDesignClass::Symbol;
    entry.Facts.License = "OFL-1.1";
    const std::string file = WriteFactsCache({entry, TFactsEntry()});
    const auto bytes = std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    const auto parsed = ParseFactsCache(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, (std::vector<TFactsEntry>{entry, TFactsEntry()}));
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        EXPECT_FALSE(ParseFactsCache(bytes.first(cut))) << cut;
    }
}

} // namespace
} // namespace lw
