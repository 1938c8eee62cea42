#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lw {

// The next family matching `text` after `selected`, wrapping round to the
// top and ending at `selected` itself; nothing when no family matches.
// whole: the name must equal the text; otherwise contain it. Case is
// ignored as the locale upper-cases.
std::optional<size_t> FindFamily(const std::vector<std::string>& families, long selected,
                                 const std::string& text, bool whole);

// The sample size a size box text gives: its decimal value, or the current
// size when the text is not a whole number.
int SizeFromText(const std::string& text, int currentSize);

// The preset sizes of the size box, and the one a double click moves to.
const std::vector<int>& PresetSizes();
size_t NextPresetIndex(const std::string& currentText);

} // namespace lw
