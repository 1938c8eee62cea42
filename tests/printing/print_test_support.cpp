#include "print_test_support.h"

#include "command_run.h"

#include <cstdio>
#include <regex>
#include <sstream>

namespace lw::test {

int PdfPages(const std::filesystem::path& pdf) {
    std::smatch match;
    const std::string info = RunCommand("pdfinfo '" + pdf.string() + "' 2>/dev/null").Output;
    return std::regex_search(info, match, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(match[1])
                                                                          : -1;
}

std::vector<TPdfWord> PdfWords(const std::filesystem::path& pdf) {
    const std::string html =
        RunCommand("pdftotext -bbox '" + pdf.string() + "' - 2>/dev/null").Output;
    std::vector<TPdfWord> words;
    int page = 0;
    const std::regex word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>");
    std::istringstream lines(html);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("<page ") != std::string::npos) {
            ++page;
        }
        std::smatch m;
        if (std::regex_search(line, m, word)) {
            words.push_back({page, std::stod(m[1]), std::stod(m[2]), m[3]});
        }
    }
    return words;
}

TPrintSource Families(int count, int columns, int fontSize, const std::string& prefix) {
    TPrintSource source;
    for (int i = 0; i < count; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d", i + 1);
        source.Items.push_back(prefix + number);
        source.Selected.push_back(true);
    }
    source.Columns = columns;
    source.FontSize = fontSize;
    return source;
}

TPrintOptions Centimetres(double margin) {
    TPrintOptions print;
    print.TopMargin = print.BottomMargin = print.LeftMargin = print.RightMargin = margin;
    print.UseCentimeters = true;
    print.UnitFactor = 2.54;
    return print;
}

} // namespace lw::test
