#include "base/regfile.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

TEST(RegistryText, EveryTypeSurvivesARoundTripAndRegeditStyleLinesAreRead) {
    TRegKeys keys;
    TRegValues& v = keys["HKEY_CURRENT_USER\\Software\\Kestrova\\Letterwell"];
    v["Font Size"] = TRegValue::FromInteger(24);
    v["Font color"] = TRegValue::FromInteger(0x80000008u);
    v["Sample text"] = TRegValue::FromString("Line \"one\"\nC:\\Fonts\\\ttab ćirilica");
    v["Empty"] = TRegValue::FromString("");
    v["Print top margin"] = TRegValue::FromBinary({0, 0, 0, 0, 0, 0, 0xF0, 0x3F});
    v["No bytes"] = TRegValue::FromBinary({});
    v["Lines"] = TRegValue::FromMultiString({"Arial", "", "Times New Roman"});
    keys["HKEY_CURRENT_USER\\Software\\Other"]["x"] = TRegValue::FromInteger(1);
    EXPECT_EQ(ParseRegistryText(FormatRegistryText(keys)), keys);

    const std::string text = "REGEDIT4\r\n\r\n; a comment\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Kestrova\\Letterwell]\r\n"
                             "\"Font Size\"=dword:00000030\r\n"
                             "\"Print top margin\"=hex:00,00,00,00,\\\r\n"
                             "  00,00,f0,3f\r\n";
    const TRegKeys parsed = ParseRegistryText(text);
    const TRegValues& read = parsed.at("hkey_current_user\\software\\kestrova\\letterwell");
    EXPECT_EQ(read.at("Font Size").Integer, 48u);
    EXPECT_EQ(read.at("font size").Type, TRegDataType::Integer);
    EXPECT_EQ(read.at("Print top margin").Bytes,
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
}

TEST(RegistryText, DamagedTextIsReportedWithItsLine) {
    const std::string key = "[HKEY_CURRENT_USER\\Software\\Kestrova\\Letterwell]\n";
    const std::vector<std::string> damaged = {
        "",
        "not a registry file\n",
        "REGEDIT4\n\"value before key\"=dword:00000001\n",
        "REGEDIT4\n" + key + "\"x\"=dword:123\n",
        "REGEDIT4\n" + key + "\"x\"=dword:0000001g\n",
        "REGEDIT4\n" + key + "\"x\"=hex:0g\n",
        "REGEDIT4\n" + key + "\"x\"=hex:01,,02\n",
        "REGEDIT4\n" + key + "\"x\"=\"unterminated\n",
        "REGEDIT4\n" + key + "\"x\"=\"bad \\q escape\"\n",
        "REGEDIT4\n" + key + "\"x\"=\"text\" trailing\n",
        "REGEDIT4\n" + key + "\"x\"=hex(7):41,00\n",
        "REGEDIT4\n" + key + "\"x\"=qword:0000000000000001\n",
        "REGEDIT4\n[unclosed\n",
        "REGEDIT4\n" + key + "\"x\"=hex:01,\\",
    };
    for (const std::string& text : damaged) {
        EXPECT_THROW(ParseRegistryText(text), ERegistryDamaged) << text;
    }
    try {
        ParseRegistryText("REGEDIT4\n" + key + "\n\"x\"=dword:zz\n");
        FAIL();
    } catch (const ERegistryDamaged& e) {
        EXPECT_NE(std::string(e.what()).find("line 4"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace lw
