#include "fonts/type1_font_file.h"

#include "base/helpers.h"
#include "fonts/byte_view.h"
#include "fonts/font_manager.h"
#include "fonts/font_paths.h"
#include "fonts/font_text.h"
#include "platform/services.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>

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
constexpr uint8_t kSegmentMark = 0x80;
constexpr uint8_t kTextSegment = 1;
// The text scanned of an outline that a ".pfm" names: the first segment's
// first bytes, the lines as they stand.
constexpr size_t kMaxHeaderScan = 16384;
// The clear text before the encrypted part of an outline that names itself:
// names, font information and perhaps an encoding of 256 lines; no real
// font needs more. Its lines may be indented.
constexpr size_t kMaxCleartextScan = 65536;
constexpr size_t kMaxAfmScan = 65536;
// Where the encrypted part of an outline starts.
constexpr const char* kEncryptedStart = "eexec";

constexpr const char* kVersionKey = "%!PS-AdobeFont-1.0: ";
constexpr const char* kFixedPitchKey = "/isFixedPitch";

std::string ZeroTerminated(const std::vector<uint8_t>& bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t(0));
    return std::string(bytes.begin(), end);
}

std::string ZeroTerminatedText(const std::string& text) {
    return text.substr(0, text.find('\0'));
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

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// A PostScript string's text with its escapes undone: "\n" and its kin,
// "\(", "\)", "\\", one to three octal digits, and a backslash before a line
// end, which joins the lines. An unknown escape stands for its letter.
std::string PostScriptString(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (IsOctalDigit(c)) {
            int code = 0;
            size_t digits = 0;
            for (; digits < 3 && i < text.size() && IsOctalDigit(text[i]); ++digits, ++i) {
                code = code * 8 + (text[i] - '0');
            }
            --i;
            out += static_cast<char>(code & 0xFF);
            continue;
        }
        switch (c) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case '\r':
        case '\n':
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The text of the first segment of a ".pfb", as far as a metrics file's
// outline is scanned. NotAFont unless it starts with a text segment.
std::string FirstSegmentText(IByteSource& outline, bool& notAFont) {
    const std::vector<uint8_t> segmentBytes = ReadUpTo(outline, 0, kSegmentHeaderSize);
    const TByteView segment(segmentBytes);
    notAFont =
        !segment.Contains(0, 2) || segment.U8(0) != kSegmentMark || segment.U8(1) != kTextSegment;
    // The segment length may claim more than the file holds; the read takes
    // what is there.
    const size_t length = std::min<size_t>(segment.LE32(2), kMaxHeaderScan);
    return ZeroTerminated(ReadUpTo(outline, kSegmentHeaderSize, length));
}

// The clear text of an outline file up to where its encrypted part starts:
// the text segments of a ".pfb" one after the other, or the first bytes of
// a text file (".pfa", ".t1"). NotAFont when the file starts as neither.
std::string OutlineCleartext(IByteSource& outline, bool& notAFont) {
    const std::vector<uint8_t> firstBytes = ReadUpTo(outline, 0, kSegmentHeaderSize);
    const TByteView first(firstBytes);
    std::string text;
    if (first.Contains(0, 2) && first.U8(0) == kSegmentMark) {
        notAFont = first.U8(1) != kTextSegment;
        // A length may claim more than the file holds: the read takes what
        // is there, and the walk ends with it.
        uint64_t at = 0;
        while (text.size() < kMaxCleartextScan) {
            const std::vector<uint8_t> segmentBytes = ReadUpTo(outline, at, kSegmentHeaderSize);
            const TByteView segment(segmentBytes);
            if (!segment.Contains(0, kSegmentHeaderSize) || segment.U8(0) != kSegmentMark ||
                segment.U8(1) != kTextSegment) {
                break;
            }
            const uint32_t length = segment.LE32(2);
            const size_t wanted = std::min<size_t>(length, kMaxCleartextScan - text.size());
            const std::vector<uint8_t> bytes = ReadUpTo(outline, at + kSegmentHeaderSize, wanted);
            text.append(bytes.begin(), bytes.end());
            if (bytes.size() < wanted) {
                break;
            }
            at += kSegmentHeaderSize + uint64_t(length);
        }
    } else {
        const std::vector<uint8_t> bytes = ReadUpTo(outline, 0, kMaxCleartextScan);
        text.assign(bytes.begin(), bytes.end());
        notAFont = !text.starts_with("%!PS-AdobeFont") && !text.starts_with("%!FontType1");
    }
    const size_t encrypted = text.find(kEncryptedStart);
    if (encrypted != std::string::npos) {
        text.erase(encrypted);
    }
    return ZeroTerminatedText(text);
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

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string LowerExtension(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return std::string();
    }
    return Lower(path.substr(dot));
}

TType1Metrics MetricsKindOf(const std::string& path) {
    if (path.empty()) {
        return TType1Metrics::None;
    }
    return LowerExtension(path) == ".afm" ? TType1Metrics::Afm : TType1Metrics::Pfm;
}

// The file of the same base name with extension ext beside path, found
// ignoring case; empty when there is none.
std::string FindBeside(const std::string& path, const std::string& ext) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(path).parent_path();
    const std::string wanted = Lower(NameWithoutExtension(path) + ext);
    std::error_code ec;
    const fs::path exact = folder / (NameWithoutExtension(path) + ext);
    if (fs::is_regular_file(exact, ec)) {
        return exact.string();
    }
    for (const auto& entry : fs::directory_iterator(folder.empty() ? "." : folder, ec)) {
        if (Lower(entry.path().filename().string()) == wanted && entry.is_regular_file(ec)) {
            return (folder / entry.path().filename()).string();
        }
    }
    return std::string();
}

// Blanks and hyphens do not count when a full name is matched to a family.
bool IsNameGap(char c) {
    return c == ' ' || c == '-';
}

} // namespace

