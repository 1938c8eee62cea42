#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// Flatpak applications read fontconfig's rules inside their sandbox: a rule
// in the user's fontconfig folder reaches them only when an override lets
// them read that folder.
enum class TFlatpakAccess {
    NoFlatpak,  // flatpak is not installed: nothing to say
    Reads,      // the user's or the global override lets them read it
    CannotRead, // disabled fonts still show in Flatpak applications
};

// Runs a program (argv[0] on the PATH) and gives its standard output;
// nothing when it is missing or fails.
using TProgramRunner = std::function<std::optional<std::string>(const std::vector<std::string>&)>;

// Whether the overrides (flatpak override [--user] --show) give read access
// to xdg-config/fontconfig, or to a folder holding it.
TFlatpakAccess FlatpakFontconfigAccess(const TProgramRunner& run);
// Adds the user's override: flatpak override --user
// --filesystem=xdg-config/fontconfig:ro. Whether flatpak did it.
bool GrantFlatpakFontconfigAccess(const TProgramRunner& run);
// After fonts were disabled: where Flatpak applications cannot read the
// folder, asks through the prompts whether they may, adds the override on
// yes and tells when flatpak could not.
void OfferFlatpakFontconfigAccess(const TProgramRunner& run);
// The program runner of the platform's shell.
std::optional<std::string> RunOnPath(const std::vector<std::string>& argv);

} // namespace lw
