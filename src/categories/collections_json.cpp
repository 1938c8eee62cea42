#include "categories/collections_json.h"

#include <cctype>
#include <cstdint>

namespace lw {

namespace {

constexpr int kMaxDepth = 64;

// Only what the reader needs of JSON: objects keep their members in order.
struct TJsonMember;
struct TJson {
    enum TKind { Null, Bool, Number, String, Array, Object } Kind = Null;
    std::string Text;
    std::vector<TJson> Items;
    // Not std::pair: a pair of a type still being defined does not compile
    // with clang and libstdc++ (the fuzz build).
    std::vector<TJsonMember> Members;
    const TJson* Member(const std::string& key) const;
};

struct TJsonMember {
    std::string Key;
    TJson Value;
};

const TJson* TJson::Member(const std::string& key) const {
    for (const auto& [name, value] : Members) {
        if (name == key) {
            return &value;
        }
    }
    return nullptr;
}

// A recursive walk over the text that stops for good at the first fault.
class TJsonReader {
public:
    explicit TJsonReader(std::string_view text) : Text(text) {}

    std::optional<TJson> Document() {
        TJson value;
        if (!Value(value, 0)) {
            return std::nullopt;
        }
        Blanks();
        return At == Text.size() ? std::optional<TJson>(std::move(value)) : std::nullopt;
    }

private:
    void Blanks() {
        while (At < Text.size() &&
               (Text[At] == ' ' || Text[At] == '\t' || Text[At] == '\n' || Text[At] == '\r')) {
            ++At;
        }
    }
    bool Take(char c) {
        Blanks();
        if (At < Text.size() && Text[At] == c) {
            ++At;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word) {
        if (Text.substr(At, word.size()) != word) {
            return false;
        }
        At += word.size();
        return true;
    }
    bool Hex4(uint32_t& unit) {
        if (At + 4 > Text.size()) {
            return false;
        }
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = Text[At++];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) {
                return false;
            }
            unit = unit * 16 + static_cast<uint32_t>(digit);
        }
        return true;
    }
    static void PutUtf8(std::string& out, uint32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    bool Escape(std::string& out) {
        if (At >= Text.size()) {
            return false;
        }
        const char c = Text[At++];
        switch (c) {
        case '"':
        case '\\':
        case '/':
            out += c;
            return true;
        case 'b':
            out += '\b';
            return true;
        case 'f':
            out += '\f';
            return true;
        case 'n':
            out += '\n';
            return true;
        case 'r':
            out += '\r';
            return true;
        case 't':
            out += '\t';
            return true;
        case 'u': {
            uint32_t unit = 0;
            if (!Hex4(unit)) {
                return false;
            }
            if (unit >= 0xD800 && unit < 0xDC00 && Word("\\u")) {
                uint32_t low = 0;
                if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF) {
                    return false;
                }
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            } else if (unit >= 0xD800 && unit < 0xE000) {
                unit = 0xFFFD; // a lone surrogate has no UTF-8
            }
            PutUtf8(out, unit);
            return true;
        }
        default:
            return false;
        }
    }
    bool String(std::string& out) {
        if (!Take('"')) {
            return false;
        }
        while (At < Text.size()) {
            const char c = Text[At++];
            if (c == '"') {
                return true;
            }
            if (c == '\\') {
                if (!Escape(out)) {
                    return false;
                }
            } else if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            } else {
                out += c;
            }
        }
        return false;
    }
    bool Value(TJson& value, int depth) {
        if (depth > kMaxDepth) {
            return false;
        }
        Blanks();
        if (At >= Text.size()) {
            return false;
        }
        const char c = Text[At];
        if (c == '"') {
            value.Kind = TJson::String;
            return String(value.Text);
        }
        if (c == '[') {
            ++At;
            value.Kind = TJson::Array;
            if (Take(']')) {
                return true;
            }
            do {
                value.Items.emplace_back();
                if (!Value(value.Items.back(), depth + 1)) {
                    return false;
                }
            } while (Take(','));
            return Take(']');
        }
        if (c == '{') {
            ++At;
            value.Kind = TJson::Object;
            if (Take('}')) {
                return true;
            }
            do {
                std::string key;
                Blanks();
                if (!String(key) || !Take(':')) {
                    return false;
                }
                value.Members.push_back({std::move(key), TJson()});
                if (!Value(value.Members.back().Value, depth + 1)) {
                    return false;
                }
            } while (Take(','));
            return Take('}');
        }
        if (Word("true") || Word("false")) {
            value.Kind = TJson::Bool;
            return true;
        }
        if (Word("null")) {
            return true;
        }
        const size_t start = At;
        while (At < Text.size() &&
               (std::isdigit(static_cast<unsigned char>(Text[At])) || Text[At] == '-' ||
                Text[At] == '+' || Text[At] == '.' || Text[At] == 'e' || Text[At] == 'E')) {
            ++At;
        }
        value.Kind = TJson::Number;
        return At > start;
    }

    std::string_view Text;
    size_t At = 0;
};

void Flatten(const TJson& collection, const std::string& key, const std::string& parent,
             std::vector<TImportedCollection>& out) {
    if (collection.Kind != TJson::Object) {
        return;
    }
    const TJson* name = collection.Member("name");
    const std::string own = name && name->Kind == TJson::String ? name->Text : key;
    TImportedCollection flat;
    flat.Name = parent.empty() ? own : parent + kCollectionNameSeparator + own;
    if (const TJson* families = collection.Member("families")) {
        for (const TJson& family : families->Items) {
            if (family.Kind == TJson::String) {
                flat.Families.push_back(family.Text);
            }
        }
        for (const auto& [family, unused] : families->Members) {
            flat.Families.push_back(family);
        }
    }
    const std::string childParent = flat.Name;
    out.push_back(std::move(flat));
    if (const TJson* children = collection.Member("children")) {
        for (const TJson& child : children->Items) {
            Flatten(child, std::string(), childParent, out);
        }
        for (const auto& [childKey, child] : children->Members) {
            Flatten(child, childKey, childParent, out);
        }
    }
}

void PutJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static const char digits[] = "0123456789abcdef";
            out += "\\u00";
            out += digits[(c >> 4) & 0xF];
            out += digits[c & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

} // namespace

std::optional<std::vector<TImportedCollection>> ParseCollectionsJson(std::string_view text) {
    const std::optional<TJson> document = TJsonReader(text).Document();
    if (!document || document->Kind != TJson::Object) {
        return std::nullopt;
    }
    const TJson* entries = document->Member("entries");
    if (entries == nullptr || (entries->Kind != TJson::Object && entries->Kind != TJson::Array)) {
        return std::nullopt;
    }
    std::vector<TImportedCollection> collections;
    for (const auto& [key, collection] : entries->Members) {
        Flatten(collection, key, std::string(), collections);
    }
    for (const TJson& collection : entries->Items) {
        Flatten(collection, std::string(), std::string(), collections);
    }
    return collections;
}

std::string WriteCollectionsJson(const std::vector<TImportedCollection>& collections) {
    std::string out = "{\"entries\": [";
    for (size_t i = 0; i < collections.size(); ++i) {
        out += i == 0 ? "\n  {\"name\": " : ",\n  {\"name\": ";
        PutJsonString(out, collections[i].Name);
        out += ", \"families\": [";
        for (size_t f = 0; f < collections[i].Families.size(); ++f) {
            out += f == 0 ? "" : ", ";
            PutJsonString(out, collections[i].Families[f]);
        }
        out += "]}";
    }
    out += "\n]}\n";
    return out;
}

} // namespace lw
