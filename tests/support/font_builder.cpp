#include "font_builder.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace lw::test {

TByteWriter& TByteWriter::U8(uint8_t v) {
    Data.push_back(v);
    return *this;
}
TByteWriter& TByteWriter::BE16(uint16_t v) {
    return U8(uint8_t(v >> 8)).U8(uint8_t(v));
}
TByteWriter& TByteWriter::BE32(uint32_t v) {
    return BE16(uint16_t(v >> 16)).BE16(uint16_t(v));
}
TByteWriter& TByteWriter::LE16(uint16_t v) {
    return U8(uint8_t(v)).U8(uint8_t(v >> 8));
}
TByteWriter& TByteWriter::LE32(uint32_t v) {
    return LE16(uint16_t(v)).LE16(uint16_t(v >> 16));
}
TByteWriter& TByteWriter::Text(const std::string& text) {
    Data.insert(Data.end(), text.begin(), text.end());
    return *this;
}
TByteWriter& TByteWriter::Raw(const TBytes& bytes) {
    Data.insert(Data.end(), bytes.begin(), bytes.end());
    return *this;
}
TByteWriter& TByteWriter::Zeros(size_t count) {
    Data.insert(Data.end(), count, 0);
    return *this;
}
void TByteWriter::PutLE32(size_t at, uint32_t v) {
    for (size_t k = 0; k < 4; ++k) {
        Data.at(at + k) = uint8_t(v >> (8 * k));
    }
}

TBytes Utf16Be(const std::string& utf8) {
    TByteWriter out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<uint8_t>(utf8[i]);
        // A lead byte's count of high ones is the sequence's length; the
        // bits after its zero start the code point.
        const size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        char32_t code = n == 1 ? b : b & (0x7F >> n);
        for (size_t k = 1; k < n && i + k < utf8.size(); ++k) {
            code = (code << 6) | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
        }
        i += n;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.BE16(uint16_t(0xD800 + (code >> 10))).BE16(uint16_t(0xDC00 + (code & 0x3FF)));
        } else {
            out.BE16(uint16_t(code));
        }
    }
    return out.Bytes();
}

TSfntBuilder& TSfntBuilder::AddTable(const std::string& tag, TBytes data) {
    Tables.push_back(TTable{tag, std::move(data), std::nullopt, 0});
    return *this;
}

TSfntBuilder& TSfntBuilder::AddTableAt(const std::string& tag, uint32_t offset, uint32_t length) {
    Tables.push_back(TTable{tag, {}, offset, length});
    return *this;
}

TBytes TSfntBuilder::Build() const {
    const auto count = static_cast<uint16_t>(Tables.size());
    TByteWriter out;
    out.BE32(0x00010000).BE16(ClaimedNumTables.value_or(count)).BE16(0).BE16(0).BE16(0);
    uint32_t offset = 12 + 16 * uint32_t(count);
    TByteWriter data;
    for (const TTable& table : Tables) {
        std::string tag = table.Tag;
        tag.resize(4, ' ');
        out.Text(tag).BE32(0);
        if (table.Offset) {
            out.BE32(*table.Offset).BE32(table.Length);
            continue;
        }
        out.BE32(offset).BE32(uint32_t(table.Data.size()));
        data.Raw(table.Data);
        // Tables start on four-byte boundaries.
        const size_t padding = (4 - table.Data.size() % 4) % 4;
        data.Zeros(padding);
        offset += uint32_t(table.Data.size() + padding);
    }
    out.Raw(data.Bytes());
    return out.Bytes();
}

TNameTableBuilder& TNameTableBuilder::Add(uint16_t platform, uint16_t encoding, uint16_t language,
                                          uint16_t nameId, TBytes text) {
    Records.push_back(TRecord{platform, encoding, language, nameId, std::move(text), {}, {}});
    return *this;
}

