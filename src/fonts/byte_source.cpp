#include "fonts/byte_source.h"

#include <algorithm>

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

std::vector<uint8_t> ReadUpTo(IByteSource& source, uint64_t offset, size_t count) {
    std::vector<uint8_t> bytes;
    if (!source.Read(offset, count, bytes)) {
        bytes.clear();
    }
    return bytes;
}

} // namespace lw
