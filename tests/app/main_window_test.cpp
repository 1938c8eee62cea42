#include "app/main_window.h"
#include "app/strings.h"
#include "memory_hive.h"
#include "platform/services.h"
#include "test_env.h"

#include <QApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace lw {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Real = Platform().Registry;
        Platform().Registry = &Hive;
        test::TestPrompts().Reset();
        SetLanguage(0);
        Options = TOptions{};
    }
    void TearDown() override { Platform().Registry = Real; }
    TRegValues& Stored() { return Hive.ProgramKey(); }

    test::TMemoryHive Hive;
    IRegistryHive* Real = nullptr;
};

TEST_F(MainWindowTest, FirstRunOpensAtTheMinimumSizeCentredAndSavesOnClose) {
    {
        TfMain_letterwell window;
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Kestrova Letterwell"));
        EXPECT_EQ(window.width(), kMinimumWidth);
        EXPECT_EQ(window.height(), kMinimumHeight);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_EQ(window.x(), (screen.width() - kMinimumWidth) / 2);
        EXPECT_EQ(window.y(), (screen.height() - kMinimumHeight) / 2);
        EXPECT_EQ(Options.FontSize, 24);
    }
    EXPECT_EQ(Stored().at("Window width").Integer, static_cast<uint32_t>(kMinimumWidth));
    EXPECT_EQ(Stored().at("Maximized").Integer, 0u);
    EXPECT_EQ(Stored().at("Font Size").Integer, 24u);
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
}

TEST_F(MainWindowTest, StoredMaximizedStateAndNormalBoundsSurviveARun) {
    Stored()["Window width"] = TRegValue::FromInteger(1000);
    Stored()["Window height"] = TRegValue::FromInteger(900);
    Stored()["Window left"] = TRegValue::FromInteger(12);
    Stored()["Window top"] = TRegValue::FromInteger(34);
    Stored()["Maximized"] = TRegValue::FromInteger(1);
    {
        TfMain_letterwell window;
        window.show();
        EXPECT_TRUE(window.isMaximized());
    }
    EXPECT_EQ(Stored().at("Maximized").Integer, 1u);
    EXPECT_EQ(Stored().at("Window width").Integer, 1000u);
    EXPECT_EQ(Stored().at("Window height").Integer, 900u);
    EXPECT_EQ(Stored().at("Window left").Integer, 12u);
    EXPECT_EQ(Stored().at("Window top").Integer, 34u);
}

} // namespace
} // namespace lw
