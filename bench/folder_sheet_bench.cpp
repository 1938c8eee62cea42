// The folder sheet on a folder of N font files (links to this machine's font
// files in a folder of the benchmark's), opened from the not-installed page
// as the menu opens it: the time until the sheet is up with its first screen
// of samples drawn, how often the progress bar moved, and the longest wait
// the load made a key press (Esc) sit unanswered. The aim: under a second
// for 1,000 files with a warm cache.
//
//   folder_sheet_bench [N]     (default 1000)
#include "app/main_window.h"
#include "app/qt_app_fonts.h"
#include "bench_clock.h"
#include "controls/drive_view.h"
#include "controls/file_list.h"
#include "fonts/font_manager.h"
#include "machine_fonts.h"
#include "pages/not_installed_page.h"
#include "platform/linux/linux_platform.h"
#include "scripted_prompts.h"
#include "sheets/sample_delegate.h"
#include "sheets/view_all_not_installed.h"

#include <QApplication>
#include <QListView>
#include <QProgressBar>
#include <QStringListModel>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using lw::bench::Clock;
using lw::bench::Ms;

struct TOpening {
    double UpMs = 0;       // the menu command until the first screen is drawn
    double SamplesMs = 0;  // ...and every sample on it
    double LongestGap = 0; // between two turns of the event loop during the load
    size_t ProgressSteps = 0;
    int Rows = 0;
};

TOpening OpenOnce(lw::TfMain_letterwell& window) {
    TOpening result;
    std::set<int> progressValues;
    Clock::time_point lastTurn{};
    bool up = false;
    const auto start = Clock::now();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        if (lastTurn != Clock::time_point{}) {
            result.LongestGap = std::max(result.LongestGap, Ms(lastTurn, now));
        }
        lastTurn = now;
        if (window.LoadProgress != nullptr) {
            progressValues.insert(window.LoadProgress->value());
        }
        auto* sheet = qobject_cast<lw::TfViewAllNotInstalled*>(QApplication::activeModalWidget());
        if (sheet != nullptr && sheet->isVisible() && !up) {
            up = true;
            watch.stop();
            sheet->lstFonts->viewport()->repaint(); // the first screen, drawn now
            result.UpMs = Ms(start);
            // Samples not drawn within a frame's time come in the next ones.
            for (int frame = 0; frame < 100 && sheet->Delegate->FrameLeftWork(); ++frame) {
                sheet->lstFonts->viewport()->repaint();
            }
            result.SamplesMs = Ms(start);
            result.Rows = sheet->Model->rowCount();
            sheet->close();
        }
    });
    watch.start(0);
    window.ViewFolderClick(false);
    result.ProgressSteps = progressValues.size();
    return result;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    lw::test::TScriptedPrompts prompts;
    const std::string settings =
        "/tmp/letterwell-folder-sheet-bench-" + std::to_string(::getpid()) + ".reg";
    lw::TLinuxPlatform platform(prompts, settings);
    lw::TQtApplicationFonts applicationFonts;
    lw::FontManager = std::make_unique<lw::TFontManager>();

    const std::vector<std::string> machine = lw::bench::MachineFontFiles();
    const fs::path folder = lw::bench::LinkMachineFonts(
        "letterwell-folder-sheet-bench-" + std::to_string(::getpid()), count, machine);
    {
        lw::TfMain_letterwell window;
        window.resize(1000, 700);
        window.show();
        window.pcMain->setCurrentIndex(1);
        lw::TNotInstalledPage& page = *window.NotInstalled;
        page.DriveView->SetPath(folder.string());
        page.FolderChosen();
        // Once unmeasured, so the page cache holds the files.
        OpenOnce(window);
        TOpening best;
        best.UpMs = 1e9;
        for (int run = 0; run < 3; ++run) {
            const TOpening opening = OpenOnce(window);
            if (opening.UpMs < best.UpMs) {
                best = opening;
            }
        }
        std::printf("folder sheet, %d font files (%zu distinct fonts), warm cache: up with its "
                    "first screen drawn in %.0f ms, every sample on it in %.0f ms (best of 3; "
                    "aim: under 1000 ms)\n",
                    best.Rows, std::min(machine.size(), static_cast<size_t>(count)), best.UpMs,
                    best.SamplesMs);
        std::printf("during the load: the progress bar took %zu values; the longest a key "
                    "waited for the event loop: %.1f ms\n",
                    best.ProgressSteps, best.LongestGap);
    }
    lw::FontManager.reset();
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::remove(settings, ec);
    return 0;
}
