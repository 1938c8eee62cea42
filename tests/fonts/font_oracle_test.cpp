// The readers against fontconfig, which reads the same files for every
// program of the system: on each collection and Type 1 outline file the
// machine has, both must see the same faces under the same names, and on
// each sfnt file the same spacing and scripts.
#include "command_run.h"
#include "fonts/face_facts.h"
#include "fonts/font_manager.h"
#include "fonts/type1_font_file.h"
#include "reader_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::Quote;

const fs::path kSystemFonts = "/usr/share/fonts";

// One face as fc-scan prints it; fontconfig lists every name a face has in
// any language, separated by commas, and its languages separated by bars.
struct TFcFace {
    std::vector<std::string> Families;
    std::vector<std::string> Styles;
    std::vector<std::string> FullNames;
    bool Mono = false;
    std::vector<std::string> Languages;
};

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

// The faces of a file, or of every file in a folder, by file and number;
// named instances of a variable font (numbered from 65,536 on) are no faces
// of the file.
using TFcFaces = std::map<std::pair<std::string, uint32_t>, TFcFace>;
TFcFaces ScanFaces(const std::string& path) {
    const test::TCommandRun run = test::RunCommand(
        "fc-scan --format "
        "'%{file}\\t%{index}\\t%{family}\\t%{style}\\t%{fullname}\\t%{spacing}\\t%{lang}\\n' " +
        Quote(path) + " 2>/dev/null");
    TFcFaces faces;
    for (const std::string& line : SplitAt(run.Output, '\n')) {
        const std::vector<std::string> fields = SplitAt(line + "\t", '\t');
        if (fields.size() < 7 || fields[1].empty() || std::stoul(fields[1]) >= 0x10000) {
            continue;
        }
        faces[{fields[0], uint32_t(std::stoul(fields[1]))}] =
            TFcFace{SplitAt(fields[2], ','), SplitAt(fields[3], ','), SplitAt(fields[4], ','),
                    fields[5] == "100", SplitAt(fields[6], '|')};
    }
    return faces;
}

