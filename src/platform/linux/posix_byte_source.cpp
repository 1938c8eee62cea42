#include "platform/linux/posix_byte_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lw {

namespace {

// A read takes at least this much of the file: a table directory, or a
// 'name' table's records and strings, mostly lie within one such block.
constexpr size_t kBlockSize = 4 * 1024;
constexpr size_t kMaxBlocks = 8;

// The part of [offset, offset + count) that lies inside size bytes, as a count.
size_t AvailableCount(uint64_t size, uint64_t offset, size_t count) {
    if (offset >= size) {
        return 0;
    }
    return static_cast<size_t>(std::min<uint64_t>(count, size - offset));
}

} // namespace

TPosixByteSource::TPosixByteSource(const std::string& path) {
    Descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (Descriptor < 0) {
        throw EFontFileError(path, std::strerror(errno));
    }
    struct stat status {};
    const char* refusal = nullptr;
    if (::fstat(Descriptor, &status) != 0) {
        refusal = std::strerror(errno);
    } else if (S_ISDIR(status.st_mode)) {
        refusal = std::strerror(EISDIR);
    } else if (!S_ISREG(status.st_mode)) {
        refusal = kNotAFontFile;
    }
    if (refusal != nullptr) {
        const std::string reason = refusal;
        ::close(Descriptor);
        throw EFontFileError(path, reason);
    }
    Length = status.st_size > 0 ? static_cast<uint64_t>(status.st_size) : 0;
}

TPosixByteSource::~TPosixByteSource() {
    ::close(Descriptor);
}

bool TPosixByteSource::Read(uint64_t offset, size_t count, std::vector<uint8_t>& out) {
    const size_t n = AvailableCount(Length, offset, count);
    out.clear();
    if (n == 0) {
        return true;
    }
    for (auto block = Blocks.rbegin(); block != Blocks.rend(); ++block) {
        if (offset >= block->Offset && offset - block->Offset + n <= block->Bytes.size()) {
            const auto first =
                block->Bytes.begin() + static_cast<std::ptrdiff_t>(offset - block->Offset);
            out.assign(first, first + static_cast<std::ptrdiff_t>(n));
            return true;
        }
    }
    if (n >= kBlockSize) {
        return ReadFromFile(offset, n, out);
    }
    TBlock block;
    block.Offset = offset;
    if (!ReadFromFile(offset, AvailableCount(Length, offset, kBlockSize), block.Bytes)) {
        return false;
    }
    out.assign(block.Bytes.begin(),
               block.Bytes.begin() + static_cast<std::ptrdiff_t>(std::min(n, block.Bytes.size())));
    if (Blocks.size() == kMaxBlocks) {
        Blocks.erase(Blocks.begin());
    }
    Blocks.push_back(std::move(block));
    return true;
}

bool TPosixByteSource::ReadFromFile(uint64_t offset, size_t count,
                                    std::vector<uint8_t>& out) const {
    out.resize(count);
    size_t got = 0;
    while (got < count) {
        const ssize_t n =
            ::pread(Descriptor, out.data() + got, count - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            out.clear();
            return false;
        }
        if (n == 0) {
            break; // the file shrank since it was opened: what is there
        }
        got += static_cast<size_t>(n);
    }
    out.resize(got);
    return true;
}

} // namespace lw
