// The readers against fontconfig, which reads the same files for every
// program of the system: on each collection and Type 1 outline file the
// machine has, both must see the same faces under the same names.
#include "command_run.h"
#include "fonts/font_manager.h"
#include "fonts/type1_font_file.h"
#include "reader_test_support.h"
#include "test_env.h"
#include "test_home.h"

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
// any language, separated by commas.
struct TFcFace {
    std::vector<std::string> Families;
    std::vector<std::string> Styles;
    std::vector<std::string> FullNames;
};

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

// The faces of one file by their number; named instances of a variable
// font (numbered from 65,536 on) are no faces of the file.
std::map<uint32_t, TFcFace> ScanFaces(const std::string& file) {
    const test::TCommandRun run = test::RunCommand(
        "fc-scan --format '%{index}\\t%{family}\\t%{style}\\t%{fullname}\\n' " + Quote(file));
    std::map<uint32_t, TFcFace> faces;
    for (const std::string& line : SplitAt(run.Output, '\n')) {
        const std::vector<std::string> fields = SplitAt(line + "\t", '\t');
        if (fields.size() < 4 || fields[0].empty()) {
            continue;
        }
        const unsigned long index = std::stoul(fields[0]);
        if (index >= 0x10000) {
            continue;
        }
        faces[uint32_t(index)] =
            TFcFace{SplitAt(fields[1], ','), SplitAt(fields[2], ','), SplitAt(fields[3], ',')};
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
        const std::map<uint32_t, TFcFace> expected = ScanFaces(file);
        const std::vector<std::unique_ptr<TFontFile>> faces = TFontManager::ReadFontFaces(file);
        ASSERT_EQ(faces.size(), expected.size()) << file;
        for (const auto& face : faces) {
            SCOPED_TRACE(file + " face " + std::to_string(face->FaceIndex));
            ASSERT_EQ(expected.count(face->FaceIndex), 1u);
            const TFcFace& fc = expected.at(face->FaceIndex);
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
        const std::map<uint32_t, TFcFace> expected = ScanFaces(file);
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
    const fs::path folder = test::TestHome().Root() / "pfa-oracle";
    fs::create_directories(folder);
    // The first and the last: two families, when the machine has two.
    for (const std::string& pfb : {files.front(), files.back()}) {
        const std::string pfa = (folder / fs::path(pfb).stem()).string() + ".pfa";
        ASSERT_EQ(test::RunCommand("t1ascii " + Quote(pfb) + " " + Quote(pfa)).Status, 0);
        const TType1FontFile binary(pfb);
        const TType1FontFile text(pfa);
        SCOPED_TRACE(pfa);
        EXPECT_FALSE(text.NotAFont);
        EXPECT_EQ(text.FamilyName, binary.FamilyName);
        EXPECT_EQ(text.StyleName, binary.StyleName);
        EXPECT_EQ(text.FullName, binary.FullName);
        EXPECT_EQ(text.Version, binary.Version);
        const std::map<uint32_t, TFcFace> expected = ScanFaces(pfa);
        ASSERT_EQ(expected.size(), 1u);
        EXPECT_TRUE(Holds(expected.begin()->second.Families, text.FamilyName));
        EXPECT_TRUE(Holds(expected.begin()->second.Styles, text.StyleName));
    }
    fs::remove_all(folder);
}

} // namespace
} // namespace lw
