#include "base/language_ids.h"
#include "platform/linux/linux_platform.h"

#include <cstdlib>
#include <string>

namespace lw {

namespace {

// The language the user's messages are in, by the POSIX precedence of the
// locale variables; read on every call, so a changed environment counts,
// and looked up again only when the name changed (a reader asks per file).
class TLinuxSystemLocale : public ISystemLocale {
public:
    uint16_t DefaultLangID() const override {
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* value = std::getenv(variable);
            if (value != nullptr && value[0] != '\0') {
                if (value != LastName) {
                    LastName = value;
                    LastId = LangIdFromLocaleName(value);
                }
                return LastId;
            }
        }
        return kLangEnglishUS;
    }

private:
    mutable std::string LastName;
    mutable uint16_t LastId = kLangEnglishUS;
};

} // namespace

std::unique_ptr<ISystemLocale> MakeLinuxSystemLocale() {
    return std::make_unique<TLinuxSystemLocale>();
}

} // namespace lw
