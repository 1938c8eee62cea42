#include "base/string_table.h"
#include "base/strings.h"
#include "font_builder.h"
#include "platform/linux/linux_platform.h"
#include "platform/services.h"
#include "test_env.h"
#include "test_home.h"
#include "told.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::TestPrompts;
using test::TextBytes;

std::map<std::string, std::vector<uint8_t>> BundleEntries(const std::string& strings) {
    return {{"strings.txt", TextBytes(strings)},
            {"BMP_NEGRITA", TextBytes("N")},
            {"BMP_CURSIVA", TextBytes("K")},
            {"BMP_SUBRAYADO", TextBytes("S")}};
}

// Puts a bundle file into a folder of its own and makes it the program's folder.
class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = test::TestHome().Root() / "bundle-folder";
        fs::create_directories(Folder);
        Source = std::make_unique<TFolderBundleSource>(Folder.string());
        Real = Platform().Bundles;
        Platform().Bundles = Source.get();
        TestPrompts().Reset();
        SetLanguage(0);
    }
    void TearDown() override {
        SetLanguage(0);
        Platform().Bundles = Real;
        fs::remove_all(Folder);
    }
    void WriteBundleFile(const std::vector<uint8_t>& bytes,
                         const char* name = kLanguageBundleFile) {
        test::WriteFile(Folder / name, bytes);
    }
    void ExpectLoadFailureReported() {
        ASSERT_TRUE(test::ToldOnce("Error loading DLL", "Error", TMsgIcon::Error));
        EXPECT_EQ(GetLanguage(), 0);
        EXPECT_EQ(LoadStr(20), "Potvrda");
        TestPrompts().Reset();
    }

    fs::path Folder;
    std::unique_ptr<TFolderBundleSource> Source;
    ILanguageBundleSource* Real = nullptr;
};

TEST_F(LanguageTest, LongStringsAreCutTo4095CharactersAndMissingOnesAreEmpty) {
    const std::string longText(5000, 'x');
    const std::string longUtf8 = std::string(4094, 'a') + "čćž";
    WriteBundleFile(WriteBundle(BundleEntries("1\t" + longText + "\n2\t" + longUtf8 + "\n")));
    SetLanguage(1);
    ASSERT_EQ(GetLanguage(), 1);
    EXPECT_EQ(LoadStr(1), std::string(4095, 'x'));
    // Cut by characters, never inside one.
    EXPECT_EQ(LoadStr(2), std::string(4094, 'a') + "č");
    EXPECT_EQ(LoadStr(20), "");
    EXPECT_EQ(LoadStr(-1), "");
}

TEST_F(LanguageTest, MissingOrDamagedBundleShowsTheFixedErrorAndKeepsTheBuiltInTexts) {
    SetLanguage(1);
    ExpectLoadFailureReported();

    const std::vector<uint8_t> good = WriteBundle(BundleEntries("20\tConfirmar\n"));
    auto noPicture = BundleEntries("20\tConfirmar\n");
    noPicture.erase("BMP_CURSIVA");
    // A file that is no bundle, one without a picture, one whose texts do not
    // parse; every cut bundle is refused by the bundle test below.
    const std::vector<std::vector<uint8_t>> damaged = {
        TextBytes("MZ\x90\x00 this is no bundle"), WriteBundle(noPicture),
        WriteBundle(BundleEntries("20 without a tab\n"))};
    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE("damaged bundle " + std::to_string(i));
        WriteBundleFile(damaged[i]);
        SetLanguage(1);
        ExpectLoadFailureReported();
    }

    WriteBundleFile(good);
    SetLanguage(1);
    EXPECT_TRUE(TestPrompts().Messages.empty());
    EXPECT_EQ(LoadStr(20), "Confirmar");
    EXPECT_EQ(*LoadLanguageBitmapData("BMP_CURSIVA"), TextBytes("K"));
    SetLanguage(0);
    EXPECT_EQ(LoadStr(20), "Potvrda");
}

TEST_F(LanguageTest, TwoIsEnglishFromItsOwnBundleOtherNumbersOnlyChangeTheNumberInForce) {
    // A number no bundle has keeps the built-in texts and tells nothing.
    SetLanguage(7);
    EXPECT_EQ(GetLanguage(), 7);
    EXPECT_EQ(LoadStr(21), "Upozorenje");
    EXPECT_TRUE(TestPrompts().Messages.empty());

    SetLanguage(kEnglishLanguage);
    ExpectLoadFailureReported();
    WriteBundleFile(WriteBundle(BundleEntries("20\tConfirm\n")), kEnglishBundleFile);
    SetLanguage(kEnglishLanguage);
    EXPECT_TRUE(TestPrompts().Messages.empty());
    EXPECT_EQ(GetLanguage(), kEnglishLanguage);
    EXPECT_EQ(LoadStr(20), "Confirm");
    // The Spanish bundle is another file, and is not there.
    SetLanguage(1);
    ExpectLoadFailureReported();
}

