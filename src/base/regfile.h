#pragma once

#include "platform/registry_port.h"

#include <string>
#include <string_view>

namespace lw {

class ERegistryDamaged : public ERegistryError {
public:
    using ERegistryError::ERegistryError;
};

// The settings file's text form, modelled on REGEDIT4: a "REGEDIT4" line,
// then "[key]" sections of "name"=value lines, where a value is dword:XXXXXXXX,
// "text", hex:bb,bb,... or hex(7):bb,... (a list of texts). Texts escape
// backslash, quote and the control characters \n, \r, \t.
std::string FormatRegistryText(const TRegKeys& keys);

// Throws ERegistryDamaged, naming the line, for anything it does not understand.
TRegKeys ParseRegistryText(std::string_view text);

} // namespace lw
