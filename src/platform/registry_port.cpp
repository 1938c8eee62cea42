#include "platform/registry_port.h"

#include <algorithm>

namespace lw {

TRegValue TRegValue::FromInteger(uint32_t v) {
    TRegValue r;
    r.Type = TRegDataType::Integer;
    r.Integer = v;
    return r;
}

TRegValue TRegValue::FromString(std::string s) {
    TRegValue r;
    r.Type = TRegDataType::String;
    r.Text = std::move(s);
    return r;
}

TRegValue TRegValue::FromBinary(std::vector<uint8_t> b) {
    TRegValue r;
    r.Type = TRegDataType::Binary;
    r.Bytes = std::move(b);
    return r;
}

TRegValue TRegValue::FromMultiString(std::vector<std::string> l) {
    TRegValue r;
    r.Type = TRegDataType::MultiString;
    r.Lines = std::move(l);
    return r;
}

namespace {
// The registry folds ASCII letters only; inline, as catalogues of thousands
// of fonts compare keys millions of times.
inline unsigned char FoldAscii(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}
} // namespace

size_t TKeyHash::operator()(const std::string& key) const {
    // FNV-1a over the folded bytes.
    uint64_t hash = 14695981039346656037ull;
    for (const char c : key) {
        hash = (hash ^ FoldAscii(c)) * 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

bool TKeyEqual::operator()(const std::string& a, const std::string& b) const {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool TKeyLess::operator()(const std::string& a, const std::string& b) const {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = FoldAscii(a[i]);
        const unsigned char y = FoldAscii(b[i]);
        if (x != y) {
            return x < y;
        }
    }
    return a.size() < b.size();
}

} // namespace lw
