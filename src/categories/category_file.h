#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lw {

// A category file: one family name a line, every line ended by CR LF, in
// UTF-8 without a byte-order mark.

// The names in the order the file holds them, each line verbatim. CR, LF and
// CR LF each end a line; a last line without an ending still counts, and a
// UTF-8 byte-order mark is skipped. A file that is not UTF-8 text (a NUL
// byte, a UTF-16 mark, a byte sequence UTF-8 does not allow) gives nothing:
// it is refused whole rather than read in part.
std::optional<std::vector<std::string>> ParseCategoryFile(const std::string& bytes);

std::string FormatCategoryFile(const std::vector<std::string>& members);

} // namespace lw
