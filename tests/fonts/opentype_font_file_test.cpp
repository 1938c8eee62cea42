#include "fake_font_system.h"
#include "fonts/font_manager.h"
#include "fonts/opentype_font_file.h"
#include "reader_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::HeadTable;
using test::NamesOnly;
using test::OS2Table;
using test::ReadOpenType;
using test::TBytes;
using test::TNameTableBuilder;
using test::TSfntBuilder;

TBytes WithTables(std::initializer_list<const char*> tags) {
    TSfntBuilder sfnt;
    for (const char* tag : tags) {
        sfnt.AddTable(tag, TBytes(8, 0));
    }
    sfnt.AddTable("name", TNameTableBuilder().Windows(4, "Probe").Build());
    return sfnt.Build();
}

TEST(OpenTypeReader, TablesDecideTypeOutlinesAndRegistryName) {
    struct TCase {
        std::initializer_list<const char*> Tags;
        uint8_t Type;
        uint8_t Outlines;
        const char* Registry;
    };
    const TCase cases[] = {
        {{"glyf", "GSUB"}, ftOpenType, 1, "Probe (TrueType)"},
        {{"CFF "}, ftOpenType, 2, "Probe (OpenType)"},
        {{"OS/2", "cmap", "glyf", "head", "hhea", "loca", "maxp", "post"},
         ftTrueType,
         1,
         "Probe (TrueType)"},
        {{"EBDT"}, ftTrueType, 1, "Probe (TrueType)"},
        // The last outline table in the directory decides.
        {{"glyf", "CFF "}, ftOpenType, 2, "Probe (OpenType)"},
        {{"CFF ", "glyf"}, ftOpenType, 1, "Probe (TrueType)"},
        {{"CFF ", "EBDT"}, ftOpenType, 1, "Probe (TrueType)"},
        {{"DSIG"}, ftOpenType, 1, "Probe (TrueType)"},
        {{"BASE"}, ftOpenType, 1, "Probe (TrueType)"},
        {{"GDEF"}, ftOpenType, 1, "Probe (TrueType)"},
        {{"GPOS"}, ftOpenType, 1, "Probe (TrueType)"},
        {{"JSTF"}, ftOpenType, 1, "Probe (TrueType)"},
        // Tags compare exactly, case included.
        {{"gsub", "cff "}, ftTrueType, 1, "Probe (TrueType)"},
    };
    for (const TCase& c : cases) {
        const TOpenTypeFontFile font = ReadOpenType(WithTables(c.Tags));
        SCOPED_TRACE(*c.Tags.begin());
        EXPECT_EQ(font.FontType, c.Type);
        EXPECT_EQ(font.Outlines, c.Outlines);
        EXPECT_EQ(font.RegistryName, c.Registry);
    }
}

TEST(OpenTypeReader, EveryNameIdFillsItsFieldAndOthersAreIgnored) {
    const std::pair<uint16_t, std::string TFontFile::*> fields[] = {
        {0, &TFontFile::Copyright},       {1, &TFontFile::FamilyName},
        {2, &TFontFile::StyleName},       {3, &TFontFile::UniqueID},
        {4, &TFontFile::FullName},        {5, &TFontFile::Version},
        {6, &TFontFile::PostScriptName},  {7, &TFontFile::Trademark},
        {8, &TFontFile::Manufacturer},    {9, &TFontFile::Designer},
        {10, &TFontFile::Description},    {11, &TFontFile::VendorURL},
        {12, &TFontFile::DesignerURL},    {13, &TFontFile::LicenseDescription},
        {14, &TFontFile::LicenseURL},     {16, &TFontFile::PreferredFamily},
        {17, &TFontFile::PreferredStyle}, {19, &TFontFile::SampleText},
    };
    TNameTableBuilder names;
    for (const auto& [id, field] : fields) {
        names.Windows(id, "text " + std::to_string(id));
    }
    for (uint16_t ignored : {15, 18, 20, 25, 256}) {
        names.Windows(ignored, "ignored");
    }
    const TOpenTypeFontFile font = ReadOpenType(NamesOnly(names));
    for (const auto& [id, field] : fields) {
        EXPECT_EQ(font.*field, "text " + std::to_string(id));
    }
}

