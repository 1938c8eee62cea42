// Runs every file of a committed corpus through one parser, so each input a
// fuzzer ever found stays a test: under the sanitizers a read outside the
// data stops the run, and a record with broken text fails it.
#include "fuzz_targets.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: font_corpus_replay "
                     "opentype|type1|settings|bundle|category|masks|facts|collections FOLDER\n";
        return 2;
    }
    const std::string reader = argv[1];
    const lw::fuzz::TFuzzRun run = lw::fuzz::FuzzRunNamed(reader);
    if (run == nullptr) {
        std::cerr << "font_corpus_replay: no parser named " << reader << "\n";
        return 2;
    }
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(argv[2], ec)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    // An empty or missing corpus would pass without testing anything.
    if (ec || files.empty()) {
        std::cerr << "font_corpus_replay: no corpus files in " << argv[2] << "\n";
        return 1;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::cerr << "font_corpus_replay: cannot read " << file << "\n";
            return 1;
        }
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        run(bytes.data(), bytes.size());
    }
    std::cout << "replayed " << files.size() << " " << reader << " inputs\n";
    return 0;
}