TNameTableBuilder& TNameTableBuilder::Windows(uint16_t nameId, const std::string& utf8,
                                              uint16_t language) {
    return Add(kWindows, 1, language, nameId, Utf16Be(utf8));
}

TNameTableBuilder& TNameTableBuilder::Mac(uint16_t nameId, const std::string& bytes,
                                          uint16_t language) {
    return Add(kMac, 0, language, nameId, TextBytes(bytes));
}

TNameTableBuilder& TNameTableBuilder::Lying(uint16_t platform, uint16_t nameId, uint16_t length,
                                            uint16_t offset) {
    Records.push_back(TRecord{platform, 1, 0x409, nameId, {}, length, offset});
    return *this;
}

TBytes TNameTableBuilder::Build() const {
    const auto count = static_cast<uint16_t>(Records.size());
    const auto storage = static_cast<uint16_t>(6 + 12 * count);
    TByteWriter out;
    out.BE16(0).BE16(ClaimedCount.value_or(count)).BE16(ClaimedStringOffset.value_or(storage));
    TByteWriter strings;
    for (const TRecord& r : Records) {
        out.BE16(r.Platform).BE16(r.Encoding).BE16(r.Language).BE16(r.NameId);
        out.BE16(r.Length.value_or(uint16_t(r.Text.size())));
        out.BE16(r.Offset.value_or(uint16_t(strings.Size())));
        strings.Raw(r.Text);
    }
    out.Raw(strings.Bytes());
    return out.Bytes();
}

TBytes OS2Table(uint16_t version, uint16_t weightClass, uint16_t widthClass, uint16_t familyClass,
                uint16_t selection) {
    TByteWriter out;
    out.BE16(version).BE16(500).BE16(weightClass).BE16(widthClass).BE16(0); // fsType at 8
    out.Zeros(30 - out.Size()).BE16(familyClass);
    out.Zeros(62 - out.Size()).BE16(selection).BE16(0x20).BE16(0x7E); // first/last char
    const size_t size = version == 0 ? 78 : version == 1 ? 86 : version < 5 ? 96 : 100;
    out.Zeros(size - out.Size());
    return out.Bytes();
}

TBytes HeadTable(uint16_t unitsPerEm, uint16_t lowestRecPPEM) {
    TByteWriter out;
    out.BE32(0x00010000).BE32(0x00010000).BE32(0).BE32(0x5F0F3CF5).BE16(0); // flags at 16
    out.BE16(unitsPerEm).Zeros(16);                                         // created, modified
    out.BE16(0).BE16(0).BE16(500).BE16(700);                                // bounding box
    out.BE16(0).BE16(lowestRecPPEM).BE16(2).BE16(0).BE16(0);                // short loca
    return out.Bytes();
}

namespace {

uint32_t ToFixed(double value) {
    return static_cast<uint32_t>(static_cast<int32_t>(std::lround(value * 65536.0)));
}

TBytes HheaTable(uint16_t numberOfHMetrics) {
    TByteWriter t;
    t.BE32(0x00010000).BE16(800).BE16(uint16_t(-200)).BE16(0).BE16(500);
    t.Zeros(34 - t.Size()).BE16(numberOfHMetrics);
    return t.Bytes();
}

} // namespace

TBytes CmapFormat4(const std::vector<TCmapGroup>& groups) {
    const uint16_t segCount = static_cast<uint16_t>(groups.size() + 1);
    TByteWriter t;
    t.BE16(4).BE16(static_cast<uint16_t>(16 + 8 * segCount)).BE16(0);
    t.BE16(static_cast<uint16_t>(2 * segCount)).BE16(0).BE16(0).BE16(0);
    for (const TCmapGroup& g : groups) {
        t.BE16(static_cast<uint16_t>(g.Last));
    }
    t.BE16(0xFFFF).BE16(0);
    for (const TCmapGroup& g : groups) {
        t.BE16(static_cast<uint16_t>(g.First));
    }
    t.BE16(0xFFFF);
    for (const TCmapGroup& g : groups) {
        t.BE16(static_cast<uint16_t>(g.Glyph - g.First));
    }
    t.BE16(1);
    t.Zeros(2 * size_t(segCount));
    return t.Bytes();
}

