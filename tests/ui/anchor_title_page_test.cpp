// Links whose texts do not tell their targets apart, given titles that do,
// proposed from the pages they lead to.
#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/ui/pages/links/page_anchor_textlink.h"
#include "library/ui/pages/links/page_anchor_title.h"

#include <fstream>

namespace orvane::test {
namespace {

using Page = CPageAnchorTitle;

class AnchorTitlePageTest : public RepairRunAtLevelTest<3> {
protected:
    void Write(std::string_view name, std::string_view content) const
    {
        std::ofstream(InFolder(name), std::ios::binary) << content;
    }
};

// Three "More" links to different places, and a "click here" that has a
// title already; the last link's text says where it leads.
constexpr char kEventsPage[] =
    "<html lang=\"en\"><head><title>Events</title></head><body>\n"
    "<h2>Regatta</h2>\n<p>Boats race round the light. <a href=\"regatta.html\">More</a></p>\n"
    "<h2>Market</h2>\n<p>Fish on the quay. <a href=\"market.html#friday\">More</a></p>\n"
    "<p>Lights in December. <a href=\"http://lights.example.org/2026/\">More</a></p>\n"
    "<p><a href=\"tides.html\" title=\"Tides\">click here</a> for the tides.</p>\n"
    "<p><a href=\"contact.html\">Contact the harbour office</a></p>\n"
    "</body></html>\n";

TEST_F(AnchorTitlePageTest, LinksThatSayNothingByThemselvesGetTitlesNamingTheirTargetsAndUndoTakesThemBack)
{
    Write("regatta.html", "<html><head><title>Regatta &amp; races</title></head><body></body></html>");
    Write("market.html", "<html><head><title>\n  Fish\n  market </title></head><body></body></html>");
    Load(kEventsPage);
    StartSheet(sheet, InFolder("events.html"));
    ASSERT_EQ(AddPages("TextLinks"), 2);
    ASSERT_NE(dynamic_cast<CPageAnchorTextlink*>(&sheet.Page(0)), nullptr);
    auto& page = dynamic_cast<Page&>(sheet.Page(1));
    RunSheetToFinish([&](CMemoryWindow& w) {
        w.Click(kIdNext);
        ASSERT_EQ(w.CurrentPage(), 1);
        CMemoryWindow& p = w.PageWindow(1);
        EXPECT_EQ(p.Text(1001), Strings(1145));
        EXPECT_EQ(p.ItemTexts(Page::kLinks), (std::vector<std::string>{"More", "More", "More", "click here"}));
        EXPECT_EQ(p.ItemTexts(Page::kLinks, Page::kColumnTarget),
                  (std::vector<std::string>{"regatta.html", "market.html#friday", "http://lights.example.org/2026/",
                                            "tides.html"}));
        // The titles of the pages linked, else the last part of the address;
        // a title the link has already stays proposed.
        EXPECT_EQ(p.ItemTexts(Page::kLinks, Page::kColumnTitle),
                  (std::vector<std::string>{"Regatta & races", "Fish market", "2026", "Tides"}));
        EXPECT_EQ(p.Text(Page::kTitle), "Regatta & races");
        EXPECT_EQ(p.Text(Page::kExplanation), Strings(1146));
        w.PressHelp();

        // A title that says what the text says tells nothing more: the user stays.
        p.SelectOnlyRows(Page::kLinks, {3});
        EXPECT_EQ(p.Text(Page::kTitle), "Tides");
        p.Type(Page::kTitle, "Click here");
        p.SelectOnlyRows(Page::kLinks, {0});
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 1);
        ASSERT_TRUE(ToldLast(1, Strings(1148)));
        EXPECT_EQ(p.SelectedRows(Page::kLinks), std::vector<int>{3});
        EXPECT_EQ(document.Text(), kEventsPage);

        p.Type(Page::kTitle, "Tide table for the causeway");
        p.SelectOnlyRows(Page::kLinks, {2});
        p.Type(Page::kTitle, "Harbour lights & boats");
        EXPECT_EQ(p.ItemText(Page::kLinks, 2, Page::kColumnTitle), "Harbour lights & boats");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"a1hlp.html"});
    const std::string titled =
        "<html lang=\"en\"><head><title>Events</title></head><body>\n"
        "<h2>Regatta</h2>\n<p>Boats race round the light. <a href=\"regatta.html\" title=\"Regatta &amp; races\">More</a></p>\n"
        "<h2>Market</h2>\n<p>Fish on the quay. <a href=\"market.html#friday\" title=\"Fish market\">More</a></p>\n"
        "<p>Lights in December. <a href=\"http://lights.example.org/2026/\" title=\"Harbour lights &amp; boats\">"
        "More</a></p>\n"
        "<p><a href=\"tides.html\" title=\"Tide table for the causeway\">click here</a> for the tides.</p>\n"
        "<p><a href=\"contact.html\">Contact the harbour office</a></p>\n"
        "</body></html>\n";
    EXPECT_EQ(document.Text(), titled);
    EXPECT_EQ(page.Status(), pagestatus::kRepaired);

    // Undo takes every title back; the page is written as it came.
    ShowSheet([&](CMemoryWindow& w) {
        if (w.CurrentPage() != 1)
            w.Click(kIdNext);
        ASSERT_EQ(w.CurrentPage(), 1);
        EXPECT_EQ(w.PageWindow(1).ItemText(Page::kLinks, 3, Page::kColumnTitle), "Tide table for the causeway");
        w.Click(kSkipUndo);
        EXPECT_EQ(document.Text(), kEventsPage);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kEventsPage);
    EXPECT_EQ(page.Status(), pagestatus::kNotRepaired);
}

// Links whose texts tell where they lead need no titles: no page is added.
TEST_F(AnchorTitlePageTest, APageWhoseLinkTextsSayWhereTheyLeadGetsNoTitlePage)
{
    Load("<html lang=\"en\"><body><p><a href=\"fares.html\">Fares</a> and <a href=\"times.html\">Times</a></p>"
         "</body></html>");
    StartSheet();
    ASSERT_EQ(AddPages("TextLinks"), 1);
    EXPECT_EQ(sheet.FindPage(*sheet.Page(0).Element(), "CPageAnchorTitle"), nullptr);
}

} // namespace
} // namespace orvane::test
