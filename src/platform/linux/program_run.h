#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lw {

// Runs a program found on the PATH with these arguments (argv[0] its name),
// no shell in between, and gives what it wrote on standard output; nothing
// when it is not on the PATH, cannot start or ends with a failure status.
std::optional<std::string> RunProgram(const std::vector<std::string>& argv);

// Whether a program of this name is on the PATH and can be run.
bool ProgramOnPath(const std::string& name);

} // namespace lw
