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

} // namespace lw::test
