// Reading font files as the folder views read them: every TrueType, OpenType
// and Type 1 metrics file under a folder (default /usr/share/fonts), through
// the catalogue's reader of each file's type with its installed answer. In
// the same run, on the same files: fontconfig's own reader (fc-scan) and a
// bare open and read of each file's first 64 KiB, the floor any reader
// stands on. Warm cache: every pass runs after one unmeasured pass.
//
//   reader_bench [FOLDER]
#include "fonts/font_file.h"
#include "fonts/font_json.h"
#include "fonts/font_manager.h"
#include "platform/linux/linux_platform.h"
#include "scripted_prompts.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

std::vector<std::string> FontFiles(const fs::path& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const std::string path = it->path().string();
        const uint8_t type = lw::TFontManager::GetFontFileType(path);
        if ((type == lw::ftTrueType || type == lw::ftOpenType || type == lw::ftType1) &&
            it->is_regular_file(ec)) {
            files.push_back(path);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Our reader, as the folder views call it; the count of records it made.
size_t ReadAll(const std::vector<std::string>& files) {
    size_t records = 0;
    for (const std::string& file : files) {
        try {
            if (lw::TFontManager::ReadFontFile(file)) {
                ++records;
            }
        } catch (const std::exception&) {
        }
    }
    return records;
}

size_t ReadAllAsJson(const std::vector<std::string>& files) {
    size_t bytes = 0;
    for (const std::string& file : files) {
        try {
            if (auto font = lw::TFontManager::ReadFontFile(file)) {
                bytes += lw::FontFileJson(*font).size();
            }
        } catch (const std::exception&) {
        }
    }
    return bytes;
}

size_t BareReadAll(const std::vector<std::string>& files) {
    static char buffer[64 * 1024];
    size_t bytes = 0;
    for (const std::string& file : files) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            bytes += n > 0 ? static_cast<size_t>(n) : 0;
            ::close(fd);
        }
    }
    return bytes;
}

// The files as one NUL-separated list for xargs.
std::string WriteList(const std::vector<std::string>& files, const char* name) {
    const std::string list = (fs::temp_directory_path() / name).string();
    FILE* out = std::fopen(list.c_str(), "w");
    if (out != nullptr) {
        for (const std::string& file : files) {
            std::fprintf(out, "%s%c", file.c_str(), '\0');
        }
        std::fclose(out);
    }
    return list;
}

// A program over all the files in one process, as a user's own argument
// list would run it.
void RunOver(const std::string& program, const std::string& list) {
    const std::string command =
        "xargs -0 -s 2000000 " + program + " < '" + list + "' > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
    }
}

template <typename F> double Once(F&& work) {
    const auto start = Clock::now();
    work();
    return Seconds(start);
}

void Row(const char* what, size_t files, double seconds, double floor) {
    std::printf("%-34s %8.0f files/s  %7.1f us a file  %5.2fx the bare read\n", what,
                files / seconds, seconds * 1e6 / files, seconds / floor);
}

} // namespace

int main(int argc, char** argv) {
    const fs::path folder = argc > 1 ? argv[1] : "/usr/share/fonts";
    QCoreApplication app(argc, argv);
    lw::test::TScriptedPrompts prompts;
    lw::TLinuxPlatform platform(prompts, "/nonexistent/never-written.reg");
    lw::FontManager = std::make_unique<lw::TFontManager>();

    const std::vector<std::string> files = FontFiles(folder);
    if (files.empty()) {
        std::fprintf(stderr, "no font files under %s\n", folder.c_str());
        return 1;
    }
    // A whole program's cost a file: its run over the files three times
    // less its run over them once, so its start and catalogue, and the
    // machine's noise in them, cancel out.
    std::vector<std::string> thrice = files;
    thrice.insert(thrice.end(), files.begin(), files.end());
    thrice.insert(thrice.end(), files.begin(), files.end());
    const std::string all = WriteList(files, "reader-bench-all");
    const std::string many = WriteList(thrice, "reader-bench-thrice");
    const std::string self = argv[0];
    std::string cli = "'";
    cli += self.substr(0, self.rfind('/') + 1);
    cli += "letterwell-cli' info";
    // Warm the page cache and the catalogue, then take turns, so a busy
    // moment of the machine falls on all; the best pass of each counts.
    size_t records = ReadAll(files);
    BareReadAll(files);
    double ours = 1e9;
    double json = 1e9;
    double bare = 1e9;
    double cliMany = 1e9;
    double cliAll = 1e9;
    double scanMany = 1e9;
    double scanAll = 1e9;
    for (int round = 0; round < 7; ++round) {
        ours = std::min(ours, Once([&] { records = ReadAll(files); }));
        json = std::min(json, Once([&] { ReadAllAsJson(files); }));
        bare = std::min(bare, Once([&] { BareReadAll(files); }));
        cliMany = std::min(cliMany, Once([&] { RunOver(cli, many); }));
        cliAll = std::min(cliAll, Once([&] { RunOver(cli, all); }));
    }
    for (int round = 0; round < 3; ++round) {
        scanMany = std::min(scanMany, Once([&] { RunOver("fc-scan --format ''", many); }));
        scanAll = std::min(scanAll, Once([&] { RunOver("fc-scan --format ''", all); }));
    }
    fs::remove(all);
    fs::remove(many);
    const double cliInfo = (cliMany - cliAll) / 2;
    const double fcScan = (scanMany - scanAll) / 2;
    std::printf("%zu font files under %s (%zu read into records), best of 7 warm passes taken "
                "in turns\n",
                files.size(), folder.c_str(), records);
    Row("letterwell reader + installed", files.size(), ours, bare);
    Row("letterwell reader + its JSON line", files.size(), json, bare);
    Row("letterwell-cli info (3 x all - all)", files.size(), cliInfo, bare);
    Row("fc-scan (3 x all - all)", files.size(), fcScan, bare);
    Row("bare open + read of 64 KiB", files.size(), bare, bare);
    lw::FontManager.reset();
    return 0;
}
