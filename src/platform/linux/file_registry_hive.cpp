#include "base/regfile.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/replace_file.h"

#include <algorithm>
#include <cctype>
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

// The six random letters and digits of mkstemp. A word a person might give a
// copy ("backup", "before") is all small letters and never taken for one.
bool IsMkstempSuffix(const std::string& suffix) {
    const auto isAlnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    const auto notLower = [](char c) { return std::islower(static_cast<unsigned char>(c)) == 0; };
    return suffix.size() == 6 && std::all_of(suffix.begin(), suffix.end(), isAlnum) &&
           std::any_of(suffix.begin(), suffix.end(), notLower);
}

// Earlier versions saved through "<file>.XXXXXX" temporary files, which a
// kill at the wrong moment left behind for good.
void RemoveOldTemporaryFiles(const fs::path& target) {
    const std::string prefix = target.filename().string() + ".";
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(target.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        const bool temporary = name.compare(0, prefix.size(), prefix) == 0 &&
                               IsMkstempSuffix(name.substr(std::min(name.size(), prefix.size())));
        std::error_code typeError;
        if (temporary && entry.is_regular_file(typeError) && !entry.is_symlink(typeError)) {
            fs::remove(entry.path(), typeError);
        }
    }
}

} // namespace

TFileRegistryHive::TFileRegistryHive(std::string path) : FilePath(std::move(path)) {
    // A start clears what saves killed part-way left beside the file.
    const fs::path target(FilePath);
    RemoveOldTemporaryFiles(target);
    RemoveStaleHiddenFiles(target.parent_path().string());
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

    const std::string text = FormatRegistryText(keys);
    if (!ReplaceFile(FilePath, 0600,
                     [&](int fd) { return WriteAll(fd, text.data(), text.size()); })) {
        throw ERegistryError(ErrnoText("cannot write", FilePath));
    }
}

} // namespace lw