TEST(OpenTypeReader, MacintoshRecordsCountOnlyWithoutWindowsRecords) {
    TNameTableBuilder mac;
    mac.Mac(1, "Caf\x8E").Mac(2, "Regular").Mac(4, "Caf\x8E Regular").Mac(0, "\xA9 Probe");
    const TOpenTypeFontFile macOnly = ReadOpenType(NamesOnly(mac));
    // Mac Roman: 0x8E is e with acute, 0xA9 the copyright sign.
    EXPECT_EQ(macOnly.FamilyName, "Café");
    EXPECT_EQ(macOnly.StyleName, "Regular");
    EXPECT_EQ(macOnly.FullName, "Café Regular");
    EXPECT_EQ(macOnly.Copyright, "© Probe");
    EXPECT_EQ(macOnly.RegistryName, "Café Regular (TrueType)");

    TNameTableBuilder mixed;
    mixed.Mac(1, "Mac Family").Mac(2, "Mac Style").Windows(1, "Windows Family").Mac(4, "Mac Full");
    const TOpenTypeFontFile oneWindows = ReadOpenType(NamesOnly(mixed));
    EXPECT_EQ(oneWindows.FamilyName, "Windows Family");
    EXPECT_EQ(oneWindows.StyleName, "");
    EXPECT_EQ(oneWindows.FullName, "");

    // Unicode-platform records are never taken, on either pass.
    TNameTableBuilder unicode;
    unicode.Add(0, 3, 0, 1, test::Utf16Be("Unicode Family"));
    EXPECT_EQ(ReadOpenType(NamesOnly(unicode)).FamilyName, "");
}

class OpenTypeFileTest : public ::testing::Test {
protected:
    test::TScratchFolder Folder{"opentype-reader"};
};

TEST_F(OpenTypeFileTest, StyleAndFullNameFollowTheSystemLanguage) {
    TNameTableBuilder three;
    three.Windows(4, "Voll", 0x407).Windows(4, "Full", 0x409).Windows(4, "Complet", 0x40C);
    three.Windows(2, "Fett", 0x407).Windows(2, "Bold", 0x409).Windows(2, "Gras", 0x40C);
    const std::string threeFile = Folder.Write("three.ttf", NamesOnly(three));
    TNameTableBuilder two;
    two.Windows(4, "Voll", 0x407).Windows(4, "Complet", 0x40C);
    const std::string twoFile = Folder.Write("two.ttf", NamesOnly(two));
    TNameTableBuilder repeated;
    repeated.Windows(4, "Premier", 0x40C).Windows(4, "Full", 0x409).Windows(4, "Second", 0x40C);
    const std::string repeatedFile = Folder.Write("repeated.ttf", NamesOnly(repeated));
    {
        test::TScopedSystemLanguage serbian(0x081A);
        const TOpenTypeFontFile font(threeFile);
        EXPECT_EQ(font.FullName, "Full");
        EXPECT_EQ(font.StyleName, "Bold");
        EXPECT_EQ(font.RegistryName, "Full (TrueType)");
        EXPECT_EQ(TOpenTypeFontFile(twoFile).FullName, "Complet");
        // US English wins against any other language, even a later one.
        EXPECT_EQ(TOpenTypeFontFile(repeatedFile).FullName, "Full");
    }
    {
        test::TScopedSystemLanguage french(0x040C);
        const TOpenTypeFontFile font(threeFile);
        EXPECT_EQ(font.FullName, "Complet");
        EXPECT_EQ(font.StyleName, "Gras");
        // The first record in the system language wins outright.
        EXPECT_EQ(TOpenTypeFontFile(repeatedFile).FullName, "Premier");
    }
    {
        test::TScopedSystemLanguage german(0x0407);
        EXPECT_EQ(TOpenTypeFontFile(threeFile).FullName, "Voll");
    }
}

TEST(OpenTypeReader, OtherFieldsTakeTheLastRecordInAnyLanguageAndAnyNameTable) {
    TNameTableBuilder names;
    names.Windows(0, "Copyright US", 0x409).Windows(4, "Full", 0x409);
    names.Windows(0, "Droit d'auteur", 0x40C).Windows(4, "Complet", 0x40C);
    names.Windows(1, "Family", 0x409).Windows(1, "Familie", 0x407);
    const TOpenTypeFontFile font = ReadOpenType(NamesOnly(names));
    EXPECT_EQ(font.FullName, "Full");
    EXPECT_EQ(font.Copyright, "Droit d'auteur");
    EXPECT_EQ(font.FamilyName, "Familie");

    // Later name tables overwrite only the fields they have.
    const TBytes first =
        TNameTableBuilder().Windows(0, "First copyright").Windows(1, "First").Build();
    const TBytes second = TNameTableBuilder().Windows(1, "Second").Build();
    const TOpenTypeFontFile twice =
        ReadOpenType(TSfntBuilder().AddTable("name", first).AddTable("name", second).Build());
    EXPECT_EQ(twice.FamilyName, "Second");
    EXPECT_EQ(twice.Copyright, "First copyright");
}

