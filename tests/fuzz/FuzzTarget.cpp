// A libFuzzer target for one reader family, chosen when the target is built
// (GRAPHMAT_FUZZ_FAMILY is the family's position in FuzzFamily).
#include "tests/fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzOneInput(fuzzFamilies()[GRAPHMAT_FUZZ_FAMILY], data, size);
    return 0;
}
