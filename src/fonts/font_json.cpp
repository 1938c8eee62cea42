#include "fonts/font_json.h"

#include "fonts/font_facts.h"
#include "fonts/font_text.h"
#include "fonts/opentype_font_file.h"
#include "fonts/type1_font_file.h"
#include "platform/byte_source.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace lw {

namespace {

// Bytes a run of plain text stops at: control characters, the quote, the
// backslash, and every byte above ASCII (checked for UTF-8 where it starts).
constexpr std::array<bool, 256> StopBytes() {
    std::array<bool, 256> stops{};
    for (size_t b = 0; b < 256; ++b) {
        stops[b] = b < 0x20 || b == '"' || b == '\\' || b >= 0x80;
    }
    return stops;
}
constexpr std::array<bool, 256> kStops = StopBytes();

// Appends text as the inside of a JSON string literal. Runs that need no
// escape are copied whole. A byte that starts no UTF-8 sequence (a file
// name's, say) is written as the lone surrogate U+DC00 + byte, as Python's
// "surrogateescape" decodes it, so a reader gets the very bytes back.
void AppendEscaped(std::string& out, std::string_view text) {
    size_t plain = 0; // start of the run of characters that need no escape
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (!kStops[byte]) {
            continue;
        }
        if (byte >= 0x80) {
            const size_t n = ValidUtf8SequenceLength(text, i);
            if (n > 0) {
                i += n - 1;
                continue;
            }
        }
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        if (byte < 0x20 || byte >= 0x80) {
            char escape[8];
            std::snprintf(escape, sizeof escape, byte < 0x80 ? "\\u%04x" : "\\udc%02x", byte);
            out += escape;
        } else {
            out += '\\';
            out += c;
        }
    }
    out.append(text.substr(plain));
}

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    AppendEscaped(out, text);
    out += '"';
}

// The shortest text that reads back as the same number.
std::string JsonNumber(double value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), result.ptr);
}

std::string JsonTextArray(const std::vector<std::string>& texts) {
    std::string out = "[";
    for (size_t i = 0; i < texts.size(); ++i) {
        out += i == 0 ? "" : ", ";
        AppendJsonString(out, texts[i]);
    }
    return out + "]";
}

// Objects of one array, each written by add into a fresh TJsonObject.
template <typename T, typename F> std::string JsonObjectArray(const std::vector<T>& items, F add) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        out += i == 0 ? "" : ", ";
        TJsonObject object(out);
        add(object, items[i]);
        object.Close();
    }
    return out + "]";
}

void AddDetails(TJsonObject& json, const TFontDetails& details) {
    json.AddRaw("Names", JsonObjectArray(details.Names, [](TJsonObject& o, const TNameRecord& r) {
                    o.AddNumber("NameID", r.NameId);
                    o.AddNumber("Platform", r.Platform);
                    o.AddNumber("Encoding", r.Encoding);
                    o.AddNumber("Language", r.Language);
                    o.AddText("Text", r.Text);
                }));
    if (details.GlyphCount) {
        json.AddNumber("GlyphCount", *details.GlyphCount);
    } else {
        json.AddRaw("GlyphCount", "null");
    }
    const TCodeRanges codes = details.Cmap ? details.Cmap->CodePoints : TCodeRanges();
    if (details.Cmap) {
        json.AddNumber("CodePoints", static_cast<int64_t>(CodePointCount(codes)));
    } else {
        json.AddRaw("CodePoints", "null");
    }
    json.AddRaw("Blocks",
                JsonObjectArray(BlockCoverage(codes), [](TJsonObject& o, const TBlockCoverage& b) {
                    o.AddText("Name", b.Name);
                    o.AddNumber("Covered", static_cast<int64_t>(b.Covered));
                    o.AddNumber("Size", static_cast<int64_t>(b.Size));
                }));
    json.AddRaw("Scripts", JsonTextArray(ScriptsCovered(codes)));
    if (details.OS2) {
        json.AddNumber("FsType", details.OS2->FsType);
        json.AddText("Embedding", EmbeddingRights(details.OS2->FsType));
    } else {
        json.AddRaw("FsType", "null");
        json.AddRaw("Embedding", "null");
    }
    json.AddRaw("Features", JsonTextArray(LayoutFeatures(details)));
    json.AddRaw("LayoutScripts", JsonTextArray(LayoutScripts(details)));
    const TVariations variations = details.Variations.value_or(TVariations());
    json.AddRaw("Axes", JsonObjectArray(variations.Axes, [](TJsonObject& o, const TAxis& a) {
                    o.AddText("Tag", a.Tag);
                    o.AddText("Name", a.Name);
                    o.AddRaw("Min", JsonNumber(a.Min));
                    o.AddRaw("Default", JsonNumber(a.Default));
                    o.AddRaw("Max", JsonNumber(a.Max));
                }));
    json.AddRaw("Instances",
                JsonObjectArray(variations.Instances, [](TJsonObject& o, const TNamedInstance& i) {
                    o.AddText("Name", i.Name);
                    std::string coordinates = "[";
                    for (size_t k = 0; k < i.Coordinates.size(); ++k) {
                        coordinates += (k == 0 ? "" : ", ") + JsonNumber(i.Coordinates[k]);
                    }
                    o.AddRaw("Coordinates", coordinates + "]");
                }));
    json.AddText("License",
                 RecognisedLicense(NameText(details.Names, 13), NameText(details.Names, 14)));
}

} // namespace

