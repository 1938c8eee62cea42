#pragma once

namespace lw {

class TConsolePrompts;

// letterwell-cli print --pdf FILE [options] [--category NAME | --folder DIR |
// FAMILY...]: the font list job of the sheets, with the stored print
// settings, into a PDF and without a window. argv[1] is the command. The exit
// status: 0 printed, 1 refused or failed, 2 usage.
int RunPrintCommand(int argc, char** argv, TConsolePrompts& prompts);

} // namespace lw
