// libFuzzer entry for one parser, named when the target is built.
#include "fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

namespace {

lw::fuzz::TFuzzRun Run() {
    static const lw::fuzz::TFuzzRun run = [] {
        const lw::fuzz::TFuzzRun named = lw::fuzz::FuzzRunNamed(LW_FUZZ_PARSER);
        if (named == nullptr) {
            std::fprintf(stderr, "no parser named %s\n", LW_FUZZ_PARSER);
            std::abort();
        }
        return named;
    }();
    return run;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Run()(data, size);
    return 0;
}
