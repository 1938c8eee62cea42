// The Details window on a large CJK face: the time from the request to the
// first tab drawn, to the character map's first screen drawn, and the
// longest frame while the map scrolls from top to bottom, a wheel turn
// (three rows) and a page at a time. Faces are let go before each opening,
// so FreeType loads the face again as a first opening does. The main window
// is up first, as it is whenever Details opens.
//
//   details_bench [FILE [FACE]]   (default Noto Sans CJK Regular, face 0)
#include "app/main_window.h"
#include "bench_clock.h"
#include "fonts/font_manager.h"
#include "pages/char_map_view.h"
#include "pages/details_window.h"
#include "platform/linux/linux_platform.h"
#include "platform/services.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QScrollBar>
#include <QTabWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

using lw::bench::Clock;
using lw::bench::Ms;

void Report(const char* figure, double ms, double aim) {
    std::printf("%s: %.1f ms (aim %.0f ms) %s\n", figure, ms, aim, ms <= aim ? "met" : "not met");
}

// The longest repaint while the map scrolls to its end by step pixels;
// frames that left glyphs for the next one are counted in deferred.
double LongestFrame(lw::TCharMapView& map, int step, int& frames, int& deferred) {
    QScrollBar* bar = map.verticalScrollBar();
    bar->setValue(0);
    map.viewport()->repaint();
    double longest = 0;
    frames = 0;
    deferred = 0;
    for (int at = step; at - step < bar->maximum(); at += step) {
        const Clock::time_point start = Clock::now();
        bar->setValue(std::min(at, bar->maximum()));
        map.viewport()->repaint();
        longest = std::max(longest, Ms(start));
        ++frames;
        deferred += map.FrameLeftWork() ? 1 : 0;
    }
    return longest;
}

} // namespace

int main(int argc, char** argv) {
    const std::string file =
        argc > 1 ? argv[1] : "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
    const uint32_t face = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 0;
    if (!std::filesystem::exists(file)) {
        std::printf("details_bench: %s is missing (fonts-noto-cjk)\n", file.c_str());
        return 1;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    lw::test::TScriptedPrompts prompts;
    const std::string settings =
        "/tmp/letterwell-details-bench-" + std::to_string(::getpid()) + ".reg";
    lw::TLinuxPlatform platform(prompts, settings);
    lw::FontManager = std::make_unique<lw::TFontManager>();
    const QString sample = QStringLiteral("The quick brown fox \u6C38\u548C\u4E5D\u5E74");

    lw::TfMain_letterwell window;
    window.show();
    QApplication::processEvents();

    constexpr int kRuns = 5;
    double firstTab = 0;
    double firstMap = 0;
    uint64_t codes = 0;
    for (int run = 0; run < kRuns; ++run) {
        lw::FaceRasterizer().ReleaseFaces();
        Clock::time_point start = Clock::now();
        lw::TfDetails* details = lw::OpenFileDetails(file, face, sample, &window);
        if (details == nullptr) {
            std::printf("details_bench: %s cannot be read\n", file.c_str());
            return 1;
        }
        details->repaint();
        const double tab = Ms(start);
        std::printf("opening %d: first tab %.1f ms", run + 1, tab);
        firstTab = std::max(firstTab, tab);
        details->close();
        delete details;

        lw::FaceRasterizer().ReleaseFaces();
        start = Clock::now();
        details = lw::OpenFileDetails(file, face, sample, &window);
        details->pcDetails->setCurrentIndex(2);
        // New glyphs fill in over as many frames as their drawing takes.
        do {
            details->CharMap->viewport()->repaint();
        } while (details->CharMap->FrameLeftWork());
        const double screen = Ms(start);
        std::printf(", character map %.1f ms (%s)\n", screen,
                    details->CharMap->viewport()->isVisible() ? "drawn" : "not drawn");
        firstMap = std::max(firstMap, screen);
        codes = details->CharMap->Layout().CodeCount();
        delete details;
    }
    std::printf("%s face %u: %llu code points, worst of %d openings\n", file.c_str(), face,
                static_cast<unsigned long long>(codes), kRuns);
    Report("Details open to first tab drawn", firstTab, 150);
    Report("Details open to character map's first screen drawn", firstMap, 300);

    lw::FaceRasterizer().ReleaseFaces();
    lw::TfDetails* details = lw::OpenFileDetails(file, face, sample, &window);
    details->pcDetails->setCurrentIndex(2);
    QApplication::processEvents();
    lw::TCharMapView& map = *details->CharMap;
    if (!map.viewport()->isVisible()) {
        std::printf("details_bench: the character map is not on screen\n");
        return 1;
    }
    int frames = 0;
    int deferred = 0;
    const double wheel = LongestFrame(map, 3 * map.RowHeight(), frames, deferred);
    std::printf(
        "map scrolled by wheel turns: %d frames (%d left glyphs for the next), %d columns\n",
        frames, deferred, map.Layout().Columns());
    Report("longest frame scrolling the character map by wheel turns", wheel, 16);
    const double page = LongestFrame(map, map.verticalScrollBar()->pageStep(), frames, deferred);
    std::printf("map scrolled by pages: %d frames (%d left glyphs for the next)\n", frames,
                deferred);
    Report("longest frame scrolling the character map by pages", page, 16);
    delete details;
    lw::FontManager.reset();
    std::filesystem::remove(settings);
    return 0;
}
