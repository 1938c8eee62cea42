#include "fonts/type1_font_file.h"

#include "fonts/byte_view.h"
#include "fonts/font_manager.h"
#include "fonts/font_paths.h"
#include "fonts/font_text.h"
#include "platform/services.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace lw {

namespace {

// The header (117 bytes) and its extension (30 bytes) of a metrics file.
constexpr size_t kPfmHeaderSize = 117 + 30;
constexpr uint64_t kPfmItalic = 80;
constexpr uint64_t kPfmWeight = 83;
constexpr uint64_t kPfmFace = 105;
constexpr uint64_t kPfmDriverInfo = 117 + 22;
constexpr uint16_t kRegularWeight = 400;
constexpr size_t kMaxPfmText = 16384;

constexpr size_t kSegmentHeaderSize = 6;
constexpr size_t kMaxHeaderScan = 16384;

constexpr const char* kVersionKey = "%!PS-AdobeFont-1.0: ";
constexpr const char* kFixedPitchKey = "/isFixedPitch";

std::string ZeroTerminated(const std::vector<uint8_t>& bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t(0));
    return std::string(bytes.begin(), end);
}

std::string AsText(const std::string& bytes) {
    return BytesToText(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

// A whole number and nothing else; 0 otherwise, also when out of range.
int32_t WholeNumber(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-') {
            return 0;
        }
    }
    int32_t number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || first == last) {
        return 0;
    }
    return number;
}

// Lines end at a carriage return, a line feed, or the two together.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t stop = text.find_first_of("\r\n", start);
        if (stop == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, stop - start));
        start = stop + 1;
        if (text[stop] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

// Cuts value before the first of the endings found, or empties it.
void CutBefore(std::string& value, const char* ending, const char* fallback) {
    size_t at = value.find(ending);
    if (at == std::string::npos) {
        at = value.find(fallback);
    }
    if (at == std::string::npos) {
        value.clear();
    } else {
        value.erase(at);
    }
}

} // namespace

bool GetHeaderValue(const std::string& line, const std::string& key, std::string& value) {
    if (line.compare(0, key.size(), key) != 0) {
        return false;
    }
    value = line.substr(key.size());
    if (key == kVersionKey) {
        return true;
    }
    if (key == kFixedPitchKey && !value.empty()) {
        value.erase(0, 1); // the blank after this key, which has none of its own
    }
    if (value.empty()) {
        return true;
    }
    if (value.front() == '(') {
        value.erase(0, 1);
        CutBefore(value, ") readonly def", ") def");
    } else {
        CutBefore(value, " readonly def", " def");
    }
    if (!value.empty() && value.front() == '/') {
        value.erase(0, 1);
    }
    return true;
}

TType1FontFile::TType1FontFile(const std::string& metricsFile)
    : TType1FontFile(TFontFiles(metricsFile)) {}

TType1FontFile::TType1FontFile(const TFontFiles& files) {
    FontType = ftType1;
    FileName = InFontsFolder(files.File);
    // Beside the metrics file, same base name; found ignoring case, as files
    // copied from elsewhere often keep upper-case names.
    PfbFileName = files.Outline.empty() ? TFontManager::GetPfbFileName(FileName)
                                        : InFontsFolder(files.Outline);
    ReadFiles();
}

void TType1FontFile::ReadFiles() {
    const std::unique_ptr<IByteSource> metrics = FileShell().OpenFontFile(FileName);
    const std::unique_ptr<IByteSource> outline = FileShell().OpenFontFile(PfbFileName);
    ReadFont(*metrics, *outline);
    if (FontManager) {
        try {
            // The system may list the font under another family than the
            // metrics file gives: its value name decides too.
            Installed = !FontManager->FindRegistryName(FullName, FamilyName, StyleName).empty() ||
                        FontManager->ListsFont(TFontKey::Type1, RegistryName);
        } catch (const EAbort&) {
            Installed = false; // the font list cannot be read
        }
    }
}

TType1FontFile::TType1FontFile(IByteSource& metrics, IByteSource& outline) {
    FontType = ftType1;
    ReadFont(metrics, outline);
}

TFontFiles TType1FontFile::GetFiles(bool fullPath) const {
    if (fullPath) {
        return TFontFiles(FileName, PfbFileName);
    }
    return TFontFiles(FileNamePart(FileName), FileNamePart(PfbFileName));
}

void TType1FontFile::ReadFont(IByteSource& metrics, IByteSource& outline) {
    ReadMetrics(metrics);
    ReadOutlineHeader(outline);
    RegistryName = TFontManager::GetType1ValueName(FullName);
}

void TType1FontFile::ReadMetrics(IByteSource& metrics) {
    const std::vector<uint8_t> headerBytes = ReadUpTo(metrics, 0, kPfmHeaderSize);
    const TByteView header(headerBytes);
    // Offsets that point past the end give empty names.
    FamilyName = AsText(ZeroTerminated(ReadUpTo(metrics, header.LE32(kPfmFace), kMaxPfmText)));
    PostScriptName =
        AsText(ZeroTerminated(ReadUpTo(metrics, header.LE32(kPfmDriverInfo), kMaxPfmText)));
    FullName = PostScriptName;
    const bool italic = header.U8(kPfmItalic) == 1;
    if (header.LE16(kPfmWeight) == kRegularWeight) {
        StyleName = italic ? "Italic" : "Regular";
    } else {
        StyleName = italic ? "Bold Italic" : "Bold";
    }
}

void TType1FontFile::ReadOutlineHeader(IByteSource& outline) {
    const std::vector<uint8_t> segmentBytes = ReadUpTo(outline, 0, kSegmentHeaderSize);
    const TByteView segment(segmentBytes);
    // Every outline file the reader takes starts with an ASCII segment.
    NotAFont = !segment.Contains(0, 2) || segment.U8(0) != 0x80 || segment.U8(1) != 1;
    // The segment length may claim more than the file holds; the read takes
    // what is there.
    const size_t length = std::min<size_t>(segment.LE32(2), kMaxHeaderScan);
    const std::string header = ZeroTerminated(ReadUpTo(outline, kSegmentHeaderSize, length));
    for (const std::string& line : SplitLines(header)) {
        TakeHeaderLine(line);
    }
}

void TType1FontFile::TakeHeaderLine(const std::string& line) {
    struct TKey {
        const char* Key;
        std::string TType1FontFile::*Field;
    };
    static const TKey kTextKeys[] = {
        {"/FullName ", &TType1FontFile::PSFullName},
        {"/FamilyName ", &TType1FontFile::PSFamilyName},
        {"/UniqueID ", &TType1FontFile::UniqueID},
        {"/Weight ", &TType1FontFile::PSWeight},
    };
    std::string value;
    if (GetHeaderValue(line, kVersionKey, value)) {
        Version = AsText(value);
        return;
    }
    if (GetHeaderValue(line, "/FontName ", value)) {
        return; // the PostScript name comes from the metrics file
    }
    for (const TKey& key : kTextKeys) {
        if (GetHeaderValue(line, key.Key, value)) {
            this->*key.Field = AsText(value);
            return;
        }
    }
    if (GetHeaderValue(line, "/ItalicAngle ", value)) {
        ItalicAngle = WholeNumber(value);
    } else if (GetHeaderValue(line, kFixedPitchKey, value)) {
        IsFixedPitch = value == "true";
    } else if (GetHeaderValue(line, "/Copyright ", value)) {
        Copyright = AsText(value);
    } else if (GetHeaderValue(line, "/Notice ", value)) {
        Trademark = AsText(value);
    }
}

} // namespace lw
