// libFuzzer target: any bytes as the text of a tag, split into attributes.
#include "intake_invariants.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string failure =
        orvane::fuzz::CheckAttributeParse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!failure.empty()) {
        std::fprintf(stderr, "attribute parser invariant broken: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