TEST(LocaleLanguage, TheFirstLocaleVariableSetDecides) {
    EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "en_US.UTF-8"), kEnglishLanguage);
    EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "es_ES.UTF-8"), 1);
    EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "es_AR"), 1);
    EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "sr_RS@latin"), 0);
    EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "sr_ME.UTF-8"), 0);
    EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, nullptr), kEnglishLanguage);
    EXPECT_EQ(LanguageOfLocale("", "", ""), kEnglishLanguage);
    EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "de_DE.UTF-8"), kEnglishLanguage);
    EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "C"), kEnglishLanguage);
    // LC_ALL before LC_MESSAGES before LANG; an empty one counts as unset.
    EXPECT_EQ(LanguageOfLocale("C.UTF-8", "sr_RS", "es_ES"), kEnglishLanguage);
    EXPECT_EQ(LanguageOfLocale("", "sr_RS", "es_ES"), 0);
    EXPECT_EQ(LanguageOfLocale(nullptr, "", "es_ES"), 1);
    EXPECT_EQ(LanguageOfLocale("es_MX.UTF-8", nullptr, "en_GB"), 1);
}

TEST(Bundle, EveryTruncationAndCorruptionIsRejectedWithoutReadingOutside) {
    const std::vector<uint8_t> good = WriteBundle(BundleEntries("1\ta\n"));
    ASSERT_TRUE(ParseBundle(good));
    for (size_t n = 0; n < good.size(); ++n) {
        EXPECT_FALSE(
            ParseBundle(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(n))));
    }
    // Sizes that overflow, or that claim more than the bundle holds.
    EXPECT_FALSE(ParseBundle(TextBytes("LWBUNDLE1\nx\n99999999999999999999\nab\nEND\n")));
    EXPECT_FALSE(ParseBundle(TextBytes("LWBUNDLE1\nx\n18446744073709551615\nab\nEND\n")));
    EXPECT_FALSE(ParseBundle(TextBytes("LWBUNDLE1\nx\n2\nab\nx\n2\ncd\nEND\n"))); // repeated name
    EXPECT_FALSE(ParseBundle(TextBytes("LWBUNDLE1\nEND\ntrailing")));
    EXPECT_FALSE(ParseBundle(TextBytes("LWBUNDLE1\n" + std::string(300, 'n') + "\n1\na\nEND\n")));
}

TEST(StringTable, ParsesEscapesAndRejectsMalformedLines) {
    auto table = TStringTable::Parse("# comment\n\n7\tPrimer od \n8\ta\\nb\\tc\\\\d\n9\t\r\n");
    ASSERT_TRUE(table);
    EXPECT_EQ(*table->Find(7), "Primer od ");
    EXPECT_EQ(*table->Find(8), "a\nb\tc\\d");
    EXPECT_EQ(*table->Find(9), "");
    EXPECT_EQ(table->Find(10), nullptr);
    std::string error;
    EXPECT_FALSE(TStringTable::Parse("1\ta\n1\tb\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
    EXPECT_FALSE(TStringTable::Parse("x1\ta\n"));
    EXPECT_FALSE(TStringTable::Parse("1\tbad \\q\n"));
    EXPECT_FALSE(TStringTable::Parse("1\tends in \\\n"));
}

TEST(Format, DirectivesArgumentsAndMismatchesNeverCrash) {
    EXPECT_EQ(FormatText("Broj: %d, %s!", {42LL, std::string("Arial")}), "Broj: 42, Arial!");
    EXPECT_EQ(FormatText("%5.1f|%-4d|%x|100%%", {2.54, 7LL, 255LL}), "  2.5|7   |ff|100%");
    EXPECT_EQ(FormatText("%d and %s", {}), " and ");
    EXPECT_EQ(FormatText("%d", {std::string("text")}), "text");
    EXPECT_EQ(FormatText("%s", {12LL}), "12");
    EXPECT_EQ(FormatText("%q %", {1LL}), "%q %");
    EXPECT_EQ(FormatText("%999999999d", {1LL}).size(), 999u);
    EXPECT_EQ(FmtLoadStr(10010, 5), "Broj instaliranih fontova je:  5");
    EXPECT_EQ(FmtLoadStr(10026, ""), "Vrsta:  ");
}

TEST(StripMenuMarks, RemovesTheFirstAmpersandAndTheFirstEllipsisOnce) {
    EXPECT_EQ(LoadStr(10110), "Stam&paj primer...");
    EXPECT_EQ(StripMenuMarks(LoadStr(10110)), "Stampaj primer");
    EXPECT_EQ(StripMenuMarks("Fish && &Chips"), "Fish & &Chips");
    EXPECT_EQ(StripMenuMarks("a......"), "a...");
    EXPECT_EQ(StripMenuMarks("plain"), "plain");
}

std::optional<TLanguageModule> ShippedLanguage(const char* bundleFile) {
    TFolderBundleSource shipped(test::BuildBinFolder());
    auto bytes = shipped.ReadBundle(bundleFile);
    if (!bytes) {
        ADD_FAILURE() << "the build puts " << bundleFile << " beside the executables";
        return std::nullopt;
    }
    return LanguageModuleFromBundle(*bytes);
}

// The types of a text's arguments, in order.
std::vector<std::string> Directives(const std::string& text) {
    static const std::regex directive("%[-+ #0]*[0-9]*(\\.[0-9]+)?[sduxXfge%]");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), directive);
         it != std::sregex_iterator(); ++it) {
        found.push_back(it->str().substr(it->str().size() - 1));
    }
    return found;
}

