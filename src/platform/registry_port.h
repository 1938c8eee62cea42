#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace lw {

// The value kinds a registry keeps; a read asks for one kind and a stored
// value of another kind is a read error, as on the system this mirrors.
enum class TRegDataType { Integer, String, Binary, MultiString };

struct TRegValue {
    TRegDataType Type = TRegDataType::String;
    uint32_t Integer = 0;
    std::string Text;
    std::vector<uint8_t> Bytes;
    std::vector<std::string> Lines;

    static TRegValue FromInteger(uint32_t v);
    static TRegValue FromString(std::string s);
    static TRegValue FromBinary(std::vector<uint8_t> b);
    static TRegValue FromMultiString(std::vector<std::string> l);
    bool operator==(const TRegValue&) const = default;
};

// Key paths are compared ignoring ASCII case, like the system registry's.
struct TKeyLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

// The same comparison for hashed look-ups.
struct TKeyHash {
    size_t operator()(const std::string& key) const;
};
struct TKeyEqual {
    bool operator()(const std::string& a, const std::string& b) const;
};

using TRegValues = std::map<std::string, TRegValue, TKeyLess>;
using TRegKeys = std::map<std::string, TRegValues, TKeyLess>;

class ERegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The stored hive of the current user's values. Load gives what is stored now
// (empty when nothing is stored yet); Save replaces it as a whole and either
// succeeds completely or leaves the previous contents in place.
class IRegistryHive {
public:
    virtual ~IRegistryHive() = default;
    // Throws ERegistryError when the stored data cannot be read or parsed.
    virtual TRegKeys Load() = 0;
    // Throws ERegistryError when the data cannot be written.
    virtual void Save(const TRegKeys& keys) = 0;
};

} // namespace lw
