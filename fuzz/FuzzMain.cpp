// The libFuzzer program of one target, named by TARNVALE_FUZZ_TARGET at compile time.
#include "fuzz/FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

namespace {

FuzzEntry gEntry = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PrepareFuzzing();
    gEntry = FindFuzzEntry(TARNVALE_FUZZ_TARGET);
    if (!gEntry) {
        std::fprintf(stderr, "no fuzz target named %s\n", TARNVALE_FUZZ_TARGET);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    gEntry(data, size);
    return 0;
}