// Every shipped table holds the built-in table's numbers, and each text
// takes the same arguments in the same order and keeps a hint's two parts,
// so no message loses or garbles a value when the language changes.
void ExpectSameNumbersDirectivesAndHints(const TStringTable& other) {
    const TStringTable& first = BuiltInLanguage().Strings;
    EXPECT_EQ(first.Numbers(), other.Numbers());
    for (int id : first.Numbers()) {
        const std::string* text = other.Find(id);
        ASSERT_NE(text, nullptr) << "string " << id << " is missing";
        const std::string& own = *first.Find(id);
        EXPECT_EQ(Directives(own), Directives(*text)) << "string " << id;
        EXPECT_EQ(own.find('|') == std::string::npos, text->find('|') == std::string::npos)
            << "string " << id << ": " << *text;
        EXPECT_EQ(own.empty(), text->empty()) << "string " << id << ": " << *text;
    }
}

TEST(ShippedTables, BothLanguagesHaveTheSameNumbersAndDirectives) {
    auto second = ShippedLanguage(kLanguageBundleFile);
    ASSERT_TRUE(second);
    ExpectSameNumbersDirectivesAndHints(second->Strings);
    const TStringTable& first = BuiltInLanguage().Strings;
    for (int id : {1, 4, 20, 21, 22, 24, 25, 50, 51, 52, 55, 56, 10002, 10025, 30000, 30005}) {
        EXPECT_NE(first.Find(id), nullptr) << id;
    }
    for (const char* name : kLanguageBitmapNames) {
        EXPECT_NE(second->Bitmaps.at(name), BuiltInLanguage().Bitmaps.at(name)) << name;
    }
}

// English translates every text; the few that read the same in both
// languages (names of classes and formats, shortcuts, "OK") are listed here,
// so a number copied across untranslated is caught.
TEST(ShippedTables, EnglishHasATextForEveryNumberAndNoneLeftInSerbian) {
    auto english = ShippedLanguage(kEnglishBundleFile);
    ASSERT_TRUE(english);
    ExpectSameNumbersDirectivesAndHints(english->Strings);
    const std::set<std::string> sameInBoth = {"012 ABCabc(FGfg)XYZxyz-456789",
                                              "Garalde",
                                              "Clarendon",
                                              "Font",
                                              "ANSI",
                                              "&OK",
                                              "&Plus",
                                              "&Minus",
                                              "TrueType",
                                              "OpenType",
                                              "Type 1",
                                              "TrueType Collection",
                                              "Bitmap font"};
    const TStringTable& serbian = BuiltInLanguage().Strings;
    for (int id : serbian.Numbers()) {
        const std::string& own = *serbian.Find(id);
        const std::string* text = english->Strings.Find(id);
        if (text != nullptr && !own.empty() && *text == own) {
            EXPECT_TRUE(sameInBoth.count(own) > 0 || own.starts_with("Ctrl+"))
                << "string " << id << " is still Serbian: " << own;
        }
    }
    EXPECT_EQ(*english->Strings.Find(14107), "&All pages");
    EXPECT_EQ(*english->Strings.Find(14108), "O&dd pages");
    EXPECT_EQ(*english->Strings.Find(14109), "&Even pages");
    // B, I and U, as the built-in language draws them.
    for (const char* name : kLanguageBitmapNames) {
        EXPECT_EQ(english->Bitmaps.at(name), BuiltInLanguage().Bitmaps.at(name)) << name;
    }
}

} // namespace
} // namespace lw
