// The installed-font sheet with every family of this machine (read only) at
// 24 points in 3 columns: time to draw the first page, each further page
// drawn for the first time, each page drawn again (scrolling back), and the
// memory the sheet adds. With an argument N the list is stretched to N items
// by repeating the machine's families, each repeat drawn afresh, to see a
// large installation's paging and the memory bound.
//
//   sheet_bench [N]
#include "app/main_window.h"
#include "app/options.h"
#include "fonts/font_manager.h"
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
#include <sys/resource.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One frame as the user sees it.
double DrawFrame(QListView& list) {
    const auto start = Clock::now();
    list.viewport()->grab();
    return Ms(start);
}

// Frames until every sample of the page is drawn.
double DrawPage(QListView& list, const lw::TFontSampleDelegate& delegate,
                double* firstFrame = nullptr) {
    const auto start = Clock::now();
    double frame = DrawFrame(list);
    if (firstFrame != nullptr) {
        *firstFrame = frame;
    }
    while (delegate.FrameLeftWork()) {
        DrawFrame(list);
    }
    return Ms(start);
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

} // namespace

int main(int argc, char** argv) {
    const int stretch = argc > 1 ? std::atoi(argv[1]) : 0;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
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
        QStringList items = sheet.Items();
        const qsizetype families = items.size();
        for (int i = 1; stretch > 0 && items.size() < stretch; ++i) {
            // Repeats under new names so nothing is drawn from the cache twice.
            items << QStringLiteral("%1,%2").arg(items[(items.size()) % families]).arg(i);
        }
        if (stretch > 0) {
            items = items.mid(0, stretch);
            sheet.Model->setStringList(items);
        }
        const double create = Ms(start);
        sheet.show();
        QListView& list = *sheet.lstFonts;
        list.doItemsLayout();
        // The first page as the user first sees it: nothing drawn before.
        sheet.Delegate->Invalidate();
        double firstFrame = 0;
        const double first = DrawPage(list, *sheet.Delegate, &firstFrame);
        std::printf("scroll: horizontal max %d page %d, vertical max %d\n",
                    list.horizontalScrollBar()->maximum(), list.horizontalScrollBar()->pageStep(),
                    list.verticalScrollBar()->maximum());

        QScrollBar* bar = list.horizontalScrollBar();
        const int page = std::max(1, bar->pageStep());
        TStats fresh;
        for (int value = page; value <= bar->maximum(); value += page) {
            bar->setValue(value);
            fresh.Add(DrawPage(list, *sheet.Delegate));
        }
        TStats again;
        for (int round = 0; round < 3; ++round) {
            for (int value = bar->value(); value >= 0; value -= page) {
                bar->setValue(value);
                again.Add(DrawPage(list, *sheet.Delegate));
            }
            for (int value = 0; value <= bar->maximum(); value += page) {
                bar->setValue(value);
                again.Add(DrawPage(list, *sheet.Delegate));
            }
        }
        // The same pages redrawn with the tiles forgotten but the faces loaded.
        TStats redrawn;
        for (int value = 0; value <= std::min(bar->maximum(), 4 * page); value += page) {
            bar->setValue(value);
            sheet.Delegate->Invalidate();
            redrawn.Add(DrawPage(list, *sheet.Delegate));
        }
        std::printf("pages redrawn without tiles: %d, mean %.1f ms\n", redrawn.Count,
                    redrawn.Mean());
        const long after = PeakKilobytes();
        std::printf("families %lld, items %lld, window 1600x1000, 24 pt, 3 columns\n",
                    static_cast<long long>(families),
                    static_cast<long long>(sheet.Model->rowCount()));
        std::printf("create sheet %.1f ms, first frame %.1f ms, first page complete %.1f ms\n",
                    create, firstFrame, first);
        std::printf("new pages: %d, mean %.1f ms, worst %.1f ms\n", fresh.Count, fresh.Mean(),
                    fresh.Max);
        std::printf(
            "pages again (back and forth): %d, mean %.2f ms, worst %.2f ms, tiles cached %d\n",
            again.Count, again.Mean(), again.Max, sheet.Delegate->CachedTiles());
        std::printf("peak memory added by the sheet: %.1f MB\n", (after - before) / 1024.0);
    }
    lw::FontManager.reset();
    std::remove(settings.c_str());
    return 0;
}
