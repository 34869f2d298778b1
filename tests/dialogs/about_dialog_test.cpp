#include "library/dialogs/about_dialog.h"

#include "platform/services.h"
#include "platform/string_table.h"
#include "tests/support/memory_window.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using platform::kIdOk;
using test::CMemoryWindow;
using test::CMemoryWindows;

constexpr int kAbout = 100;
constexpr int kCredits = 1252;

platform::CStringTable NumberedStrings()
{
    platform::CStringTable strings;
    std::string text = "110\tVersion 9\n111\tOrvane\n";
    for (int id = 481; id <= 493; ++id)
        text += std::to_string(id) + "\tline " + std::to_string(id) + "\n";
    strings.Parse(text);
    return strings;
}

TEST(AboutDialog, ShowsTheCreditsInTheirOrderTheVersionAndTheProductIcon)
{
    const platform::CStringTable strings = NumberedStrings();
    platform::ScopedStrings scope(strings);
    CMemoryWindows windows;
    windows.WhenShown(kAbout, [](CMemoryWindow& about) {
        const std::vector<std::string> expected = {
            "line 481", "line 482", "line 483", "line 484", "line 485", "line 486", "line 487",
            "line 488", "line 489", "line 490", "line 491", "line 493", "line 492"};
        EXPECT_EQ(about.ItemTexts(kCredits), expected);
        EXPECT_EQ(about.Text(1072), "Version 9");
        EXPECT_EQ(about.IconId(), 128);
        EXPECT_EQ(about.PictureOf(1251), 128);
        about.Click(kIdOk);
    });
    ShowAboutDialog(nullptr);
    EXPECT_EQ(windows.Shown(), std::vector<int>{kAbout});
}

TEST(AboutDialog, ItsButtonsOpenTheThreeSitesAndShowTheDigestCredit)
{
    const platform::CStringTable strings = NumberedStrings();
    platform::ScopedStrings scope(strings);
    CMemoryWindows windows;
    windows.WhenShown(kAbout, [&](CMemoryWindow& about) {
        about.Click(1065);
        about.Click(1071);
        about.Click(1073);
        EXPECT_TRUE(windows.prompt.messages.empty());
        about.Click(1344);
        EXPECT_FALSE(about.HasEnded());
        about.PressEscape();
    });
    ShowAboutDialog(nullptr);

    ASSERT_EQ(windows.openedAddresses.size(), 3u);
    for (const std::string& address : windows.openedAddresses)
        EXPECT_EQ(address.rfind("https://", 0), 0u) << address;
    EXPECT_NE(windows.openedAddresses[0], windows.openedAddresses[1]);
    EXPECT_NE(windows.openedAddresses[1], windows.openedAddresses[2]);
    EXPECT_NE(windows.openedAddresses[0], windows.openedAddresses[2]);
    ASSERT_EQ(windows.prompt.messages.size(), 1u);
    EXPECT_EQ(windows.prompt.messages[0].caption, "Orvane");
    EXPECT_EQ(windows.prompt.messages[0].text, "RSA Data Security, Inc. MD5 Algorithm.");
    EXPECT_EQ(windows.prompt.messages[0].buttons, platform::PromptButtons::Ok);
}

// Without the resource bundle every string reads empty: the box still opens
// with its lines, blank, and closes.
TEST(AboutDialog, WithoutTheResourceBundleShowsEmptyTexts)
{
    CMemoryWindows windows;
    windows.WhenShown(kAbout, [](CMemoryWindow& about) {
        EXPECT_EQ(about.ItemCount(kCredits), 13);
        EXPECT_EQ(about.ItemText(kCredits, 0), "");
        EXPECT_EQ(about.Text(1072), "");
        about.PressEnter();
        EXPECT_EQ(about.Result(), kIdOk);
    });
    ShowAboutDialog(nullptr);
}

} // namespace
} // namespace orvane
