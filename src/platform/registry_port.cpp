#include "platform/registry_port.h"

#include <algorithm>
#include <cctype>

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

bool TKeyLess::operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace lw
