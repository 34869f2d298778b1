#include "ui_fixture.h"

#include "library/ui/pages/links/page_anchor_textlink.h"

#include <fstream>
#include <iterator>

namespace orvane::test {
namespace {

using Page = CPageAnchorTextlink;

constexpr char kSixty[] = "Timetables of the north, south and west routes for summer 26";
constexpr char kSixtyOne[] = "Timetables of the north, south and west routes for summer '26";
static_assert(sizeof(kSixty) == 61 && sizeof(kSixtyOne) == 62);

// An island ferry's front page, its links as such pages have them.
const std::string kFerryPage = std::string(
    "<html lang=\"en\"><head><title>Island ferries</title></head><body>\r\n"
    "<h1>Island ferries</h1>\r\n"
    "<p>The summer timetables are out. <a href=\"timetable.html\">Click Here</a></p>\r\n"
    "<ul>\r\n"
    "<li><a href=\"north.html\">Details</a> of the north route</li>\r\n"
    "<li><a href=\"south.html\">Details</a> of the south route</li>\r\n"
    "<li><a href=\"Fares.html\">Fares</a> and <a href=\"fares.html\">fares\r\nfor groups</a> and <a href=\"FARES.HTML\">fares for\r\ngroups</a></li>\r\n"
    "</ul>\r\n"
    "<p><a name=\"top\"></a><a href=\"tickets.html\"><img src=\"ticket.png\" alt=\"Tickets\"></a>\r\n"
    "<a href=\"map.html\"><img src=\"map.png\" alt=\"\"> Harbour map</a></p>\r\n"
    "<p><a href=\"news.html\">click here now</a> <a href=\"s.html\">") + kSixty + "</a> <a href=\"l.html\">" +
    kSixtyOne + "</a></p>\r\n"
    "<p><img src=\"chart.png\" alt=\"Crossings\" longdesc=\"chart.html\"><a href=\"chart.html\">[d]</a> "
    "<a href=\"x.html\">[ d ]</a> <a href=\"empty.html\"></a></p>\r\n"
    "</body></html>\r\n";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(RepairRunTest, EveryTextLinkIsListedAndMarkedAndARewrittenTextReplacesOnlyTheLinksTextUntilUndone)
{
    Load(kFerryPage);
    StartSheet();
    // The review, and after it the titles of the links whose texts stay
    // alike, passed over here: the titles have a test of their own.
    ASSERT_EQ(AddPages("TextLinks"), 2);
    sheet.Page(1).SetSkip(true);
    std::string rewritten = Replaced(kFerryPage, ">Click Here<", ">Summer timetables<");
    rewritten = Replaced(rewritten, ">Details</a> of the north", ">North &lt;route&gt; &amp; fares &amp; times</a> of the north");
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& links = w.PageWindow(0);
        EXPECT_EQ(links.Text(1001), Strings(402));
        EXPECT_EQ(links.Columns(Page::kLinks).at(0).title, Strings(404));
        // Named anchors and links named by their picture alone are not listed.
        EXPECT_EQ(links.ItemTexts(Page::kLinks),
                  (std::vector<std::string>{"Click Here", "Details", "Details", "Fares", "fares for groups",
                                            "fares for groups", "Harbour map", "click here now", kSixty, kSixtyOne,
                                            "[d]", "[ d ]", ""}));
        auto explanations = [&] {
            std::vector<std::string> shown;
            for (int row = 0; row < links.ItemCount(Page::kLinks); ++row) {
                links.SelectOnlyRows(Page::kLinks, {row});
                shown.push_back(links.Text(Page::kExplanation));
            }
            return shown;
        };
        // Only a link to another target makes a shared text ambiguous; targets
        // differing in case only are one, and the whole text must say nothing.
        const std::vector<int> classes = {2, 3, 3, 0, 0, 0, 0, 0, 0, 1, 5, 0, 4};
        std::vector<std::string> expected;
        for (int linkClass : classes)
            expected.push_back(Strings(405 + linkClass));
        EXPECT_EQ(explanations(), expected);
        for (int row = 0; row < 13; ++row) {
            const bool fine = classes[row] == 0 || classes[row] == 5;
            EXPECT_EQ(links.ItemIcon(Page::kLinks, row), fine ? Page::kIconFine : Page::kIconReview) << row;
            EXPECT_EQ(links.ItemStateText(Page::kLinks, row), Strings(fine ? 910 : 911)) << row;
        }

        // The selected link: where it leads, and its block with it marked out.
        links.SelectOnlyRows(Page::kLinks, {1});
        EXPECT_EQ(links.Text(Page::kTarget), "north.html");
        EXPECT_EQ(links.Text(Page::kLinkText), "Details");
        const std::string preview = ReadFile(links.Browser(Page::kPreview)->Address());
        EXPECT_EQ(preview, "<html><head><meta charset=\"UTF-8\"></head><body><p><ul>\r\n<li><strong style=\"background-color: #ffff99\">"
                           "<a href=\"north.html\">Details</a></strong> of the north route</li>\r\n"
                           "<li><a href=\"south.html\">Details</a> of the south route</li>\r\n"
                           "<li><a href=\"Fares.html\">Fares</a> and <a href=\"fares.html\">fares\r\nfor groups</a> "
                           "and <a href=\"FARES.HTML\">fares for\r\ngroups</a></li>\r\n</ul></p></body></html>");

        // In place, twice: the page keeps one text in the link's place.
        links.EditRowInPlace(Page::kLinks, 0, "Summer timetable and fares");
        EXPECT_EQ(links.Text(Page::kExplanation), Strings(405));
        links.EditRowInPlace(Page::kLinks, 0, "Summer timetables");
        EXPECT_EQ(links.ItemIcon(Page::kLinks, 0), Page::kIconFine);
        // In the field: what is typed is written as text, never as markup,
        // and a reference typed on purpose stays one; the list shows it as read.
        links.SelectOnlyRows(Page::kLinks, {1});
        links.Type(Page::kLinkText, "North <route> & fares &amp; times");
        links.Click(Page::kChange);
        EXPECT_EQ(links.ItemText(Page::kLinks, 1), "North <route> & fares & times");
        EXPECT_EQ(links.ItemIcon(Page::kLinks, 2), Page::kIconFine);
        EXPECT_EQ(document.Text(), rewritten);

        // A link cannot be left without a text: the user is told, the text kept.
        links.EditRowInPlace(Page::kLinks, 3, "   ");
        links.SelectOnlyRows(Page::kLinks, {4});
        links.Type(Page::kLinkText, "");
        links.Click(Page::kChange);
        ASSERT_TRUE(ToldLast(2, Strings(912)));
        EXPECT_EQ(links.ItemText(Page::kLinks, 3), "Fares");
        EXPECT_EQ(links.Text(Page::kLinkText), "fares for groups");
        EXPECT_EQ(links.FocusedControl(), Page::kLinkText);
        EXPECT_EQ(document.Text(), rewritten);
        w.PressHelp();
        // A text typed in the field is not lost by moving on without Change.
        links.Type(Page::kLinkText, "Fares for groups of ten or more");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"13-1-1.html"});
    rewritten = Replaced(rewritten, ">fares\r\nfor groups<", ">Fares for groups of ten or more<");
    EXPECT_EQ(document.Text(), rewritten);

