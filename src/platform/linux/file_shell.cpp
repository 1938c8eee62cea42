#include "platform/linux/linux_platform.h"

#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <QString>

#include <cerrno>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace lw {

namespace fs = std::filesystem;

namespace {

// Where QFile::moveToTrash looks for the home trash.
fs::path HomeTrash() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) {
        return fs::path();
    }
    return fs::path(QFile::encodeName(data).toStdString()) / "Trash";
}

bool MakePrivateFolder(const fs::path& folder) {
    if (::mkdir(folder.c_str(), 0700) == 0) {
        return true;
    }
    const int error = errno;
    std::error_code ec;
    if (fs::is_directory(folder, ec)) {
        return true;
    }
    errno = error;
    return false;
}

// Qt only makes the Trash folder itself, and when the data folder above it
// is missing it quietly "trashes" into files/ under the current directory.
// Making the whole chain first keeps it on the real trash.
bool EnsureHomeTrash(const fs::path& trash) {
    if (trash.empty()) {
        errno = ENOENT;
        return false;
    }
    std::error_code ec;
    fs::create_directories(trash.parent_path(), ec);
    if (ec) {
        errno = ec.value();
        return false;
    }
    return MakePrivateFolder(trash) && MakePrivateFolder(trash / "files") &&
           MakePrivateFolder(trash / "info");
}

bool SameFolder(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

// A trash folder the freedesktop rules allow: the home trash, or a volume's
// own $topdir/.Trash/$uid or $topdir/.Trash-$uid.
bool IsTrashFolder(const fs::path& trash, const fs::path& homeTrash) {
    const std::string uid = std::to_string(::getuid());
    if (SameFolder(trash, homeTrash)) {
        return true;
    }
    if (trash.filename() == ".Trash-" + uid) {
        return true;
    }
    return trash.filename() == uid && trash.parent_path().filename() == ".Trash";
}

class TLinuxFileShell : public IFileShell {
public:
    bool MoveToTrash(const std::string& path) override {
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(path, ec))) {
            errno = ENOENT;
            return false;
        }
        const fs::path homeTrash = HomeTrash();
        if (!EnsureHomeTrash(homeTrash)) {
            return false;
        }
        const fs::path original = fs::absolute(path, ec);
        const fs::path cwd = fs::current_path(ec);
        const bool hadFiles = fs::exists(cwd / "files", ec);
        const bool hadInfo = fs::exists(cwd / "info", ec);

        QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
        errno = 0;
        if (!file.moveToTrash()) {
            if (errno == 0) {
                errno = EIO;
            }
            return false;
        }
        const fs::path moved(QFile::encodeName(file.fileName()).toStdString());
        const fs::path trash = moved.parent_path().parent_path();
        if (moved.parent_path().filename() == "files" && IsTrashFolder(trash, homeTrash)) {
            return true;
        }
        PutBack(moved, original, trash, cwd, hadFiles, hadInfo);
        errno = EIO;
        return false;
    }

private:
    // The file went somewhere that is no trash: back where it was, and the
    // stray record with it.
    static void PutBack(const fs::path& moved, const fs::path& original, const fs::path& trash,
                        const fs::path& cwd, bool hadFiles, bool hadInfo) {
        std::error_code ec;
        fs::rename(moved, original, ec);
        fs::path info = trash / "info" / moved.filename();
        info += ".trashinfo";
        fs::remove(info, ec);
        if (SameFolder(trash, cwd)) {
            if (!hadFiles) {
                fs::remove(cwd / "files", ec); // only when empty
            }
            if (!hadInfo) {
                fs::remove(cwd / "info", ec);
            }
        }
    }
};

} // namespace

std::unique_ptr<IFileShell> MakeLinuxFileShell() {
    return std::make_unique<TLinuxFileShell>();
}

} // namespace lw
