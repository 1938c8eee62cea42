#include "base/registry.h"
#include "memory_hive.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

using test::TMemoryHive;

TEST(Registry, KeepsEachValuesTypeAndRefusesReadsOfAnotherType) {
    TMemoryHive hive;
    {
        TRegistry r(hive);
        ASSERT_TRUE(r.OpenKey(kProgramKey, true));
        r.WriteInteger("int", -5);
        r.WriteString("text", "24");
        r.WriteFloat("float", 2.5);
        r.WriteMultiString("lines", {"a", "b"});
        r.CloseKey();
    }
    TRegistry r(hive);
    ASSERT_TRUE(r.OpenKey(kProgramKey, false));
    EXPECT_EQ(r.ReadInteger("int"), -5);
    EXPECT_EQ(r.GetDataType("int"), TRegDataType::Integer);
    EXPECT_EQ(r.ReadString("text"), "24");
    EXPECT_EQ(r.ReadBinaryData("float").size(), 8u);
    EXPECT_EQ(r.ReadMultiString("lines"), (std::vector<std::string>{"a", "b"}));
    EXPECT_THROW(r.ReadInteger("text"), ERegistryError);
    EXPECT_THROW(r.ReadString("int"), ERegistryError);
    EXPECT_THROW(r.ReadBinaryData("text"), ERegistryError);
    EXPECT_THROW(r.ReadInteger("missing"), ERegistryError);
    EXPECT_EQ(r.ReadString("missing"), "");
    EXPECT_FALSE(r.ValueExists("missing"));
}

TEST(Registry, MissingKeyIsNotCreatedByAReaderButIsByAWriter) {
    TMemoryHive hive;
    {
        TRegistry r(hive);
        EXPECT_FALSE(r.OpenKey(kProgramKey, false));
        EXPECT_FALSE(r.KeyIsOpen());
    }
    EXPECT_EQ(hive.Saves, 0);
    {
        TRegistry r(hive);
        EXPECT_TRUE(r.OpenKey(kProgramKey, true));
    }
    EXPECT_EQ(hive.Keys.count("HKEY_CURRENT_USER\\Software\\Kestrova\\Letterwell"), 1u);
}

TEST(Registry, ClosingMergesWithWhatAnotherWriterStoredMeanwhile) {
    TMemoryHive hive;
    hive.ProgramKey()["kept"] = TRegValue::FromInteger(1);
    hive.ProgramKey()["deleted"] = TRegValue::FromInteger(2);
    TRegistry r(hive);
    ASSERT_TRUE(r.OpenKey(kProgramKey, false));
    r.WriteInteger("mine", 3);
    r.DeleteValue("deleted");
    hive.ProgramKey()["theirs"] = TRegValue::FromString("later");
    r.CloseKey();
    const TRegValues& v = hive.ProgramKey();
    EXPECT_EQ(v.at("kept").Integer, 1u);
    EXPECT_EQ(v.at("mine").Integer, 3u);
    EXPECT_EQ(v.at("theirs").Text, "later");
    EXPECT_EQ(v.count("deleted"), 0u);
}

TEST(Registry, DamagedStoreFailsAReaderAndIsReplacedByAWriterWhoseFailedSaveIsThrown) {
    TMemoryHive hive;
    hive.Damaged = true;
    {
        TRegistry r(hive);
        EXPECT_THROW(r.OpenKey(kProgramKey, false), ERegistryDamaged);
    }
    {
        hive.FailSave = true;
        TRegistry r(hive);
        ASSERT_TRUE(r.OpenKey(kProgramKey, true));
        r.WriteInteger("x", 1);
        EXPECT_THROW(r.CloseKey(), ERegistryError);
        hive.FailSave = false;
    }
    TRegistry r(hive);
    ASSERT_TRUE(r.OpenKey(kProgramKey, true));
    r.WriteInteger("x", 7);
    r.CloseKey();
    EXPECT_FALSE(hive.Damaged);
    EXPECT_EQ(hive.ProgramKey().at("x").Integer, 7u);
}

TEST(RegistryDefault, FallsBackOnMissingOrMistypedValuesAndWritesFloatsAsEightLittleEndianBytes) {
    TMemoryHive hive;
    TRegValues& v = hive.ProgramKey();
    v["size as text"] = TRegValue::FromString("48");
    v["short margin"] = TRegValue::FromBinary({0, 0, 0x80, 0x3F});
    v["margin"] = TRegValue::FromBinary({0, 0, 0, 0, 0, 0, 0x04, 0x40});
    v["margin as int"] = TRegValue::FromInteger(3);
    v["empty text"] = TRegValue::FromString("");
    v["text as int"] = TRegValue::FromInteger(5);
    v["flag"] = TRegValue::FromInteger(2);
    TRegistryDefault r(hive);
    ASSERT_TRUE(r.OpenKey(kProgramKey, false));
    EXPECT_EQ(r.ReadInteger("size as text", 24), 24);
    EXPECT_EQ(r.ReadInteger("missing", 16), 16);
    EXPECT_DOUBLE_EQ(r.ReadFloat("short margin", 1.0), 1.0);
    EXPECT_DOUBLE_EQ(r.ReadFloat("margin", 1.0), 2.5);
    EXPECT_DOUBLE_EQ(r.ReadFloat("margin as int", 1.0), 1.0);
    EXPECT_EQ(r.ReadString("empty text", "default"), "default");
    EXPECT_EQ(r.ReadString("missing", "default"), "default");
    EXPECT_THROW(r.ReadString("text as int", "default"), ERegistryError);
    EXPECT_TRUE(r.ReadBool("flag", false));
    EXPECT_TRUE(r.ReadBool("size as text", true));

    {
        TRegistryDefault writer(hive);
        ASSERT_TRUE(writer.OpenKey(kProgramKey, true));
        writer.WriteFloat("m", 1.0);
        writer.WriteBool("b", true);
    }
    // Read again: the save replaced the map that v points into.
    EXPECT_EQ(hive.ProgramKey().at("m").Bytes,
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    EXPECT_EQ(hive.ProgramKey().at("b").Integer, 1u);
    TRegistryDefault reader(hive);
    ASSERT_TRUE(reader.OpenKey(kProgramKey, false));
    EXPECT_DOUBLE_EQ(reader.ReadFloat("m", 9.0), 1.0);
}

} // namespace
} // namespace lw
