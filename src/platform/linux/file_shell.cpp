// The freedesktop trash and atomic copies, on POSIX calls alone: file names
// are bytes here and must reach the trash (and come back from it) unchanged,
// whatever their encoding.
#include "platform/linux/linux_platform.h"
#include "platform/linux/posix_byte_source.h"
#include "platform/linux/replace_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <stdio.h> // renameat2
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace lw {

namespace {

struct TStat {
    struct stat Data {};
    bool Exists = false;
};

TStat LinkStatus(const std::string& path) {
    TStat s;
    s.Exists = ::lstat(path.c_str(), &s.Data) == 0;
    return s;
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path from the root, without "." and ".." steps and repeated slashes,
// but with links left as they are: the trash records where the entry was.
std::string AbsolutePath(const std::string& path) {
    std::string full = path;
    if (full.empty() || full.front() != '/') {
        char* cwd = ::getcwd(nullptr, 0);
        full = std::string(cwd != nullptr ? cwd : "") + "/" + path;
        std::free(cwd);
    }
    std::string result;
    size_t start = 0;
    while (start <= full.size()) {
        size_t end = full.find('/', start);
        if (end == std::string::npos) {
            end = full.size();
        }
        const std::string step = full.substr(start, end - start);
        if (step == "..") {
            const size_t slash = result.rfind('/');
            result.erase(slash == std::string::npos ? 0 : slash);
        } else if (!step.empty() && step != ".") {
            result += "/" + step;
        }
        start = end + 1;
    }
    return result.empty() ? "/" : result;
}

// Makes each missing folder of path; the last one private to the user.
bool MakeFolders(const std::string& path, mode_t lastMode) {
    const TStat s = LinkStatus(path);
    if (s.Exists) {
        if (!S_ISDIR(s.Data.st_mode)) {
            errno = ENOTDIR;
            return false;
        }
        return true;
    }
    const std::string parent = FolderOf(path);
    if (parent != path && !MakeFolders(parent, 0755)) {
        return false;
    }
    return ::mkdir(path.c_str(), lastMode) == 0 || errno == EEXIST;
}

bool MakeTrashFolders(const std::string& trash) {
    return MakeFolders(trash, 0700) && MakeFolders(trash + "/files", 0700) &&
           MakeFolders(trash + "/info", 0700);
}

// The top folder of the volume that holds path: the last folder upwards
// on the same device.
std::string VolumeTop(const std::string& folder, dev_t device) {
    std::string top = folder;
    while (top != "/") {
        const std::string parent = FolderOf(top);
        struct stat s {};
        if (::stat(parent.c_str(), &s) != 0 || s.st_dev != device) {
            break;
        }
        top = parent;
    }
    return top;
}

// The trash for an entry on device: the home trash when it lies on the same
// volume, else the volume's own, as the freedesktop rules name them.
std::string TrashFor(const std::string& entry, dev_t device) {
    const std::string data = DataHome();
    if (data.empty()) {
        errno = ENOENT;
        return std::string();
    }
    const std::string home = data + "/Trash";
    struct stat homeStatus {};
    if (MakeFolders(data, 0700) && ::stat(data.c_str(), &homeStatus) == 0 &&
        homeStatus.st_dev == device) {
        return MakeTrashFolders(home) ? home : std::string();
    }
    const std::string top = VolumeTop(FolderOf(entry), device);
    const std::string base = top == "/" ? std::string() : top;
    const std::string uid = std::to_string(::getuid());
    // An administrator's shared .Trash counts only as a sticky folder, never a link.
    const TStat shared = LinkStatus(base + "/.Trash");
    if (shared.Exists && S_ISDIR(shared.Data.st_mode) && (shared.Data.st_mode & S_ISVTX) != 0 &&
        MakeTrashFolders(base + "/.Trash/" + uid)) {
        return base + "/.Trash/" + uid;
    }
    const std::string own = base + "/.Trash-" + uid;
    const TStat ownStatus = LinkStatus(own);
    if (ownStatus.Exists &&
        (!S_ISDIR(ownStatus.Data.st_mode) || ownStatus.Data.st_uid != ::getuid())) {
        errno = EACCES;
        return std::string();
    }
    return MakeTrashFolders(own) ? own : std::string();
}

// Every byte but the unreserved ones and "/" as %XX: names that are not
// UTF-8 are recorded byte for byte.
std::string PercentEncoded(const std::string& path) {
    std::string out;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool keep = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                          (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' ||
                          c == '~' || c == '/';
        if (keep) {
            out += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            out += escaped;
        }
    }
    return out;
}

std::string DeletionDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// Claims a free name in the trash by creating its record; the name is
// then the trash's own until the record goes. An entry in files/ without a
// record (left by a crash or another program) still holds its name.
bool CreateTrashInfo(const std::string& trash, const std::string& original, std::string& name) {
    const std::string info = "[Trash Info]\nPath=" + PercentEncoded(original) +
                             "\nDeletionDate=" + DeletionDate() + "\n";
    const std::string base = NameOf(original);
    for (int n = 1; n < 10000; ++n) {
        name = n == 1 ? base : base + "." + std::to_string(n);
        if (LinkStatus(trash + "/files/" + name).Exists) {
            continue;
        }
        const std::string record = trash + "/info/" + name + ".trashinfo";
        const int fd = ::open(record.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd < 0) {
            return false;
        }
        const bool written = WriteAll(fd, info.data(), info.size());
        const int error = errno;
        ::close(fd);
        if (!written) {
            ::unlink(record.c_str());
            errno = error;
            return false;
        }
        return true;
    }
    errno = EEXIST;
    return false;
}

// Copies a regular file's bytes to `to`, replacing what is there in one step
// or only where nothing is there. Not blocking on open: a pipe named like a
// font would wait forever.
bool CopyRegularFile(const std::string& from, const std::string& to, bool replace) {
    const int source = ::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (source < 0) {
        return false;
    }
    struct stat status {};
    struct stat target {};
    bool copied = false;
    if (::fstat(source, &status) != 0) {
        // errno says why
    } else if (!S_ISREG(status.st_mode)) {
        errno = EINVAL;
    } else if (::stat(to.c_str(), &target) == 0 && target.st_dev == status.st_dev &&
               target.st_ino == status.st_ino) {
        errno = EEXIST; // a copy onto itself would replace the file with nothing
    } else {
        ::fcntl(source, F_SETFL, ::fcntl(source, F_GETFL) & ~O_NONBLOCK);
        const auto bytes = [source](int fd) { return CopyAll(source, fd); };
        copied = replace ? ReplaceFile(to, status.st_mode & 0777, bytes)
                         : CreateNewFile(to, status.st_mode & 0777, bytes);
    }
    const int error = errno;
    ::close(source);
    errno = error;
    return copied;
}

std::optional<std::string> ReadRegularFile(int fd, size_t limit) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return std::nullopt;
    }
    if (static_cast<unsigned long long>(info.st_size) > limit) {
        errno = EFBIG;
        return std::nullopt;
    }
    std::string text;
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (n == 0) {
            return text;
        }
        // The file may have grown since fstat.
        if (text.size() + static_cast<size_t>(n) > limit) {
            errno = EFBIG;
            return std::nullopt;
        }
        text.append(block, static_cast<size_t>(n));
    }
}

