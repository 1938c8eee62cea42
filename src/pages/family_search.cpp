#include "pages/family_search.h"

#include "base/helpers.h"
#include "platform/services.h"

#include <algorithm>
#include <charconv>

namespace lw {

std::optional<size_t> FindFamily(const std::vector<std::string>& families, long selected,
                                 const std::string& text, bool whole) {
    const size_t count = families.size();
    const size_t first = selected < 0 ? 0 : static_cast<size_t>(selected) + 1;
    const std::string pattern = Text().Upper(text);
    for (size_t i = first; i < count; ++i) {
        if (UpperTextMatches(pattern, families[i], whole)) {
            return i;
        }
    }
    const size_t last = selected < 0 ? count : std::min(count, static_cast<size_t>(selected) + 1);
    for (size_t i = 0; i < last; ++i) {
        if (UpperTextMatches(pattern, families[i], whole)) {
            return i;
        }
    }
    return std::nullopt;
}

int SizeFromText(const std::string& text, int currentSize) {
    int value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (!text.empty() && *begin == '+') {
        ++begin;
    }
    auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || begin == end) {
        return currentSize;
    }
    return value;
}

const std::vector<int>& PresetSizes() {
    static const std::vector<int> sizes = {8, 10, 12, 14, 16, 18, 24, 36, 48, 64, 72};
    return sizes;
}

size_t NextPresetIndex(const std::string& currentText) {
    const std::vector<int>& sizes = PresetSizes();
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (std::to_string(sizes[i]) == currentText) {
            return (i + 1) % sizes.size();
        }
    }
    return 0;
}

} // namespace lw