TBytes CmapFormat12(const std::vector<TCmapGroup>& groups, bool manyToOne) {
    TByteWriter t;
    t.BE16(manyToOne ? 13 : 12).BE16(0).BE32(uint32_t(16 + 12 * groups.size())).BE32(0);
    t.BE32(uint32_t(groups.size()));
    for (const TCmapGroup& g : groups) {
        t.BE32(g.First).BE32(g.Last).BE32(g.Glyph);
    }
    return t.Bytes();
}

TBytes CmapTable(const std::vector<TCmapSubtable>& subtables) {
    TByteWriter t;
    t.BE16(0).BE16(static_cast<uint16_t>(subtables.size()));
    uint32_t at = uint32_t(4 + 8 * subtables.size());
    for (const TCmapSubtable& s : subtables) {
        t.BE16(s.Platform).BE16(s.Encoding).BE32(at);
        at += uint32_t(s.Data.size());
    }
    for (const TCmapSubtable& s : subtables) {
        t.Raw(s.Data);
    }
    return t.Bytes();
}

TBytes FvarTable(const std::vector<TFvarAxis>& axes, const std::vector<TFvarInstance>& instances) {
    const uint16_t instanceSize = static_cast<uint16_t>(4 + 4 * axes.size());
    TByteWriter t;
    t.BE16(1).BE16(0).BE16(16).BE16(2).BE16(static_cast<uint16_t>(axes.size())).BE16(20);
    t.BE16(static_cast<uint16_t>(instances.size())).BE16(instanceSize);
    for (const TFvarAxis& a : axes) {
        t.Text(a.Tag).BE32(ToFixed(a.Min)).BE32(ToFixed(a.Default)).BE32(ToFixed(a.Max));
        t.BE16(0).BE16(a.NameId);
    }
    for (const TFvarInstance& i : instances) {
        t.BE16(i.NameId).BE16(0);
        for (double c : i.Coordinates) {
            t.BE32(ToFixed(c));
        }
    }
    return t.Bytes();
}

TBytes StatTable(const std::vector<std::pair<std::string, uint16_t>>& axes,
                 const std::vector<TStatValue1>& values) {
    const uint32_t axesAt = 20;
    const uint32_t valuesAt = axesAt + 8 * uint32_t(axes.size());
    TByteWriter t;
    t.BE16(1).BE16(1).BE16(8).BE16(static_cast<uint16_t>(axes.size())).BE32(axesAt);
    t.BE16(static_cast<uint16_t>(values.size())).BE32(valuesAt).BE16(2);
    for (const auto& [tag, nameId] : axes) {
        t.Text(tag).BE16(nameId).BE16(0);
    }
    for (size_t i = 0; i < values.size(); ++i) {
        t.BE16(static_cast<uint16_t>(2 * values.size() + 12 * i));
    }
    for (const TStatValue1& v : values) {
        t.BE16(1).BE16(v.Axis).BE16(0).BE16(v.NameId).BE32(ToFixed(v.Value));
    }
    return t.Bytes();
}

TBytes LayoutTable(const std::vector<std::string>& scripts,
                   const std::vector<std::string>& features) {
    // Every record points at one empty table after both lists.
    const uint16_t scriptsAt = 10;
    const uint16_t featuresAt = static_cast<uint16_t>(scriptsAt + 2 + 6 * scripts.size());
    const uint16_t emptyAt = static_cast<uint16_t>(featuresAt + 2 + 6 * features.size());
    TByteWriter t;
    t.BE16(1).BE16(0).BE16(scriptsAt).BE16(featuresAt).BE16(emptyAt);
    t.BE16(static_cast<uint16_t>(scripts.size()));
    for (const std::string& tag : scripts) {
        t.Text(tag).BE16(static_cast<uint16_t>(emptyAt - scriptsAt));
    }
    t.BE16(static_cast<uint16_t>(features.size()));
    for (const std::string& tag : features) {
        t.Text(tag).BE16(static_cast<uint16_t>(emptyAt - featuresAt));
    }
    t.Zeros(4);
    return t.Bytes();
}

