// Whatever goes wrong inside a call of a C host ends that call, not the host.
#include "library/api/export_guard.h"

#include "platform/string_table.h"
#include "tests/support/memory_window.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace orvane {
namespace {

TEST(CallForHost, AnythingThrownEndsTheCallWithItsFailureValueAndTellsTheUserWhy)
{
    test::CScriptedPrompt prompt;
    platform::ScopedPrompt usePrompt(prompt);
    platform::CStringTable strings;
    strings.Parse("111\tOrvane\n494\tThe check could not be completed: %1\n");
    platform::ScopedStrings useStrings(strings);

    EXPECT_EQ(CallForHost([]() -> int { throw std::bad_alloc(); }, -7), -7);
    EXPECT_EQ(CallForHost([]() -> int { throw std::runtime_error("the table record broke"); }, 0), 0);
    bool reached = false;
    CallForHost([&] { reached = true; throw 42; });
    EXPECT_TRUE(reached);
    EXPECT_EQ(CallForHost([] { return 3; }, -7), 3);

    ASSERT_EQ(prompt.messages.size(), 3u);
    EXPECT_EQ(prompt.messages[0].caption, "Orvane");
    EXPECT_EQ(prompt.messages[0].text, "The check could not be completed: there was not enough memory");
    EXPECT_EQ(prompt.messages[1].text, "The check could not be completed: the table record broke");
    EXPECT_EQ(prompt.messages[2].text, "The check could not be completed: an unexpected fault");
}

TEST(CallForHost, APromptThatFailsItselfStillLeavesTheHostRunning)
{
    struct CThrowingPrompt final : platform::IPrompt {
        int Show(std::string_view, std::string_view, platform::PromptIcon, platform::PromptButtons, int) override
        {
            throw std::bad_alloc();
        }
    } prompt;
    platform::ScopedPrompt usePrompt(prompt);
    EXPECT_EQ(CallForHost([]() -> int { throw std::bad_alloc(); }, -7), -7);
}

} // namespace
} // namespace orvane
