#include "command_run.h"
#include "fonts/font_manager.h"
#include "platform/linux/fontconfig_system.h"
#include "platform/linux/interface_fonts.h"
#include "platform/services.h"
#include "test_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

namespace lw {
namespace {

namespace fs = std::filesystem;

const fs::path kDejaVu = "/usr/share/fonts/truetype/dejavu";

std::set<std::string> FcListFirstFamilies() {
    std::set<std::string> families;
    std::istringstream lines(test::RunCommand("fc-list --format '%{family[0]}\\n'").Output);
    for (std::string family; std::getline(lines, family);) {
        if (!family.empty()) {
            families.insert(family);
        }
    }
    return families;
}

// Points fontconfig at another configuration for one test, and back.
class TScopedFontconfig {
public:
    explicit TScopedFontconfig(const std::vector<fs::path>& folders,
                               const std::string& rules = std::string()) {
        const fs::path root = test::TestHome().Root();
        Config = root / ("fonts-" + std::to_string(++Counter) + ".conf");
        std::ofstream conf(Config);
        conf << "<?xml version=\"1.0\"?>\n<fontconfig>\n";
        for (const fs::path& folder : folders) {
            conf << "  <dir>" << folder.string() << "</dir>\n";
        }
        conf << rules << "  <cachedir>" << (root / "fc-cache").string()
             << "</cachedir>\n</fontconfig>\n";
        conf.close();
        Previous = std::getenv("FONTCONFIG_FILE");
        ::setenv("FONTCONFIG_FILE", Config.c_str(), 1);
        FcInitReinitialize();
    }
    ~TScopedFontconfig() {
        ::setenv("FONTCONFIG_FILE", Previous.c_str(), 1);
        FcInitReinitialize();
    }

private:
    static inline int Counter = 0;
    fs::path Config;
    std::string Previous;
};

TEST(Fontconfig, FamiliesAreTheFirstFamilyOfEveryFaceAndFacesCarryKindAndStyleFlags) {
    TFontconfigSystem system(test::TestHome().DataHome() / "fonts");
    const std::vector<std::string> faces = system.EnumFamilyFaces();
    const std::set<std::string> ours(faces.begin(), faces.end());
    const std::set<std::string> theirs = FcListFirstFamilies();
    ASSERT_FALSE(theirs.empty()) << "fc-list found nothing in the fixture configuration";
    EXPECT_EQ(ours, theirs);
    EXPECT_EQ(ours.count("DejaVu Sans"), 1u);

    std::map<std::string, TFaceInfo> byStyle;
    for (const TFaceInfo& face : system.EnumFaces("dejavu sans")) {
        byStyle[face.StyleName] = face;
    }
    ASSERT_EQ(byStyle.count("Bold"), 1u);
    const TFaceInfo& bold = byStyle["Bold"];
    EXPECT_EQ(bold.FullName, "DejaVu Sans Bold");
    EXPECT_EQ(bold.Kind, TRUETYPE_FONTTYPE);
    EXPECT_EQ(bold.Flags & NTM_STYLE_MASK, NTM_BOLD);
    EXPECT_NE(bold.Flags & NTM_TT_OPENTYPE, 0u) << "DejaVu has OpenType layout tables";
    EXPECT_EQ(byStyle["Oblique"].Flags & NTM_STYLE_MASK, NTM_ITALIC);
    EXPECT_EQ(byStyle["Bold Oblique"].Flags & NTM_STYLE_MASK, NTM_BOLD | NTM_ITALIC);
    EXPECT_EQ(byStyle["Book"].Flags & NTM_STYLE_MASK, NTM_REGULAR);
    EXPECT_TRUE(system.EnumFaces("No Such Family").empty());
}

TEST(Fontconfig, EveryInstalledFaceIsFoundInTheFontListsWithItsFile) {
    TFontManager fonts;
    ASSERT_FALSE(fonts.Families.empty());
    int faces = 0;
    for (const std::string& family : fonts.Families) {
        std::vector<std::string> styles;
        std::vector<std::string> names;
        fonts.GetFamilyStyles(family, styles, names);
        for (size_t i = 0; i < styles.size(); ++i) {
            ++faces;
            EXPECT_FALSE(fonts.FindRegistryName(names[i], family, styles[i]).empty()) << names[i];
            const std::string file = fonts.GetFontFileName(names[i], family, styles[i]);
            const fs::path path =
                fs::path(file).is_absolute() ? fs::path(file) : fs::path(fonts.FontsFolder) / file;
            EXPECT_TRUE(fs::exists(path)) << names[i] << " -> " << file;
        }
    }
    EXPECT_GT(faces, 10);
}

TEST(Fontconfig, AReadingFromAnotherThreadIsAdoptedAChangeMeanwhileIsSeenAndFilesGoByBareName) {
    const fs::path user = test::TestHome().Root() / "reading-fonts";
    fs::create_directories(user);
    fs::copy_file(kDejaVu / "DejaVuSansMono.ttf", user / "Mono Copy.ttf",
                  fs::copy_options::overwrite_existing);
    TScopedFontconfig config({user});
    TFontconfigSystem system(user.string());
    std::unique_ptr<TFontReading> reading;
    std::thread([&] { reading = system.ReadInstalledFonts(); }).join();
    ASSERT_NE(reading, nullptr);
    fs::copy_file(kDejaVu / "DejaVuSerif.ttf", user / "Serif.ttf",
                  fs::copy_options::overwrite_existing);
    system.FontsChanged();
    EXPECT_EQ(system.AdoptReading(std::move(reading)),
              std::vector<std::string>{"DejaVu Sans Mono"});
    EXPECT_EQ(system.FontKey(TFontKey::Fonts)->at("DejaVu Sans Mono (TrueType)").Text,
              "Mono Copy.ttf");
    const std::vector<std::string> now = system.EnumFamilyFaces();
    EXPECT_EQ(std::set<std::string>(now.begin(), now.end()),
              (std::set<std::string>{"DejaVu Sans Mono", "DejaVu Serif"}));
    // A look taken here before the reading came stands.
    reading = system.ReadInstalledFonts();
    fs::remove(user / "Serif.ttf");
    system.FontsChanged();
    EXPECT_EQ(system.EnumFamilyFaces(), std::vector<std::string>{"DejaVu Sans Mono"});
    EXPECT_EQ(system.AdoptReading(std::move(reading)),
              std::vector<std::string>{"DejaVu Sans Mono"});
    // Read here as well as on the other thread, a file of the user's folder
    // is listed by its bare name.
    const TFontList* fontsKey = system.FontKey(TFontKey::Fonts);
    ASSERT_NE(fontsKey, nullptr);
    ASSERT_EQ(fontsKey->count("DejaVu Sans Mono (TrueType)"), 1u);
    EXPECT_EQ(fontsKey->at("DejaVu Sans Mono (TrueType)").Text, "Mono Copy.ttf");
    const std::vector<std::string> watched = system.FontFolders();
    EXPECT_NE(std::find(watched.begin(), watched.end(), user.string()), watched.end());
    fs::remove_all(user);
}

TEST(Fontconfig, TheInterfaceFontsAreThePreferredFamiliesOfValidCachesOnly) {
    const fs::path preferred = test::TestHome().Root() / "interface-sans";
    const fs::path other = test::TestHome().Root() / "interface-other";
    fs::create_directories(preferred);
    fs::create_directories(other);
    fs::copy_file(kDejaVu / "DejaVuSans.ttf", preferred / "Sans.ttf",
                  fs::copy_options::overwrite_existing);
    fs::copy_file(kDejaVu / "DejaVuSansMono.ttf", other / "Mono.ttf",
                  fs::copy_options::overwrite_existing);
    TScopedFontconfig config({preferred, other}, "  <alias><family>sans-serif</family><prefer>"
                                                 "<family>DejaVu Sans</family></prefer></alias>\n");
    TFontconfigSystem system(other.string());
    ASSERT_EQ(system.EnumFamilyFaces().size(), 2u); // the caches are written
    const auto currentFamilies = [] {
        std::set<std::string> families;
        TFcPatternPtr pattern(FcPatternCreate());
        TFcObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr)));
        TFcFontSetPtr set(FcFontList(nullptr, pattern.get(), objects.get()));
        for (int i = 0; set && i < set->nfont; ++i) {
            FcChar8* family = nullptr;
            FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family);
            families.insert(reinterpret_cast<const char*>(family));
        }
        return families;
    };
    ASSERT_TRUE(UseInterfaceFontsOnly());
    EXPECT_EQ(currentFamilies(), std::set<std::string>{"DejaVu Sans"});
    EXPECT_EQ(system.EnumFamilyFaces().size(), 2u) << "the catalogue keeps its own configuration";
    // A folder changed since its cache was written is left out, not scanned.
    fs::last_write_time(preferred, fs::last_write_time(preferred) - std::chrono::hours(1));
    EXPECT_FALSE(UseInterfaceFontsOnly());
    EXPECT_EQ(currentFamilies(), std::set<std::string>{"DejaVu Sans"});
}

