#pragma once

#include "scripted_prompts.h"

#include <string>

namespace lw {
class TQtApplicationFonts;
}

namespace lw::test {

// The prompts every test program answers through.
TScriptedPrompts& TestPrompts();

// What keeps Qt's drawing in step with the fonts the test process loads.
TQtApplicationFonts& ApplicationFonts();

// The build's folder of executables, where the language bundle lies.
std::string BuildBinFolder();

} // namespace lw::test
