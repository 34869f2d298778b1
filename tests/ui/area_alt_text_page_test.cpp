#include "ui_fixture.h"

#include "library/checks/element_area.h"
#include "library/checks/repair_pages.h"
#include "library/html/tag_table.h"
#include "library/ui/pages/text_alternatives/page_area_alt_text.h"

namespace orvane::test {
namespace {

using Page = CPageAreaAltText;

// A harbour map whose areas lead to the ferries and the market; the third
// marks the lighthouse and leads nowhere.
constexpr char kHarbourMap[] =
    "<html><body>\r\n"
    "<p><img src=\"images/harbour-map.png\" alt=\"Map of the harbour\" usemap=\"#harbour\" width=\"300\" height=\"200\"></p>\r\n"
    "<map name=\"harbour\">\r\n"
    "<area shape=\"rect\" coords=\"10,10,120,80\" href=\"ferries.html\">\r\n"
    "<AREA SHAPE=circle COORDS=\"200, 60, 30\" HREF=\"market.html\" ALT=\"\">\r\n"
    "<area shape=\"poly\" coords=\"250,150,280,190,220,190\" nohref>\r\n"
    "</map>\r\n"
    "<p><a href=\"ferries.html\">Ferries</a> | <a href=\"market.html\">Fish market</a></p>\r\n"
    "<p>Fresh every morning at the <a href=\"market.html\">Fish\r\n  market</a>.</p>\r\n"
    "</body></html>\r\n";

// No check of an area opens this page on its own: the areas ask for it here
// as a map's check would, one page per area.
TEST_F(RepairRunTest, AnAreaGetsTheTextTheUserGivesAndIsShownByItsLinkAndShapeAndUndoWritesThePageAsItWas)
{
    Load(kHarbourMap);
    StartSheet();
    int added = 0;
    for (CElement* element : document.Elements()) {
        if (element->Kind() != tag::kArea)
            continue;
        auto& area = dynamic_cast<CElementArea&>(*element);
        RepairPageRequest request{"CPageAreaAltText", area, CElementArea::kAltTextBit, document};
        ASSERT_TRUE(area.PrepareRepairPage(request));
        added += RepairPageFactory()->AddPage(sheet, request);
    }
    ASSERT_EQ(added, 3);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& ferries = w.PageWindow(0);
        EXPECT_EQ(ferries.Text(1001), Strings(136));
        EXPECT_EQ(ferries.Text(Page::kLinkTarget), "ferries.html");
        EXPECT_EQ(ferries.Text(Page::kShape), "Rectangle from (10, 10) to (120, 80)");
        EXPECT_EQ(ferries.Text(Page::kText), "");
        // The page's own link to the ferries is offered.
        EXPECT_EQ(ferries.ItemTexts(Page::kText), std::vector<std::string>{"Ferries"});
        EXPECT_EQ(w.Text(kSkipUndo), "&Skip");
        w.PressHelp();

        // Nothing, or blanks only, would leave the link without a name: the user is told and stays.
        w.Click(kIdNext);
        ferries.Type(Page::kText, "  ");
        w.Click(kIdNext);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_EQ(windows.prompt.messages.size(), 2u);
        EXPECT_EQ(windows.prompt.messages[0].text, Strings(102));
        EXPECT_EQ(windows.prompt.messages[1].text, Strings(102));
        EXPECT_EQ(windows.prompt.messages[1].icon, platform::PromptIcon::Exclamation);
        EXPECT_EQ(document.Text(), kHarbourMap);
        ferries.Type(Page::kText, "Ferry timetable");
        w.Click(kIdNext);

        CMemoryWindow& market = w.PageWindow(1);
        EXPECT_EQ(market.Text(Page::kLinkTarget), "market.html");
        EXPECT_EQ(market.Text(Page::kShape), "Circle around (200, 60) with a radius of 30");
        ASSERT_EQ(market.ItemTexts(Page::kText), std::vector<std::string>{"Fish market"});
        market.Choose(Page::kText, 0);
        w.Click(kIdNext);

        CMemoryWindow& lighthouse = w.PageWindow(2);
        EXPECT_EQ(lighthouse.Text(Page::kLinkTarget), Strings(760));
        EXPECT_EQ(lighthouse.Text(Page::kShape), "Polygon with 3 corners, the first at (250, 150)");
        EXPECT_TRUE(lighthouse.ItemTexts(Page::kText).empty());
        lighthouse.Type(Page::kText, "Lighthouse");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(windows.prompt.messages.size(), 2u);
    ExpectHelpShown({"1-1-9.html"});
    EXPECT_EQ(document.Text(),
              "<html><body>\r\n"
              "<p><img src=\"images/harbour-map.png\" alt=\"Map of the harbour\" usemap=\"#harbour\" width=\"300\" height=\"200\"></p>\r\n"
              "<map name=\"harbour\">\r\n"
              "<area shape=\"rect\" coords=\"10,10,120,80\" href=\"ferries.html\" alt=\"Ferry timetable\">\r\n"
              "<AREA SHAPE=\"circle\" COORDS=\"200, 60, 30\" HREF=\"market.html\" ALT=\"Fish market\">\r\n"
              "<area shape=\"poly\" coords=\"250,150,280,190,220,190\" nohref alt=\"Lighthouse\">\r\n"
              "</map>\r\n"
              "<p><a href=\"ferries.html\">Ferries</a> | <a href=\"market.html\">Fish market</a></p>\r\n"
              "<p>Fresh every morning at the <a href=\"market.html\">Fish\r\n  market</a>.</p>\r\n"
              "</body></html>\r\n");

    // Undone page by page, the page is as it was; a page undone shows its Skip again.
    ShowSheet([&](CMemoryWindow& w) {
        for (int page = 0; page < 3; ++page) {
            EXPECT_EQ(w.Text(kSkipUndo), "&Undo") << page;
            w.Click(kSkipUndo);
            EXPECT_EQ(w.Text(kSkipUndo), "&Skip") << page;
            EXPECT_EQ(w.PageWindow(page).Text(Page::kText), "") << page;
            if (page < 2)
                w.Click(kSkipUndo);
        }
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kHarbourMap);
}

// The part of the image an area covers, in words, for each way of writing it.
TEST_F(RepairRunTest, AnAreasShapeIsToldInWordsAndShownAsWrittenWhenItsCoordinatesDoNotFit)
{
    Load("<map name=\"m\"><area coords=\"0,0,5,5\"><area shape=\"default\"><area shape=\"circle\" coords=\"1,2\">"
         "<area shape=\"star\" coords=\"1,2,3\"><area shape=\"rect\" coords=\"1,x,3,4\"></map>");
    std::vector<std::string> shapes;
    for (CElement* element : document.Elements()) {
        if (element->Kind() == tag::kArea)
            shapes.push_back(dynamic_cast<CElementArea&>(*element).ShapeText());
    }
    EXPECT_EQ(shapes, (std::vector<std::string>{"Rectangle from (0, 0) to (5, 5)", "The whole image",
                                                "Shape \"circle\" with the coordinates \"1,2\"",
                                                "Shape \"star\" with the coordinates \"1,2,3\"",
                                                "Shape \"rect\" with the coordinates \"1,x,3,4\""}));
}

} // namespace
} // namespace orvane::test
