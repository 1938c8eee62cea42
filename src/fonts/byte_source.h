#pragma once

#include <cstdint>
#include <cstdio>
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

// Where a reader takes its bytes from: a file on disk, or bytes already in
// memory (the fuzzers and the corpus replay feed the readers that way).
class IByteSource {
public:
    virtual ~IByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Up to count bytes from offset: a range running past the end gives what
    // is there (nothing beyond it), which is not an error. False only when the
    // medium fails to deliver bytes that exist.
    virtual bool Read(uint64_t offset, size_t count, std::vector<uint8_t>& out) = 0;
};

class TMemoryByteSource : public IByteSource {
public:
    TMemoryByteSource(const uint8_t* data, size_t size) : Data(data), Length(size) {}
    explicit TMemoryByteSource(const std::vector<uint8_t>& bytes)
        : Data(bytes.data()), Length(bytes.size()) {}
    // The bytes must outlive the source.
    explicit TMemoryByteSource(std::vector<uint8_t>&&) = delete;
    uint64_t Size() const override { return Length; }
    bool Read(uint64_t offset, size_t count, std::vector<uint8_t>& out) override;

private:
    const uint8_t* Data;
    size_t Length;
};

// One open file, read-only, for the life of the source; reads touch only the
// ranges asked for, so a large font costs what its few tables cost.
class TFileByteSource : public IByteSource {
public:
    // Throws EFontFileError when the file cannot be opened for reading.
    explicit TFileByteSource(const std::string& path);
    ~TFileByteSource() override;
    TFileByteSource(const TFileByteSource&) = delete;
    TFileByteSource& operator=(const TFileByteSource&) = delete;

    uint64_t Size() const override { return Length; }
    bool Read(uint64_t offset, size_t count, std::vector<uint8_t>& out) override;

private:
    std::FILE* File = nullptr;
    uint64_t Length = 0;
};

// Reads what exists of [offset, offset + count); a failed read gives nothing.
std::vector<uint8_t> ReadUpTo(IByteSource& source, uint64_t offset, size_t count);

} // namespace lw
