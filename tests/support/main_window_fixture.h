#pragma once

#include "base/options.h"
#include "base/strings.h"
#include "fake_font_system.h"
#include "fonts/font_manager.h"
#include "memory_hive.h"
#include "platform/services.h"
#include "test_env.h"

#include <gtest/gtest.h>

namespace lw::test {

// A main window's world: settings in memory, three installed families the
// test can extend, built-in language, a catalogue of its own.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        TestPrompts().Reset();
        SetLanguage(0);
        Options = TOptions{};
        Fonts.AddFace("Arial", TrueTypeFace("Arial", "Regular", NTM_REGULAR));
        Fonts.AddFace("Bodoni", TrueTypeFace("Bodoni", "Regular", NTM_REGULAR));
        Fonts.AddFace("Courier", TrueTypeFace("Courier", "Regular", NTM_REGULAR));
        Fonts.Fonts["Bodoni (TrueType)"] = TRegValue::FromString("bodoni.ttf");
        SavedCatalogue = std::move(FontManager);
        FontManager = std::make_unique<TFontManager>();
        // As chosen by the user: with nothing stored the locale would decide.
        Stored()["Language"] = TRegValue::FromInteger(0);
    }
    void TearDown() override {
        FontManager = std::move(SavedCatalogue);
        SetLanguage(0);
    }
    TRegValues& Stored() { return Hive.ProgramKey(); }

    TScopedMemoryHive Hive;
    TFakeFontSystem Fonts;
    std::unique_ptr<TFontManager> SavedCatalogue;
};

} // namespace lw::test