TBytes MaxpTable(uint16_t numGlyphs, bool trueType) {
    TByteWriter t;
    t.BE32(trueType ? 0x00010000 : 0x00005000).BE16(numGlyphs).Zeros(trueType ? 26 : 0);
    return t.Bytes();
}

TBytes PostTable(double italicAngle, bool fixedPitch) {
    TByteWriter t;
    t.BE32(0x00030000).BE32(ToFixed(italicAngle)).BE16(uint16_t(-100)).BE16(50);
    t.BE32(fixedPitch ? 1 : 0).Zeros(16);
    return t.Bytes();
}

TBytes MinimalTrueType(const TNameTableBuilder& names) {
    TByteWriter cmap;
    cmap.BE16(0).BE16(1).BE16(3).BE16(1).BE32(12);
    // Format 4: the space (glyph 1) and the closing segment.
    cmap.BE16(4).BE16(32).BE16(0).BE16(4).BE16(4).BE16(1).BE16(0);
    cmap.BE16(0x20).BE16(0xFFFF).BE16(0).BE16(0x20).BE16(0xFFFF);
    cmap.BE16(uint16_t(1 - 0x20)).BE16(1).BE16(0).BE16(0);
    TByteWriter hmtx;
    hmtx.BE16(500).BE16(0).BE16(250).BE16(0);
    TByteWriter post;
    post.BE32(0x00030000).Zeros(28);
    return TSfntBuilder()
        .AddTable("OS/2", OS2Table(3, 400, 5, 0, 0x40))
        .AddTable("cmap", cmap.Bytes())
        .AddTable("glyf", {})
        .AddTable("head", HeadTable(1000, 8))
        .AddTable("hhea", HheaTable(2))
        .AddTable("hmtx", hmtx.Bytes())
        .AddTable("loca", TBytes(6, 0)) // short offsets: two empty glyphs
        .AddTable("maxp", MaxpTable(2, true))
        .AddTable("name", names.Build())
        .AddTable("post", post.Bytes())
        .Build();
}

TBytes NamedTrueType(const std::string& family, const std::string& style) {
    return MinimalTrueType(TNameTableBuilder()
                               .Windows(1, family)
                               .Windows(2, style)
                               .Windows(4, family + " " + style)
                               .Windows(6, family + "-" + style));
}

TBytes TPfmBuilder::Build() const {
    TByteWriter out;
    out.LE16(0x0100).LE32(0).Zeros(60);                // version, size, copyright
    out.Zeros(80 - out.Size()).U8(Italic).U8(0).U8(0); // italic, underline, strike-out
    out.LE16(Weight).U8(0).Zeros(101 - 86);            // weight, charset, sizes, chars
    const size_t deviceAt = out.Size();
    out.LE32(0); // dfDevice
    const size_t faceAt = out.Size();
    out.LE32(0).LE32(0).LE32(0);   // dfFace, bits pointer, bits offset
    out.LE16(30).Zeros(139 - 119); // extension size and tables
    const size_t driverInfoAt = out.Size();
    out.LE32(0).LE32(0); // dfDriverInfo, reserved
    out.PutLE32(deviceAt, uint32_t(out.Size()));
    out.Text("PostScript").U8(0);
    const auto face = uint32_t(out.Size());
    out.Text(FaceName).U8(0);
    const auto driverInfo = uint32_t(out.Size());
    out.Text(PostScriptName).U8(0);
    out.PutLE32(faceAt, FaceOffset.value_or(face));
    out.PutLE32(driverInfoAt, DriverInfoOffset.value_or(driverInfo));
    out.PutLE32(2, uint32_t(out.Size()));
    return out.Bytes();
}

