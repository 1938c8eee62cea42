#include "fuzz_targets.h"

#include "base/regfile.h"
#include "base/string_table.h"
#include "categories/category_file.h"
#include "categories/collections_json.h"
#include "controls/folder_listing.h"
#include "fonts/byte_source.h"
#include "fonts/disabled_fonts.h"
#include "fonts/facts_cache.h"
#include "fonts/font_details.h"
#include "fonts/font_facts.h"
#include "fonts/font_json.h"
#include "fonts/font_text.h"
#include "fonts/opentype_font_file.h"
#include "fonts/type1_encoding.h"
#include "fonts/type1_font_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace lw::fuzz {

namespace {

// Stops the process, which the fuzzer reports like a crash.
[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void Check(const TFontFile& font) {
    if (!RecordTextsValid(font)) {
        Fail("record holds text that is not valid UTF-8");
    }
}

// A written form that does not read back as what was written.
void RoundTripFailed(const std::string& what) {
    Fail((what + " does not read back as it was written").c_str());
}

std::string_view AsText(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

std::vector<std::string> RuleValues(const std::vector<TRejectRule>& rules) {
    std::vector<std::string> values;
    for (const TRejectRule& rule : rules) {
        values.push_back(rule.Value);
    }
    return values;
}

// A JSON line: valid UTF-8 with no control character to break the line.
bool OneLineUtf8(const std::string& json) {
    return IsValidUtf8(json) && std::none_of(json.begin(), json.end(), [](char c) {
               return static_cast<unsigned char>(c) < 0x20;
           });
}

// Sorted, disjoint ranges of characters, as the character map takes them.
bool RangesInOrder(const TCodeRanges& codes) {
    for (size_t i = 0; i < codes.size(); ++i) {
        const bool apart = i == 0 || uint64_t(codes[i - 1].Last) + 1 < codes[i].First;
        if (codes[i].First > codes[i].Last || codes[i].Last > 0x10FFFF || !apart) {
            return false;
        }
    }
    return true;
}

// A Type 1 input split as JoinType1Input joined it: both files of a Type 1
// font, the metrics file read as a ".pfm" or, with Afm, as an ".afm".
template <bool Afm> void RunType1Input(const uint8_t* data, size_t size) {
    if (size < 2) {
        return;
    }
    const size_t declared = size_t(data[0]) | (size_t(data[1]) << 8);
    const size_t metricsSize = std::min(declared, size - 2);
    TMemoryByteSource metrics(data + 2, metricsSize);
    TMemoryByteSource outline(data + 2 + metricsSize, size - 2 - metricsSize);
    Check(Afm ? TType1FontFile(outline, &metrics, TType1Metrics::Afm)
              : TType1FontFile(metrics, outline));
}

void CheckDetails(const TOpenTypeFontFile& font, const TFontDetails& details) {
    for (const TNameRecord& name : details.Names) {
        if (!IsValidUtf8(name.Text)) {
            Fail("details: a name record's text is not valid UTF-8");
        }
    }
    if (details.Cmap) {
        if (!RangesInOrder(details.Cmap->CodePoints)) {
            Fail("details: code point ranges out of order");
        }
        (void)ScriptsCovered(details.Cmap->CodePoints);
    }
    if (details.Variations) {
        for (const TNamedInstance& instance : details.Variations->Instances) {
            if (instance.Coordinates.size() != details.Variations->Axes.size()) {
                Fail("details: an instance without a coordinate per axis");
            }
        }
    }
    std::string json;
    AppendFontFileJson(json, font, &details);
    if (!OneLineUtf8(json)) {
        Fail("details: the JSON line is not valid UTF-8 on one line");
    }
}

// The parsers of the files a user or another program can change. Where a
// parser has a writer, what it read is written and read again and must come
// back the same; a difference stops the process like a crash.
void RunSettings(const uint8_t* data, size_t size) {
    TRegKeys keys;
    try {
        keys = ParseRegistryText(AsText(data, size));
    } catch (const ERegistryError&) {
        return;
    }
    try {
        if (ParseRegistryText(FormatRegistryText(keys)) != keys) {
            RoundTripFailed("settings file");
        }
    } catch (const ERegistryError&) {
        RoundTripFailed("settings file");
    }
}

void RunBundle(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    (void)LanguageModuleFromBundle(bytes);
    const auto entries = ParseBundle(bytes);
    if (entries && ParseBundle(WriteBundle(*entries)) != entries) {
        RoundTripFailed("language bundle");
    }
}

void RunCategoryFile(const uint8_t* data, size_t size) {
    // Either code page may name an installed family: let the length decide,
    // so both readings of an 8-bit line are taken.
    const TFamilyTest installed = [](const std::string& family) { return family.size() % 2 == 1; };
    const auto members = ParseCategoryFile(std::string(AsText(data, size)), installed);
    if (members && ParseCategoryFile(FormatCategoryFile(*members), installed) != members) {
        RoundTripFailed("category file");
    }
}

// The face facts cache: the whole file, and its entries without signature
// and checksum.
void RunFactsCache(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const auto roundTrip = [&](auto parse, auto write, const char* what) {
        if (const auto entries = parse(bytes)) {
            const std::string again = write(*entries);
            if (parse(std::span(reinterpret_cast<const uint8_t*>(again.data()), again.size())) !=
                entries) {
                RoundTripFailed(what);
            }
        }
    };
    // The whole file, whose checksum a fuzzer seldom gets right, and the
    // entries alone, which it reaches every time.
    roundTrip(ParseFactsCache, WriteFactsCache, "facts cache");
    roundTrip(ParseFactsEntries, WriteFactsEntries, "facts cache entries");
}

// font-manager's Collections.json, written back and read again.
void RunCollections(const uint8_t* data, size_t size) {
    const auto collections = ParseCollectionsJson(AsText(data, size));
    if (collections && ParseCollectionsJson(WriteCollectionsJson(*collections)) != collections) {
        RoundTripFailed("collections file");
    }
}

void RunMasks(const uint8_t* data, size_t size) {
    const std::vector<std::string> masks = ParseMasks(std::string(AsText(data, size)));
    if (ParseMasks(JoinMasks(masks)) != masks) {
        RoundTripFailed("file masks");
    }
}

// A fontconfig file's rejectfont rules: each rule lies inside the text,
// removing one leaves a readable file with the others, and the program's
// own file names its globs back.
void RunRejectRules(const uint8_t* data, size_t size) {
    const std::string_view text = AsText(data, size);
    const auto rules = ReadRejectRules(text);
    if (!rules || rules->empty()) {
        return;
    }
    for (const TRejectRule& rule : *rules) {
        if (rule.Begin > rule.End || rule.End > text.size()) {
            RoundTripFailed("a rejectfont rule's place");
        }
    }
    std::vector<std::string> others = RuleValues(*rules);
    others.erase(others.begin());
    const auto left = ReadRejectRules(WithoutRule(text, rules->front()));
    if (!left || RuleValues(*left) != others) {
        RoundTripFailed("a fontconfig file without one rule");
    }
    std::vector<std::string> globs;
    for (const TRejectRule& rule : *rules) {
        if (rule.Kind == TRejectRule::TKind::FileGlob && GlobCanNameExactly(rule.Value)) {
            globs.push_back(rule.Value);
        }
    }
    const auto own = ReadRejectRules(DisabledConfText(globs));
    if (!own || RuleValues(*own) != globs) {
        RoundTripFailed("the program's own fontconfig file");
    }
}

// The font readers, each taking one input as the fuzzers and the corpus
// replay give it.
void RunOpenType(const uint8_t* data, size_t size) {
    TMemoryByteSource source(data, size);
    // Both branches of the language choice: a system language that is US
    // English and one that is not.
    const uint16_t language = size % 2 == 0 ? 0x0409 : 0x040C;
    const TOpenTypeFontFile font(source, language);
    Check(font);
}

// Every face of a collection, and one face past them.
void RunCollection(const uint8_t* data, size_t size) {
    // Faces looked at per input: enough to reach every branch, few enough
    // that a header claiming 65,535 faces does not stall the fuzzer.
    constexpr uint32_t kFacesRead = 8;
    TMemoryByteSource source(data, size);
    const std::vector<uint64_t> directories = CollectionDirectories(source);
    const uint32_t faces = uint32_t(std::min<size_t>(directories.size(), kFacesRead));
    for (uint32_t index = 0; index <= faces; ++index) {
        const TOpenTypeFontFile font(source, 0x0409, index);
        Check(font);
    }
}

// The details of every face (as RunCollection picks them) of an sfnt file
// or collection: the table readers, the facts drawn from them and the JSON
// of info --details. Broken text or code point ranges out of order stop
// the process like a crash.
void RunDetails(const uint8_t* data, size_t size) {
    constexpr uint32_t kFacesRead = 4;
    TMemoryByteSource source(data, size);
    const uint32_t faces = uint32_t(
        std::min<size_t>(std::max<size_t>(CollectionDirectories(source).size(), 1), kFacesRead));
    for (uint32_t index = 0; index < faces; ++index) {
        const TOpenTypeFontFile font(source, 0x0409, index);
        CheckDetails(font, ReadFontDetails(source, index));
    }
}

// A Type 1 outline file alone (binary segments or text).
void RunType1Outline(const uint8_t* data, size_t size) {
    TMemoryByteSource outline(data, size);
    const TType1FontFile font(outline, nullptr, TType1Metrics::None);
    Check(font);
    if (!RangesInOrder(Type1CodePoints(outline))) {
        Fail("outline: encoding codes out of order");
    }
}

} // namespace

TFuzzRun FuzzRunNamed(const std::string& name) {
    static const std::pair<const char*, TFuzzRun> runs[] = {
        {"opentype", RunOpenType},      {"type1", RunType1Input<false>},
        {"settings", RunSettings},      {"bundle", RunBundle},
        {"category", RunCategoryFile},  {"masks", RunMasks},
        {"reject", RunRejectRules},     {"collection", RunCollection},
        {"outline", RunType1Outline},   {"afm", RunType1Input<true>},
        {"details", RunDetails},        {"facts", RunFactsCache},
        {"collections", RunCollections}};
    for (const auto& [runName, run] : runs) {
        if (name == runName) {
            return run;
        }
    }
    return nullptr;
}

bool RecordTextsValid(const TFontFile& font) {
    const std::string* texts[] = {
        &font.RegistryName, &font.Copyright,       &font.FamilyName,
        &font.StyleName,    &font.UniqueID,        &font.FullName,
        &font.Version,      &font.PostScriptName,  &font.Trademark,
        &font.Manufacturer, &font.Designer,        &font.Description,
        &font.VendorURL,    &font.DesignerURL,     &font.LicenseDescription,
        &font.LicenseURL,   &font.PreferredFamily, &font.PreferredStyle,
        &font.SampleText,
    };
    if (!std::all_of(std::begin(texts), std::end(texts),
                     [](const std::string* text) { return IsValidUtf8(*text); })) {
        return false;
    }
    if (const auto* type1 = dynamic_cast<const TType1FontFile*>(&font)) {
        for (const std::string* text : {&type1->PSFullName, &type1->PSFamilyName, &type1->PSWeight,
                                        &type1->MetricsFileName}) {
            if (!IsValidUtf8(*text)) {
                return false;
            }
        }
    }
    return OneLineUtf8(FontFileJson(font));
}

std::vector<uint8_t> JoinType1Input(const std::vector<uint8_t>& metrics,
                                    const std::vector<uint8_t>& outline) {
    std::vector<uint8_t> input = {uint8_t(metrics.size()), uint8_t(metrics.size() >> 8)};
    input.insert(input.end(), metrics.begin(), metrics.end());
    input.insert(input.end(), outline.begin(), outline.end());
    return input;
}

} // namespace lw::fuzz
