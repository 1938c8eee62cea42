#include "fileops/shell_operations.h"

#include "base/strings.h"
#include "platform/services.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace lw {

namespace fs = std::filesystem;

namespace {

constexpr int kConfirmCaption = 20;     // "Potvrda"
constexpr int kDeleteQuestion = 13010;  // "Sigurno zelite da obrisete fajl  %s?"
constexpr int kReplaceQuestion = 16003; // "%s oduvek postoji.Prepisati?"

enum class TStep { Done, Skipped, Failed };

TStep Fail(int error) {
    errno = error;
    return TStep::Failed;
}

TStep Fail(const std::error_code& ec) {
    return Fail(ec ? ec.value() : EIO);
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

bool SameEntry(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

bool UserSaysYes(int question, const fs::path& path) {
    return Prompts().MessageBox(FmtLoadStr(question, path.string()), LoadStr(kConfirmCaption),
                                TMsgIcon::Question, TMsgButtons::YesNo) == TMsgResult::Yes;
}

fs::path FullPath(const fs::path& folder, const std::string& name) {
    fs::path full = (folder / name).lexically_normal();
    if (!full.has_filename() && full.has_parent_path() && full != full.root_path()) {
        full = full.parent_path();
    }
    return full;
}

// An empty name ends the list, as it did in the NUL-separated lists of the
// Windows shell; taken as a name it would stand for the folder itself.
void CollectPaths(const fs::path& folder, const std::vector<std::string>& names,
                  std::vector<fs::path>& sources) {
    for (const std::string& name : names) {
        if (name.empty()) {
            break;
        }
        // Every name is one exact file: "*", "?" and "[" are bytes a
        // font file's name may hold, and taken as a pattern they would
        // reach its neighbours.
        sources.push_back(FullPath(folder, name));
    }
}

// Copies follow links: a linked font is backed up as the font itself.
TStep CopyEntry(const fs::path& source, const fs::path& target) {
    std::error_code ec;
    const fs::file_status status = fs::status(source, ec);
    if (fs::is_directory(status)) {
        fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
                 ec);
    } else {
        fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
    }
    return ec ? Fail(ec) : TStep::Done;
}

TStep Relocate(const fs::path& source, const fs::path& target) {
    std::error_code ec;
    fs::rename(source, target, ec);
    if (!ec) {
        return TStep::Done;
    }
    if (ec != std::errc::cross_device_link) {
        return Fail(ec);
    }
    // Another volume: copy, then remove the original; a link stays a link.
    if (fs::is_symlink(fs::symlink_status(source, ec)) && Exists(target)) {
        fs::remove(target, ec);
    }
    fs::copy(source, target,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks |
                 fs::copy_options::overwrite_existing,
             ec);
    if (ec) {
        return Fail(ec);
    }
    fs::remove_all(source, ec);
    return ec ? Fail(ec) : TStep::Done;
}

TStep CopyOrMove(const fs::path& source, const fs::path& target, bool move, bool confirm) {
    if (!Exists(source)) {
        return Fail(ENOENT);
    }
    if (Exists(target)) {
        if (SameEntry(source, target)) {
            return move ? TStep::Done : Fail(EEXIST);
        }
        if (confirm && !UserSaysYes(kReplaceQuestion, target)) {
            return TStep::Skipped;
        }
    }
    return move ? Relocate(source, target) : CopyEntry(source, target);
}

// A rename never replaces another file: that is what copy and move are for.
TStep RenameEntry(const fs::path& source, const fs::path& folder, const std::string& newName) {
    if (newName.empty()) {
        return Fail(EINVAL);
    }
    const fs::path name(newName);
    const fs::path target =
        name.has_parent_path() ? FullPath(folder, newName) : source.parent_path() / name;
    if (!Exists(source)) {
        return Fail(ENOENT);
    }
    if (Exists(target)) {
        return SameEntry(source, target) ? TStep::Done : Fail(EEXIST);
    }
    return Relocate(source, target);
}

TStep DeleteEntry(const fs::path& path, bool confirm, bool allowUndo) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (!fs::exists(status)) {
        return Fail(ENOENT);
    }
    if (confirm && !UserSaysYes(kDeleteQuestion, path)) {
        return TStep::Skipped;
    }
    if (allowUndo) {
        return FileShell().MoveToTrash(path.string()) ? TStep::Done : TStep::Failed;
    }
    if (fs::is_directory(status)) {
        fs::remove_all(path, ec);
    } else {
        fs::remove(path, ec);
    }
    return ec ? Fail(ec) : TStep::Done;
}

bool OwnerMayWrite(const fs::file_status& status) {
    return (status.permissions() & fs::perms::owner_write) != fs::perms::none;
}

bool EraseFile(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (!fs::exists(status)) {
        errno = ENOENT;
        return false;
    }
    if (fs::is_directory(status)) {
        errno = EISDIR;
        return false;
    }
    // Unlinking ignores the file's own permissions (and root ignores them
    // all), yet the user's "delete read-only files" option has to mean
    // something: a file its owner may not write stays.
    if (fs::is_regular_file(status) && !OwnerMayWrite(status)) {
        errno = EACCES;
        return false;
    }
    if (!fs::remove(path, ec)) {
        errno = ec ? ec.value() : ENOENT;
        return false;
    }
    return true;
}

} // namespace

