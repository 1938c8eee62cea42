#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lw {

// Asks which styles of a family to remove; false when the user cancels, else
// fullNames holds the chosen ones.
using TStyleChooser =
    std::function<bool(const std::string& family, std::vector<std::string>& fullNames)>;

// Removes an installed family's styles, each after a copy of its files into a
// backup folder when one is wanted; a style whose copy failed stays. With
// interactive on, the user chooses the styles (chooseStyles) and the backup
// folder (starting at backupFolder), and every program is told of the change
// at the end; with it off every style goes and backupFolder is used as it is.
// A family of a kind that cannot be removed gives a warning and true with
// nothing removed; a cancelled choice gives false.
bool RemoveInstalledFont(const std::string& family, const std::string& backupFolder, bool toTrash,
                         bool interactive, bool copyBefore, const TStyleChooser& chooseStyles);

// The commands on one font file of a folder. A Type 1 metrics file (".pfm")
// takes its outline (".pfb", found ignoring case) along once the metrics
// file is done. Each command reports its own failures and answers whether
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
