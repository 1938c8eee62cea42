#pragma once

#include "categories/category_store.h"
#include "font_builder.h"
#include "main_window_fixture.h"
#include "test_home.h"

#include <filesystem>
#include <string>
#include <vector>

namespace lw::test {

// A program folder and a data folder of their own in the temporary home,
// the settings in memory and installed families the test names.
class CategoryFixture : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        for (const char* family : {"Tahoma", "Verdana", "Serif"}) {
            Fonts.AddFace(family, TrueTypeFace(family, "Regular", NTM_REGULAR));
        }
        FontManager->Refresh();
        const std::string unique = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        Root = TestHome().Root() / ("categories-" + unique);
        std::filesystem::remove_all(Root);
        ProgramFolder = Root / "program";
        std::filesystem::create_directories(ProgramFolder);
        Places = TCategoryPlaces{ProgramFolder.string(), (Root / "data").string()};
    }
    void TearDown() override {
        std::filesystem::remove_all(Root);
        MainWindowFixture::TearDown();
    }

    std::filesystem::path Folder() const { return ProgramFolder / "Categories"; }
    static void WriteText(const std::filesystem::path& path, const std::string& text) {
        test::WriteText(path, text);
    }
    static std::string ReadText(const std::filesystem::path& path) { return test::ReadText(path); }
    // The index as a previous run left it.
    void StoreIndex(const std::vector<std::string>& names) {
        Stored()["Number of categories"] =
            TRegValue::FromInteger(static_cast<uint32_t>(names.size()));
        for (size_t i = 0; i < names.size(); ++i) {
            Stored()["Category" + std::to_string(i + 1)] = TRegValue::FromString(names[i]);
        }
    }
    // A category file and its index entry, as an earlier run made them.
    void MakeCategory(const std::string& name, const std::string& text) {
        WriteText(Folder() / (name + ".lst"), text);
        IndexNames.push_back(name);
        StoreIndex(IndexNames);
    }
    std::vector<TScriptedPrompts::TMessage>& Messages() { return TestPrompts().Messages; }

    std::filesystem::path Root;
    std::filesystem::path ProgramFolder;
    TCategoryPlaces Places;
    std::vector<std::string> IndexNames;
};

} // namespace lw::test