TEST(Fontconfig, AConfigurationWithoutFontsGivesAnEmptyCatalogue) {
    TScopedFontconfig config({test::TestHome().Root() / "no-fonts-here"});
    TFontconfigSystem system(test::TestHome().DataHome() / "fonts");
    IFontSystem* previous = Platform().Fonts;
    Platform().Fonts = &system;
    {
        TFontManager fonts;
        EXPECT_TRUE(fonts.Families.empty());
        EXPECT_EQ(fonts.GetFontType("DejaVu Sans"), ftUnknown);
        EXPECT_EQ(fonts.GetFontFileName("DejaVu Sans", "DejaVu Sans", "Book"), "");
    }
    Platform().Fonts = previous;
}

TFcPatternPtr Pattern(std::initializer_list<std::pair<const char*, const char*>> strings) {
    TFcPatternPtr p(FcPatternCreate());
    for (const auto& [object, value] : strings) {
        FcPatternAddString(p.get(), object, reinterpret_cast<const FcChar8*>(value));
    }
    return p;
}

TEST(FontconfigPatterns, IncompleteDescriptionsGiveEmptyFieldsAndSensibleKinds) {
    TFcPatternPtr bare = Pattern({{FC_FAMILY, "Bare"}});
    TFcFace face = FaceFromPattern(bare.get());
    EXPECT_EQ(face.Family, "Bare");
    EXPECT_EQ(face.Info.StyleName, "");
    EXPECT_EQ(face.Info.Kind, RASTER_FONTTYPE); // not said to be scalable
    EXPECT_EQ(face.Info.FullName, "Bare");      // bitmap faces go by their family
    EXPECT_EQ(face.File, "");

    TFcPatternPtr nothing(FcPatternCreate());
    EXPECT_EQ(FaceFromPattern(nothing.get()).Family, "");

    TFcPatternPtr type1 = Pattern({{FC_FAMILY, "Nimbus"},
                                   {FC_FONTFORMAT, "Type 1"},
                                   {FC_POSTSCRIPT_NAME, "Nimbus-BoldItalic"},
                                   {FC_FULLNAME, "Nimbus Bold Italic"}});
    FcPatternAddBool(type1.get(), FC_SCALABLE, FcTrue);
    FcPatternAddInteger(type1.get(), FC_WEIGHT, FC_WEIGHT_BOLD);
    FcPatternAddInteger(type1.get(), FC_SLANT, FC_SLANT_OBLIQUE);
    face = FaceFromPattern(type1.get());
    EXPECT_EQ(face.Info.Kind, DEVICE_FONTTYPE);
    EXPECT_EQ(face.Info.Flags, NTM_TYPE1 | NTM_BOLD | NTM_ITALIC);
    EXPECT_EQ(face.Info.FullName, "Nimbus-BoldItalic");

    TFcPatternPtr cff =
        Pattern({{FC_FAMILY, "Cff"}, {FC_FONTFORMAT, "CFF"}, {FC_FULLNAME, "Cff Light"}});
    FcPatternAddBool(cff.get(), FC_SCALABLE, FcTrue);
    FcPatternAddInteger(cff.get(), FC_WEIGHT, FC_WEIGHT_LIGHT);
    face = FaceFromPattern(cff.get());
    EXPECT_EQ(face.Info.Kind, TRUETYPE_FONTTYPE);
    EXPECT_EQ(face.Info.Flags, NTM_PS_OPENTYPE | NTM_REGULAR);
    EXPECT_EQ(face.Info.FullName, "Cff Light");

    TFcPatternPtr other = Pattern({{FC_FAMILY, "Pfr"}, {FC_FONTFORMAT, "PFR"}});
    FcPatternAddBool(other.get(), FC_SCALABLE, FcTrue);
    face = FaceFromPattern(other.get());
    EXPECT_EQ(face.Info.Kind, 0);
    EXPECT_EQ(face.Info.FullName, "");
}

} // namespace
} // namespace lw
