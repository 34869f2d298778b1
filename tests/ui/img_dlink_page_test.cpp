#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/ui/checking_session.h"
#include "library/ui/pages/text_alternatives/page_img_dlink.h"
#include "platform/registry.h"

#include <filesystem>
#include <memory>

namespace orvane::test {
namespace {

using Page = CPageImgDLink;
constexpr std::uint32_t kImg = 44, kDLink = 0x80;

// A timetable page: the route map has its long description, but no "d" link
// after it; the map also links to the printable timetable.
constexpr char kTimetablePage[] =
    "<html lang=\"en\"><head><title>Ferry timetable</title></head><body>\r\n"
    "<h1>Ferry timetable</h1>\r\n"
    "<p><a href=\"print.html\"><img src=\"images/routes.png\" alt=\"Ferry routes\" longdesc=\"routes-desc.html\"></a>\r\n"
    "Ferries leave every hour.</p>\r\n"
    "</body></html>\r\n";

// The "d" link follows the link the map stands in: links do not nest.
constexpr char kWithDLink[] =
    "<html lang=\"en\"><head><title>Ferry timetable</title></head><body>\r\n"
    "<h1>Ferry timetable</h1>\r\n"
    "<p><a href=\"print.html\"><img src=\"images/routes.png\" alt=\"Ferry routes\" longdesc=\"routes-desc.html\"></a>"
    "<a href=\"routes-desc.html\" title=\"Long description\">d</a>\r\n"
    "Ferries leave every hour.</p>\r\n"
    "</body></html>\r\n";

TEST_F(RepairRunTest, TheDLinkPageAddsTheLinkAfterTheImageOrLeavesItOutAndUndoWritesThePageBack)
{
    ASSERT_EQ(OpenSheet(kTimetablePage, "ImageDLink"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(411));
        EXPECT_EQ(page.Text(Page::kLongDesc), "routes-desc.html");
        EXPECT_TRUE(page.IsChecked(Page::kAddLink));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), kWithDLink);

    // Undone, then left out on purpose: either way the page is as it was.
    RunSheetToFinish([&](CMemoryWindow& w) {
        w.Click(CValidatorSheet::kSkipUndoButton);
        EXPECT_EQ(document.Text(), kTimetablePage);
        w.PageWindow(0).Click(Page::kAddLink);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), kTimetablePage);

    // The page as written passes the check.
    CHtmlDocument again{CFamilyElementFactory::Instance()};
    again.Start(1, false);
    std::istringstream in{std::string(kWithDLink)};
    ASSERT_EQ(again.Load(in), 1);
    for (const CFoundProblem& problem : RunCheckPass(again, settings, nullptr))
        EXPECT_NE(problem.element->GetCheckName(problem.bit), "ImageDLink");
}

// The settings in a store of the test's own, with an entry for every check.
class DLinkSettingsTest : public RepairRunTest {
protected:
    void SetUp() override
    {
        RepairRunTest::SetUp();
        LoadSettingsOfTheTest();
    }
};

TEST_F(DLinkSettingsTest, TheDLinkIsAddedWithoutAPageWhenTheSettingsRepairItAutomatically)
{
    settings.SetAutoRepairMode(kImg, kDLink, autorepair::kOn);
    ASSERT_EQ(settings.GetAutoRepairMode(kImg, kDLink), autorepair::kOn);
    EXPECT_EQ(OpenSheet(kTimetablePage, "ImageDLink"), 0);
    EXPECT_EQ(sheet.PageCount(), 0);
    EXPECT_EQ(document.Text(), kWithDLink);

    // Unattended, as a build server runs it, the same.
    settings.SetConformanceLevel(1);
    Load(kTimetablePage);
    RunUnattendedSession(document, settings, "/site/ferries/timetable.html");
    EXPECT_EQ(document.Text(), kWithDLink);

    // Asked for instead, the link waits for the user's page.
    settings.SetAutoRepairMode(kImg, kDLink, autorepair::kOff);
    Load(kTimetablePage);
    CValidatorSheet asking;
    asking.SetSettings(&settings);
    for (const CFoundProblem& problem : found) {
        if (problem.element->GetCheckName(problem.bit) == "ImageDLink") {
            EXPECT_EQ(problem.element->AddRepairPages(asking, document, problem.bit), 1);
        }
    }
    EXPECT_EQ(document.Text(), kTimetablePage);
}

} // namespace
} // namespace orvane::test
