#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace lw {

// Operation codes as callers store and pass them.
enum class TFileOp : uint8_t { Copy = 0, Move = 1, Delete = 2, Rename = 3 };

// Copies, moves, renames or deletes the files Names (relative to Folder or
// absolute; each name is that one file, whatever bytes it holds). Destination
// is the target folder for copy and move (made when missing), the new name
// for a rename of one file (a bare name stays in the file's folder), and
// unused for a delete. With Confirm on, the user is asked before an existing
// file is replaced and before each delete; a refusal skips that file and sets
// Aborted. AllowUndo sends deleted files to the trash. False when Folder is
// no usable folder (Aborted untouched then) or when a file failed: the work
// stops there, what was done stays done, and errno holds the reason.
bool FileOperationList(const std::string& folder, const std::string& destination,
                       const std::vector<std::string>& names, TFileOp operation, bool confirm,
                       bool allowUndo, bool& aborted);
// True only when everything was done and the user refused nothing.
bool FileOperationListDone(const std::string& folder, const std::string& destination,
                           const std::vector<std::string>& names, TFileOp operation, bool confirm,
                           bool allowUndo);

// One file. With an empty Folder the file's own folder is the working folder.
bool FileOperation(const std::string& folder, const std::string& destination,
                   const std::string& fileName, TFileOp operation, bool confirm, bool allowUndo,
                   bool& aborted);
bool FileOperationDone(const std::string& folder, const std::string& destination,
                       const std::string& fileName, TFileOp operation, bool confirm,
                       bool allowUndo);

// A path as its folder (with the trailing separator) and its name.
std::pair<std::string, std::string> SplitFolderAndName(const std::string& path);

// Deletes one font file: to the trash without a question, or for good. A
// file without its owner's write permission counts as read-only and is only
// erased with DeleteReadOnly on, which grants that permission first.
bool DeleteFontFile(const std::string& path, bool deleteReadOnly, bool toTrash);

// Asks for a folder, starting at Folder. On a choice Folder becomes the
// chosen path without a trailing separator (except the root) and the result
// is true; on cancel Folder stays as it was.
bool BrowseForFolder(const std::string& title, std::string& folder);

} // namespace lw
