#pragma once

#include <string>

namespace lw {

// A file named without a folder lies in the font folder.
bool HasFolderPart(const std::string& path);
std::string InFontsFolder(const std::string& path);
// The text after the last separator.
std::string FileNamePart(const std::string& path);
// The text up to and including the last separator; empty for a bare name.
std::string FolderPart(const std::string& path);

} // namespace lw
