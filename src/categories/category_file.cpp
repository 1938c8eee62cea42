#include "categories/category_file.h"

#include "fonts/font_text.h"

namespace lw {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

} // namespace

std::optional<std::vector<std::string>> ParseCategoryFile(const std::string& bytes) {
    std::string_view text = bytes;
    if (StartsWith(text, kUtf8Mark)) {
        text.remove_prefix(kUtf8Mark.size());
    }
    if (text.find('\0') != std::string_view::npos || !IsValidUtf8(text)) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            names.emplace_back(text.substr(start));
            break;
        }
        names.emplace_back(text.substr(start, end - start));
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
    return names;
}

std::string FormatCategoryFile(const std::vector<std::string>& members) {
    std::string text;
    for (const std::string& member : members) {
        text += member;
        text += "\r\n";
    }
    return text;
}

} // namespace lw
