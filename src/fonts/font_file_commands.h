#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lw {

// Asks which styles of a family to remove; false when the user cancels, else
// fullNames holds the chosen ones.
using TStyleChooser =
    std::function<bool(const std::string& family, std::vector<std::string>& fullNames)>;

// Warns, once, when a style of the family is installed for every user of
// the system (never this program's to remove) and answers whether it did.
bool RefusedAsSystemFamily(const std::string& family);

// The question before families are uninstalled, naming the first few and
// counting the rest.
std::string UninstallQuestion(const std::vector<std::string>& families);

// Removes an installed family's styles, each after a copy of its files into a
// backup folder when one is wanted; a style whose copy failed stays. With
// interactive on, the user chooses the styles (chooseStyles) and the backup
// folder (starting at backupFolder), and every program is told of the change
// at the end; with it off every style goes and backupFolder is used as it is.
// A family of a kind that cannot be removed, or one installed for every
// user of the system, gives one warning and true with nothing removed; a
// cancelled choice of styles or of the backup folder gives false with
// nothing removed.
bool RemoveInstalledFont(const std::string& family, const std::string& backupFolder, bool toTrash,
                         bool interactive, bool copyBefore, const TStyleChooser& chooseStyles);

// The commands on one font file of a folder. A Type 1 file takes the other
// file of its pair along once it is done: a metrics file (".pfm") its
// outline (".pfb", found ignoring case), an outline its metrics file
// (".pfm" or ".afm") when there is one. Each command reports its own failures and answers whether
// the selected file itself was handled, the list to be read again then.

// A copy into folder (with its separator); a file of that name there is
// never replaced.
bool CopyFontFile(const std::string& path, const std::string& folder);
// A move into folder (with its separator); never replacing a file there.
bool MoveFontFile(const std::string& path, const std::string& folder);
// A new base name in the same folder, the extension kept; never replacing.
bool RenameFontFile(const std::string& path, const std::string& newBase);
// To the trash or erased; a read-only file only with deleteReadOnly.
bool DeleteFontFileCommand(const std::string& path, bool deleteReadOnly, bool toTrash);

} // namespace lw