std::string JsonString(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

TJsonObject::TJsonObject(std::string& out) : Out(out) {
    Out += '{';
}

void TJsonObject::AddKey(std::string_view key) {
    if (!First) {
        Out += ", ";
    }
    First = false;
    AppendJsonString(Out, key);
    Out += ": ";
}

void TJsonObject::AddText(std::string_view key, std::string_view text) {
    AddKey(key);
    AppendJsonString(Out, text);
}

void TJsonObject::AddNumber(std::string_view key, int64_t number) {
    AddKey(key);
    Out += std::to_string(number);
}

void TJsonObject::AddBool(std::string_view key, bool value) {
    AddKey(key);
    Out += value ? "true" : "false";
}

void TJsonObject::AddRaw(std::string_view key, std::string_view json) {
    AddKey(key);
    Out += json;
}

void TJsonObject::Close() {
    Out += '}';
}

std::string FontFileJson(const TFontFile& font) {
    std::string out;
    AppendFontFileJson(out, font);
    return out;
}

void AppendFontFileJson(std::string& out, const TFontFile& font, const TFontDetails* details) {
    TJsonObject json(out);
    json.AddText("FileName", font.FileName);
    json.AddText("RegistryName", font.RegistryName);
    json.AddText("Copyright", font.Copyright);
    json.AddText("FamilyName", font.FamilyName);
    json.AddText("StyleName", font.StyleName);
    json.AddText("UniqueID", font.UniqueID);
    json.AddText("FullName", font.FullName);
    json.AddText("Version", font.Version);
    json.AddText("PostScriptName", font.PostScriptName);
    json.AddText("Trademark", font.Trademark);
    json.AddText("Manufacturer", font.Manufacturer);
    json.AddText("Designer", font.Designer);
    json.AddText("Description", font.Description);
    json.AddText("VendorURL", font.VendorURL);
    json.AddText("DesignerURL", font.DesignerURL);
    json.AddText("LicenseDescription", font.LicenseDescription);
    json.AddText("LicenseURL", font.LicenseURL);
    json.AddText("PreferredFamily", font.PreferredFamily);
    json.AddText("PreferredStyle", font.PreferredStyle);
    json.AddText("SampleText", font.SampleText);
    json.AddNumber("Selection", font.Selection);
    json.AddNumber("UnitsPerEm", font.UnitsPerEm);
    json.AddNumber("LowestRecPPEM", font.LowestRecPPEM);
    json.AddBool("Installed", font.Installed);
    json.AddNumber("FontType", font.FontType);
    json.AddNumber("FaceIndex", font.FaceIndex);
    if (const auto* sfnt = dynamic_cast<const TOpenTypeFontFile*>(&font)) {
        json.AddNumber("WeightClass", sfnt->WeightClass);
        json.AddNumber("WidthClass", sfnt->WidthClass);
        json.AddNumber("FamilyClass", sfnt->FamilyClass);
        json.AddNumber("Outlines", sfnt->Outlines);
    } else if (const auto* type1 = dynamic_cast<const TType1FontFile*>(&font)) {
        json.AddText("PfbFileName", type1->PfbFileName);
        json.AddText("MetricsFileName", type1->MetricsFileName);
        json.AddText("PSFullName", type1->PSFullName);
        json.AddText("PSFamilyName", type1->PSFamilyName);
        json.AddText("PSWeight", type1->PSWeight);
        json.AddNumber("ItalicAngle", type1->ItalicAngle);
        json.AddBool("IsFixedPitch", type1->IsFixedPitch);
    }
    if (details) {
        AddDetails(json, *details);
    }
    if (font.NotAFont) {
        json.AddText("Error", kNotAFontFile);
    }
    json.Close();
}

std::string FontFileErrorJson(const std::string& fileName, const std::string& message) {
    std::string out;
    TJsonObject json(out);
    json.AddText("FileName", fileName);
    json.AddText("Error", message);
    json.Close();
    return out;
}

} // namespace lw
