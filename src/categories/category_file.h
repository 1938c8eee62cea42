#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// A category file: one family name a line, every line ended by CR LF, in
// UTF-8 without a byte-order mark (but for a first name that itself begins
// with U+FEFF, which a mark before it keeps from being taken for one).

// Whether a family of that name is installed.
using TFamilyTest = std::function<bool(const std::string& family)>;

// The names in the order the file holds them, each line verbatim. CR, LF and
// CR LF each end a line; a last line without an ending still counts, and a
// UTF-8 byte-order mark at the file's very start is skipped. A file that is
// not UTF-8 was written in an 8-bit code page: each of its lines is read as
// Windows-1250, or as Windows-1252 where only that reading names an
// installed family, so no line is ever lost. A file holding a NUL byte
// (UTF-16, anything binary) is no list of names and gives nothing.
std::optional<std::vector<std::string>> ParseCategoryFile(const std::string& bytes,
                                                          const TFamilyTest& installed);

std::string FormatCategoryFile(const std::vector<std::string>& members);

} // namespace lw
