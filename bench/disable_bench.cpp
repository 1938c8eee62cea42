// Disabling and enabling N styles at once (a sheet's selection), each time
// with fontconfig's re-read of every font on this machine plus the N.
//
//   disable_bench [N]     (default 500)
#include "bench_clock.h"
#include "fonts/disabled_fonts.h"
#include "machine_fonts.h"
#include "platform/linux/linux_platform.h"
#include "platform/services.h"
#include "scripted_prompts.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using lw::bench::Clock;
using lw::bench::Ms;

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 500;
    const std::vector<std::string> machine = lw::bench::MachineFontFiles();
    const fs::path root =
        fs::temp_directory_path() / ("letterwell-disable-bench-" + std::to_string(::getpid()));
    const fs::path fonts = lw::bench::LinkMachineFonts(
        "letterwell-disable-bench-fonts-" + std::to_string(::getpid()), count, machine);
    fs::create_directories(root / "config");
    {
        std::ofstream conf(root / "fonts.conf");
        conf << "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>/usr/share/fonts</dir>\n  <dir>"
             << fonts.string() << "</dir>\n  <cachedir>" << (root / "cache").string()
             << "</cachedir>\n  <include ignore_missing=\"yes\" prefix=\"xdg\">fontconfig/conf.d"
             << "</include>\n</fontconfig>\n";
    }
    ::setenv("FONTCONFIG_FILE", (root / "fonts.conf").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    lw::test::TScriptedPrompts prompts;
    lw::TLinuxPlatform platform(prompts, (root / "settings.reg").string());
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(fonts)) {
        files.push_back(entry.path().string());
    }
    lw::TDisabledFonts store = lw::UserDisabledFonts();
    // The first look scans the new folder and writes its cache, as an
    // install would have; measured apart.
    auto start = Clock::now();
    lw::FontSystem().FontsChanged();
    const size_t before = lw::FontSystem().EnumFamilyFaces().size();
    std::printf("first scan: %.0f ms, %zu faces\n", Ms(start), before);
    for (int round = 0; round < 3; ++round) {
        start = Clock::now();
        store.Change(files, {});
        lw::FontSystem().FontsChanged();
        const size_t off = lw::FontSystem().EnumFamilyFaces().size();
        const double disable = Ms(start);
        start = Clock::now();
        const size_t listed = store.Disabled().size();
        const double list = Ms(start);
        start = Clock::now();
        store.Change({}, files);
        lw::FontSystem().FontsChanged();
        const size_t on = lw::FontSystem().EnumFamilyFaces().size();
        const double enable = Ms(start);
        std::printf("%zu styles: disable %.0f ms (%zu -> %zu faces), listing the disabled "
                    "%.0f ms (%zu), enable %.0f ms (-> %zu)\n",
                    files.size(), disable, before, off, list, listed, enable, on);
    }
    fs::remove_all(root);
    fs::remove_all(fonts);
    return 0;
}
