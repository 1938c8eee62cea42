#pragma once

namespace lw {

// letterwell-cli disable|enable FAMILY [--style FULLNAME]... [--other] and
// letterwell-cli disabled: fonts hidden from every program by a fontconfig
// rule, their files left where they are. argv[1] is the command. The exit
// status: 0 done, 1 refused or failed, 2 usage.
int RunDisableCommand(int argc, char** argv);

} // namespace lw
