#include "command_run.h"
#include "fonts/font_json.h"
#include "fonts/opentype_font_file.h"
#include "fonts/type1_font_file.h"
#include "reader_test_support.h"
#include "test_env.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lw {
namespace {

using test::Quote;

TEST(FontJson, StringsAreEscapedAndObjectsKeepTheirOrderAndTypes) {
    EXPECT_EQ(JsonString("plain"), "\"plain\"");
    EXPECT_EQ(JsonString("say \"hi\" \\ bye"), "\"say \\\"hi\\\" \\\\ bye\"");
    EXPECT_EQ(JsonString("a\nb\tc\x01\x1F"), "\"a\\u000ab\\u0009c\\u0001\\u001f\"");
    EXPECT_EQ(JsonString("Café €"), "\"Café €\"");
    EXPECT_EQ(JsonString(std::string("nul\0end", 7)), "\"nul\\u0000end\"");
    // Bytes that are not UTF-8 (a file name, say) give valid JSON that keeps
    // them: each as a lone surrogate, a cut or overlong sequence byte by byte.
    EXPECT_EQ(JsonString("caf\xE9.ttf"), "\"caf\\udce9.ttf\"");
    EXPECT_EQ(JsonString("\xE2\x82|\xC0\xAF\xED\xA0\x80\xFF€"),
              "\"\\udce2\\udc82|\\udcc0\\udcaf\\udced\\udca0\\udc80\\udcff€\"");

    std::string empty;
    TJsonObject(empty).Close();
    EXPECT_EQ(empty, "{}");
    // Written after what the text holds already, as a program's lines are.
    std::string out = "before\n";
    TJsonObject json(out);
    json.AddText("Name", "x");
    json.AddNumber("Count", -12);
    json.AddBool("Yes", true);
    json.AddBool("No", false);
    json.Close();
    EXPECT_EQ(out, "before\n{\"Name\": \"x\", \"Count\": -12, \"Yes\": true, \"No\": false}");
    EXPECT_EQ(FontFileErrorJson("/a/\"b\".ttc", "No such file"),
              "{\"FileName\": \"/a/\\\"b\\\".ttc\", \"Error\": \"No such file\"}");
}

TEST(FontJson, RecordsListEveryFieldThenTheReadersOwn) {
    const test::TBytes sfnt =
        test::TSfntBuilder()
            .AddTable("CFF ", test::TBytes(4, 0))
            .AddTable("OS/2", test::OS2Table(0, 700, 5, 0xFFFF, 0x20))
            .AddTable("name", test::TNameTableBuilder().Windows(4, "Probe \"Q\"").Build())
            .Build();
    const std::string open = FontFileJson(test::ReadOpenType(sfnt));
    EXPECT_EQ(
        open,
        "{\"FileName\": \"\", \"RegistryName\": \"Probe \\\"Q\\\" (OpenType)\", \"Copyright\": "
        "\"\", "
        "\"FamilyName\": \"\", \"StyleName\": \"\", \"UniqueID\": \"\", \"FullName\": \"Probe "
        "\\\"Q\\\"\", \"Version\": \"\", \"PostScriptName\": \"\", \"Trademark\": \"\", "
        "\"Manufacturer\": \"\", \"Designer\": \"\", \"Description\": \"\", \"VendorURL\": \"\", "
        "\"DesignerURL\": \"\", \"LicenseDescription\": \"\", \"LicenseURL\": \"\", "
        "\"PreferredFamily\": \"\", \"PreferredStyle\": \"\", \"SampleText\": \"\", \"Selection\": "
        "32, \"UnitsPerEm\": 0, \"LowestRecPPEM\": 0, \"Installed\": false, \"FontType\": 2, "
        "\"FaceIndex\": 0, \"WeightClass\": 700, \"WidthClass\": 5, \"FamilyClass\": -1, "
        "\"Outlines\": 2}");

    const std::string type1 = FontFileJson(
        test::ReadType1(test::TPfmBuilder().Build(),
                        test::PfbFile("/ItalicAngle -9 def\n/isFixedPitch true def\n")));
    EXPECT_NE(
        type1.find("\"Installed\": false, \"FontType\": 3, \"FaceIndex\": 0, \"PfbFileName\": "
                   "\"\", \"MetricsFileName\": \"\", \"PSFullName\": \"\", \"PSFamilyName\": \"\", "
                   "\"PSWeight\": \"\", \"ItalicAngle\": -9, "
                   "\"IsFixedPitch\": true}"),
        std::string::npos)
        << type1;
    EXPECT_NE(type1.find("\"FullName\": \"Sans-Regular\""), std::string::npos);
}

// The command-line companion prints one line per file, errors included, and
// fails when any file gave no record.
TEST(FontJson, CliInfoPrintsOneObjectPerFile) {
    test::TScratchFolder folder("cli-info");
    const std::string font = folder.Write(
        "probe.ttf", test::NamesOnly(test::TNameTableBuilder().Windows(4, "Cli Probe")));
    const std::string collection = folder.Write(
        "probe.ttc",
        test::Collection({test::NamedTrueType("Cli", "One"), test::NamedTrueType("Cli", "Two")}));
    const std::string bitmap = folder.Write("probe.fon", test::TBytes(16, 0));
    const std::string missing = (folder.Path / "missing.otf").string();
    const std::string cli = test::BuildBinFolder() + "/letterwell-cli";
    const test::TCommandRun info =
        test::RunCommand(cli + " info '" + font + "' '" + collection + "' '" + bitmap + "' '" +
                         missing + "' 2>/dev/null");
    EXPECT_EQ(info.Status, 1);
    const std::vector<std::string> lines = test::Lines(info.Output);
    ASSERT_EQ(lines.size(), 5u) << info.Output;
    EXPECT_EQ(lines[0].rfind("{\"FileName\": " + JsonString(font) + ", ", 0), 0u);
    EXPECT_NE(lines[0].find("\"FullName\": \"Cli Probe\""), std::string::npos);
    EXPECT_NE(lines[0].find("\"Outlines\": 1}"), std::string::npos);
    EXPECT_NE(lines[0].find("\"FaceIndex\": 0,"), std::string::npos);
    // A collection is a line a face, each naming the one file.
    for (const int index : {0, 1}) {
        const std::string& line = lines[size_t(1 + index)];
        EXPECT_EQ(line.rfind("{\"FileName\": " + JsonString(collection) + ", ", 0), 0u);
        EXPECT_NE(line.find(index == 0 ? "\"Cli One\"" : "\"Cli Two\""), std::string::npos);
        EXPECT_NE(line.find("\"FontType\": 4, \"FaceIndex\": " + std::to_string(index) + ","),
                  std::string::npos)
            << line;
    }
    // The program's texts come in English unless a language is asked for.
    EXPECT_EQ(lines[3], FontFileErrorJson(bitmap, "Damaged or invalid font."));
    EXPECT_EQ(lines[4], FontFileErrorJson(missing, "No such file or directory"));
    for (const auto& [language, text] :
         {std::pair{"0", "Ostecen neispravan font."}, std::pair{"2", "Damaged or invalid font."}}) {
        const test::TCommandRun run =
            test::RunCommand(cli + " --language " + language + " info '" + bitmap + "'");
        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.Output, FontFileErrorJson(bitmap, text) + "\n") << language;
    }
    EXPECT_EQ(test::RunCommand(cli + " --language 2>/dev/null").Status, 2);
    EXPECT_EQ(test::RunCommand(cli + " --language x families 2>/dev/null").Status, 2);
}