    // Opened again, the page shows the texts as rewritten; undo writes the page as it was.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& links = w.PageWindow(0);
        EXPECT_EQ(links.ItemText(Page::kLinks, 0), "Summer timetables");
        w.Click(kSkipUndo);
        EXPECT_EQ(links.ItemText(Page::kLinks, 0), "Click Here");
        EXPECT_EQ(links.ItemText(Page::kLinks, 1), "Details");
        EXPECT_EQ(links.ItemIcon(Page::kLinks, 1), Page::kIconReview);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kFerryPage);
}

// Links loose after a paragraph, a long index in one list, and a page whose
// links are all pictures.
TEST_F(RepairRunTest, ALinksBlockIsPreviewedWithTheLinkInItAndAPageOfPictureLinksSaysWhyNothingIsListed)
{
    std::string index = "<html lang=\"en\"><body>\n<p>Write to us:</p>\n<a href=\"mail.html\">Contact</a>\n<ul>\n";
    for (int i = 0; i < 300; ++i)
        index += "<li><a href=\"r" + std::to_string(i) + ".html\">Route " + std::to_string(i) + "</a></li>\n";
    index += "</ul>\n</body></html>\n";
    ASSERT_EQ(OpenSheet(index, "TextLinks"), 1);
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& links = w.PageWindow(0);
        ASSERT_EQ(links.ItemCount(Page::kLinks), 301);
        // The paragraph ended before the link: the preview goes on to the link.
        EXPECT_EQ(ReadFile(links.Browser(Page::kPreview)->Address()),
                  "<html><head><meta charset=\"UTF-8\"></head><body><p><p>Write to us:</p>\n<strong style=\"background-color: #ffff99\">"
                  "<a href=\"mail.html\">Contact</a></strong></p></body></html>");
        // Of three hundred routes, the list's start and the link's neighbours.
        links.SelectOnlyRows(Page::kLinks, {151});
        const std::string preview = ReadFile(links.Browser(Page::kPreview)->Address());
        EXPECT_EQ(preview.rfind("<html><head><meta charset=\"UTF-8\"></head><body><p><ul><li><a href=\"r140.html\">", 0), 0u) << preview.substr(0, 80);
        EXPECT_NE(preview.find("<strong style=\"background-color: #ffff99\"><a href=\"r150.html\">Route 150</a>"),
                  std::string::npos);
        EXPECT_EQ(preview.find(">Route 10<"), std::string::npos);
        EXPECT_NE(preview.find("<a href=\"r160.html\">Route 160</a></li></ul></p></body></html>"), std::string::npos);
        EXPECT_LT(preview.size(), 2000u);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), index);

    // Picture links are named by their images' text alternatives: the page says so.
    const std::string pictures = "<html lang=\"en\"><body><p><a href=\"index.html\"><img src=\"home.png\" "
                                 "alt=\"Home\"></a> <a href=\"map.html\"><img src=\"map.png\" alt=\"Map\"></a></p>"
                                 "</body></html>";
    Load(pictures);
    CValidatorSheet run;
    StartSheet(run, "/site/forms/page.html");
    ASSERT_EQ(AddPages(run, [](std::string_view check) { return check == "TextLinks"; }), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& links = w.PageWindow(0);
        EXPECT_EQ(links.ItemCount(Page::kLinks), 0);
        EXPECT_EQ(links.Text(Page::kExplanation), Strings(913));
        EXPECT_FALSE(links.IsEnabled(Page::kChange));
        EXPECT_FALSE(links.IsEnabled(Page::kLinkText));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(run.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(document.Text(), pictures);
}

} // namespace
} // namespace orvane::test
