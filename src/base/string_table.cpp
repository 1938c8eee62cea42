#include "base/string_table.h"

#include <charconv>

namespace lw {

namespace {

bool Unescape(std::string_view raw, std::string& out) {
    out.clear();
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            out += raw[i];
            continue;
        }
        if (++i == raw.size()) {
            return false;
        }
        switch (raw[i]) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            return false;
        }
    }
    return true;
}

constexpr std::string_view kBundleMagic = "LWBUNDLE1\n";
constexpr std::string_view kBundleEnd = "END\n";
constexpr size_t kMaxEntryName = 255;

// Reads up to the next newline, never past the end.
bool ReadLine(const std::vector<uint8_t>& bytes, size_t& pos, std::string& line) {
    line.clear();
    while (pos < bytes.size()) {
        char c = static_cast<char>(bytes[pos++]);
        if (c == '\n') {
            return true;
        }
        if (line.size() > kMaxEntryName) {
            return false;
        }
        line += c;
    }
    return false;
}

} // namespace

std::optional<TStringTable> TStringTable::Parse(std::string_view text, std::string* error) {
    TStringTable table;
    int lineNo = 0;
    auto fail = [&](const std::string& what) -> std::optional<TStringTable> {
        if (error != nullptr) {
            *error = "line " + std::to_string(lineNo) + ": " + what;
        }
        return std::nullopt;
    };
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            return fail("no tab after the number");
        }
        int id = 0;
        auto [ptr, ec] = std::from_chars(line.data(), line.data() + tab, id);
        if (ec != std::errc() || ptr != line.data() + tab || id < 0) {
            return fail("bad number");
        }
        std::string value;
        if (!Unescape(line.substr(tab + 1), value)) {
            return fail("bad escape");
        }
        if (!table.Texts.emplace(id, std::move(value)).second) {
            return fail("number " + std::to_string(id) + " repeats");
        }
    }
    return table;
}

const std::string* TStringTable::Find(int id) const {
    auto it = Texts.find(id);
    return it == Texts.end() ? nullptr : &it->second;
}

std::vector<int> TStringTable::Numbers() const {
    std::vector<int> numbers;
    numbers.reserve(Texts.size());
    for (const auto& [id, text] : Texts) {
        numbers.push_back(id);
    }
    return numbers;
}

std::optional<std::map<std::string, std::vector<uint8_t>>>
ParseBundle(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < kBundleMagic.size() ||
        std::string_view(reinterpret_cast<const char*>(bytes.data()), kBundleMagic.size()) !=
            kBundleMagic) {
        return std::nullopt;
    }
    std::map<std::string, std::vector<uint8_t>> entries;
    size_t pos = kBundleMagic.size();
    std::string name;
    std::string sizeText;
    while (true) {
        if (!ReadLine(bytes, pos, name)) {
            return std::nullopt;
        }
        if (name + "\n" == kBundleEnd) {
            return pos == bytes.size() ? std::optional(std::move(entries)) : std::nullopt;
        }
        if (name.empty() || !ReadLine(bytes, pos, sizeText)) {
            return std::nullopt;
        }
        size_t size = 0;
        auto [ptr, ec] = std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), size);
        if (ec != std::errc() || ptr != sizeText.data() + sizeText.size() || sizeText.empty()) {
            return std::nullopt;
        }
        // size + 1 for the newline that closes the entry; checked without overflow.
        if (size >= bytes.size() - pos || bytes[pos + size] != '\n') {
            return std::nullopt;
        }
        std::vector<uint8_t> data(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                                  bytes.begin() + static_cast<std::ptrdiff_t>(pos + size));
        if (!entries.emplace(name, std::move(data)).second) {
            return std::nullopt;
        }
        pos += size + 1;
    }
}

std::vector<uint8_t> WriteBundle(const std::map<std::string, std::vector<uint8_t>>& entries) {
    std::vector<uint8_t> out(kBundleMagic.begin(), kBundleMagic.end());
    for (const auto& [name, data] : entries) {
        std::string head = name + "\n" + std::to_string(data.size()) + "\n";
        out.insert(out.end(), head.begin(), head.end());
        out.insert(out.end(), data.begin(), data.end());
        out.push_back('\n');
    }
    out.insert(out.end(), kBundleEnd.begin(), kBundleEnd.end());
    return out;
}

std::optional<TLanguageModule> LanguageModuleFromBundle(const std::vector<uint8_t>& bytes) {
    auto entries = ParseBundle(bytes);
    if (!entries) {
        return std::nullopt;
    }
    auto strings = entries->find("strings.txt");
    if (strings == entries->end()) {
        return std::nullopt;
    }
    auto table = TStringTable::Parse(std::string_view(
        reinterpret_cast<const char*>(strings->second.data()), strings->second.size()));
    if (!table) {
        return std::nullopt;
    }
    TLanguageModule module;
    module.Strings = std::move(*table);
    for (const char* name : kLanguageBitmapNames) {
        auto bitmap = entries->find(name);
        if (bitmap == entries->end() || bitmap->second.empty()) {
            return std::nullopt;
        }
        module.Bitmaps[name] = bitmap->second;
    }
    return module;
}

} // namespace lw
