#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace lw {

// What a reader says of a pipe, a device or a socket named like a font.
inline constexpr const char* kNotAFontFile = "not a font file";

// A font file that cannot be opened; what() is the system's text for why.
class EFontFileError : public std::runtime_error {
public:
    EFontFileError(std::string path, const std::string& message)
        : std::runtime_error(message), Path(std::move(path)) {}
    std::string Path;
};

// Where a reader takes its bytes from: a file on disk (the platform opens
// it), or bytes already in memory (the fuzzers and the corpus replay feed
// the readers that way).
class IByteSource {
public:
    virtual ~IByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Up to count bytes from offset: a range running past the end gives what
    // is there (nothing beyond it), which is not an error. False only when the
    // medium fails to deliver bytes that exist.
    virtual bool Read(uint64_t offset, size_t count, std::vector<uint8_t>& out) = 0;
};

} // namespace lw
