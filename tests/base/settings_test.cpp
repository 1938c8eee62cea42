#include "base/settings.h"
#include "base/strings.h"
#include "memory_hive.h"
#include "scoped_locale.h"
#include "test_env.h"
#include "test_home.h"
#include "told.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

using test::TestPrompts;

// A window that takes any size at or above its minimum, like the real one.
class TFakeHost : public ISettingsHost {
public:
    TSize Monitor{1920, 1080};
    TBounds Bounds{0, 0, 925, 800};
    TBounds NormalBounds{};
    bool Maximized = false;
    std::string Folder;
    int Rebuilds = 0;
    int Applies = 0;

    TSize MonitorSize() const override { return Monitor; }
    TBounds WindowBounds() const override { return Maximized ? NormalBounds : Bounds; }
    void SetWindowSize(int width, int height) override {
        Bounds.Width = std::max(width, 925);
        Bounds.Height = std::max(height, 800);
    }
    void SetWindowPosition(int left, int top) override {
        Bounds.Left = left;
        Bounds.Top = top;
    }
    bool IsMaximized() const override { return Maximized; }
    void SetMaximized() override {
        NormalBounds = Bounds;
        Maximized = true;
        Bounds = {0, 0, Monitor.Width, Monitor.Height};
    }
    std::string NotInstalledPath() const override { return Folder; }
    void SetNotInstalledPath(const std::string& path) override { Folder = path; }
    void RebuildFolderTree() override { ++Rebuilds; }
    void ApplySettings() override { ++Applies; }
};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestPrompts().Reset();
        SetLanguage(0);
        Options = TOptions{};
    }
    void TearDown() override { SetLanguage(0); }
    TRegValues& Stored() { return Hive.ProgramKey(); }
    std::string Documents() const { return (test::TestHome().Documents()).string() + "/"; }

    test::TScopedMemoryHive Hive;
    TFakeHost Host;
    // A Serbian desktop unless a test says otherwise, so a first start here
    // speaks the built-in language.
    test::TScopedLocale Locale{nullptr, nullptr, "sr_RS@latin"};
};

TEST_F(SettingsTest, FirstRunGivesEveryDefaultSizedByTheMonitorAndACentredMinimumWindow) {
    LoadSettings(Host);
    EXPECT_TRUE(TestPrompts().Messages.empty());
    EXPECT_EQ(Host.Applies, 1);
    EXPECT_EQ(GetLanguage(), 0);
    EXPECT_FALSE(Options.DeleteReadOnly);
    EXPECT_TRUE(Options.MoveToTrash);
    EXPECT_TRUE(Options.CopyBeforeDelete);
    EXPECT_EQ(Options.FontSize, 24);
    EXPECT_EQ(Options.ListFontSize, 16);
    EXPECT_EQ(Options.ListColumns, 3);
    EXPECT_EQ(Options.FontColor, clWindowText);
    EXPECT_EQ(Options.BackgroundColor, clWindow);
    EXPECT_EQ(Options.ListNormalColor, clWindowText);
    EXPECT_EQ(Options.ListSelectedColor, clHighlight);
    EXPECT_EQ(Options.ListBackgroundColor, clWindow);
    EXPECT_EQ(Options.DefaultCopyFolder, Documents());
    EXPECT_EQ(Options.LastFileOpFolder, Documents());
    EXPECT_EQ(Options.SampleText, LoadStr(10025));
    EXPECT_FALSE(Options.SampleText.empty());
    EXPECT_EQ(Options.ListSampleText, "");
    EXPECT_EQ(Options.ListWidth, 1920 - 240);
    EXPECT_EQ(Options.ListHeight, 1080 - 135);
    EXPECT_EQ(Options.ListLeft, 25);
    EXPECT_EQ(Options.ListTop, 25);
    EXPECT_TRUE(Options.ShowListWindow);
    EXPECT_TRUE(Options.ListMaximized);
    EXPECT_DOUBLE_EQ(Options.Print.TopMargin, 1.0);
    EXPECT_DOUBLE_EQ(Options.Print.LeftMargin, 1.0);
    EXPECT_TRUE(Options.Print.UseCentimeters);
    EXPECT_DOUBLE_EQ(Options.Print.UnitFactor, 2.54);
    EXPECT_EQ(Options.Print.Range, 0);
    EXPECT_EQ(std::vector<int>(
                  {Host.Bounds.Left, Host.Bounds.Top, Host.Bounds.Width, Host.Bounds.Height}),
              std::vector<int>({(1920 - 925) / 2, (1080 - 800) / 2, 925, 800}));
    EXPECT_FALSE(Host.Maximized);
    EXPECT_EQ(Host.Folder, "");

    // Odd monitor sizes round the defaults toward zero.
    Host.Monitor = {1001, 799};
    LoadSettings(Host);
    EXPECT_EQ(Options.ListWidth, 1001 - 125);
    EXPECT_EQ(Options.ListHeight, 799 - 99);
    EXPECT_EQ(Host.Bounds.Left, (1001 - 925) / 2);
    EXPECT_EQ(Host.Bounds.Top, 0); // (799 - 800) / 2 rounds toward zero
}

