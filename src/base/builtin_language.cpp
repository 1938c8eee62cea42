#include "base/string_table.h"

#include <cstddef>
#include <stdexcept>

// Generated at build time from the program's own string table and pictures.
extern const unsigned char kBuiltInBundle[];
extern const std::size_t kBuiltInBundleSize;

namespace lw {

const TLanguageModule& BuiltInLanguage() {
    static const TLanguageModule module = [] {
        std::vector<uint8_t> bytes(kBuiltInBundle, kBuiltInBundle + kBuiltInBundleSize);
        auto parsed = LanguageModuleFromBundle(bytes);
        if (!parsed) {
            throw std::logic_error("the built-in language is damaged");
        }
        return std::move(*parsed);
    }();
    return module;
}

} // namespace lw
