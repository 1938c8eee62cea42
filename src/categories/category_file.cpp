#include "categories/category_file.h"

#include "fonts/font_text.h"

#include <cstdint>
#include <span>

namespace lw {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Windows-1250 from 0x80 up; its unassigned bytes become the C1 controls of
// the same number, so every byte reads as something.
constexpr char16_t kWindows1250High[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Windows1250ToUtf8(std::string_view line) {
    std::string text;
    for (const uint8_t byte : Bytes(line)) {
        AppendUtf8(text, byte < 0x80 ? char32_t{byte} : char32_t{kWindows1250High[byte - 0x80]});
    }
    return text;
}

// The names of a file written before category files were UTF-8: the
// program's own code page first, the Western one where only it gives a
// family that is installed.
std::string CodePageLine(std::string_view line, const TFamilyTest& installed) {
    std::string central = Windows1250ToUtf8(line);
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
