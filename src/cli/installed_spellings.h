#pragma once

#include <string>
#include <vector>

namespace lw {

// The installed spelling of each family named on the command line, compared
// as the categories compare names, in the order given; the ones not
// installed are told on standard error, left out, and set missing.
std::vector<std::string> InstalledSpellings(const std::vector<std::string>& wanted, bool& missing);

} // namespace lw
