#include "platform/linux/replace_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lw {

namespace {

constexpr const char* kHiddenPrefix = ".letterwell-";

// Field 22 of /proc/<pid>/stat: when the process started, in clock ticks
// since boot. Empty when there is no such process.
std::string StartTime(const std::string& pid) {
    std::ifstream in("/proc/" + pid + "/stat");
    std::string line;
    if (!std::getline(in, line)) {
        return std::string();
    }
    // The command name in parentheses may hold blanks; the fields after it
    // are the process state (field 3) and onwards.
    const size_t close = line.rfind(')');
    if (close == std::string::npos) {
        return std::string();
    }
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int number = 3; number <= 22; ++number) {
        if (!(fields >> field)) {
            return std::string();
        }
    }
    return field;
}

std::string HiddenName(const std::string& folder) {
    static std::mt19937_64 random{std::random_device{}()};
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    return folder + "/" + kHiddenPrefix + ProcessStamp() + "-" + suffix;
}

// Whether name is one HiddenName gives, and then the stamp it carries: the
// exact shape, so that no name a person gives a file is ever taken for one.
bool IsHiddenName(const std::string& name, std::string& stamp) {
    const size_t prefix = std::strlen(kHiddenPrefix);
    const size_t dash = name.find('-', prefix);
    if (name.compare(0, prefix, kHiddenPrefix) != 0 || dash == std::string::npos ||
        name.size() != dash + 17) {
        return false;
    }
    const std::string suffix = name.substr(dash + 1);
    stamp = name.substr(prefix, dash - prefix);
    const size_t dot = stamp.find('.');
    const auto digits = [](const std::string& text) {
        return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    };
    return suffix.find_first_not_of("0123456789abcdef") == std::string::npos &&
           dot != std::string::npos && digits(stamp.substr(0, dot)) &&
           digits(stamp.substr(dot + 1));
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives the unnamed file in fd a hidden name in folder; false (errno) on failure.
bool NameUnnamed(int fd, const std::string& folder, std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = HiddenName(folder);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

// A new hidden named file, for file systems that cannot make unnamed ones.
int CreateHidden(const std::string& folder, mode_t mode, std::string& name) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = HiddenName(folder);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Closes fd and removes the named file, keeping the errno of the failure.
bool Abandon(int fd, const std::string& name) {
    const int error = errno;
    if (fd >= 0) {
        ::close(fd);
    }
    if (!name.empty()) {
        ::unlink(name.c_str());
    }
    errno = error;
    return false;
}

} // namespace

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ProcessStamp() {
    // Computed again in a child a fork made, which is another process.
    static pid_t owner = 0;
    static std::string stamp;
    if (owner != ::getpid()) {
        owner = ::getpid();
        const std::string pid = std::to_string(owner);
        stamp = pid + "." + StartTime(pid);
    }
    return stamp;
}

bool StampIsLive(const std::string& stamp) {
    const size_t dot = stamp.find('.');
    if (dot == std::string::npos || dot == 0 || stamp.find_first_not_of("0123456789") != dot) {
        return false;
    }
    const std::string pid = stamp.substr(0, dot);
    const std::string started = StartTime(pid);
    return !started.empty() && started == stamp.substr(dot + 1);
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool CopyAll(int from, int to) {
    char buffer[1 << 16];
    while (true) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        if (!WriteAll(to, buffer, static_cast<size_t>(n))) {
            return false;
        }
    }
}

bool ReplaceFile(const std::string& path, mode_t mode, const std::function<bool(int fd)>& write) {
    const std::string folder = FolderOf(path);
    std::string name;
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    const bool unnamed = fd >= 0;
    if (!unnamed) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return false;
        }
        fd = CreateHidden(folder, mode, name);
        if (fd < 0) {
            return false;
        }
    }
    if (!write(fd) || ::fsync(fd) != 0) {
        return Abandon(fd, name);
    }
    if (unnamed && !NameUnnamed(fd, folder, name)) {
        return Abandon(fd, std::string());
    }
    if (::close(fd) != 0) {
        return Abandon(-1, name);
    }
    if (::rename(name.c_str(), path.c_str()) != 0) {
        return Abandon(-1, name);
    }
    SyncFolder(folder);
    return true;
}

bool CreateNewFile(const std::string& path, mode_t mode, const std::function<bool(int fd)>& write) {
    const std::string folder = FolderOf(path);
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return false;
        }
        // No unnamed files here: the name itself is claimed first.
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            return false;
        }
        if (!write(fd) || ::fsync(fd) != 0) {
            return Abandon(fd, path);
        }
        return ::close(fd) == 0 || Abandon(-1, path);
    }
    if (!write(fd) || ::fsync(fd) != 0) {
        return Abandon(fd, std::string());
    }
    // Naming the finished file fails, and replaces nothing, when one is there.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        return Abandon(fd, std::string());
    }
    // Where closing reports a late write error the named file is not whole.
    if (::close(fd) != 0) {
        return Abandon(-1, path);
    }
    SyncFolder(folder);
    return true;
}

TDocumentTarget FindDocumentTarget(const std::string& path) {
    TDocumentTarget target;
    target.Path = path;
    // As the kernel does, a chain of links longer than 40 is a loop.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status {};
        if (::lstat(target.Path.c_str(), &status) != 0) {
            return target;
        }
        if (!S_ISLNK(status.st_mode)) {
            target.Exists = true;
            target.Regular = S_ISREG(status.st_mode);
            target.Mode = status.st_mode & 07777;
            target.Owner = status.st_uid;
            target.Group = status.st_gid;
            return target;
        }
        std::string next(4096, '\0');
        const ssize_t n = ::readlink(target.Path.c_str(), next.data(), next.size());
        if (n < 0 || static_cast<size_t>(n) >= next.size()) {
            break;
        }
        next.resize(static_cast<size_t>(n));
        target.Path = next[0] == '/' ? next : FolderOf(target.Path) + "/" + next;
    }
    target.Exists = true; // a loop, or a link that cannot be read: nothing to replace
    return target;
}

bool ReplaceDocument(const TDocumentTarget& target, const std::function<bool(int fd)>& write) {
    if (target.Exists && !target.Regular) {
        errno = EEXIST;
        return false;
    }
    if (!target.Exists) {
        return ReplaceFile(target.Path, 0666, write);
    }
    return ReplaceFile(target.Path, target.Mode, [&](int fd) {
        // The file is made under the umask; the one it replaces was not.
        if (::fchmod(fd, target.Mode) != 0) {
            return false;
        }
        if (::fchown(fd, target.Owner, target.Group) != 0 && errno != EPERM) {
            return false;
        }
        return write(fd);
    });
}

TMemoryFile::TMemoryFile() : Descriptor(::memfd_create("letterwell", MFD_CLOEXEC)) {}

TMemoryFile::~TMemoryFile() {
    if (Descriptor >= 0) {
        ::close(Descriptor);
    }
}

std::string TMemoryFile::Path() const {
    return "/proc/self/fd/" + std::to_string(Descriptor);
}

void RemoveStaleHiddenFiles(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        std::string stamp;
        if (!IsHiddenName(name, stamp) || StampIsLive(stamp)) {
            continue;
        }
        const std::string path = folder + "/" + name;
        struct stat status {};
        if (::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
            ::unlink(path.c_str());
        }
    }
    ::closedir(dir);
}

} // namespace lw
