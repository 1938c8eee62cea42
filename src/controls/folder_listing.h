#pragma once

#include <string>
#include <vector>

namespace lw {

// The font files a folder of fonts is listed with: those a user of this
// system meets, collections and Type 1 outline files among them.
inline constexpr const char* kFontFileMasks = "*.ttf; *.otf; *.pfm; *.ttc; *.otc; *.pfb; *.pfa";

// The masks of a file list's "*.ttf; *.otf" text: split at ";", leading
// blanks dropped (trailing ones stay); a piece followed by ";" is kept even
// when empty, the last piece only when it is not.
std::vector<std::string> ParseMasks(const std::string& text);
// The masks as the list gives them back: joined by "; ".
std::string JoinMasks(const std::vector<std::string>& masks);

// A folder as a file list keeps it: with one trailing separator.
std::string FolderWithSeparator(const std::string& folder);

// The names (no folder) of the entries of folder that are no folders and
// match a mask, in the locale's order ignoring case; a name that matches two
// masks is there twice. A Type 1 font is one entry: an outline file whose
// ".pfm" is listed too goes by the ".pfm" alone. Nothing when the folder
// cannot be read.
std::vector<std::string> ListFolderFiles(const std::string& folder,
                                         const std::vector<std::string>& masks);

// The names of folder's sub-folders (links to folders count), unsorted;
// nothing when the folder cannot be read.
std::vector<std::string> ListSubfolders(const std::string& folder);
bool HasSubfolders(const std::string& folder);

} // namespace lw
