// libFuzzer entry for the Type 1 reader.
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lw::fuzz::RunType1(data, size);
    return 0;
}
