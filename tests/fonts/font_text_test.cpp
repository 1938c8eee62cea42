#include "base/language_ids.h"
#include "fonts/font_text.h"
#include "platform/linux/linux_platform.h"
#include "scoped_locale.h"

#include <gtest/gtest.h>

#include <vector>

namespace lw {
namespace {

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

TEST(FontText, Utf16JoinsPairsAndReplacesLoneSurrogates) {
    const std::vector<uint16_t> units = {'A', 0xD83D, 0xDE00, 0x00E9, 0x4E2D};
    EXPECT_EQ(Utf16ToUtf8(units), "A\xF0\x9F\x98\x80\xC3\xA9\xE4\xB8\xAD");
    EXPECT_EQ(Utf16ToUtf8(std::vector<uint16_t>{0xD83D, 'A'}), "\xEF\xBF\xBD"
                                                               "A");
    EXPECT_EQ(Utf16ToUtf8(std::vector<uint16_t>{'A', 0xDE00}), "A\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::vector<uint16_t>{'A', 0xD83D}), "A\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::vector<uint16_t>{0xDE00, 0xD83D}), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::vector<uint16_t>{'A', 0, 'B'}), "A");
    EXPECT_EQ(Utf16ToUtf8(std::vector<uint16_t>{0xFFFF, 0x10}), "\xEF\xBF\xBF\x10");
}

TEST(FontText, MacRomanAndWindows1252MatchTheirCodePagesAndTheUtf8Check) {
    std::vector<uint8_t> high;
    for (int b = 0x80; b <= 0xFF; ++b) {
        high.push_back(static_cast<uint8_t>(b));
    }
    EXPECT_EQ(MacRomanToUtf8(high),
              "ÄÅÇÉÑÖÜáàâäãåçéèêëíìîïñóòôöõúùûü†°¢£§•¶ß®©™´¨≠ÆØ∞±≤≥¥µ∂∑∏π∫ªºΩæø"
              "¿¡¬√ƒ≈∆«»…\u00A0ÀÃÕŒœ–—“”‘’÷◊ÿŸ⁄€‹›ﬁﬂ‡·‚„‰ÂÊÁËÈÍÎÏÌÓÔ\uF8FFÒÚÛÙıˆ˜¯˘˙˚¸˝˛ˇ");
    EXPECT_EQ(MacRomanToUtf8(Bytes("Caf\x8E\0tail")), "Café");
    EXPECT_EQ(MacRomanToUtf8(Bytes("plain ASCII")), "plain ASCII");

    EXPECT_EQ(Windows1252ToUtf8(Bytes("\x80\x81\x8A\x93x\x94\x9F\xA0\xE9\xFF")),
              "€\u0081Š“x”Ÿ\u00A0éÿ");
    EXPECT_TRUE(IsValidUtf8("Café \xF0\x9F\x98\x80"));
    for (const char* bad : {"\xC0\x80", "\xC3", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE0\x80\xAF",
                            "\xF8\x88\x80\x80\x80", "a\xFF", "\x80"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
    EXPECT_EQ(BytesToText(Bytes("Caf\xC3\xA9")), "Café");
    EXPECT_EQ(BytesToText(Bytes("Caf\xE9")), "Café");
    // One invalid byte makes the whole text Windows-1252.
    EXPECT_EQ(BytesToText(Bytes("\xC3\xA9 \xA9")), "Ã© ©");
    EXPECT_EQ(ToValidUtf8("a\xFF"
                          "b\xC3\xA9\xC3"),
              "a\xEF\xBF\xBD"
              "bé\xEF\xBF\xBD");
}

TEST(LanguageIds, LocaleNamesGiveWindowsLanguageIds) {
    const std::pair<const char*, uint16_t> cases[] = {
        {"sr_RS.UTF-8", 0x081A},
        {"sr_RS@latin", 0x081A},
        {"sr_RS@cyrillic", 0x0C1A},
        {"sr_RS.UTF-8@cyrillic", 0x0C1A},
        {"sr", 0x081A},
        {"sr_ME", 0x2C1A},
        {"de_DE", 0x0407},
        {"de_AT.UTF-8", 0x0C07},
        {"de_CH", 0x0807},
        {"fr_FR.UTF-8@euro", 0x040C},
        {"fr_CA", 0x0C0C},
        {"en_US.UTF-8", 0x0409},
        {"en_GB", 0x0809},
        {"en_AU", 0x0C09},
        {"es_ES", 0x0C0A},
        {"es_MX", 0x080A},
        {"pt_BR", 0x0416},
        {"zh_TW", 0x0404},
        {"zh_CN.GB18030", 0x0804},
        {"ja_JP.eucJP", 0x0411},
        {"hr_HR", 0x041A},
        {"bs_BA", 0x141A},
        {"ru_RU.KOI8-R", 0x0419},
        {"nb_NO", 0x0414},
        {"nn_NO", 0x0814},
        {"uz_UZ@cyrillic", 0x0843},
        {"az_AZ", 0x042C},
        // A country the table does not know: the language's usual id.
        {"de_BR", 0x0407},
        {"fr_XX", 0x040C},
        {"sr_XX@cyrillic", 0x0C1A},
        {"DE_de", 0x0407},
        // Nothing known: US English.
        {"C", 0x0409},
        {"POSIX", 0x0409},
        {"C.UTF-8", 0x0409},
        {"", 0x0409},
        {"eo", 0x0409},
        {"xx_YY.UTF-8", 0x0409},
        {"_DE", 0x0409},
    };
    for (const auto& [name, id] : cases) {
        EXPECT_EQ(LangIdFromLocaleName(name), id) << name;
    }
}

// The adapter reads the locale variables in POSIX order of precedence.
TEST(LanguageIds, TheLinuxLocaleReadsLcAllThenLcMessagesThenLang) {
    const struct {
        const char* All;
        const char* Messages;
        const char* Lang;
        uint16_t Id;
    } cases[] = {
        {"sr_RS@latin", "de_DE", "fr_FR", 0x081A}, {"", "de_DE.UTF-8", "fr_FR", 0x0407},
        {nullptr, nullptr, "fr_FR.UTF-8", 0x040C}, {nullptr, nullptr, nullptr, 0x0409},
        {"C", "de_DE", nullptr, 0x0409},
    };
    const std::unique_ptr<ISystemLocale> locale = MakeLinuxSystemLocale();
    for (const auto& c : cases) {
        const test::TScopedLocale set(c.All, c.Messages, c.Lang);
        EXPECT_EQ(locale->DefaultLangID(), c.Id) << "case " << &c - cases;
    }
}

} // namespace
} // namespace lw
