// libFuzzer entry for the TrueType/OpenType reader.
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lw::fuzz::RunOpenType(data, size);
    return 0;
}
