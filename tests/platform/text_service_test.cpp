#include "controls/qt_colors.h"
#include "platform/services.h"
#include "test_env.h"

#include <QPalette>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace lw {
namespace {

TEST(TextService, ComparesUpperCasesAndCollatesBeyondAsciiIgnoringCase) {
    const ITextService& text = Text();
    EXPECT_EQ(text.CompareIgnoreCase("ĆEVAPI", "ćevapi"), 0);
    EXPECT_LT(text.CompareIgnoreCase("arial", "Bodoni"), 0);
    EXPECT_EQ(text.Upper("đurđevak straße"), "ĐURĐEVAK STRASSE");
    EXPECT_EQ(text.Upper("Ωmega"), "ΩMEGA");
    // Collation sorts ignoring case where byte order would not.
    std::vector<std::string> families = {"cherry", "Banana", "apple", "Zapf", "éclair"};
    std::sort(families.begin(), families.end(),
              [](const std::string& a, const std::string& b) { return Text().Collate(a, b) < 0; });
    EXPECT_EQ(families, (std::vector<std::string>{"apple", "Banana", "cherry", "éclair", "Zapf"}));
    EXPECT_EQ(Text().Collate("Arial", "arial"), 0);
}

TEST(Hourglass, NestsAndIsRestoredWhenWorkThrows) {
    test::TestPrompts().Reset();
    try {
        THourglass outer;
        EXPECT_EQ(test::TestPrompts().BusyDepth, 1);
        {
            THourglass inner;
            EXPECT_EQ(test::TestPrompts().BusyDepth, 2);
        }
        throw std::runtime_error("work failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(test::TestPrompts().BusyDepth, 0);
    EXPECT_EQ(test::TestPrompts().BusyCount, 2);
}

TEST(Colors, SystemColoursResolveThroughThePaletteAndPlainOnesByTheirBytes) {
    QPalette palette;
    palette.setColor(QPalette::Text, QColor(1, 2, 3));
    palette.setColor(QPalette::Base, QColor(250, 251, 252));
    palette.setColor(QPalette::Highlight, QColor(10, 20, 30));
    EXPECT_EQ(ResolveColor(clWindowText, palette), QColor(1, 2, 3));
    EXPECT_EQ(ResolveColor(clWindow, palette), QColor(250, 251, 252));
    EXPECT_EQ(ResolveColor(clHighlight, palette), QColor(10, 20, 30));
    EXPECT_EQ(ResolveColor(RGBColor(255, 128, 0), palette), QColor(255, 128, 0));
    EXPECT_EQ(ResolveColor(0x00FF0000, palette), QColor(0, 0, 255)); // stored as 0x00BBGGRR
    EXPECT_EQ(ToTColor(QColor(255, 128, 0)), RGBColor(255, 128, 0));
    EXPECT_FALSE(IsSystemColor(ToTColor(QColor(255, 255, 255))));
}

} // namespace
} // namespace lw
