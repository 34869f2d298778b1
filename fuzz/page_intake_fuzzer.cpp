// libFuzzer target: any bytes as a page, taken in as a file, as one text and
// line by line, with the invariants of the intake checked after each.
#include "intake_invariants.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string failure =
        orvane::fuzz::CheckPageIntake(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!failure.empty()) {
        std::fprintf(stderr, "page intake invariant broken: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
