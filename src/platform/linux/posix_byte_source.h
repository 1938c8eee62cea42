#pragma once

#include "platform/byte_source.h"

#include <memory>
#include <string>
#include <vector>

namespace lw {

// A font file read with pread: opened without blocking (a pipe named like a
// font is refused, not waited on), its type and size known from one fstat.
// A read takes a block around what it asks for, so the many small reads of
// one table (a 'name' table's records and strings) cost one read of the
// file, and a large font costs what its few tables cost.
class TPosixByteSource : public IByteSource {
public:
    // Throws EFontFileError when the path is no regular file that can be read.
    explicit TPosixByteSource(const std::string& path);
    ~TPosixByteSource() override;
    TPosixByteSource(const TPosixByteSource&) = delete;
    TPosixByteSource& operator=(const TPosixByteSource&) = delete;

    uint64_t Size() const override { return Length; }
    bool Read(uint64_t offset, size_t count, std::vector<uint8_t>& out) override;

private:
    struct TBlock {
        uint64_t Offset = 0;
        std::vector<uint8_t> Bytes;
    };
    bool ReadFromFile(uint64_t offset, size_t count, std::vector<uint8_t>& out) const;

    int Descriptor = -1;
    uint64_t Length = 0;
    std::vector<TBlock> Blocks; // what was read, newest last
};

} // namespace lw