bool IsType1OutlineName(const std::string& path) {
    const std::string ext = LowerExtension(path);
    return ext == ".pfb" || ext == ".pfa" || ext == ".t1";
}

bool IsType1MetricsName(const std::string& path) {
    const std::string ext = LowerExtension(path);
    return ext == ".pfm" || ext == ".afm";
}

std::string Type1Companion(const std::string& path) {
    if (IsType1OutlineName(path)) {
        for (const char* ext : {".pfm", ".afm"}) {
            const std::string metrics = FindBeside(path, ext);
            if (!metrics.empty()) {
                return metrics;
            }
        }
        return std::string();
    }
    for (const char* ext : {".pfb", ".pfa", ".t1"}) {
        const std::string outline = FindBeside(path, ext);
        if (!outline.empty()) {
            return outline;
        }
    }
    return TFontManager::GetPfbFileName(path);
}

std::string Type1StyleName(const std::string& family, const std::string& fullName,
                           const std::string& weight) {
    size_t f = 0;
    size_t n = 0;
    while (!family.empty() && n < fullName.size()) {
        if (f < family.size() && fullName[n] == family[f]) {
            ++f;
            ++n;
        } else if (IsNameGap(fullName[n])) {
            ++n;
        } else if (f < family.size() && IsNameGap(family[f])) {
            ++f;
        } else {
            // The full name goes on where the family ends: the rest is the
            // style; it differs before that: the name says no style.
            if (f == family.size()) {
                return fullName.substr(n);
            }
            break;
        }
    }
    if (!family.empty() && !fullName.empty() && n == fullName.size()) {
        return "Regular";
    }
    return weight.empty() ? std::string("Regular") : weight;
}

TType1FontFile::TType1FontFile(const std::string& path) : TType1FontFile(TFontFiles(path)) {}

TType1FontFile::TType1FontFile(const TFontFiles& files) {
    FontType = ftType1;
    FileName = InFontsFolder(files.File);
    if (files.Outline.empty() && IsType1OutlineName(FileName)) {
        PfbFileName = FileName;
        MetricsFileName = Type1Companion(FileName);
    } else {
        MetricsFileName = FileName;
        // Beside the metrics file, same base name; found ignoring case, as
        // files copied from elsewhere often keep upper-case names.
        PfbFileName =
            files.Outline.empty() ? Type1Companion(FileName) : InFontsFolder(files.Outline);
    }
    ReadFiles(MetricsKindOf(MetricsFileName));
}

void TType1FontFile::ReadFiles(TType1Metrics kind) {
    const std::unique_ptr<IByteSource> outline = FileShell().OpenFontFile(PfbFileName);
    std::unique_ptr<IByteSource> metrics;
    if (kind != TType1Metrics::None) {
        metrics = FileShell().OpenFontFile(MetricsFileName);
    }
    ReadFont(*outline, metrics.get(), kind);
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
    ReadFont(outline, &metrics, TType1Metrics::Pfm);
}

TType1FontFile::TType1FontFile(IByteSource& outline, IByteSource* metrics, TType1Metrics kind) {
    FontType = ftType1;
    ReadFont(outline, metrics, metrics == nullptr ? TType1Metrics::None : kind);
}

TFontFiles TType1FontFile::GetFiles(bool fullPath) const {
    const auto name = [fullPath](const std::string& path) {
        return fullPath ? path : FileNamePart(path);
    };
    if (MetricsFileName.empty()) {
        return TFontFiles(name(PfbFileName));
    }
    return TFontFiles(name(MetricsFileName), name(PfbFileName));
}

