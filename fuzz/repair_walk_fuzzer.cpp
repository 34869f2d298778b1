// libFuzzer target: any bytes as a page, its repairs walked through the
// wizard taking every page's proposal (and, for half the pages, typing words
// where a page asks for a text). Nothing outside the repaired elements
// may change, the markup may not get worse, and undoing every page must give
// back the bytes taken in.
#include "fuzz_services.h"

#include "common/orvane_settings.h"
#include "library/ui/problem_list.h"
#include "tests/support/repair_walk.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {
// A walk costs up to seconds under the sanitizers, and the seeds alone are
// hundreds: past the run's time the rest of them are read without a walk.
orvane::fuzz::CRunBudget budget;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    orvane::fuzz::InstallCheckServices();
    if (argc && argv)
        budget = orvane::fuzz::CRunBudget(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (budget.Spent())
        return 0;
    static const std::string path = [] {
        const std::filesystem::path folder = orvane::fuzz::ScratchFolder("repair_walk_fuzzer");
        std::filesystem::create_directories(folder);
        return (folder / "page.html").string();
    }();
    orvane::COrvaneSettings settings;
    settings.Load();
    settings.SetConformanceLevel(orvane::kLevelAAA);
    // Whether a repair clears its problem depends on what the user typed and
    // chose; the walks of the test over real pages hold that. Pages of an odd
    // length (a mutation flips it) are answered by a user who writes every
    // text a page asks for: the repairs only words reach are walked too.
    const orvane::test::WalkAnswers answers{.typed = size % 2 ? orvane::test::kWrittenWords : std::string_view(),
                                            .assertions = 1u | 2u | 8u};
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const orvane::test::RepairWalk walk = orvane::test::WalkRepairs(page, path, settings, answers);
    if (!walk.failure.empty()) {
        std::fprintf(stderr, "repair walk invariant broken: %s\n", walk.failure.c_str());
        std::abort();
    }
    return 0;
}
