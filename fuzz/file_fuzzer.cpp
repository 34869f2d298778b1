// libFuzzer target: any bytes as one of the files users may edit by hand,
// with what must hold for any of them. The build makes one program per file
// kind, naming its check in ORVANE_FUZZ_CHECK (a function of file_invariants.h).
#include "file_invariants.h"
#include "fuzz_services.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#ifndef ORVANE_FUZZ_CHECK
#error "ORVANE_FUZZ_CHECK names the check of the file kind"
#endif

#define ORVANE_STRINGIFY2(x) #x
#define ORVANE_STRINGIFY(x) ORVANE_STRINGIFY2(x)

namespace {
std::filesystem::path g_folder;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    orvane::fuzz::InstallCheckServices();
    g_folder = orvane::fuzz::ScratchFolder(ORVANE_STRINGIFY(ORVANE_FUZZ_CHECK));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string failure =
        orvane::fuzz::ORVANE_FUZZ_CHECK(std::string_view(reinterpret_cast<const char*>(data), size), g_folder);
    if (!failure.empty()) {
        std::fprintf(stderr, "%s: %s\n", ORVANE_STRINGIFY(ORVANE_FUZZ_CHECK), failure.c_str());
        std::abort();
    }
    return 0;
}