void TType1FontFile::ReadFont(IByteSource& outline, IByteSource* metrics, TType1Metrics kind) {
    TNames dictionary;
    TNames afm;
    if (kind == TType1Metrics::Pfm) {
        ReadMetrics(*metrics);
    } else if (kind == TType1Metrics::Afm) {
        ReadAfm(*metrics, afm);
    }
    ReadOutlineHeader(outline, dictionary, kind == TType1Metrics::Pfm);
    if (kind != TType1Metrics::Pfm) {
        NameFromOutline(dictionary, afm);
    }
    RegistryName = TFontManager::GetType1ValueName(FullName);
}

void TType1FontFile::NameFromOutline(const TNames& dictionary, const TNames& afm) {
    const auto either = [](const std::string& first, const std::string& second) {
        return first.empty() ? second : first;
    };
    PostScriptName = either(dictionary.FontName, afm.FontName);
    // As with a metrics file, the font goes by its PostScript name.
    FullName = PostScriptName;
    PSFullName = either(PSFullName, afm.FullName);
    PSFamilyName = either(PSFamilyName, afm.FamilyName);
    PSWeight = either(PSWeight, afm.Weight);
    FamilyName = either(PSFamilyName, PostScriptName);
    StyleName = Type1StyleName(PSFamilyName, PSFullName, PSWeight);
    Version = either(dictionary.Version, either(afm.Version, Version));
    Trademark = either(Trademark, afm.Notice);
    if (ItalicAngle != 0) {
        Selection |= 1;
    }
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

std::string Type1Cleartext(IByteSource& outline) {
    bool notAFont = false;
    return OutlineCleartext(outline, notAFont);
}

void TType1FontFile::ReadOutlineHeader(IByteSource& outline, TNames& names, bool named) {
    if (named) {
        for (const std::string& line : SplitLines(FirstSegmentText(outline, NotAFont))) {
            TakeHeaderLine(line, names, false);
        }
        return;
    }
    for (const std::string& line : SplitLines(OutlineCleartext(outline, NotAFont))) {
        const size_t text = line.find_first_not_of(" \t");
        if (text != std::string::npos) {
            TakeHeaderLine(line.substr(text), names, true);
        }
    }
}

void TType1FontFile::TakeHeaderLine(const std::string& line, TNames& names, bool escapes) {
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
    // A string's escapes ("\050" for "(") are what the font means.
    const auto textOf = [escapes](const std::string& value) {
        return AsText(escapes ? PostScriptString(value) : value);
    };
    std::string value;
    if (GetHeaderValue(line, kVersionKey, value)) {
        Version = textOf(value);
        return;
    }
    if (GetHeaderValue(line, "/FontName ", value)) {
        // A metrics file gives the PostScript name of its own.
        names.FontName = textOf(value);
        return;
    }
    if (GetHeaderValue(line, "/version ", value)) {
        names.Version = textOf(value);
        return;
    }
    for (const TKey& key : kTextKeys) {
        if (GetHeaderValue(line, key.Key, value)) {
            this->*key.Field = textOf(value);
            return;
        }
    }
    if (GetHeaderValue(line, "/ItalicAngle ", value)) {
        ItalicAngle = WholeNumber(value);
    } else if (GetHeaderValue(line, kFixedPitchKey, value)) {
        IsFixedPitch = value == "true";
    } else if (GetHeaderValue(line, "/Copyright ", value)) {
        Copyright = textOf(value);
    } else if (GetHeaderValue(line, "/Notice ", value)) {
        Trademark = textOf(value);
    }
}

void TType1FontFile::ReadAfm(IByteSource& metrics, TNames& names) {
    struct TKey {
        const char* Key;
        std::string TNames::*Field;
    };
    static const TKey kKeys[] = {
        {"FontName", &TNames::FontName},     {"FullName", &TNames::FullName},
        {"FamilyName", &TNames::FamilyName}, {"Weight", &TNames::Weight},
        {"Version", &TNames::Version},       {"Notice", &TNames::Notice},
    };
    const std::vector<uint8_t> bytes = ReadUpTo(metrics, 0, kMaxAfmScan);
    const std::string text = ZeroTerminated(bytes);
    for (const std::string& line : SplitLines(text)) {
        // The names stand in the header; the glyph metrics follow it.
        if (line.starts_with("StartCharMetrics")) {
            break;
        }
        const size_t gap = line.find_first_of(" \t");
        const std::string key = line.substr(0, gap);
        const size_t start =
            gap == std::string::npos ? line.size() : line.find_first_not_of(" \t", gap);
        const std::string value = start == std::string::npos ? std::string() : line.substr(start);
        for (const TKey& known : kKeys) {
            if (key == known.Key && (names.*known.Field).empty()) {
                names.*known.Field = AsText(value);
            }
        }
    }
}

} // namespace lw
