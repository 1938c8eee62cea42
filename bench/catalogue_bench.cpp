// Start-up cost of the installed-font list: building the catalogue and
// filling the family list, for every family fontconfig knows on this machine
// (read only), then the same for a synthetic catalogue of N families, which is
// how a large installation is measured on a machine that has few fonts.
//
//   catalogue_bench [N]     (N synthetic families, default 3000)
#include "bench_clock.h"
#include "fake_font_system.h"
#include "fonts/font_manager.h"
#include "pages/installed_styles.h"
#include "pages/simple_combo.h"
#include "platform/linux/linux_platform.h"
#include "scripted_prompts.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

using lw::bench::Clock;
using lw::bench::Ms;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct TResult {
    size_t Families = 0;
    double Catalogue = 0;
    double List = 0;
    double Select = 0;
};

TResult Measure() {
    TResult r;
    auto start = Clock::now();
    lw::FontManager = std::make_unique<lw::TFontManager>();
    lw::FontManager->LoadFontTypeNames();
    r.Catalogue = Ms(start);
    r.Families = lw::FontManager->Families.size();

    start = Clock::now();
    lw::TSimpleComboBox list;
    QStringList names;
    names.reserve(static_cast<qsizetype>(r.Families));
    for (const std::string& family : lw::FontManager->Families) {
        names << QString::fromStdString(family);
    }
    list.SetItems(names);
    list.SetItemIndex(0);
    r.List = Ms(start);

    // What one click on a family costs: its styles, files and type.
    std::vector<double> selections;
    const size_t step = std::max<size_t>(1, r.Families / 50);
    for (size_t i = 0; i < r.Families; i += step) {
        start = Clock::now();
        lw::DescribeFamily(*lw::FontManager, lw::FontManager->Families[i]);
        selections.push_back(Ms(start));
    }
    r.Select = selections.empty() ? 0 : Median(selections);
    lw::FontManager.reset();
    return r;
}

void Report(const char* what, int runs) {
    std::vector<double> catalogue, list, select;
    size_t families = 0;
    for (int i = 0; i < runs; ++i) {
        const TResult r = Measure();
        families = r.Families;
        catalogue.push_back(r.Catalogue);
        list.push_back(r.List);
        select.push_back(r.Select);
    }
    std::printf("%-28s families %6zu  catalogue %8.1f ms  list %7.1f ms  total %8.1f ms  "
                "select one %6.3f ms  (median of %d)\n",
                what, families, Median(catalogue), Median(list), Median(catalogue) + Median(list),
                Median(select), runs);
}

void FillSynthetic(lw::test::TFakeFontSystem& fonts, int families) {
    std::mt19937 random(7);
    std::vector<std::string> names;
    for (int i = 0; i < families; ++i) {
        names.push_back("Family " + std::to_string(random() % 100000) + " " + std::to_string(i));
    }
    const char* styles[] = {"Regular", "Italic", "Bold", "Bold Italic"};
    const uint32_t flags[] = {lw::NTM_REGULAR, lw::NTM_ITALIC, lw::NTM_BOLD,
                              lw::NTM_BOLD | lw::NTM_ITALIC};
    // Faces arrive grouped by file, not by family, as fontconfig lists them.
    for (int s = 0; s < 4; ++s) {
        for (const std::string& name : names) {
            const std::string full = name + " " + styles[s];
            fonts.AddFace(name, lw::TFaceInfo{full, styles[s], lw::TRUETYPE_FONTTYPE,
                                              flags[s] | lw::NTM_TT_OPENTYPE});
            fonts.Fonts[full + " (TrueType)"] = lw::TRegValue::FromString(full + ".ttf");
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const int synthetic = argc > 1 ? std::atoi(argv[1]) : 3000;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    lw::test::TScriptedPrompts prompts;
    lw::TLinuxPlatform platform(prompts, "/nonexistent/never-written.reg");
    Report("fontconfig (this machine)", 5);
    {
        lw::test::TFakeFontSystem fonts;
        FillSynthetic(fonts, synthetic);
        Report("synthetic", 5);
    }
    return 0;
}
