// A session whose overview window cannot be made (its template missing from
// the bundle, or one that does not load) still checks the page: it never
// reports "nothing counts" for a page full of problems.
#include "library/ui/checking_session.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/ui/overview_dialog.h"
#include "platform/registry.h"
#include "platform/string_table.h"
#include "tests/support/memory_window.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace orvane {
namespace {

class SessionWithoutOverviewTest : public ::testing::Test {
protected:
    SessionWithoutOverviewTest() : m_stringScope(m_strings), m_registryScope(*m_store)
    {
        m_strings.Parse(test::ReadFileBytes(ORVANE_STRINGS_FILE));
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        settings.Load();
        settings.SetConformanceLevel(2);
    }

    int Check()
    {
        document.Start(1, false);
        document.SetOriginFlag(1);
        std::istringstream page(test::ReadFileBytes(std::string(ORVANE_EXAMPLES_DIR) + "/sample.html"));
        EXPECT_EQ(document.Load(page), 1);
        return RunCheckingSession(document, settings, "/site/sample.html");
    }

    platform::CStringTable m_strings;
    platform::ScopedStrings m_stringScope;
    // Named after the test: the tests of this fixture run side by side.
    std::string m_home = ::testing::TempDir() + "session-without-overview-" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::unique_ptr<platform::IRegistry> m_store =
        (std::filesystem::remove_all(m_home), std::filesystem::create_directories(m_home),
         platform::CreateFileRegistry(m_home + "/UserRegistry.reg"));
    platform::ScopedRegistry m_registryScope;
    test::CMemoryWindows windows;
    COrvaneSettings settings;
    CHtmlDocument document{CFamilyElementFactory::Instance()};
};

// The table question of the sample page's table and the overview.
constexpr int kTableQuestion = 239;

TEST_F(SessionWithoutOverviewTest, ThePageIsCheckedUnattendedAndTheUserIsToldOnce)
{
    windows.CannotMake(kTableQuestion);
    windows.CannotMake(COverviewDialog::kTemplate);
    const int result = Check();

    // The sample page has problems at AA that no automatic repair mends.
    EXPECT_TRUE(result == 2 || result == 3) << result;
    ASSERT_EQ(windows.prompt.messages.size(), 1u);
    EXPECT_EQ(windows.prompt.messages[0].text, m_strings.Get(495));
    EXPECT_EQ(windows.prompt.messages[0].caption, m_strings.Get(111));

    // The next page goes straight to the unattended check, without a word.
    EXPECT_EQ(Check(), result);
    EXPECT_EQ(windows.prompt.messages.size(), 1u);
}

TEST_F(SessionWithoutOverviewTest, GivesTheResultAnUnattendedSessionGives)
{
    windows.canShow = false;
    const int unattended = Check();
    windows.canShow = true;
    windows.CannotMake(kTableQuestion);
    windows.CannotMake(COverviewDialog::kTemplate);
    EXPECT_EQ(Check(), unattended);
    EXPECT_NE(unattended, 0);
}

// Unattended at a WCAG 2.2 target, as a host's session without a screen runs:
// the rules judge the page, the automatic repair of the check that mends a
// failed finding is made where the settings switch it on, and the result
// follows from the findings the page checked again still has.
TEST_F(SessionWithoutOverviewTest, AtAWcag22TargetTheRulesFindingsAreRepairedAutomaticallyAndCounted)
{
    constexpr int kHtml = 41;
    constexpr std::uint32_t kMissingLanguage = 0x2;
    const std::string page = "<!DOCTYPE html>\n<html>\n<head><title>Ferry</title></head>\n<body>\n"
                             "<p>The ferry leaves at nine.</p>\n</body>\n</html>\n";
    windows.canShow = false;
    settings.SetConformanceLevel(level::kWcag22AA);
    settings.SetText1(kHtml, kMissingLanguage, "en");
    auto check = [&](int autoRepair) {
        settings.SetAutoRepairMode(kHtml, kMissingLanguage, autoRepair);
        document.Start(1, false);
        document.SetOriginFlag(1);
        std::istringstream in(page);
        EXPECT_EQ(document.Load(in), 1);
        return RunCheckingSession(document, settings, "/site/ferry.html");
    };
    EXPECT_EQ(check(autorepair::kOff), 2);
    EXPECT_EQ(document.Text(), page);
    EXPECT_EQ(check(autorepair::kOn), 1);
    EXPECT_NE(document.Text().find("<html lang=\"en\">"), std::string::npos) << document.Text();
}

} // namespace
} // namespace orvane
