// libFuzzer target: any bytes as a page, taken in every way and checked the
// way a checking session checks it, with the invariants of the check pass.
#include "check_invariants.h"
#include "fuzz_services.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    orvane::fuzz::InstallCheckServices();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string failure =
        orvane::fuzz::CheckPageChecks(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!failure.empty()) {
        std::fprintf(stderr, "check pass invariant broken: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
