// Writes the seed corpus of both readers: a few valid small fonts and the
// malformed shapes a reader must survive. Run once; the files are committed
// beside inputs the fuzzers found.
#include "font_builder.h"
#include "fuzz_targets.h"

#include <filesystem>
#include <iostream>
#include <string>

namespace fs = std::filesystem;
using namespace lw::test;
using lw::fuzz::JoinType1Input;

namespace {

TBytes Cut(TBytes bytes, size_t size) {
    bytes.resize(std::min(size, bytes.size()));
    return bytes;
}

TNameTableBuilder RichNames() {
    TNameTableBuilder names;
    names.Windows(0, "(c) Letterwell").Windows(1, "Probe Sans").Windows(2, "Bold", 0x407);
    names.Windows(2, "Bold").Windows(4, "Probe Sans Bold", 0x40C).Windows(4, "Probe Sans Bold");
    names.Windows(5, "Version 1.0")
        .Windows(6, "ProbeSans-Bold")
        .Windows(19, "Sphinx \xF0\x9F\x98\x80");
    names.Mac(1, "Probe \xA5 Sans");
    return names;
}

TBytes TrueTypeFont() {
    return TSfntBuilder()
        .AddTable("OS/2", OS2Table(3, 700, 5, 0x0805, 0x20))
        .AddTable("glyf", TBytes(8, 0))
        .AddTable("head", HeadTable(2048, 9))
        .AddTable("name", RichNames().Build())
        .Build();
}

void OpenTypeCorpus(const fs::path& dir) {
    const TBytes font = TrueTypeFont();
    WriteFile(dir / "valid-truetype", font);
    WriteFile(dir / "valid-minimal", MinimalTrueType(RichNames()));
    TNameTableBuilder mac;
    mac.Mac(1, "Caf\x8E").Mac(2, "Regular").Mac(4, "Caf\x8E Regular");
    WriteFile(dir / "valid-cff-mac-names", TSfntBuilder()
                                               .AddTable("CFF ", TBytes(16, 1))
                                               .AddTable("GSUB", TBytes(10, 0))
                                               .AddTable("OS/2", OS2Table(0, 400, 5, 0xFFFF, 0x40))
                                               .AddTable("name", mac.Build())
                                               .Build());
    for (size_t size : {size_t(0), size_t(1), size_t(5), size_t(11), size_t(12), size_t(20),
                        size_t(40), size_t(80), font.size() / 2, font.size() - 1}) {
        WriteFile(dir / ("truncated-" + std::to_string(size)), Cut(font, size));
    }
    WriteFile(dir / "lying-offsets", TSfntBuilder()
                                         .AddTableAt("name", 0xFFFFFFF0u)
                                         .AddTableAt("OS/2", 0xFFFFFFFFu)
                                         .AddTableAt("head", 0x7FFFFFFFu)
                                         .Build());
    TSfntBuilder many;
    many.AddTable("name", RichNames().Build());
    many.ClaimedNumTables = 0xFFFF;
    WriteFile(dir / "huge-numtables", many.Build());
    TSfntBuilder repeats;
    for (int i = 0; i < 200; ++i) {
        repeats.AddTableAt("name", 12 + 16 * 200);
    }
    repeats.AddTable("name", RichNames().Build());
    WriteFile(dir / "repeated-name-tables", repeats.Build());
    TNameTableBuilder hugeCount = RichNames();
    hugeCount.ClaimedCount = 0xFFFF;
    WriteFile(dir / "huge-name-count", TSfntBuilder().AddTable("name", hugeCount.Build()).Build());
    TNameTableBuilder lying;
    lying.Lying(3, 1, 0xFFFF, 0xFFF0).Lying(1, 4, 0xFFFF, 0xFFFF).Lying(3, 2, 7, 0);
    lying.Windows(4, "Odd").Lying(3, 6, 5, 0);
    lying.ClaimedStringOffset = 0xFFFF;
    WriteFile(dir / "lying-name-records", TSfntBuilder().AddTable("name", lying.Build()).Build());
    TNameTableBuilder surrogates;
    surrogates.Add(3, 1, 0x409, 1, {0xD8, 0x3D, 0x00, 0x41, 0xDC, 0x00, 0xD8, 0x3D});
    WriteFile(dir / "unpaired-surrogates",
              TSfntBuilder().AddTable("name", surrogates.Build()).Build());
    WriteFile(
        dir / "zero-length-tables",
        TSfntBuilder().AddTable("head", {}).AddTable("OS/2", {}).AddTable("name", {}).Build());
    WriteFile(dir / "os2-version0-cut",
              TSfntBuilder().AddTable("OS/2", Cut(OS2Table(0, 400, 5, 0, 1), 40)).Build());
    // Files that end in the middle of a field.
    const struct {
        const char* File;
        const char* Tag;
        TBytes Table;
    } cutTables[] = {
        {"os2-cut-mid-field", "OS/2", OS2Table(0, 400, 5, 0x0805, 0x0140)},
        {"head-cut-mid-field", "head", HeadTable(2048, 9)},
        {"name-cut-mid-field", "name", RichNames().Build()},
    };
    for (const auto& cut : cutTables) {
        const TBytes whole = TSfntBuilder().AddTable(cut.Tag, cut.Table).Build();
        WriteFile(dir / cut.File, Cut(whole, 12 + 16 + cut.Table.size() - 1));
    }
}

TBytes Pfb(const std::string& header) {
    return PfbFile("%!PS-AdobeFont-1.0: Probe 001\r\n" + header);
}

void Type1Corpus(const fs::path& dir) {
    const std::string header = "/FontName /Probe-Bold def\n/FullName (Probe Bold) readonly def\n"
                               "/FamilyName (Probe) readonly def\n/Weight (Bold) readonly def\n"
                               "/ItalicAngle -12 def\n/isFixedPitch false def\n"
                               "/Notice (Probe is a mark (TM) of X) readonly def\n";
    TPfmBuilder pfm;
    pfm.Weight = 700;
    pfm.FaceName = "Probe";
    pfm.PostScriptName = "Probe-Bold";
    WriteFile(dir / "valid", JoinType1Input(pfm.Build(), Pfb(header)));
    TPfmBuilder latin1 = pfm;
    latin1.FaceName = "Caf\xE9";
    WriteFile(dir / "windows-1252-names",
              JoinType1Input(latin1.Build(),
                             Pfb("/Notice (\xA9 Probe) readonly def\r/Weight (M\xFC) def\r")));
    for (uint32_t offset : {0xFFFFFFFFu, 0x7FFFFFFFu, 146u}) {
        TPfmBuilder bad = pfm;
        bad.FaceOffset = offset;
        bad.DriverInfoOffset = offset;
        WriteFile(dir / ("pfm-offset-" + std::to_string(offset)),
                  JoinType1Input(bad.Build(), Pfb(header)));
    }
    TBytes unterminated = pfm.Build();
    unterminated.pop_back();
    WriteFile(dir / "pfm-unterminated", JoinType1Input(unterminated, Pfb(header)));
    for (size_t size : {size_t(0), size_t(50), size_t(100), size_t(140)}) {
        WriteFile(dir / ("pfm-truncated-" + std::to_string(size)),
                  JoinType1Input(Cut(pfm.Build(), size), Pfb(header)));
    }
    for (uint32_t length : {0xFFFFFFFFu, 0u, 3u, 100000u}) {
        WriteFile(dir / ("pfb-length-" + std::to_string(length)),
                  JoinType1Input(pfm.Build(), PfbFile(header, length)));
    }
    WriteFile(dir / "pfb-short", JoinType1Input(pfm.Build(), {0x80, 0x01, 0xFF}));
    WriteFile(dir / "pfb-empty", JoinType1Input(pfm.Build(), {}));
    WriteFile(dir / "pfb-long-header",
              JoinType1Input(pfm.Build(), Pfb(std::string(20000, 'x') + "\n/Weight (Late) def\n")));
    WriteFile(
        dir / "header-without-endings",
        JoinType1Input(pfm.Build(), Pfb("/Weight (\n/FullName \n/Notice (X) def\n/isFixedPitch\n"
                                        "/ItalicAngle 99999999999 def\n/UniqueID /\n\xFF\xFE\n")));
}

void CollectionCorpus(const fs::path& dir) {
    const TBytes one = MinimalTrueType(RichNames());
    const TBytes two = TrueTypeFont();
    const TBytes collection = Collection({one, two});
    WriteFile(dir / "valid-two-faces", collection);
    WriteFile(dir / "valid-one-face", Collection({two}));
    for (size_t size : {size_t(4), size_t(8), size_t(12), size_t(14), size_t(20), size_t(40),
                        collection.size() / 2}) {
        WriteFile(dir / ("truncated-" + std::to_string(size)), Cut(collection, size));
    }
    const auto withBE32 = [&](size_t at, uint32_t value) {
        TBytes bytes = TByteWriter().Raw(Cut(collection, at)).BE32(value).Bytes();
        bytes.insert(bytes.end(), collection.begin() + long(at) + 4, collection.end());
        return bytes;
    };
    WriteFile(dir / "count-huge", withBE32(8, 0xFFFFFFFFu));
    WriteFile(dir / "count-zero", withBE32(8, 0));
    WriteFile(dir / "offset-past-end", withBE32(12, 0xFFFFFFF0u));
    WriteFile(dir / "offset-at-end", withBE32(16, uint32_t(collection.size())));
    WriteFile(dir / "offset-into-header", withBE32(12, 4));
    WriteFile(dir / "plain-font", one);
}

const std::string kOutlineDictionary =
    "/FontInfo 9 dict dup begin\n  /version (001.002) readonly def\n"
    "  /Notice (Probe is a mark) readonly def\n  /FullName (Probe Bold) readonly def\n"
    "  /FamilyName (Probe) readonly def\n  /Weight (Bold) readonly def\n"
    "  /ItalicAngle 0 def\nend readonly def\n/FontName /Probe-Bold def\ncurrentfile eexec\n";

void OutlineCorpus(const fs::path& dir) {
    const TBytes pfb = Pfb(kOutlineDictionary);
    WriteFile(dir / "valid-pfb", pfb);
    const std::string pfa =
        "%!PS-AdobeFont-1.0: Probe-Bold 001.002\n" + kOutlineDictionary + "\x8F\x01\xFF encrypted";
    WriteText(dir / "valid-pfa", pfa);
    for (size_t size : {size_t(1), size_t(2), size_t(6), size_t(40), pfb.size() / 2}) {
        WriteFile(dir / ("pfb-truncated-" + std::to_string(size)), Cut(pfb, size));
    }
    // Text segments one after another, with lengths that lie.
    TBytes chained;
    for (uint32_t length : {8u, 0u, 0xFFFFFFFFu}) {
        const TBytes segment = PfbFile(kOutlineDictionary, length);
        chained.insert(chained.end(), segment.begin(), segment.begin() + 6 + 8);
    }
    WriteFile(dir / "pfb-chained-segments", chained);
    WriteFile(dir / "pfa-no-eexec", TBytes(pfa.begin(), pfa.begin() + 60));
    const std::string odd = "%!FontType1\n/FullName (\n/FamilyName /\n/FontName \xFF\xFE def\n";
    WriteText(dir / "pfa-odd-values", odd);
    // Escapes cut short, past a byte, and before line ends.
    const std::string escapes = "%!FontType1\n/Notice (\\0\\777\\\\\\) readonly def\n"
                                "/FullName (a\\\r\n b\\) def\n/FamilyName (\\";
    WriteText(dir / "pfa-escapes", escapes);
}

void AfmCorpus(const fs::path& dir) {
    const std::string afm = "StartFontMetrics 4.1\r\nFontName Probe-Bold\r\nFullName Probe Bold\r\n"
                            "FamilyName Probe\r\nWeight Bold\r\nVersion 001.002\r\n"
                            "Notice Probe is a mark\r\nStartCharMetrics 1\r\n";
    const TBytes afmBytes(afm.begin(), afm.end());
    WriteFile(dir / "valid", JoinType1Input(afmBytes, Pfb("")));
    WriteFile(dir / "valid-with-dictionary", JoinType1Input(afmBytes, Pfb(kOutlineDictionary)));
    std::string odd = "FontName\nFullName \t\nFamilyName \xC3\nWeight\t\xFF\n";
    odd += '\0';
    odd += "Version 1\n";
    WriteFile(dir / "afm-odd-lines", JoinType1Input(TextBytes(odd), Pfb("")));
    WriteFile(dir / "afm-empty", JoinType1Input({}, Pfb(kOutlineDictionary)));
    WriteFile(dir / "afm-long-line",
              JoinType1Input(TBytes(60000, 'F'), TBytes{0x80, 0x01, 0xFF, 0xFF, 0xFF, 0xFF}));
}

void DetailsCorpus(const fs::path& dir) {
    TNameTableBuilder names = RichNames();
    names.Windows(13, "SIL Open Font License, Version 1.1").Windows(256, "Weight");
    names.Windows(257, "Light").Windows(258, "Bold");
    const TBytes cmap = CmapTable({{3, 1, CmapFormat4({{'A', 'Z', 1}, {'a', 'z', 27}})},
                                   {3, 10, CmapFormat12({{'A', 'Z', 1}, {0x1F600, 0x1F64F, 27}})},
                                   {0, 6, CmapFormat12({{0x20, 0x7E, 1}}, true)}});
    TSfntBuilder variable;
    variable.AddTable("GPOS", LayoutTable({"latn"}, {"kern", "mark"}))
        .AddTable("GSUB", LayoutTable({"DFLT", "latn"}, {"liga", "smcp"}))
        .AddTable("OS/2", OS2Table(5, 400, 5, 0, 0x40))
        .AddTable("STAT", StatTable({{"wght", 256}}, {{0, 257, 300}, {0, 258, 700}}))
        .AddTable("cmap", cmap)
        .AddTable("fvar", FvarTable({{"wght", 100, 400, 900, 256}}, {{257, {300}}, {258, {700}}}))
        .AddTable("head", HeadTable(1000, 8))
        .AddTable("maxp", MaxpTable(80))
        .AddTable("name", names.Build())
        .AddTable("post", PostTable(-10, false));
    const TBytes font = variable.Build();
    WriteFile(dir / "valid-variable", font);
    WriteFile(dir / "valid-minimal", MinimalTrueType(RichNames()));
    WriteFile(dir / "valid-collection", Collection({font, MinimalTrueType(RichNames())}));
    for (size_t size :
         {size_t(40), size_t(200), font.size() / 3, font.size() / 2, font.size() - 9}) {
        WriteFile(dir / ("truncated-" + std::to_string(size)), Cut(font, size));
    }
    TBytes lyingGroups = CmapFormat12({{0, 0x10FFFF, 1}});
    lyingGroups[15] = 0xFF;
    TBytes lyingSegments = CmapFormat4({{'a', 'z', 1}});
    lyingSegments[7] = 0xFE;
    TBytes farFvar = FvarTable({{"wght", 100, 400, 900, 256}}, {{257, {300}}});
    farFvar[13] = 0xFF;
    WriteFile(dir / "lying-counts",
              TSfntBuilder()
                  .AddTable("cmap", CmapTable({{3, 10, lyingGroups}, {3, 1, lyingSegments}}))
                  .AddTable("fvar", farFvar)
                  .AddTableAt("GSUB", 0xFFFFFF00u, 64)
                  .AddTable("maxp", TBytes(3, 0))
                  .Build());
    WriteFile(dir / "whole-range-cmap",
              TSfntBuilder()
                  .AddTable("cmap", CmapTable({{3, 10, CmapFormat12({{0, 0xFFFFFFFF, 0}})}}))
                  .Build());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: font_corpus_maker CORPUS_FOLDER\n";
        return 2;
    }
    const fs::path root = argv[1];
    OpenTypeCorpus(root / "opentype");
    Type1Corpus(root / "type1");
    CollectionCorpus(root / "collection");
    OutlineCorpus(root / "outline");
    AfmCorpus(root / "afm");
    DetailsCorpus(root / "details");
    return 0;
}