TEST(OpenTypeReader, OS2AndHeadValues) {
    const TOpenTypeFontFile version0 =
        ReadOpenType(TSfntBuilder()
                         .AddTable("OS/2", OS2Table(0, 300, 3, 0x0805, 0x21))
                         .AddTable("head", HeadTable(2048, 9))
                         .Build());
    EXPECT_EQ(OS2Table(0, 0, 0, 0, 0).size(), 78u);
    EXPECT_EQ(version0.WeightClass, 300);
    EXPECT_EQ(version0.WidthClass, 3);
    EXPECT_EQ(version0.FamilyClass, 2053); // class 8, subclass 5
    EXPECT_EQ(version0.Selection, 0x21);
    EXPECT_EQ(version0.UnitsPerEm, 2048);
    EXPECT_EQ(version0.LowestRecPPEM, 9);

    const TOpenTypeFontFile version4 =
        ReadOpenType(TSfntBuilder().AddTable("OS/2", OS2Table(4, 900, 9, 0xFFFF, 0x0140)).Build());
    EXPECT_EQ(version4.WeightClass, 900);
    EXPECT_EQ(version4.WidthClass, 9);
    EXPECT_EQ(version4.FamilyClass, -1);
    EXPECT_EQ(version4.Selection, 0x0140);
    EXPECT_EQ(version4.UnitsPerEm, 0);

    // A version 0 table of 78 bytes, last in the file, still gives its
    // selection flags.
    TBytes tail = TSfntBuilder().AddTable("OS/2", OS2Table(0, 400, 5, 0, 0x40)).Build();
    EXPECT_EQ(ReadOpenType(tail).Selection, 0x40);
    // The last OS/2 and 'head' tables in the directory count.
    const TOpenTypeFontFile twice = ReadOpenType(TSfntBuilder()
                                                     .AddTable("OS/2", OS2Table(3, 100, 1, 0, 1))
                                                     .AddTable("head", HeadTable(1000, 6))
                                                     .AddTable("OS/2", OS2Table(3, 800, 2, 0, 2))
                                                     .AddTable("head", HeadTable(256, 12))
                                                     .Build());
    EXPECT_EQ(twice.WeightClass, 800);
    EXPECT_EQ(twice.Selection, 2);
    EXPECT_EQ(twice.UnitsPerEm, 256);
    EXPECT_EQ(twice.LowestRecPPEM, 12);
}

// What UTF-16 decodes to (pairs beyond the BMP, lone surrogates, the end at
// a zero unit) FontText.Utf16JoinsPairsAndReplacesLoneSurrogates checks on
// the decoder the reader hands each record to; here the reader's own part.
TEST(OpenTypeReader, NameTextDecoding) {
    TNameTableBuilder names;
    names.Add(3, 1, 0x409, 6, {0x00, 0x41, 0x00, 0x42, 0x43}); // odd length
    names.Add(3, 1, 0x409, 7, TBytes(40000, 0));               // zero units only
    TNameTableBuilder limits;
    limits.Add(3, 1, 0x409, 9, test::Utf16Be(std::string(20000, 'W')))
        .Add(1, 0, 0, 10, TBytes(20000, 'M'));
    limits.Windows(1, "Family");
    const TOpenTypeFontFile font = ReadOpenType(NamesOnly(names));
    // A last odd byte stands alone as a unit of its own.
    EXPECT_EQ(font.PostScriptName, "ABC");
    EXPECT_EQ(font.Trademark, "");

    const TOpenTypeFontFile limited = ReadOpenType(NamesOnly(limits));
    EXPECT_EQ(limited.Designer, std::string(16384, 'W'));
    EXPECT_EQ(limited.Description, ""); // a Mac record among Windows ones is not taken
    TNameTableBuilder macLimit;
    macLimit.Add(1, 0, 0, 10, TBytes(20000, 'M'));
    EXPECT_EQ(ReadOpenType(NamesOnly(macLimit)).Description, std::string(16384, 'M'));
}