bool Holds(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<std::string> SystemFiles(std::initializer_list<const char*> extensions) {
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(kSystemFonts, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (it->is_regular_file(ec) &&
            std::any_of(extensions.begin(), extensions.end(),
                        [&](const char* wanted) { return ext == wanted; })) {
            files.push_back(it->path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class FontconfigOracleTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::RunCommand("command -v fc-scan").Status != 0) {
            GTEST_SKIP() << "fc-scan (package fontconfig) is not installed";
        }
    }
};

TEST_F(FontconfigOracleTest, CollectionsListEveryFaceUnderItsNames) {
    const std::vector<std::string> files = SystemFiles({".ttc", ".otc"});
    if (files.empty()) {
        GTEST_SKIP() << "no collection under " << kSystemFonts
                     << " (package fonts-noto-cjk has some)";
    }
    for (const std::string& file : files) {
        const TFcFaces expected = ScanFaces(file);
        const std::vector<std::unique_ptr<TFontFile>> faces = TFontManager::ReadFontFaces(file);
        ASSERT_EQ(faces.size(), expected.size()) << file;
        for (const auto& face : faces) {
            SCOPED_TRACE(file + " face " + std::to_string(face->FaceIndex));
            ASSERT_EQ(expected.count({file, face->FaceIndex}), 1u);
            const TFcFace& fc = expected.at({file, face->FaceIndex});
            EXPECT_FALSE(face->NotAFont);
            EXPECT_EQ(face->FontType, ftTrueTypeCollection);
            EXPECT_TRUE(Holds(fc.Families, face->FamilyName)) << face->FamilyName;
            EXPECT_TRUE(Holds(fc.Styles, face->StyleName)) << face->StyleName;
            EXPECT_TRUE(Holds(fc.FullNames, face->FullName)) << face->FullName;
        }
    }
}

TEST_F(FontconfigOracleTest, Type1OutlinesGiveTheirFamilyStyleAndFullName) {
    const std::vector<std::string> files = SystemFiles({".pfb", ".pfa"});
    if (files.empty()) {
        GTEST_SKIP() << "no Type 1 outline under " << kSystemFonts
                     << " (packages fonts-urw-base35 and t1-cyrillic have some)";
    }
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const TFcFaces expected = ScanFaces(file);
        const TType1FontFile font(file);
        ASSERT_EQ(expected.size(), 1u);
        const TFcFace& fc = expected.begin()->second;
        EXPECT_FALSE(font.NotAFont);
        EXPECT_EQ(font.FaceIndex, 0u);
        EXPECT_TRUE(Holds(fc.Families, font.FamilyName)) << font.FamilyName;
        EXPECT_TRUE(Holds(fc.Styles, font.StyleName)) << font.StyleName;
        // A Type 1 face has no name table: fontconfig calls it by family and
        // style, which matches the file's own full name only where that is
        // spelt with a space (Latin Modern's "LMRoman10-Bold" is not).
        EXPECT_TRUE(Holds(fc.FullNames, font.FamilyName + " " + font.StyleName))
            << font.FamilyName << " / " << font.StyleName << " / " << font.PSFullName;
    }
}

TEST_F(FontconfigOracleTest, AnOutlineAsTextReadsAsItsBinaryForm) {
    const std::vector<std::string> files = SystemFiles({".pfb"});
    if (files.empty() || test::RunCommand("command -v t1ascii").Status != 0) {
        GTEST_SKIP() << "needs a .pfb under " << kSystemFonts << " and t1ascii (package t1utils)";
    }
    const test::TScratchFolder folder("pfa-oracle");
    // The first and the last: two families, when the machine has two.
    for (const std::string& pfb : {files.front(), files.back()}) {
        const std::string pfa = (folder.Path / fs::path(pfb).stem()).string() + ".pfa";
        ASSERT_EQ(test::RunCommand("t1ascii " + Quote(pfb) + " " + Quote(pfa)).Status, 0);
        const TType1FontFile binary(pfb);
        const TType1FontFile text(pfa);
        SCOPED_TRACE(pfa);
        EXPECT_FALSE(text.NotAFont);
        EXPECT_EQ(text.FamilyName, binary.FamilyName);
        EXPECT_EQ(text.StyleName, binary.StyleName);
        EXPECT_EQ(text.FullName, binary.FullName);
        EXPECT_EQ(text.Version, binary.Version);
        const TFcFaces expected = ScanFaces(pfa);
        ASSERT_EQ(expected.size(), 1u);
        EXPECT_TRUE(Holds(expected.begin()->second.Families, text.FamilyName));
        EXPECT_TRUE(Holds(expected.begin()->second.Styles, text.StyleName));
    }
}

TEST_F(FontconfigOracleTest, FaceFactsSpacingAndScriptsAgreeWithFontconfig) {
    // Each script against the language fontconfig requires it for.
    const std::map<std::string, std::string> languages = {
        {"Cyrl", "ru"}, {"Grek", "el"}, {"Hebr", "he"}, {"Arab", "ar"}, {"Thai", "th"},
        {"Deva", "hi"}, {"Hang", "ko"}, {"Geor", "ka"}, {"Armn", "hy"}};
    size_t scanned = 0;
    size_t faces = 0;
    size_t monoDisagree = 0;
    size_t monoAgreed = 0;
    size_t scriptsMissed = 0;
    size_t scriptsOnlyHere = 0;
    std::ostringstream told;
    for (const auto& [key, fc] : ScanFaces(kSystemFonts.string())) {
        const std::string ext = fs::path(key.first).extension().string();
        if (ext != ".ttf" && ext != ".otf" && ext != ".ttc" && ext != ".otc") {
            continue;
        }
        ++scanned;
        const TFaceFacts facts = ReadFaceFacts(key.first, key.second);
        if (!facts.Readable) {
            continue;
        }
        ++faces;
        if (facts.Monospace != fc.Mono) {
            ++monoDisagree;
            told << "spacing " << key.first << " ours " << facts.Monospace << "\n";
        }
        monoAgreed += facts.Monospace && fc.Mono;
        for (const auto& [script, lang] : languages) {
            const bool ours = Holds(facts.Scripts, script);
            const bool theirs = Holds(fc.Languages, lang);
            scriptsMissed += theirs && !ours;
            scriptsOnlyHere += ours && !theirs;
            if (ours != theirs) {
                told << script << " " << key.first << " ours " << ours << "\n";
            }
        }
    }
    if (scanned < 20) {
        GTEST_SKIP() << "too few sfnt fonts under " << kSystemFonts;
    }
    ASSERT_GT(faces, 0u);
    // fontconfig calls a face monospace from the advances of the glyphs its
    // characters map to and lets double-width ideographs make it "dual";
    // the advances here are every glyph's, zero ones left out. On the
    // machine's fonts the two agree on every face but a rare few.
    EXPECT_LE(monoDisagree * 100, faces) << told.str();
    // Monospace faces are too few for that bound to notice a spacing never
    // read; DejaVu Sans Mono, which the tests depend on, is one.
    EXPECT_GT(monoAgreed, 0u) << told.str();
    // A language fontconfig grants needs its whole orthography, which holds
    // the core letters a script needs here: a face it grants always counts.
    EXPECT_EQ(scriptsMissed, 0u) << told.str();
    // The other way round is expected: a face with the core letters alone
    // counts here and not there (Gentium's Cyrillic without every letter of
    // Russian, the CJK and mathematical fonts' Greek without the tonos
    // vowels, the Noto Looped Thai UI faces without some of Thai's signs).
    EXPECT_LE(scriptsOnlyHere * 10, faces) << told.str();
}

} // namespace
} // namespace lw
