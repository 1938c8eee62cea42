#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lw::test {

// The locale variables a start reads, set for a while and put back after;
// null leaves a variable unset.
class TScopedLocale {
public:
    TScopedLocale(const char* lcAll, const char* lcMessages, const char* lang) {
        for (const auto& [name, value] :
             {std::pair{"LC_ALL", lcAll}, std::pair{"LC_MESSAGES", lcMessages},
              std::pair{"LANG", lang}}) {
            const char* before = std::getenv(name);
            Saved.emplace_back(name, before == nullptr ? std::nullopt
                                                       : std::optional<std::string>(before));
            Set(name, value);
        }
    }
    ~TScopedLocale() {
        for (const auto& [name, value] : Saved) {
            Set(name, value ? value->c_str() : nullptr);
        }
    }
    TScopedLocale(const TScopedLocale&) = delete;
    TScopedLocale& operator=(const TScopedLocale&) = delete;

private:
    static void Set(const char* name, const char* value) {
        if (value == nullptr) {
            ::unsetenv(name);
        } else {
            ::setenv(name, value, 1);
        }
    }
    std::vector<std::pair<const char*, std::optional<std::string>>> Saved;
};

} // namespace lw::test
