#pragma once

namespace lw {

// Makes the process's current fontconfig configuration, the one Qt draws the
// windows with, hold only the faces of the families the configuration
// prefers for sans-serif, serif and monospace (its fallbacks for other
// scripts among them), with every rule it has. Qt builds its font database
// from every face of the current configuration before it draws any text,
// which takes seconds with 20,000 faces; the families the program shows are
// drawn from their files. The faces come from fontconfig's caches as they
// are: a folder whose cache is stale is left out rather than scanned, so
// the windows never wait for a scan. Call before Qt is started; false (and
// fontconfig left as it was) when no such face was found.
bool UseInterfaceFontsOnly();

} // namespace lw
