// lw-embed INPUT SYMBOL OUTPUT.cpp: writes a file's bytes as a C++ array.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: lw-embed INPUT SYMBOL OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "lw-embed: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    std::ofstream out(argv[3], std::ios::trunc);
    out << "#include <cstddef>\n";
    out << "extern const unsigned char " << argv[2] << "[];\n";
    out << "extern const std::size_t " << argv[2] << "Size;\n";
    out << "const unsigned char " << argv[2] << "[] = {\n";
    char buf[8];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%u,", bytes[i]);
        out << buf << ((i % 24 == 23) ? "\n" : "");
    }
    out << "0};\n";
    out << "const std::size_t " << argv[2] << "Size = " << bytes.size() << ";\n";
    out.close();
    return out ? 0 : 1;
}
