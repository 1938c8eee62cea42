// The installed-font sheet at 24 points in 3 columns, 1600 x 1000: the first
// page, every further page drawn for the first time (each frame timed, and
// the page until complete), pages drawn again (scrolling back), pages drawn
// again with their tiles forgotten, and the memory the sheet adds.
//
//   sheet_bench        every family of this machine (read only)
//   sheet_bench N      N families of their own: links to this machine's font
//                      files in a folder of the benchmark's, each renamed by
//                      fontconfig to a family of its own, so a large
//                      installation of real, different faces is measured on a
//                      machine that has fewer
#include "app/main_window.h"
#include "base/options.h"
#include "bench_clock.h"
#include "fonts/font_manager.h"
#include "machine_fonts.h"
#include "platform/linux/fontconfig_system.h"
#include "platform/linux/linux_platform.h"
#include "scripted_prompts.h"
#include "sheets/sample_delegate.h"
#include "sheets/view_all.h"

#include <QApplication>
#include <QListView>
#include <QScrollBar>
#include <QStringListModel>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using lw::bench::Clock;
using lw::bench::Ms;

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct TStats {
    double Max = 0;
    double Sum = 0;
    int Count = 0;
    void Add(double v) {
        Max = std::max(Max, v);
        Sum += v;
        ++Count;
    }
    double Mean() const { return Count == 0 ? 0 : Sum / Count; }
};

// One frame as the user sees it.
double DrawFrame(QListView& list, TStats* frames) {
    const auto start = Clock::now();
    list.viewport()->grab();
    const double ms = Ms(start);
    if (frames != nullptr) {
        frames->Add(ms);
    }
    return ms;
}

// Frames until every sample of the page is drawn.
double DrawPage(QListView& list, const lw::TFontSampleDelegate& delegate,
                TStats* frames = nullptr) {
    const auto start = Clock::now();
    DrawFrame(list, frames);
    while (delegate.FrameLeftWork()) {
        DrawFrame(list, frames);
    }
    return Ms(start);
}

// N families of their own for fontconfig, and every program of this process,
// to serve; gives the folder to remove afterwards.
fs::path InstallSyntheticFamilies(int count) {
    const std::vector<std::string> files = lw::bench::MachineFontFiles();
    const fs::path root =
        fs::temp_directory_path() / ("letterwell-sheet-bench-" + std::to_string(::getpid()));
    fs::create_directories(root / "fonts");
    std::ofstream conf(root / "fonts.conf");
    conf << "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" << (root / "fonts").string()
         << "</dir>\n  <cachedir>" << (root / "cache").string() << "</cachedir>\n";
    for (int i = 0; i < count && !files.empty(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%05d", i);
        const std::string& target = files[static_cast<size_t>(i) % files.size()];
        const fs::path link = root / "fonts" / (name + fs::path(target).extension().string());
        fs::create_symlink(target, link);
        conf << "  <match target=\"scan\"><test name=\"file\"><string>" << link.string()
             << "</string></test><edit name=\"family\" mode=\"assign_replace\"><string>"
             << "Sheet Bench " << name << "</string></edit></match>\n";
    }
    conf << "</fontconfig>\n";
    conf.close();
    ::setenv("FONTCONFIG_FILE", (root / "fonts.conf").c_str(), 1);
    FcInitReinitialize();
    return root;
}

} // namespace

int main(int argc, char** argv) {
    const int synthetic = argc > 1 ? std::atoi(argv[1]) : 0;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const fs::path syntheticRoot = synthetic > 0 ? InstallSyntheticFamilies(synthetic) : fs::path();
    QApplication app(argc, argv);
    lw::test::TScriptedPrompts prompts;
    const std::string settings = "/tmp/letterwell-bench-" + std::to_string(::getpid()) + ".reg";
    lw::TLinuxPlatform platform(prompts, settings);
    lw::FontManager = std::make_unique<lw::TFontManager>();
    {
        lw::TfMain_letterwell main;
        lw::Options.ListFontSize = 24;
        lw::Options.ListColumns = 3;
        lw::Options.ListMaximized = false;
        lw::Options.ListLeft = 0;
        lw::Options.ListTop = 0;
        lw::Options.ListWidth = 1600;
        lw::Options.ListHeight = 1000;
        const long before = PeakKilobytes();
        auto start = Clock::now();
        lw::TfViewAll sheet(&main);
        const double create = Ms(start);
        sheet.show();
        QListView& list = *sheet.lstFonts;
        list.doItemsLayout();
        // The first page as the user first sees it: nothing drawn before.
        sheet.Delegate->Invalidate();
        TStats firstFrames;
        const double first = DrawPage(list, *sheet.Delegate, &firstFrames);

        QScrollBar* bar = list.horizontalScrollBar();
        const int page = std::max(1, bar->pageStep());
        TStats fresh;
        TStats frames;
        for (int value = page; value <= bar->maximum(); value += page) {
            bar->setValue(value);
            fresh.Add(DrawPage(list, *sheet.Delegate, &frames));
        }
        TStats again;
        for (int round = 0; round < 3; ++round) {
            for (int value = bar->value(); value >= 0; value -= page) {
                bar->setValue(value);
                again.Add(DrawPage(list, *sheet.Delegate, &frames));
            }
            for (int value = 0; value <= bar->maximum(); value += page) {
                bar->setValue(value);
                again.Add(DrawPage(list, *sheet.Delegate, &frames));
            }
        }
        // The same pages redrawn with the tiles forgotten but the faces loaded.
        TStats redrawn;
        for (int value = 0; value <= std::min(bar->maximum(), 4 * page); value += page) {
            bar->setValue(value);
            sheet.Delegate->Invalidate();
            DrawPage(list, *sheet.Delegate); // the page's faces loaded again
            sheet.Delegate->Invalidate();
            redrawn.Add(DrawPage(list, *sheet.Delegate));
        }
        const long after = PeakKilobytes();
        std::printf("families %lld (%s), window 1600x1000, 24 pt, 3 columns, %d pages\n",
                    static_cast<long long>(sheet.Model->rowCount()),
                    synthetic > 0 ? "each a link to one of this machine's font files"
                                  : "this machine's",
                    fresh.Count + 1);
        std::printf("create sheet %.1f ms, first frame %.1f ms, first page complete %.1f ms\n",
                    create, firstFrames.Max, first);
        std::printf("pages never drawn before: mean %.1f ms, worst %.1f ms to complete\n",
                    fresh.Mean(), fresh.Max);
        std::printf(
            "pages again (back and forth): %d, mean %.2f ms, worst %.2f ms, tiles cached %d\n",
            again.Count, again.Mean(), again.Max, sheet.Delegate->CachedTiles());
        std::printf("frames while scrolling (new pages and back and forth): %d, mean %.1f ms, "
                    "worst %.1f ms\n",
                    frames.Count, frames.Mean(), frames.Max);
        std::printf("pages redrawn with their tiles evicted: %d, mean %.1f ms, worst %.1f ms\n",
                    redrawn.Count, redrawn.Mean(), redrawn.Max);
        std::printf("peak memory added by the sheet: %.1f MB\n", (after - before) / 1024.0);
    }
    lw::FontManager.reset();
    std::remove(settings.c_str());
    if (!syntheticRoot.empty()) {
        std::error_code ec;
        fs::remove_all(syntheticRoot, ec);
    }
    return 0;
}
