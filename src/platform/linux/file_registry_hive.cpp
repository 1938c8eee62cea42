#include "app/regfile.h"
#include "platform/linux/linux_platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace lw {

namespace fs = std::filesystem;

namespace {

std::string ErrnoText(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

// Reads the whole file; false when it does not exist, throws on other errors.
bool ReadWholeFile(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return false;
        }
        throw ERegistryError(ErrnoText("cannot open", path));
    }
    text.clear();
    char buf[65536];
    while (true) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const std::string error = ErrnoText("cannot read", path);
            ::close(fd);
            throw ERegistryError(error);
        }
        if (n == 0) {
            break;
        }
        text.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

void WriteAll(int fd, std::string_view data, const std::string& path) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw ERegistryError(ErrnoText("cannot write", path));
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
}

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

TFileRegistryHive::TFileRegistryHive(std::string path) : FilePath(std::move(path)) {}

std::string TFileRegistryHive::DefaultPath() {
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        config = fs::path(home) / ".config";
    } else {
        config = fs::temp_directory_path();
    }
    return (config / "Kestrova" / "Letterwell.reg").string();
}

TRegKeys TFileRegistryHive::Load() {
    std::string text;
    if (!ReadWholeFile(FilePath, text)) {
        return {};
    }
    return ParseRegistryText(text);
}

void TFileRegistryHive::KeepDamagedCopy() {
    std::string text;
    try {
        if (!ReadWholeFile(FilePath, text)) {
            return;
        }
        ParseRegistryText(text);
        return;
    } catch (const ERegistryDamaged&) {
    }
    // Never overwrite an earlier copy: each damaged file is kept.
    std::string copy = FilePath + ".damaged";
    for (int n = 1; fs::exists(copy); ++n) {
        copy = FilePath + ".damaged." + std::to_string(n);
    }
    std::error_code ec;
    fs::copy_file(FilePath, copy, ec);
    if (ec) {
        throw ERegistryError("cannot keep the damaged settings file: " + ec.message());
    }
}

void TFileRegistryHive::Save(const TRegKeys& keys) {
    const fs::path target(FilePath);
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (ec) {
        throw ERegistryError("cannot create " + target.parent_path().string() + ": " +
                             ec.message());
    }
    KeepDamagedCopy();

    std::string temp = FilePath + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        throw ERegistryError(ErrnoText("cannot create", temp));
    }
    bool closed = false;
    try {
        WriteAll(fd, FormatRegistryText(keys), temp);
        if (::fsync(fd) != 0) {
            throw ERegistryError(ErrnoText("cannot flush", temp));
        }
        closed = true; // close releases the descriptor even when it fails
        if (::close(fd) != 0) {
            throw ERegistryError(ErrnoText("cannot close", temp));
        }
    } catch (...) {
        if (!closed) {
            ::close(fd);
        }
        ::unlink(temp.c_str());
        throw;
    }
    if (::rename(temp.c_str(), FilePath.c_str()) != 0) {
        const std::string error = ErrnoText("cannot replace", FilePath);
        ::unlink(temp.c_str());
        throw ERegistryError(error);
    }
    SyncFolder(target.parent_path());
}

} // namespace lw