TEST_F(SettingsTest, StoredValuesAreUsedUnchangedAndTheCentringUsesTheRestoredSize) {
    Stored()["Font Size"] = TRegValue::FromInteger(static_cast<uint32_t>(-3));
    Stored()["Font color"] = TRegValue::FromInteger(0x000000FF);
    Stored()["Window width"] = TRegValue::FromInteger(1200);
    Stored()["Window height"] = TRegValue::FromInteger(900);
    Stored()["Use centimeters"] = TRegValue::FromInteger(0);
    Stored()["Not installed tab path"] = TRegValue::FromString("/srv/fonts");
    LoadSettings(Host);
    EXPECT_EQ(Options.FontSize, -3);
    EXPECT_EQ(Options.FontColor, RGBColor(255, 0, 0));
    EXPECT_FALSE(Options.Print.UseCentimeters);
    EXPECT_DOUBLE_EQ(Options.Print.UnitFactor, 1.0);
    EXPECT_EQ(Host.Bounds.Left, (1920 - 1200) / 2);
    EXPECT_EQ(Host.Bounds.Top, (1080 - 900) / 2);
    EXPECT_EQ(Host.Folder, "/srv/fonts");
}

TEST_F(SettingsTest, EmptySampleTextGivesTheLanguagesSampleAndAMistypedSizeGives24Silently) {
    Stored()["Sample text"] = TRegValue::FromString("");
    Stored()["Font Size"] = TRegValue::FromString("36");
    Stored()["Print top margin"] = TRegValue::FromBinary({0, 0, 0x20, 0x41});
    LoadSettings(Host);
    EXPECT_EQ(Options.SampleText, LoadStr(10025));
    EXPECT_EQ(Options.FontSize, 24);
    EXPECT_DOUBLE_EQ(Options.Print.TopMargin, 1.0);
    EXPECT_TRUE(TestPrompts().Messages.empty());
}

TEST_F(SettingsTest, SampleTextStoredAsIntegerStopsReadingWithTheReadError) {
    Stored()["Font Size"] = TRegValue::FromInteger(30);
    Stored()["Sample text"] = TRegValue::FromInteger(1);
    Stored()["Font list - Number of columns"] = TRegValue::FromInteger(5);
    LoadSettings(Host);
    ASSERT_TRUE(test::ToldOnce("Greska pristupa Windows Registry.", "<Greska>", TMsgIcon::Error));
    EXPECT_EQ(Options.FontSize, 30);   // read before the failure
    EXPECT_EQ(Options.SampleText, ""); // the failing value
    EXPECT_FALSE(Options.MoveToTrash); // never reached: keeps its start value
    EXPECT_EQ(Options.ListColumns, 0);
    EXPECT_EQ(Host.Rebuilds, 1);
    EXPECT_EQ(Host.Applies, 1);
}

TEST_F(SettingsTest, DamagedStoreIsReportedOnceAndEverySettingTakesItsDefault) {
    Hive.Damaged = true;
    LoadSettings(Host);
    ASSERT_TRUE(test::ToldOnce("Greska pristupa Windows Registry.", "<Greska>"));
    EXPECT_EQ(Options.FontSize, 24);
    EXPECT_TRUE(Options.MoveToTrash);
    EXPECT_EQ(Host.Bounds.Width, 925);
    EXPECT_EQ(Host.Applies, 1);
}

TEST_F(SettingsTest, FirstStartTakesTheLocalesLanguageAndKeepsIt) {
    const std::pair<const char*, int> cases[] = {{"en_US.UTF-8", kEnglishLanguage},
                                                 {"es_ES.UTF-8", 1},
                                                 {"sr_RS@latin", 0},
                                                 {nullptr, kEnglishLanguage}};
    for (const auto& [lang, expected] : cases) {
        const std::string shown = lang == nullptr ? "unset" : lang;
        test::TScopedLocale locale(nullptr, nullptr, lang);
        Stored().clear();
        LoadSettings(Host);
        EXPECT_EQ(GetLanguage(), expected) << shown;
        EXPECT_EQ(Options.SampleText, LoadStr(10025)) << shown;
        EXPECT_TRUE(TestPrompts().Messages.empty()) << shown;
        SaveSettings(Host);
        ASSERT_EQ(Stored().count("Language"), 1u) << shown;
        EXPECT_EQ(Stored().at("Language").Integer, static_cast<uint32_t>(expected)) << shown;
    }
    EXPECT_EQ(LoadStr(20), "Confirm") << "the English bundle lies beside the tests";
}

