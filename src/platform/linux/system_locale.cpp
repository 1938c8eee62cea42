#include "platform/linux/linux_platform.h"

namespace lw {

namespace {

// Placeholder until the locale table lands: every locale reads as US English.
class TLinuxSystemLocale : public ISystemLocale {
public:
    uint16_t DefaultLangID() const override { return 0x0409; }
};

} // namespace

std::unique_ptr<ISystemLocale> MakeLinuxSystemLocale() { return std::make_unique<TLinuxSystemLocale>(); }

} // namespace lw
