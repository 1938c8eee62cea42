// lw-pack OUTPUT NAME=FILE...: packs files into a bundle. An entry named
// strings.txt must parse as a string table.
#include "base/string_table.h"

#include <fstream>
#include <iostream>
#include <iterator>

namespace {
bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: lw-pack OUTPUT NAME=FILE...\n";
        return 2;
    }
    std::map<std::string, std::vector<uint8_t>> entries;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::cerr << "lw-pack: bad entry " << arg << "\n";
            return 2;
        }
        const std::string name = arg.substr(0, eq);
        const std::string path = arg.substr(eq + 1);
        std::vector<uint8_t> bytes;
        if (!ReadFile(path, bytes)) {
            std::cerr << "lw-pack: cannot read " << path << "\n";
            return 1;
        }
        if (name == "strings.txt") {
            std::string error;
            if (!lw::TStringTable::Parse(
                    std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                    &error)) {
                std::cerr << path << ": " << error << "\n";
                return 1;
            }
        }
        entries[name] = std::move(bytes);
    }
    const std::vector<uint8_t> bundle = lw::WriteBundle(entries);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bundle.data()),
              static_cast<std::streamsize>(bundle.size()));
    out.close();
    if (!out) {
        std::cerr << "lw-pack: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
