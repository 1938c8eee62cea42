#pragma once

#include "font_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace lw::test {

// A small tmpfs of its own at a folder, for what a full disk does to a
// write. Mounting needs root; where it is not permitted Mounted() is false
// and Why says so, for GTEST_SKIP. Unmounted when it goes.
class TSmallDisk {
public:
    TSmallDisk(const std::filesystem::path& at, const char* size = "size=256k") : At(at) {
        std::filesystem::create_directories(At);
        if (::mount("tmpfs", At.c_str(), "tmpfs", 0, size) == 0) {
            IsMounted = true;
        } else {
            Why = "cannot mount a tmpfs here: " + std::string(std::strerror(errno));
        }
    }
    ~TSmallDisk() {
        if (IsMounted) {
            ::umount2(At.c_str(), MNT_DETACH);
        }
        std::error_code ec;
        std::filesystem::remove_all(At, ec);
    }
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;

    bool Mounted() const { return IsMounted; }
    const std::string& Reason() const { return Why; }

    // Takes every byte left with one file, ".filler", so that any further
    // write fails with ENOSPC.
    void Fill() const {
        const int fd = ::open((At / ".filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        ASSERT_GE(fd, 0) << std::strerror(errno);
        const std::vector<char> block(4096, 'f');
        for (size_t size = block.size(); size > 0; size /= 2) {
            while (::write(fd, block.data(), size) == static_cast<ssize_t>(size)) {
            }
        }
        ::close(fd);
    }

    // What is in the folder, the filler left out.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names = FolderEntries(At);
        std::erase(names, ".filler");
        return names;
    }

private:
    std::filesystem::path At;
    bool IsMounted = false;
    std::string Why;
};

} // namespace lw::test