TEST_F(SettingsTest, AStoredLanguageWinsOverTheLocaleEvenOneWithoutABundle) {
    test::TScopedLocale spanishDesktop(nullptr, "es_ES.UTF-8", "en_GB.UTF-8");
    // A number no bundle has keeps the built-in texts and is written back.
    Stored()["Language"] = TRegValue::FromInteger(7);
    LoadSettings(Host);
    EXPECT_EQ(GetLanguage(), 7);
    EXPECT_EQ(LoadStr(20), "Potvrda");
    EXPECT_TRUE(TestPrompts().Messages.empty());
    SaveSettings(Host);
    EXPECT_EQ(Stored().at("Language").Integer, 7u);

    Stored()["Language"] = TRegValue::FromInteger(0);
    LoadSettings(Host);
    EXPECT_EQ(GetLanguage(), 0);
    EXPECT_EQ(LoadStr(20), "Potvrda");
    Stored()["Language"] = TRegValue::FromInteger(kEnglishLanguage);
    LoadSettings(Host);
    EXPECT_EQ(GetLanguage(), kEnglishLanguage);
    EXPECT_EQ(LoadStr(20), "Confirm");
    Stored().erase("Language");
    LoadSettings(Host);
    EXPECT_EQ(GetLanguage(), 1) << "LC_MESSAGES comes before LANG";
}

TEST_F(SettingsTest, AMaximizedWindowIsSavedAndOpensMaximizedOverItsNormalBounds) {
    Host.Bounds = {30, 40, 1100, 820};
    Host.SetMaximized();
    SaveSettings(Host);
    EXPECT_TRUE(Host.Maximized) << "saving leaves the window as the user has it";
    const std::pair<const char*, uint32_t> stored[] = {{"Maximized", 1},
                                                       {"Window width", 1100},
                                                       {"Window height", 820},
                                                       {"Window left", 30},
                                                       {"Window top", 40}};
    for (const auto& [name, value] : stored) {
        EXPECT_EQ(Stored().at(name).Integer, value) << name;
    }
    TFakeHost next;
    LoadSettings(next);
    EXPECT_TRUE(next.Maximized);
    const TBounds normal = next.WindowBounds();
    EXPECT_EQ(std::vector<int>({normal.Left, normal.Top, normal.Width, normal.Height}),
              std::vector<int>({30, 40, 1100, 820}));
}

TEST_F(SettingsTest, SaveThenLoadGivesBackEveryOptionWithItsType) {
    LoadSettings(Host);
    Options.FontSize = 48;
    Options.SampleText = "Ćao\nsvete";
    Options.ListSelectedColor = RGBColor(1, 2, 3);
    Options.Print.RightMargin = 2.25;
    Options.Print.UseCentimeters = false;
    Options.DeleteReadOnly = true;
    Host.Folder = "/tmp/fonts";
    SaveSettings(Host);
    EXPECT_EQ(Stored().at("Font Size").Type, TRegDataType::Integer);
    EXPECT_EQ(Stored().at("Sample text").Type, TRegDataType::String);
    EXPECT_EQ(Stored().at("Print right margin").Type, TRegDataType::Binary);
    EXPECT_EQ(Stored().at("Delete read-only files").Integer, 1u);
    EXPECT_EQ(Stored().count("Last file operarion folder"), 1u);
    const TOptions saved = Options;
    Options = TOptions{};
    TFakeHost fresh;
    LoadSettings(fresh);
    EXPECT_EQ(Options.FontSize, saved.FontSize);
    EXPECT_EQ(Options.SampleText, saved.SampleText);
    EXPECT_EQ(Options.ListSelectedColor, saved.ListSelectedColor);
    EXPECT_DOUBLE_EQ(Options.Print.RightMargin, 2.25);
    EXPECT_DOUBLE_EQ(Options.Print.UnitFactor, 1.0);
    EXPECT_TRUE(Options.DeleteReadOnly);
    EXPECT_EQ(fresh.Folder, "/tmp/fonts");
    EXPECT_TRUE(TestPrompts().Messages.empty());
}

TEST_F(SettingsTest, AFailedWriteShowsTheWriteErrorAndNothingElse) {
    Hive.FailSave = true;
    SaveSettings(Host);
    ASSERT_TRUE(
        test::ToldOnce("Greska za vreme upisa u Windows Registar.", "Greska ", TMsgIcon::Error));
    EXPECT_TRUE(Hive.Keys.empty());
}

} // namespace
} // namespace lw