bool FileOperationList(const std::string& folder, const std::string& destination,
                       const std::vector<std::string>& names, TFileOp operation, bool confirm,
                       bool allowUndo, bool& aborted) {
    std::error_code ec;
    const fs::path base = folder.empty() ? fs::path() : fs::absolute(folder, ec);
    const fs::file_status baseStatus = fs::status(base, ec);
    if (base.empty() || !fs::is_directory(baseStatus)) {
        errno = fs::exists(baseStatus) ? ENOTDIR : ENOENT;
        return false;
    }
    aborted = false;

    std::vector<fs::path> sources;
    CollectPaths(base, names, sources);
    if (sources.empty()) {
        return true;
    }
    const bool copyOrMove = operation == TFileOp::Copy || operation == TFileOp::Move;
    const fs::path targetFolder = copyOrMove ? FullPath(base, destination) : fs::path();
    if (copyOrMove) {
        fs::create_directories(targetFolder, ec);
        if (ec) {
            errno = ec.value();
            return false;
        }
    } else if (operation == TFileOp::Rename && sources.size() != 1) {
        errno = EINVAL;
        return false;
    } else if (operation != TFileOp::Delete && operation != TFileOp::Rename) {
        errno = EINVAL;
        return false;
    }

    for (const fs::path& source : sources) {
        TStep step = TStep::Failed;
        switch (operation) {
        case TFileOp::Copy:
        case TFileOp::Move:
            step = CopyOrMove(source, targetFolder / source.filename(), operation == TFileOp::Move,
                              confirm);
            break;
        case TFileOp::Delete:
            step = DeleteEntry(source, confirm, allowUndo);
            break;
        case TFileOp::Rename:
            step = RenameEntry(source, base, destination);
            break;
        }
        if (step == TStep::Failed) {
            return false;
        }
        if (step == TStep::Skipped) {
            aborted = true;
        }
    }
    return true;
}

bool FileOperationListDone(const std::string& folder, const std::string& destination,
                           const std::vector<std::string>& names, TFileOp operation, bool confirm,
                           bool allowUndo) {
    bool aborted = false;
    return FileOperationList(folder, destination, names, operation, confirm, allowUndo, aborted) &&
           !aborted;
}

std::pair<std::string, std::string> SplitFolderAndName(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {std::string(), path};
    }
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

bool FileOperation(const std::string& folder, const std::string& destination,
                   const std::string& fileName, TFileOp operation, bool confirm, bool allowUndo,
                   bool& aborted) {
    if (folder.empty()) {
        const auto [ownFolder, name] = SplitFolderAndName(fileName);
        return FileOperationList(ownFolder, destination, {name}, operation, confirm, allowUndo,
                                 aborted);
    }
    return FileOperationList(folder, destination, {fileName}, operation, confirm, allowUndo,
                             aborted);
}

bool FileOperationDone(const std::string& folder, const std::string& destination,
                       const std::string& fileName, TFileOp operation, bool confirm,
                       bool allowUndo) {
    bool aborted = false;
    return FileOperation(folder, destination, fileName, operation, confirm, allowUndo, aborted) &&
           !aborted;
}

bool DeleteFontFile(const std::string& path, bool deleteReadOnly, bool toTrash) {
    std::error_code ec;
    const fs::path full = fs::absolute(path, ec);
    if (deleteReadOnly) {
        // Links carry no permissions of their own; changing one would change
        // the font it points to.
        const fs::file_status status = fs::symlink_status(full, ec);
        if (fs::is_regular_file(status) && !OwnerMayWrite(status)) {
            fs::permissions(full, fs::perms::owner_write, fs::perm_options::add, ec);
        }
    }
    if (toTrash) {
        return FileOperationDone(std::string(), std::string(), full.string(), TFileOp::Delete,
                                 false, true);
    }
    return EraseFile(full);
}

bool BrowseForFolder(const std::string& title, std::string& folder) {
    std::optional<std::string> chosen = Prompts().PickFolder(title, folder);
    if (!chosen || chosen->empty()) {
        return false;
    }
    std::string path = *chosen;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    folder = path;
    return true;
}

} // namespace lw
