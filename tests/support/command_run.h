#pragma once

#include <gtest/gtest.h>

#include <string>

namespace lw::test {

struct TCommandRun {
    int Status = -1; // the exit status; -1 when it did not exit by itself
    std::string Output;
};

// Runs a shell command line and takes what it writes on standard output
// (add 2>&1 to take standard error too).
TCommandRun RunCommand(const std::string& command);

// Whether the run ended with this status and said this part somewhere; a
// failure shows all it said.
::testing::AssertionResult Says(const TCommandRun& run, int status, const std::string& part);

} // namespace lw::test
