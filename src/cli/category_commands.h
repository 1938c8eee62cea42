#pragma once

namespace lw {

class TConsolePrompts;

// letterwell-cli categories | category show|add|remove|combine ...: the
// categories the organize window keeps, from a terminal. argv[1] is the
// command. The exit status: 0 done, 1 refused or failed, 2 usage.
int RunCategoryCommand(int argc, char** argv, TConsolePrompts& prompts);

} // namespace lw
