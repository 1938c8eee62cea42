#include "base/regfile.h"

#include <charconv>
#include <cstdio>

namespace lw {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";

void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    out += '"';
}

void AppendHex(std::string& out, const std::vector<uint8_t>& bytes) {
    char buf[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", bytes[i]);
        if (i > 0) {
            out += ',';
        }
        out += buf;
    }
}

std::vector<uint8_t> JoinMultiString(const std::vector<std::string>& lines) {
    std::vector<uint8_t> bytes;
    for (const std::string& line : lines) {
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.push_back(0);
    }
    bytes.push_back(0);
    return bytes;
}

// A cursor over one logical line, failing with the line number.
class TLineReader {
public:
    TLineReader(std::string_view text, int lineNo) : Text(text), LineNo(lineNo) {}

    [[noreturn]] void Fail(const std::string& what) const {
        throw ERegistryDamaged("settings file line " + std::to_string(LineNo) + ": " + what);
    }
    bool AtEnd() const { return Pos >= Text.size(); }
    char Peek() const { return AtEnd() ? '\0' : Text[Pos]; }
    void Expect(char c) {
        if (Peek() != c) {
            Fail(std::string("expected '") + c + "'");
        }
        ++Pos;
    }
    bool Take(std::string_view prefix) {
        if (Text.substr(Pos).starts_with(prefix)) {
            Pos += prefix.size();
            return true;
        }
        return false;
    }

    std::string Quoted() {
        Expect('"');
        std::string out;
        while (true) {
            if (AtEnd()) {
                Fail("unterminated text");
            }
            char c = Text[Pos++];
            if (c == '"') {
                return out;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (AtEnd()) {
                Fail("unterminated escape");
            }
            switch (Text[Pos++]) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            default:
                Fail("unknown escape");
            }
        }
    }

    uint32_t Dword() {
        std::string_view digits = Text.substr(Pos);
        if (digits.size() != 8) {
            Fail("a dword needs eight hex digits");
        }
        uint32_t value = 0;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (ec != std::errc() || end != digits.data() + digits.size()) {
            Fail("bad dword");
        }
        Pos = Text.size();
        return value;
    }

    std::vector<uint8_t> HexBytes() {
        std::vector<uint8_t> bytes;
        while (!AtEnd()) {
            if (!bytes.empty()) {
                Expect(',');
            }
            std::string_view pair = Text.substr(Pos, 2);
            uint8_t b = 0;
            auto [end, ec] = std::from_chars(pair.data(), pair.data() + pair.size(), b, 16);
            if (pair.size() != 2 || ec != std::errc() || end != pair.data() + 2) {
                Fail("bad hex byte");
            }
            bytes.push_back(b);
            Pos += 2;
        }
        return bytes;
    }

    std::string_view Text;
    int LineNo;
    size_t Pos = 0;
};

std::vector<std::string> SplitMultiString(const std::vector<uint8_t>& bytes, TLineReader& line) {
    if (bytes.empty() || bytes.back() != 0) {
        line.Fail("a text list must end with a zero byte");
    }
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0) {
            lines.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(bytes[i]);
        }
    }
    if (!current.empty()) {
        line.Fail("a text list must end with a zero byte");
    }
    return lines;
}

TRegValue ParseValue(TLineReader& line) {
    if (line.Peek() == '"') {
        TRegValue v = TRegValue::FromString(line.Quoted());
        if (!line.AtEnd()) {
            line.Fail("text after the value");
        }
        return v;
    }
    if (line.Take("dword:")) {
        return TRegValue::FromInteger(line.Dword());
    }
    if (line.Take("hex(7):")) {
        return TRegValue::FromMultiString(SplitMultiString(line.HexBytes(), line));
    }
    if (line.Take("hex:")) {
        return TRegValue::FromBinary(line.HexBytes());
    }
    line.Fail("unknown value type");
}

// Joins lines ending in a backslash with the next one, as regedit wraps long
// hex values.
std::string_view NextLogicalLine(std::string_view text, size_t& pos, std::string& joined,
                                 int& lineNo, int& startLine) {
    joined.clear();
    startLine = lineNo + 1;
    while (pos < text.size() || !joined.empty()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        if (!joined.empty()) {
            while (!raw.empty() && (raw.front() == ' ' || raw.front() == '\t')) {
                raw.remove_prefix(1);
            }
        }
        if (!raw.empty() && raw.back() == '\\' && pos < text.size()) {
            joined.append(raw.substr(0, raw.size() - 1));
            continue;
        }
        joined.append(raw);
        return joined;
    }
    return joined;
}

} // namespace

std::string FormatRegistryText(const TRegKeys& keys) {
    std::string out(kHeader);
    out += "\n";
    for (const auto& [key, values] : keys) {
        out += "\n[" + key + "]\n";
        for (const auto& [name, value] : values) {
            AppendQuoted(out, name);
            out += '=';
            switch (value.Type) {
            case TRegDataType::Integer: {
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", value.Integer);
                out += buf;
                break;
            }
            case TRegDataType::String:
                AppendQuoted(out, value.Text);
                break;
            case TRegDataType::Binary:
                out += "hex:";
                AppendHex(out, value.Bytes);
                break;
            case TRegDataType::MultiString:
                out += "hex(7):";
                AppendHex(out, JoinMultiString(value.Lines));
                break;
            }
            out += '\n';
        }
    }
    return out;
}

TRegKeys ParseRegistryText(std::string_view text) {
    TRegKeys keys;
    TRegValues* current = nullptr;
    bool headerSeen = false;
    size_t pos = 0;
    int lineNo = 0;
    std::string joined;
    while (pos < text.size()) {
        int startLine = 0;
        std::string_view lineText = NextLogicalLine(text, pos, joined, lineNo, startLine);
        TLineReader line(lineText, startLine);
        if (lineText.empty() || lineText.front() == ';') {
            continue;
        }
        if (!headerSeen) {
            if (lineText != kHeader) {
                line.Fail("the file does not start with REGEDIT4");
            }
            headerSeen = true;
            continue;
        }
        if (lineText.front() == '[') {
            if (lineText.back() != ']' || lineText.size() < 3) {
                line.Fail("bad key line");
            }
            current = &keys[std::string(lineText.substr(1, lineText.size() - 2))];
            continue;
        }
        if (current == nullptr) {
            line.Fail("a value before any key");
        }
        std::string name = line.Quoted();
        line.Expect('=');
        (*current)[name] = ParseValue(line);
    }
    if (!headerSeen) {
        throw ERegistryDamaged("settings file is empty");
    }
    return keys;
}

} // namespace lw