// The page's list of a folder: its font files in the page's order (masks
// matched ignoring case), each as info prints it. A name that is not UTF-8
// comes out so that a script gets its bytes back and can hand them to the
// program again; text named as a font is no font.
TEST(FontJson, CliListPrintsTheFolderAsThePageListsItNamingFilesByTheirBytes) {
    test::TScratchFolder folder("cli-list");
    const test::TBytes font = test::NamesOnly(test::TNameTableBuilder().Windows(4, "Cli List"));
    folder.Write("b.ttf", font);
    folder.Write("A.OTF", font);
    folder.Write("notes.txt", {'n'});
    folder.Write("c.pfm", {1, 2});
    const std::string odd = folder.Write(
        "caf\xE9 |*?.ttf", test::NamesOnly(test::TNameTableBuilder().Windows(4, "Cli Bytes")));
    const std::string text = folder.Write("notes.ttf", {'n', 'o', 't', 'e', 's', '\n'});
    const std::string cli = test::BuildBinFolder() + "/letterwell-cli";

    const test::TCommandRun listed =
        test::RunCommand(cli + " list " + Quote(folder.Path.string()) + " 2>/dev/null");
    EXPECT_EQ(listed.Status, 1) << "files gave no font";
    const std::string& all = listed.Output;
    const std::string dir = folder.Path.string() + "/";
    const size_t a = all.find(JsonString(dir + "A.OTF"));
    const size_t b = all.find(JsonString(dir + "b.ttf"));
    const size_t c = all.find(FontFileErrorJson(dir + "c.pfm", "No such file or directory"));
    ASSERT_NE(a, std::string::npos) << all;
    ASSERT_NE(b, std::string::npos) << all;
    ASSERT_NE(c, std::string::npos) << all << " (its outline is missing)";
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_EQ(all.find("notes.txt"), std::string::npos);
    // The three .ttf files and nothing else.
    const std::string onlyTtf = test::RunCommand(cli + " list " + Quote(folder.Path.string()) +
                                                 " --mask '*.TTF' 2>/dev/null")
                                    .Output;
    EXPECT_EQ(std::count(onlyTtf.begin(), onlyTtf.end(), '\n'), 3) << onlyTtf;
    EXPECT_NE(onlyTtf.find("b.ttf"), std::string::npos);

    const size_t oddAt = all.find("caf\\udce9 |*?.ttf\"");
    ASSERT_NE(oddAt, std::string::npos) << all;
    const size_t lineStart = all.rfind('\n', oddAt) + 1; // npos + 1 is 0
    const std::string oddLine = all.substr(lineStart, all.find('\n', oddAt) - lineStart);
    EXPECT_NE(oddLine.find("\"FullName\": \"Cli Bytes\""), std::string::npos);
    EXPECT_EQ(oddLine.find("Error"), std::string::npos);
    EXPECT_EQ(oddLine.find("\xEF\xBF\xBD"), std::string::npos) << "no replacement character";

    // The record keeps its shape and says why it is no font.
    const test::TCommandRun info = test::RunCommand(cli + " info '" + text + "' 2>/dev/null");
    EXPECT_EQ(info.Status, 1);
    EXPECT_EQ(info.Output.rfind("{\"FileName\": " + JsonString(text) + ", \"RegistryName\"", 0), 0u)
        << info.Output;
    EXPECT_NE(info.Output.find(", \"Error\": \"not a font file\"}\n"), std::string::npos)
        << info.Output;
    EXPECT_NE(all.find(info.Output), std::string::npos) << "list says the same";

    if (test::RunCommand("python3 -c pass 2>/dev/null").Status != 0) {
        GTEST_SKIP() << "python3 is needed to decode the names as a script does";
    }
    const std::string lineFile = folder.Write("line.json", test::TextBytes(oddLine));
    const std::string decode =
        "python3 -c 'import json, sys; name = json.loads(sys.stdin.readline())[\"FileName\"]; "
        "sys.stdout.buffer.write(name.encode(\"utf-8\", \"surrogateescape\"))' < " +
        Quote(lineFile);
    const test::TCommandRun decoded = test::RunCommand(decode);
    ASSERT_EQ(decoded.Status, 0);
    EXPECT_EQ(decoded.Output, odd);

    const test::TCommandRun again =
        test::RunCommand(cli + " info \"$(" + decode + ")\" 2>/dev/null");
    EXPECT_EQ(again.Status, 0);
    EXPECT_EQ(again.Output, oddLine + "\n");
}

} // namespace
} // namespace lw
