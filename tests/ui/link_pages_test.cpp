#include "ui_fixture.h"

#include "library/checks/element_body.h"
#include "library/checks/family_factory.h"
#include "library/ui/pages/links/page_body_skip_links.h"

#include <ctime>
#include <sstream>

namespace orvane::test {
namespace {

constexpr std::uint32_t kSkipOverBit = 0x10;

// A ferry company's page in CRLF lines: a menu of eight links before the
// article and a footer of seven; anchors and ids already on the page are
// numbers of this very moment, the names a skip-over link would take first.
std::string FerryNews(long long now)
{
    std::string page =
        "<html lang=\"en\"><head><title>Ferry news</title></head><body>\r\n"
        "<ul class=\"menu\">\r\n";
    const char* menu[] = {"Home", "Timetable", "Fares", "Harbours", "Ferries", "Groups", "Freight", "Contact"};
    for (const char* item : menu)
        page += std::string("<li><a href=\"") + item + ".html\">" + item + "</a></li>\r\n";
    page += "</ul>\r\n<h1 id=\"" + std::to_string(now) + "\">New crossings</h1>\r\n"
            "<p><a name=\"" + std::to_string(now + 1) + "\"></a>From May the ferry leaves twice an hour.</p>\r\n"
            "<p id=\"" + std::to_string(now + 2) + "\">";
    for (int i = 1; i <= 7; ++i)
        page += "<a href=\"page" + std::to_string(i) + ".html\" title=\"Page " + std::to_string(i) + "\">" +
                std::to_string(i) + "</a> | ";
    page += "</p>\r\n</body></html>\r\n";
    return page;
}

TEST_F(RepairRunTest, TheFirstRunOfLinksGetsALinkInFrontAndItsTargetAfterItsLastLinkAndUndoTakesBothOut)
{
    const long long now = static_cast<long long>(std::time(nullptr));
    const std::string original = FerryNews(now);
    ASSERT_EQ(OpenSheet(original, "LinksSkipover"), 1);
    using Page = CPageBodySkipLinks;
    auto& page = dynamic_cast<Page&>(sheet.Page(0));
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& p = w.PageWindow(0);
        EXPECT_EQ(p.Text(1001), Strings(472));
        // Only the first run, the menu, is listed and gets the link.
        EXPECT_EQ(p.ItemTexts(Page::kLinks), (std::vector<std::string>{"Home", "Timetable", "Fares", "Harbours",
                                                                        "Ferries", "Groups", "Freight", "Contact"}));
        EXPECT_TRUE(p.IsChecked(Page::kInsert));
        EXPECT_EQ(p.Text(Page::kLinkText), Strings(473));
        w.PressHelp();

        // A text of blanks names no link: the user is told and stays.
        p.Type(Page::kLinkText, "  ");
        EXPECT_TRUE(p.IsChecked(Page::kInsertOwnText));
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, Strings(474)));
        EXPECT_EQ(windows.prompt.messages[0].icon, platform::PromptIcon::Exclamation);
        EXPECT_EQ(page.Status(), pagestatus::kNotRepaired);
        EXPECT_EQ(document.Text(), original);

        // The proposed text comes back with its option; the user's own is written as text.
        p.Click(Page::kInsert);
        EXPECT_EQ(p.Text(Page::kLinkText), Strings(473));
        p.Type(Page::kLinkText, "Skip the menu & go to <news>");
        EXPECT_TRUE(p.IsChecked(Page::kInsertOwnText));
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"13-6-2.html"});
    const std::string name = page.AnchorName();
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_not_of("0123456789"), std::string::npos) << name;
    EXPECT_GT(std::stoll(name), now + 2) << "the anchor would share a name or id the page has";
    std::string repaired = original;
    const std::string lastLink = "Contact</a>";
    repaired.insert(repaired.find(lastLink) + lastLink.size(), "\r\n<a name=\"" + name + "\"></a>\r\n");
    repaired.insert(repaired.find("<a href=\"Home.html\">"),
                    "\r\n<br /><a href=\"#" + name + "\" title=\"" + Strings(475) +
                        "\">Skip the menu &amp; go to &lt;news&gt;</a><br />\r\n");
    EXPECT_EQ(document.Text(), repaired);
    // The footer's run is left: the problem is mended in part.
    EXPECT_TRUE(page.Element()->IsPartlyRepaired(kSkipOverBit));
    {
        // The next session reads the page as written: the menu can be skipped
        // now, so the run left to repair is the footer's, not the menu again.
        CHtmlDocument next(CFamilyElementFactory::Instance());
        next.Start(1, false);
        next.SetName("/site/forms/page.html");
        std::istringstream in{repaired};
        ASSERT_EQ(next.Load(in), 1);
        RunCheckPass(next, settings, nullptr);
        const Page::Run left = Page::FindFirstRun(next);
        ASSERT_NE(left.first, nullptr);
        EXPECT_NE(left.first->Text().find("page1.html"), std::string_view::npos) << left.first->Text();
    }

    // Back on the page, it shows what was chosen; the user says no link is needed.
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& p = w.PageWindow(0);
        EXPECT_TRUE(p.IsChecked(Page::kInsertOwnText));
        EXPECT_EQ(p.Text(Page::kLinkText), "Skip the menu & go to <news>");
        w.Click(kSkipUndo);
        EXPECT_EQ(document.Text(), original);
        EXPECT_FALSE(page.Element()->IsRepaired(kSkipOverBit, 0));
        p.Click(Page::kNotNeeded);
        EXPECT_FALSE(p.IsEnabled(Page::kLinkText));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), original);
    EXPECT_TRUE(page.Element()->IsRepaired(kSkipOverBit, 0));
    EXPECT_EQ(page.AnchorName(), name);
}

// The run's last link is never closed: an anchor after it would land inside
// it, so the problem is told without a page and the page is left as it is.
TEST_F(RepairRunTest, ARunWhoseLastLinkIsNotClosedGetsNoSkipOverLink)
{
    std::string page = "<html lang=\"en\"><head><title>Fares</title></head><body><p>";
    for (int i = 1; i <= 6; ++i)
        page += "<a href=\"" + std::to_string(i) + ".html\">" + std::to_string(i) + "</a> ";
    page += "<a href=\"7.html\">Seven and the fares for groups of more than ten</body></html>";
    EXPECT_EQ(OpenSheet(page, "LinksSkipover"), 0);
    EXPECT_EQ(sheet.ProblemsWithoutPage().size(), 1u);
    EXPECT_EQ(document.Text(), page);
}

} // namespace
} // namespace orvane::test