TEST_F(OpenTypeFileTest, FileNamesTheFontFolderAndFilesThatCannotBeOpened) {
    const TBytes font = NamesOnly(TNameTableBuilder().Windows(1, "Bare"));
    const fs::path fontsFolder = FontManager->FontsFolder;
    ASSERT_EQ(fontsFolder, test::TestHome().DataHome() / "fonts");
    test::WriteFile(fontsFolder / "lw-bare-probe.ttf", font);
    const TOpenTypeFontFile bare("lw-bare-probe.ttf");
    fs::remove(fontsFolder / "lw-bare-probe.ttf");
    EXPECT_EQ(bare.FamilyName, "Bare");
    EXPECT_EQ(bare.FileName, FontManager->FontsFolder + "/lw-bare-probe.ttf");
    EXPECT_EQ(bare.GetFileName(true), bare.FileName);
    EXPECT_EQ(bare.GetFileName(false), "lw-bare-probe.ttf");

    const std::string path = Folder.Write("Probe Font.otf", font);
    const TOpenTypeFontFile full(path);
    EXPECT_EQ(full.FileName, path);
    EXPECT_EQ(full.GetFileName(false), "Probe Font.otf");

    // Files that cannot be opened throw with the system's reason.
    const std::string missing = (Folder.Path / "missing.ttf").string();
    try {
        TOpenTypeFontFile opened(missing);
        FAIL() << "a missing file gave a record";
    } catch (const EFontFileError& e) {
        EXPECT_EQ(std::string(e.what()), std::strerror(ENOENT));
        EXPECT_EQ(e.Path, missing);
    }
    fs::create_directories(Folder.Path / "folder.ttf");
    EXPECT_THROW(TOpenTypeFontFile((Folder.Path / "folder.ttf").string()), EFontFileError);
    EXPECT_THROW(TOpenTypeFontFile("lw-not-in-the-font-folder.ttf"), EFontFileError);
}

// Installed needs the font in the system's font list and a file of its name
// in a font folder; a refreshed catalogue sees a font copied there. The
// file's first family is not the one fontconfig lists it by (that is the
// typographic family), and its full name ends with a blank.
TEST_F(OpenTypeFileTest, InstalledOnlyWhenListedAndInTheFontFolderWhateverFamilyAndBlanks) {
    TNameTableBuilder names;
    names.Windows(1, "LwTypo Cond SemBd")
        .Windows(2, "Regular")
        .Windows(4, "LwTypo Condensed SemiBold ")
        .Windows(16, "LwTypo")
        .Windows(17, "Condensed SemiBold");
    const TBytes font = test::MinimalTrueType(names);
    const std::string elsewhere = Folder.Write("lw-probe-installed.ttf", font);
    const std::string renamed = Folder.Write("lw-probe-renamed.ttf", font);
    const fs::path installed = fs::path(FontManager->FontsFolder) / "lw-probe-installed.ttf";

    FontManager->Refresh();
    EXPECT_FALSE(TOpenTypeFontFile(elsewhere).Installed);

    test::WriteFile(installed, font);
    FontManager->Refresh();
    const TOpenTypeFontFile inFolder(installed.string());
    EXPECT_EQ(inFolder.RegistryName, "LwTypo Condensed SemiBold  (TrueType)");
    EXPECT_TRUE(inFolder.Installed);
    // The same font elsewhere counts too: a file of its name is in the folder.
    EXPECT_TRUE(TOpenTypeFontFile(elsewhere).Installed);
    EXPECT_FALSE(TOpenTypeFontFile(renamed).Installed);
    {
        // A font list that cannot be read makes nothing installed.
        test::TFakeFontSystem unreadable;
        unreadable.KeysUnreadable = true;
        // It serves the file, so only the unreadable list can say no.
        unreadable.Fonts["LwTypo Condensed SemiBold  (TrueType)"] =
            TRegValue::FromString("lw-probe-installed.ttf");
        unreadable.AddFace("LwTypo",
                           test::TrueTypeFace("LwTypo Condensed SemiBold", "Regular", NTM_REGULAR));
        EXPECT_FALSE(TOpenTypeFontFile(installed.string()).Installed);
    }
    fs::remove(installed);
    FontManager->Refresh();
    EXPECT_FALSE(TOpenTypeFontFile(elsewhere).Installed);
}

