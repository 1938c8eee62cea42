#include "pages/sample_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace lw {

namespace {

// Decodes one UTF-8 sequence at i; malformed bytes count as U+FFFD.
uint32_t NextCodePoint(const std::string& s, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    int extra = 0;
    uint32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + static_cast<size_t>(extra) >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        const unsigned char next = byte(i + static_cast<size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    i += static_cast<size_t>(extra) + 1;
    return cp;
}

// Rich text writes a 16-bit unit as a signed decimal, with "?" for readers
// that do not know \u.
void AppendUnicodeUnit(std::string& out, uint32_t unit) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "\\u%d?", static_cast<int>(static_cast<int16_t>(unit)));
    out += buf;
}

std::string EscapeRtf(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const uint32_t cp = NextCodePoint(text, i);
        if (cp == '\\' || cp == '{' || cp == '}') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else {
            // Each character in a group of its own: some readers take the
            // rest of a word after "?" for the fallback and would lose it.
            out += '{';
            if (cp < 0x10000) {
                AppendUnicodeUnit(out, cp);
            } else {
                const uint32_t v = cp - 0x10000;
                AppendUnicodeUnit(out, 0xD800 + (v >> 10));
                AppendUnicodeUnit(out, 0xDC00 + (v & 0x3FF));
            }
            out += '}';
        }
    }
    return out;
}

} // namespace

std::vector<std::string> SplitSampleLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            current += c;
        }
    }
    if (!current.empty() || lines.empty()) {
        lines.push_back(current);
    }
    return lines;
}

std::string FirstCharacters(const std::string& text, size_t count) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == count) {
            return text.substr(0, i);
        }
    }
    return text;
}

std::string BuildSampleRtf(const std::string& selection, const TSampleFormat& format) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3082{\\fonttbl{\\f0\\fnil " +
                      EscapeRtf(format.FontName) + ";}}";
    rtf += "{\\colortbl;\\red" + std::to_string(RedOf(format.Color)) + "\\green" +
           std::to_string(GreenOf(format.Color)) + "\\blue" + std::to_string(BlueOf(format.Color)) +
           ";}";
    std::string styles;
    if (format.Bold) {
        styles += "\\b";
    }
    if (format.Italic) {
        styles += "\\i";
    }
    if (format.Underline) {
        styles += "\\ul";
    }
    const std::vector<std::string> lines = SplitSampleLines(selection);
    std::string body;
    for (size_t i = 0; i < lines.size(); ++i) {
        body += EscapeRtf(lines[i]);
        if (i + 1 < lines.size()) {
            body += " \\par";
        }
        body += "\r\n";
    }
    rtf += "\\pard\\plain\\f0\\fs" + std::to_string(format.SizePoints * 2) + "\\cf1" + styles +
           " " + body + " }";
    return rtf;
}

std::vector<int> SampleLineTops(size_t lineCount, double textHeight, int pageHeight) {
    const int step = static_cast<int>(std::nearbyint(1.25 * textHeight));
    std::vector<int> tops;
    int top = 0;
    for (size_t i = 0; i < lineCount && top < pageHeight; ++i) {
        tops.push_back(top);
        top += step;
    }
    return tops;
}

namespace {

// The parts of a word wider than the page, each as wide as fits (at least
// one character, so a page narrower than a letter still ends).
std::vector<std::string> BreakWord(const std::string& word, double width,
                                   const std::function<double(const std::string&)>& measure) {
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 0; i < word.size();) {
        size_t next = i + 1;
        while (next < word.size() && (static_cast<uint8_t>(word[next]) & 0xC0) == 0x80) {
            ++next;
        }
        const std::string character = word.substr(i, next - i);
        if (!part.empty() && measure(part + character) > width) {
            parts.push_back(part);
            part.clear();
        }
        part += character;
        i = next;
    }
    parts.push_back(part);
    return parts;
}

} // namespace

std::vector<std::string> WrapSampleLine(const std::string& line, double width,
                                        const std::function<double(const std::string&)>& measure) {
    std::vector<std::string> lines;
    std::string current;
    bool started = false;
    size_t start = 0;
    while (start <= line.size()) {
        const size_t blank = std::min(line.find(' ', start), line.size());
        const std::string word = line.substr(start, blank - start);
        start = blank + 1;
        const std::string joined = started ? current + " " + word : word;
        if (!started || measure(joined) <= width) {
            current = joined;
            started = true;
            if (measure(current) <= width) {
                continue;
            }
            current.clear(); // a first word wider than the page alone
        } else {
            lines.push_back(current);
        }
        std::vector<std::string> parts = BreakWord(word, width, measure);
        current = parts.back();
        parts.pop_back();
        lines.insert(lines.end(), parts.begin(), parts.end());
    }
    lines.push_back(current);
    return lines;
}

} // namespace lw
