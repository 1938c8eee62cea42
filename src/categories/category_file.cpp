#include "categories/category_file.h"

#include "fonts/font_text.h"

#include <cstdint>
#include <span>

namespace lw {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// The names of a file written before category files were UTF-8: the
// program's own code page first, the Western one where only it gives a
// family that is installed.
std::string CodePageLine(std::string_view line, const TFamilyTest& installed) {
    std::string central = Windows1250ToUtf8(Bytes(line));
    if (!installed || installed(central)) {
        return central;
    }
    std::string western = Windows1252ToUtf8(Bytes(line));
    return installed(western) ? western : central;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
    return lines;
}

} // namespace

std::optional<std::vector<std::string>> ParseCategoryFile(const std::string& bytes,
                                                          const TFamilyTest& installed) {
    std::string_view text = bytes;
    if (text.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const bool utf8 = IsValidUtf8(text);
    if (utf8 && StartsWith(text, kUtf8Mark)) {
        text.remove_prefix(kUtf8Mark.size());
    }
    std::vector<std::string> names;
    for (const std::string_view line : Lines(text)) {
        names.push_back(utf8 ? std::string(line) : CodePageLine(line, installed));
    }
    return names;
}

std::string FormatCategoryFile(const std::vector<std::string>& members) {
    std::string text;
    if (!members.empty() && StartsWith(members.front(), kUtf8Mark)) {
        text += kUtf8Mark;
    }
    for (const std::string& member : members) {
        text += member;
        text += "\r\n";
    }
    return text;
}

} // namespace lw
