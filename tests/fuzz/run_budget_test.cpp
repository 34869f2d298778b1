// The time a fuzz run may take, read from libFuzzer's arguments as libFuzzer
// reads it: the targets whose inputs are slow stop their work when it is
// spent, so a run asked for 30 seconds takes about that.
#include "fuzz/fuzz_services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane::test {
namespace {

std::chrono::seconds LimitOf(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "repair_walk_fuzzer");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return fuzz::CRunBudget::FromArguments(static_cast<int>(arguments.size()), argv.data());
}

TEST(RunBudget, IsTheTotalTimeLibFuzzerIsGivenAndNoneWithoutIt)
{
    using std::chrono::seconds;
    EXPECT_EQ(LimitOf({"-max_len=8192", "-max_total_time=30", "-timeout=10", "corpus"}), seconds(30));
    EXPECT_EQ(LimitOf({"-max_total_time=30", "-max_total_time=5"}), seconds(5));
    // One input run alone, or a flag that is no number of seconds: no limit.
    EXPECT_EQ(LimitOf({"findings/repair_walk_fuzzer-crash-1"}), seconds(0));
    EXPECT_EQ(LimitOf({"-max_total_time="}), seconds(0));
    EXPECT_EQ(LimitOf({"-max_total_time=30s"}), seconds(0));
    EXPECT_EQ(LimitOf({"-max_total_time=-1"}), seconds(0));
    EXPECT_EQ(LimitOf({"--max_total_time=30"}), seconds(0));
    // Without a limit the budget is never spent.
    EXPECT_FALSE(fuzz::CRunBudget().Spent());
}

} // namespace
} // namespace orvane::test
