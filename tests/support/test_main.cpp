// Every test program starts here: a temporary home first, then the offscreen
// Qt application, then the Linux platform with scripted prompts.
#include "app/qt_app_fonts.h"
#include "fonts/font_manager.h"
#include "platform/linux/linux_platform.h"
#include "scripted_prompts.h"
#include "test_env.h"
#include "test_home.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

namespace lw::test {

TScriptedPrompts& TestPrompts() {
    static TScriptedPrompts prompts;
    return prompts;
}

std::string BuildBinFolder() {
    return LW_TEST_BIN_DIR;
}

namespace {
TQtApplicationFonts* Fonts = nullptr;
}

TQtApplicationFonts& ApplicationFonts() {
    return *Fonts;
}

} // namespace lw::test

int main(int argc, char** argv) {
    lw::test::TestHome();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("LC_ALL", "C.UTF-8", 0);
    QApplication app(argc, argv);
    lw::TLinuxPlatform platform(lw::test::TestPrompts(), lw::TFileRegistryHive::DefaultPath(),
                                lw::test::BuildBinFolder());
    lw::TQtApplicationFonts applicationFonts;
    lw::test::Fonts = &applicationFonts;
    lw::FontManager = std::make_unique<lw::TFontManager>();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    lw::FontManager.reset();
    return result;
}