TEST(CollectionReader, EachFaceReadsFromItsOwnDirectoryAndHeadersThatLieAreChecked) {
    const TBytes collection = test::Collection(
        {test::NamedTrueType("Alpha", "Regular"), test::NamedTrueType("Beta", "Bold")});
    TMemoryByteSource source(collection);
    EXPECT_EQ(CollectionDirectories(source).size(), 2u);
    const struct {
        uint32_t Index;
        const char* Family;
        const char* FullName;
    } faces[] = {{0, "Alpha", "Alpha Regular"}, {1, "Beta", "Beta Bold"}};
    for (const auto& face : faces) {
        const TOpenTypeFontFile font(source, 0x0409, face.Index);
        EXPECT_FALSE(font.NotAFont) << face.Index;
        EXPECT_EQ(font.FamilyName, face.Family);
        EXPECT_EQ(font.FullName, face.FullName);
        EXPECT_EQ(font.FaceIndex, face.Index);
        EXPECT_EQ(font.FaceCount, 2u);
        EXPECT_EQ(font.FontType, ftTrueTypeCollection);
        EXPECT_EQ(font.RegistryName, std::string(face.FullName) + " (TrueType)");
        EXPECT_EQ(font.UnitsPerEm, 1000);
    }
    // A face the collection does not hold is no font, and names nothing.
    const TOpenTypeFontFile missing(source, 0x0409, 2);
    EXPECT_TRUE(missing.NotAFont);
    EXPECT_EQ(missing.FamilyName, "");
    // A single font has one face, and no second one.
    const TBytes single = test::NamedTrueType("Gamma", "Regular");
    TMemoryByteSource singleSource(single);
    EXPECT_TRUE(CollectionDirectories(singleSource).empty());
    EXPECT_EQ(TOpenTypeFontFile(singleSource, 0x0409).FaceCount, 1u);
    EXPECT_TRUE(TOpenTypeFontFile(singleSource, 0x0409, 1).NotAFont);

    // Headers that lie are checked against the file. A count far beyond
    // the offsets the file holds: only those count.
    TBytes huge = collection;
    std::fill_n(huge.begin() + 8, 4, 0xFF);
    TMemoryByteSource hugeSource(huge);
    EXPECT_LE(CollectionDirectories(hugeSource).size(), (huge.size() - 12) / 4);
    // A first face pointing past the end keeps its place; the second still
    // reads as the second.
    TBytes pastEnd = collection;
    const TBytes end = test::TByteWriter().BE32(uint32_t(collection.size() - 4)).Bytes();
    std::copy(end.begin(), end.end(), pastEnd.begin() + 12);
    TMemoryByteSource pastEndSource(pastEnd);
    const std::vector<uint64_t> directories = CollectionDirectories(pastEndSource);
    ASSERT_EQ(directories.size(), 2u);
    EXPECT_EQ(directories[0], kNoDirectory);
    EXPECT_TRUE(TOpenTypeFontFile(pastEndSource, 0x0409, 0).NotAFont);
    EXPECT_EQ(TOpenTypeFontFile(pastEndSource, 0x0409, 1).FamilyName, "Beta");
    // A header cut short, or one that holds no face, is no font.
    for (size_t size : {size_t(4), size_t(12), size_t(14)}) {
        TBytes cut(collection.begin(), collection.begin() + long(size));
        if (size == 12) {
            std::fill_n(cut.begin() + 8, 4, 0);
        }
        TMemoryByteSource cutSource(cut);
        EXPECT_TRUE(TOpenTypeFontFile(cutSource, 0x0409).NotAFont) << size;
    }
}

TEST_F(OpenTypeFileTest, EveryFaceOfACollectionFileGivesARecord) {
    const std::string file =
        Folder.Write("pair.TTC", test::Collection({test::NamedTrueType("Alpha", "Regular"),
                                                   test::NamedTrueType("Beta", "Bold")}));
    const std::vector<std::unique_ptr<TFontFile>> faces = TFontManager::ReadFontFaces(file);
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0]->FamilyName, "Alpha");
    EXPECT_EQ(faces[1]->FamilyName, "Beta");
    EXPECT_EQ(faces[1]->FaceIndex, 1u);
    // One file: installing any face copies that file.
    EXPECT_EQ(faces[1]->GetFiles(true), TFontFiles(file));
    const std::string single = Folder.Write("one.ttf", test::NamedTrueType("Gamma", "Regular"));
    EXPECT_EQ(TFontManager::ReadFontFaces(single).size(), 1u);
    EXPECT_TRUE(TFontManager::ReadFontFaces(Folder.Write("x.fon", {1, 2})).empty());
}

} // namespace
} // namespace lw
