#pragma once

#include "scripted_prompts.h"

#include <string>

namespace lw::test {

// The prompts every test program answers through.
TScriptedPrompts& TestPrompts();

// The build's folder of executables, where the language bundle lies.
std::string BuildBinFolder();

} // namespace lw::test
