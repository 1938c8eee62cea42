// The not-installed page on a folder of N font files (links to this
// machine's font files in a folder of the benchmark's): the time to list the
// folder when it is chosen, and the time a click takes to read and preview a
// file, for files all over the folder.
//
//   page_bench [N]     (default 2000)
#include "app/main_window.h"
#include "app/qt_app_fonts.h"
#include "bench_clock.h"
#include "controls/drive_view.h"
#include "controls/file_list.h"
#include "fonts/font_manager.h"
#include "machine_fonts.h"
#include "pages/not_installed_page.h"
#include "platform/linux/fontconfig_system.h"
#include "platform/linux/linux_platform.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using lw::bench::Clock;
using lw::bench::Ms;

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    lw::test::TScriptedPrompts prompts;
    const std::string settings =
        "/tmp/letterwell-page-bench-" + std::to_string(::getpid()) + ".reg";
    lw::TLinuxPlatform platform(prompts, settings);
    lw::TQtApplicationFonts applicationFonts;
    lw::FontManager = std::make_unique<lw::TFontManager>();

    const std::vector<std::string> machine = lw::bench::MachineFontFiles();
    const fs::path folder = lw::bench::LinkMachineFonts(
        "letterwell-page-bench-" + std::to_string(::getpid()), count, machine);
    {
        lw::TfMain_letterwell window;
        window.show();
        window.pcMain->setCurrentIndex(1);
        lw::TNotInstalledPage& page = *window.NotInstalled;
        page.DriveView->SetPath(folder.string());
        // Once unmeasured, so the page cache holds the folder.
        page.FolderChosen();
        double list = 1e9;
        for (int run = 0; run < 5; ++run) {
            const auto start = Clock::now();
            page.FolderChosen();
            list = std::min(list, Ms(start));
        }
        std::vector<double> clicks;
        const int files = page.FileList->count();
        for (int row = 0; row < files; row += std::max(1, files / 100)) {
            const auto start = Clock::now();
            page.FileList->setCurrentRow(row); // the click handler runs
            page.mmSampleNotInst->grab();      // and the sample is drawn in the face
            clicks.push_back(Ms(start));
        }
        std::sort(clicks.begin(), clicks.end());
        double sum = 0;
        for (const double ms : clicks) {
            sum += ms;
        }
        std::printf("folder of %d font files: listed in %.1f ms (best of 5)\n", files, list);
        std::printf("click to preview, %zu files across the folder: mean %.1f ms, median %.1f ms, "
                    "worst %.1f ms\n",
                    clicks.size(), sum / clicks.size(), clicks[clicks.size() / 2], clicks.back());
    }
    lw::FontManager.reset();
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::remove(settings, ec);
    return 0;
}