TBytes Collection(const std::vector<TBytes>& fonts) {
    const auto be32 = [](TBytes& bytes, size_t at, uint32_t value) {
        for (int k = 0; k < 4; ++k) {
            bytes[at + size_t(k)] = uint8_t(value >> (24 - 8 * k));
        }
    };
    TBytes out = {'t', 't', 'c', 'f', 0, 1, 0, 0};
    out.resize(12 + 4 * fonts.size());
    be32(out, 8, uint32_t(fonts.size()));
    for (size_t i = 0; i < fonts.size(); ++i) {
        while (out.size() % 4 != 0) {
            out.push_back(0);
        }
        const uint32_t base = uint32_t(out.size());
        be32(out, 12 + 4 * i, base);
        TBytes font = fonts[i];
        const size_t tables = size_t(font[4]) << 8 | font[5];
        for (size_t t = 0; t < tables; ++t) {
            const size_t at = 12 + 16 * t + 8;
            const uint32_t offset = uint32_t(font[at]) << 24 | uint32_t(font[at + 1]) << 16 |
                                    uint32_t(font[at + 2]) << 8 | font[at + 3];
            be32(font, at, offset + base);
        }
        out.insert(out.end(), font.begin(), font.end());
    }
    return out;
}

TBytes PfbFile(const std::string& header, std::optional<uint32_t> claimedLength) {
    TByteWriter out;
    out.U8(0x80).U8(1).LE32(claimedLength.value_or(uint32_t(header.size()))).Text(header);
    out.U8(0x80).U8(2).LE32(4).LE32(0xDEADBEEF);
    out.U8(0x80).U8(3);
    return out.Bytes();
}

void WriteFile(const std::filesystem::path& path, const TBytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

TBytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return TBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    WriteFile(path, TextBytes(text));
}

std::string ReadText(const std::filesystem::path& path) {
    const TBytes bytes = ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TBytes FactsFont(const TFactsFontTraits& traits) {
    TByteWriter hmtx;
    for (const uint16_t advance : traits.Advances) {
        hmtx.BE16(advance).BE16(0);
    }
    TBytes os2 = OS2Table(4, traits.Weight, traits.Width, traits.FamilyClass, traits.Selection);
    os2[32] = traits.PanoseFamily;
    os2[33] = traits.PanoseSerif;
    for (size_t i = 0; i < 4; ++i) {
        os2[58 + i] = i < traits.Vendor.size() ? uint8_t(traits.Vendor[i]) : uint8_t(' ');
    }
    TNameTableBuilder names;
    names.Windows(1, "Facts").Windows(2, "Regular");
    if (!traits.License.empty()) {
        names.Windows(13, traits.License);
    }
    TSfntBuilder font;
    const auto glyphs = uint16_t(traits.Advances.size());
    if (traits.Cff) {
        font.AddTable("CFF ", TBytes(8, 0)).AddTable("maxp", MaxpTable(glyphs));
    } else {
        // Empty outlines, so FreeType and fontconfig take the font.
        font.AddTable("glyf", {})
            .AddTable("loca", TBytes((glyphs + 1) * 2u, 0))
            .AddTable("maxp", MaxpTable(glyphs, true));
    }
    font.AddTable("OS/2", os2)
        .AddTable("cmap", CmapTable({{3, 1, CmapFormat4(traits.Codes)}}))
        .AddTable("head", HeadTable(1000, 8))
        .AddTable("hhea", HheaTable(glyphs))
        .AddTable("hmtx", hmtx.Bytes())
        .AddTable("name", names.Build())
        .AddTable("post", PostTable(0, false));
    if (traits.Variable) {
        font.AddTable("fvar", FvarTable({{"wght", 100, 400, 900, 256}}, {}));
    }
    return font.Build();
}

} // namespace lw::test
