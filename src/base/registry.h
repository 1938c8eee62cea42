#pragma once

#include "platform/registry_port.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// The key under which every setting of the program lives.
inline constexpr const char* kProgramKey = "Software\\Kestrova\\Letterwell";

// Access to one key of the current user's hive, in the manner of the system
// registry: reads of a missing value or of another type raise ERegistryError,
// writes collect in memory and reach the store when the key is closed. The
// store is read again just before writing, so values written meanwhile by
// another process survive unless this key changed them.
class TRegistry {
public:
    explicit TRegistry(IRegistryHive& hive);
    virtual ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // False when the key is missing and may not be created. Throws
    // ERegistryError when the store cannot be read.
    bool OpenKey(const std::string& key, bool canCreate);
    // Writes what changed; throws ERegistryError when that fails.
    void CloseKey();
    bool KeyIsOpen() const { return Open; }

    bool ValueExists(const std::string& name) const;
    std::optional<TRegDataType> GetDataType(const std::string& name) const;
    std::vector<std::string> GetValueNames() const;

    int32_t ReadInteger(const std::string& name) const;
    bool ReadBool(const std::string& name) const;
    // A missing value reads as an empty text; one of another type is an error.
    std::string ReadString(const std::string& name) const;
    std::vector<uint8_t> ReadBinaryData(const std::string& name) const;
    std::vector<std::string> ReadMultiString(const std::string& name) const;

    void WriteInteger(const std::string& name, int32_t value);
    void WriteBool(const std::string& name, bool value);
    void WriteString(const std::string& name, const std::string& value);
    void WriteBinaryData(const std::string& name, const std::vector<uint8_t>& value);
    void WriteMultiString(const std::string& name, const std::vector<std::string>& value);
    void WriteFloat(const std::string& name, double value);
    bool DeleteValue(const std::string& name);

private:
    const TRegValue& Value(const std::string& name, TRegDataType type) const;
    void Put(const std::string& name, std::optional<TRegValue> value);

    IRegistryHive& Hive;
    bool Open = false;
    std::string KeyPath;
    TRegValues Values;
    // What this object changed, applied over a fresh read at close.
    std::vector<std::pair<std::string, std::optional<TRegValue>>> Pending;
};

// Reads that fall back to a default instead of failing.
class TRegistryDefault : public TRegistry {
public:
    using TRegistry::ReadBool;
    using TRegistry::ReadInteger;
    using TRegistry::ReadString;
    using TRegistry::TRegistry;

    int32_t ReadInteger(const std::string& name, int32_t def) const;
    bool ReadBool(const std::string& name, bool def) const;
    // An 8-byte binary value; anything else gives the default.
    double ReadFloat(const std::string& name, double def) const;
    // The default when missing or empty; a value of another type still raises.
    std::string ReadString(const std::string& name, const std::string& def) const;
};

} // namespace lw