// A rename that fails with EEXIST rather than replace; where the file
// system cannot say so, a plain rename after a look.
bool MoveWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    if (LinkStatus(to).Exists) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

class TLinuxMemoryFile : public IMemoryFile {
public:
    std::string Name() const override {
        if (File.Fd() < 0) {
            errno = MadeError;
            return {};
        }
        return File.Path();
    }
    bool PutAt(const std::string& path) override {
        return ReplaceDocument(FindDocumentTarget(path), [this](int fd) {
            return ::lseek(File.Fd(), 0, SEEK_SET) == 0 && CopyAll(File.Fd(), fd);
        });
    }

private:
    TMemoryFile File;
    int MadeError = File.Fd() < 0 ? errno : 0;
};

class TLinuxFileShell : public IFileShell {
public:
    bool MoveToTrash(const std::string& path) override {
        const TStat entry = LinkStatus(path);
        if (!entry.Exists) {
            errno = ENOENT;
            return false;
        }
        const std::string original = AbsolutePath(path);
        const std::string trash = TrashFor(original, entry.Data.st_dev);
        if (trash.empty()) {
            return false;
        }
        // The entry arrives under its name only where nothing is: one that
        // appeared since the name was claimed sends it on to the next name.
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name;
            if (!CreateTrashInfo(trash, original, name)) {
                return false;
            }
            const std::string record = trash + "/info/" + name + ".trashinfo";
            if (MoveWithoutReplacing(path, trash + "/files/" + name)) {
                return true;
            }
            const int error = errno;
            ::unlink(record.c_str());
            errno = error;
            if (error != EEXIST) {
                return false;
            }
        }
        errno = EEXIST;
        return false;
    }

    bool CopyFileOver(const std::string& from, const std::string& to) override {
        return CopyRegularFile(from, to, true);
    }

    bool CopyNewFile(const std::string& from, const std::string& to) override {
        return CopyRegularFile(from, to, false);
    }

    bool MoveNoReplace(const std::string& from, const std::string& to) override {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return true;
        }
        if (errno != EXDEV) {
            return false;
        }
        // Another volume: the copy first, the original only once it is whole.
        const TStat source = LinkStatus(from);
        if (source.Exists && S_ISLNK(source.Data.st_mode)) {
            char target[4096];
            const ssize_t n = ::readlink(from.c_str(), target, sizeof target - 1);
            if (n < 0) {
                return false;
            }
            target[n] = '\0';
            if (::symlink(target, to.c_str()) != 0) {
                return false;
            }
        } else if (!CopyRegularFile(from, to, false)) {
            return false;
        }
        if (::unlink(from.c_str()) != 0) {
            const int error = errno;
            ::unlink(to.c_str());
            errno = error;
            return false;
        }
        return true;
    }

    std::unique_ptr<IByteSource> OpenFontFile(const std::string& path) override {
        return std::make_unique<TPosixByteSource>(path);
    }

    std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return std::nullopt;
        }
        std::optional<std::string> text = ReadRegularFile(fd, limit);
        const int error = errno;
        ::close(fd);
        errno = error;
        return text;
    }

    bool WriteFileOver(const std::string& path, const std::string& data) override {
        return ReplaceFile(path, 0644,
                           [&](int fd) { return WriteAll(fd, data.data(), data.size()); });
    }

    bool WriteDocumentOver(const std::string& path, const std::string& data) override {
        return ReplaceDocument(FindDocumentTarget(path),
                               [&](int fd) { return WriteAll(fd, data.data(), data.size()); });
    }

    std::unique_ptr<IMemoryFile> MakeMemoryFile() override {
        return std::make_unique<TLinuxMemoryFile>();
    }

    void RemoveUnfinishedWrites(const std::string& folder) override {
        RemoveStaleHiddenFiles(folder);
    }

    std::optional<TFileStamp> Stamp(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            return std::nullopt;
        }
        return TFileStamp{static_cast<uint64_t>(st.st_size),
                          int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    }

    bool CanWriteIn(const std::string& folder) override {
        return ::access(folder.c_str(), W_OK | X_OK) == 0;
    }
};

} // namespace

std::unique_ptr<IFileShell> MakeLinuxFileShell() {
    return std::make_unique<TLinuxFileShell>();
}

} // namespace lw
