#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lw {

// Bounds-checked reads of fixed-width fields. Every read checks its whole
// range first; a field that lies (even partly) outside the bytes reads as 0,
// which is what a field of a short read into a zeroed buffer would hold.
class TByteView {
public:
    TByteView() = default;
    explicit TByteView(std::span<const uint8_t> bytes) : Bytes(bytes) {}
    explicit TByteView(const std::vector<uint8_t>& bytes) : Bytes(bytes.data(), bytes.size()) {}
    // A view never outlives its bytes: keep a read's result in a variable.
    explicit TByteView(std::vector<uint8_t>&&) = delete;

    size_t Size() const { return Bytes.size(); }
    // Overflow-safe: the range is tested without forming offset + length.
    bool Contains(uint64_t offset, uint64_t length) const {
        return offset <= Bytes.size() && length <= Bytes.size() - offset;
    }
    // The part of [offset, offset + length) that exists; empty when none does.
    TByteView Sub(uint64_t offset, uint64_t length) const {
        if (offset >= Bytes.size()) {
            return TByteView();
        }
        const size_t start = static_cast<size_t>(offset);
        const size_t rest = Bytes.size() - start;
        return TByteView(Bytes.subspan(start, length < rest ? static_cast<size_t>(length) : rest));
    }
    std::span<const uint8_t> Span() const { return Bytes; }

    uint8_t U8(uint64_t offset) const { return Contains(offset, 1) ? Bytes[offset] : 0; }

    uint16_t BE16(uint64_t offset) const {
        if (!Contains(offset, 2)) {
            return 0;
        }
        return static_cast<uint16_t>((Bytes[offset] << 8) | Bytes[offset + 1]);
    }
    uint32_t BE32(uint64_t offset) const {
        if (!Contains(offset, 4)) {
            return 0;
        }
        return (uint32_t(Bytes[offset]) << 24) | (uint32_t(Bytes[offset + 1]) << 16) |
               (uint32_t(Bytes[offset + 2]) << 8) | uint32_t(Bytes[offset + 3]);
    }
    int16_t BE16Signed(uint64_t offset) const { return static_cast<int16_t>(BE16(offset)); }

    uint16_t LE16(uint64_t offset) const {
        if (!Contains(offset, 2)) {
            return 0;
        }
        return static_cast<uint16_t>(Bytes[offset] | (Bytes[offset + 1] << 8));
    }
    uint32_t LE32(uint64_t offset) const {
        if (!Contains(offset, 4)) {
            return 0;
        }
        return uint32_t(Bytes[offset]) | (uint32_t(Bytes[offset + 1]) << 8) |
               (uint32_t(Bytes[offset + 2]) << 16) | (uint32_t(Bytes[offset + 3]) << 24);
    }

private:
    std::span<const uint8_t> Bytes;
};

} // namespace lw
