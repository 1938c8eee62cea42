#pragma once

#include "printing/print_layout.h"

#include <filesystem>
#include <string>
#include <vector>

namespace lw::test {

// The pages of a PDF as pdfinfo reads them; -1 when it cannot.
int PdfPages(const std::filesystem::path& pdf);

struct TPdfWord {
    int Page = 0;
    double X = 0;
    double Y = 0;
    std::string Text;
};

// Every word of the PDF with its page and top-left corner in points, as
// pdftotext -bbox finds them.
std::vector<TPdfWord> PdfWords(const std::filesystem::path& pdf);

// count families named "<prefix>01", "<prefix>02"..., all selected.
TPrintSource Families(int count, int columns, int fontSize, const std::string& prefix = "Lwfam");

// The same margin on every side, in centimetres.
TPrintOptions Centimetres(double margin);

} // namespace lw::test
