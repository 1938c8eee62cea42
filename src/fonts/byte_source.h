#pragma once

#include "platform/byte_source.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lw {

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

// Reads what exists of [offset, offset + count); a failed read gives nothing.
std::vector<uint8_t> ReadUpTo(IByteSource& source, uint64_t offset, size_t count);

} // namespace lw
