#include "fonts/byte_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

namespace lw {

namespace {

// The part of [offset, offset + count) that lies inside size bytes, as a count.
size_t AvailableCount(uint64_t size, uint64_t offset, size_t count) {
    if (offset >= size) {
        return 0;
    }
    return static_cast<size_t>(std::min<uint64_t>(count, size - offset));
}

} // namespace

bool TMemoryByteSource::Read(uint64_t offset, size_t count, std::vector<uint8_t>& out) {
    const size_t n = AvailableCount(Length, offset, count);
    if (n == 0) {
        out.clear();
        return true;
    }
    const uint8_t* first = Data + static_cast<size_t>(offset);
    out.assign(first, first + n);
    return true;
}

TFileByteSource::TFileByteSource(const std::string& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    // The C library opens a folder for reading without complaint, and
    // opening a pipe would wait for a writer that never comes: only a
    // regular file can be a font.
    if (std::filesystem::is_directory(status)) {
        throw EFontFileError(path, std::make_error_code(std::errc::is_a_directory).message());
    }
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        throw EFontFileError(path, kNotAFontFile);
    }
    errno = 0;
    File = std::fopen(path.c_str(), "rb");
    if (File == nullptr) {
        const int code = errno != 0 ? errno : EIO;
        throw EFontFileError(path, std::strerror(code));
    }
    if (std::fseek(File, 0, SEEK_END) == 0) {
        const long end = std::ftell(File);
        Length = end > 0 ? static_cast<uint64_t>(end) : 0;
    }
}

TFileByteSource::~TFileByteSource() {
    if (File != nullptr) {
        std::fclose(File);
    }
}

bool TFileByteSource::Read(uint64_t offset, size_t count, std::vector<uint8_t>& out) {
    const size_t n = AvailableCount(Length, offset, count);
    out.clear();
    if (n == 0) {
        return true;
    }
    std::clearerr(File); // one failed read says nothing about the next
    if (offset > static_cast<uint64_t>(std::numeric_limits<long>::max()) ||
        std::fseek(File, static_cast<long>(offset), SEEK_SET) != 0) {
        return false;
    }
    out.resize(n);
    const size_t got = std::fread(out.data(), 1, n, File);
    out.resize(got);
    // A file that shrank since it was opened reads short without an error.
    return got == n || std::ferror(File) == 0;
}

std::vector<uint8_t> ReadUpTo(IByteSource& source, uint64_t offset, size_t count) {
    std::vector<uint8_t> bytes;
    if (!source.Read(offset, count, bytes)) {
        bytes.clear();
    }
    return bytes;
}

} // namespace lw
