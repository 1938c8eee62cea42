#pragma once

#include "platform/font_system.h"

#include <string>

namespace lw {

// A file named without a folder lies in the font folder.
bool HasFolderPart(const std::string& path);
std::string InFontsFolder(const std::string& path);
// The text after the last separator.
std::string FileNamePart(const std::string& path);
// The text up to and including the last separator; empty for a bare name.
std::string FolderPart(const std::string& path);
// A font's files as one text to show: "metrics|outline" for a Type 1 pair.
std::string JoinFontFiles(const TFontFiles& files);
// True when path lies in folder or in one of its sub-folders, however either
// is spelled (links, "..", repeated separators): decided on the folders as
// the file system resolves them, while the file itself may be a link.
bool IsInFolderTree(const std::string& path, const std::string& folder);

} // namespace lw
