// The invariants of the check pass, run over the pages fuzzing found and over
// pages of every kind, so any compiler's test build replays them.
#include "fuzz/check_invariants.h"
#include "fuzz/fuzz_services.h"

#include "bench/page_generator.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace orvane::test {
namespace {

class CheckInvariants : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fuzz::InstallCheckServices(); }
};

TEST_F(CheckInvariants, HoldForEveryPageFoundByFuzzing)
{
    const std::filesystem::path folder = std::filesystem::path(ORVANE_FUZZ_REGRESSIONS_DIR) / "page";
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(fuzz::CheckPageChecks(ReadFileBytes(entry.path().string())), "") << entry.path();
}

TEST_F(CheckInvariants, HoldForGeneratedPagesOfEverySize)
{
    for (std::uint32_t seed = 1; seed <= 2; ++seed) {
        for (std::size_t size : {0, 700, 20000})
            EXPECT_EQ(fuzz::CheckPageChecks(bench::GeneratePage(size, seed)), "") << seed << "/" << size;
    }
}

TEST_F(CheckInvariants, HoldForTheSmallerCorpusPages)
{
    std::vector<std::string> pages = CorpusPages();
    if (pages.empty())
        GTEST_SKIP() << "the page corpus is not beside the project";
    for (const std::string& path : pages) {
        if (std::filesystem::file_size(path) > 100 * 1024)
            continue;
        EXPECT_EQ(fuzz::CheckPageChecks(ReadFileBytes(path)), "") << path;
    }
}

TEST_F(CheckInvariants, HoldForPagesThatEndInsideATagOrComment)
{
    for (const char* page : {"<html><p><b>Intro", "<!-- open", "<map name=m><area", "<img src=a.gif alt=\"x",
                             "<table><tr><td>", "\r", ""})
        EXPECT_EQ(fuzz::CheckPageChecks(page), "") << page;
}

} // namespace
} // namespace orvane::test
