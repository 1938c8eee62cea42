#include "base/regfile.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/replace_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
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

} // namespace

TFileRegistryHive::TFileRegistryHive(std::string path) : FilePath(std::move(path)) {
    // A start clears what saves killed part-way left beside the file: only
    // files named by the program itself, never the user's own copies.
    RemoveStaleHiddenFiles(FolderOf(FilePath));
}

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
    // Never overwrite an earlier copy: each damaged file is kept, and a copy
    // the disk has no room for is not left half made.
    std::string copy = FilePath + ".damaged";
    const auto bytes = [&](int fd) { return WriteAll(fd, text.data(), text.size()); };
    for (int n = 1; !CreateNewFile(copy, 0600, bytes); ++n) {
        if (errno != EEXIST) {
            throw ERegistryError(ErrnoText("cannot keep the damaged settings file", copy));
        }
        copy = FilePath + ".damaged." + std::to_string(n);
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

    const std::string text = FormatRegistryText(keys);
    if (!ReplaceFile(FilePath, 0600,
                     [&](int fd) { return WriteAll(fd, text.data(), text.size()); })) {
        throw ERegistryError(ErrnoText("cannot write", FilePath));
    }
}

} // namespace lw
