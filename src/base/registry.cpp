#include "base/registry.h"

#include "base/regfile.h"

#include <bit>
#include <cstring>

namespace lw {

namespace {
const std::string kRootName = "HKEY_CURRENT_USER\\";

std::string NormalizeKey(std::string key) {
    while (!key.empty() && key.front() == '\\') {
        key.erase(key.begin());
    }
    while (!key.empty() && key.back() == '\\') {
        key.pop_back();
    }
    return kRootName + key;
}

TRegKeys LoadOrEmptyWhenDamaged(IRegistryHive& hive) {
    try {
        return hive.Load();
    } catch (const ERegistryDamaged&) {
        // The hive keeps the damaged file aside when it replaces it; what we
        // write starts from nothing.
        return {};
    }
}
} // namespace

TRegistry::TRegistry(IRegistryHive& hive) : Hive(hive) {}

TRegistry::~TRegistry() {
    try {
        CloseKey();
    } catch (const ERegistryError&) {
        // Destruction cannot report; callers that care close explicitly.
    }
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    CloseKey();
    const std::string path = NormalizeKey(key);
    TRegKeys keys;
    try {
        keys = Hive.Load();
    } catch (const ERegistryDamaged&) {
        // Reading a damaged store is an error; writing starts afresh, and the
        // hive keeps the damaged file aside before replacing it.
        if (!canCreate) {
            throw;
        }
    }
    auto found = keys.find(path);
    if (found == keys.end() && !canCreate) {
        return false;
    }
    KeyPath = path;
    Values = found == keys.end() ? TRegValues{} : found->second;
    Open = true;
    if (found == keys.end()) {
        // A created key exists even before a value is written to it.
        Pending.emplace_back(std::string(), std::nullopt);
    }
    return true;
}

void TRegistry::CloseKey() {
    if (!Open) {
        return;
    }
    Open = false;
    if (Pending.empty()) {
        return;
    }
    TRegKeys keys = LoadOrEmptyWhenDamaged(Hive);
    TRegValues& target = keys[KeyPath];
    for (auto& [name, value] : Pending) {
        if (name.empty() && !value) {
            continue;
        }
        if (value) {
            target[name] = *value;
        } else {
            target.erase(name);
        }
    }
    Pending.clear();
    Hive.Save(keys);
}

bool TRegistry::ValueExists(const std::string& name) const {
    return Open && Values.count(name) > 0;
}

std::optional<TRegDataType> TRegistry::GetDataType(const std::string& name) const {
    if (!Open) {
        return std::nullopt;
    }
    auto it = Values.find(name);
    if (it == Values.end()) {
        return std::nullopt;
    }
    return it->second.Type;
}

std::vector<std::string> TRegistry::GetValueNames() const {
    std::vector<std::string> names;
    if (Open) {
        for (const auto& [name, value] : Values) {
            names.push_back(name);
        }
    }
    return names;
}

const TRegValue& TRegistry::Value(const std::string& name, TRegDataType type) const {
    if (!Open) {
        throw ERegistryError("no key is open to read '" + name + "'");
    }
    auto it = Values.find(name);
    if (it == Values.end()) {
        throw ERegistryError("value '" + name + "' does not exist");
    }
    if (it->second.Type != type) {
        throw ERegistryError("Invalid data type for '" + name + "'");
    }
    return it->second;
}

int32_t TRegistry::ReadInteger(const std::string& name) const {
    return static_cast<int32_t>(Value(name, TRegDataType::Integer).Integer);
}

bool TRegistry::ReadBool(const std::string& name) const {
    return ReadInteger(name) != 0;
}

std::string TRegistry::ReadString(const std::string& name) const {
    if (!ValueExists(name)) {
        return std::string();
    }
    return Value(name, TRegDataType::String).Text;
}

std::vector<uint8_t> TRegistry::ReadBinaryData(const std::string& name) const {
    return Value(name, TRegDataType::Binary).Bytes;
}

std::vector<std::string> TRegistry::ReadMultiString(const std::string& name) const {
    return Value(name, TRegDataType::MultiString).Lines;
}

void TRegistry::Put(const std::string& name, std::optional<TRegValue> value) {
    if (!Open) {
        throw ERegistryError("no key is open to write '" + name + "'");
    }
    if (value) {
        Values[name] = *value;
    } else {
        Values.erase(name);
    }
    Pending.emplace_back(name, std::move(value));
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
    Put(name, TRegValue::FromInteger(static_cast<uint32_t>(value)));
}

void TRegistry::WriteBool(const std::string& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    Put(name, TRegValue::FromString(value));
}

void TRegistry::WriteBinaryData(const std::string& name, const std::vector<uint8_t>& value) {
    Put(name, TRegValue::FromBinary(value));
}

void TRegistry::WriteMultiString(const std::string& name, const std::vector<std::string>& value) {
    Put(name, TRegValue::FromMultiString(value));
}

void TRegistry::WriteFloat(const std::string& name, double value) {
    // Stored little-endian whatever the host, so the file reads the same everywhere.
    uint64_t bits = std::bit_cast<uint64_t>(value);
    std::vector<uint8_t> bytes(8);
    for (int i = 0; i < 8; ++i) {
        bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(bits >> (8 * i));
    }
    WriteBinaryData(name, bytes);
}

bool TRegistry::DeleteValue(const std::string& name) {
    if (!ValueExists(name)) {
        return false;
    }
    Put(name, std::nullopt);
    return true;
}

int32_t TRegistryDefault::ReadInteger(const std::string& name, int32_t def) const {
    try {
        return TRegistry::ReadInteger(name);
    } catch (const ERegistryError&) {
        return def;
    }
}

bool TRegistryDefault::ReadBool(const std::string& name, bool def) const {
    try {
        return TRegistry::ReadBool(name);
    } catch (const ERegistryError&) {
        return def;
    }
}

double TRegistryDefault::ReadFloat(const std::string& name, double def) const {
    try {
        std::vector<uint8_t> bytes = ReadBinaryData(name);
        if (bytes.size() != 8) {
            return def;
        }
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) {
            bits |= static_cast<uint64_t>(bytes[static_cast<size_t>(i)]) << (8 * i);
        }
        return std::bit_cast<double>(bits);
    } catch (const ERegistryError&) {
        return def;
    }
}

std::string TRegistryDefault::ReadString(const std::string& name, const std::string& def) const {
    std::string value = TRegistry::ReadString(name);
    return value.empty() ? def : value;
}

} // namespace lw
