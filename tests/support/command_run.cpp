#include "command_run.h"

#include <cstdio>
#include <sys/wait.h>

namespace lw::test {

TCommandRun RunCommand(const std::string& command) {
    TCommandRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buf[4096];
    while (std::fgets(buf, sizeof buf, pipe) != nullptr) {
        run.Output += buf;
    }
    const int status = ::pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

::testing::AssertionResult Says(const TCommandRun& run, int status, const std::string& part) {
    if (run.Status == status && run.Output.find(part) != std::string::npos) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected status " << status << " and \"" << part
                                         << "\"; status " << run.Status << ", said:\n"
                                         << run.Output;
}

} // namespace lw::test
