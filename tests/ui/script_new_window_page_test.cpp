// A script that opens new windows, and the elements of the page that start
// it, told of in the words the page proposes in the page's language.
#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/ui/pages/scripts/page_script_new_window.h"

#include <fstream>
#include <iterator>

namespace orvane::test {
namespace {

using Page = CPageScriptNewWindow;

std::string Shown(CMemoryWindow& page, int browser)
{
    std::ifstream in(page.Browser(browser)->Address());
    return {std::istreambuf_iterator<char>(in), {}};
}

using ScriptNewWindowPageTest = RepairRunAtLevelTest<3>;

// A German page in CRLF lines: its script opens the tide table when the page
// loads, from a link's handler and from a javascript: address; a button opens
// a window itself; the contact link's script opens none.
constexpr char kTidesPage[] =
    "<html lang=\"de\"><head><title>Gezeiten</title>\r\n"
    "<script type=\"text/javascript\">\r\n"
    "function zeigeGezeiten(adresse) {\r\n"
    "  var fenster = window.open(adresse, 'gezeiten', 'width=420');\r\n"
    "}\r\n"
    "function schliessen() { self.close(); }\r\n"
    "</script>\r\n"
    "</head><body onload=\"zeigeGezeiten('heute.html')\">\r\n"
    "<p>Vor dem Weg zum Leuchtturm die <a href=\"gezeiten.html\" onclick=\"zeigeGezeiten(this.href); return false;\">"
    "Gezeitentafel</a> lesen.</p>\r\n"
    "<form action=\"/f\"><input type=\"button\" value=\"Fahrplan und Preise\" onclick=\"window.open('fahrplan.html')\">"
    "</form>\r\n"
    "<p><a href=\"javascript:zeigeGezeiten('morgen.html')\">Morgen</a> und "
    "<a href=\"kontakt.html\" onclick=\"schliessen()\">Kontakt</a></p>\r\n"
    "</body></html>\r\n";

TEST_F(ScriptNewWindowPageTest, LinksAndButtonsThatOpenTheWindowSaySoAndTheLoadingPageIsConfirmedAnnouncedElsewhere)
{
    ASSERT_EQ(OpenSheet(kTidesPage, "ScriptSpawnNewWindow"), 1);
    auto& page = dynamic_cast<Page&>(sheet.Page(0));
    const std::string proposed = "(\xc3\xb6" "ffnet ein neues Fenster)";
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& p = w.PageWindow(0);
        EXPECT_EQ(p.Text(1001), Strings(1132));
        EXPECT_EQ(p.Text(Page::kCode), "function zeigeGezeiten(adresse) {\n"
                                       "  var fenster = window.open(adresse, 'gezeiten', 'width=420');\n}\n"
                                       "function schliessen() { self.close(); }");
        EXPECT_EQ(p.ItemTexts(Page::kTriggers), (std::vector<std::string>{"body element, onload", "Link: Gezeitentafel",
                                                                          "Button: Fahrplan und Preise", "Link: Morgen"}));
        EXPECT_EQ(p.ItemTexts(Page::kTriggers, 1), (std::vector<std::string>{Strings(1139), proposed, proposed, proposed}));
        // The body shows no text to carry the words: only the judgement is left for it.
        EXPECT_FALSE(p.IsEnabled(Page::kWords));
        EXPECT_EQ(p.Text(Page::kExplanation), Strings(1142));
        EXPECT_TRUE(p.IsVisible(Page::kElsewhere));
        w.PressHelp();

        p.SelectOnlyRows(Page::kTriggers, {1});
        EXPECT_TRUE(p.IsEnabled(Page::kWords));
        EXPECT_EQ(p.Text(Page::kWords), proposed);
        EXPECT_EQ(p.Text(Page::kExplanation), Strings(1141));
        // The link is marked out in its paragraph.
        EXPECT_NE(Shown(p, Page::kPreview).find("<p>Vor dem Weg zum Leuchtturm die <strong style=\"background-color: "
                                                "#ffff99\"><a href=\"gezeiten.html\""),
                  std::string::npos);
        EXPECT_NE(Shown(p, Page::kPreview).find("Gezeitentafel</a></strong> lesen.</p>"), std::string::npos);

        // Words of blanks tell nothing: the user is told and stays on that row.
        p.SelectOnlyRows(Page::kTriggers, {3});
        p.Type(Page::kWords, "  ");
        p.SelectOnlyRows(Page::kTriggers, {2});
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, Strings(1135)));
        EXPECT_EQ(p.SelectedRows(Page::kTriggers), std::vector<int>{3});
        EXPECT_EQ(document.Text(), kTidesPage);

        p.Type(Page::kWords, "(neues Fenster & Tab)");
        EXPECT_EQ(p.ItemText(Page::kTriggers, 3, 1), "(neues Fenster & Tab)");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"ScriptSpawnNewWindow.html"});
    std::string warned = kTidesPage;
    const auto after = [&warned](std::string_view text, std::string_view words) {
        warned.insert(warned.find(text) + text.size(), words);
    };
    // The page declares no encoding and is ASCII: the words go in as references,
    // which read the same whatever a browser takes the page for.
    const std::string written = document.PageBytes(proposed);
    EXPECT_EQ(written.find_first_of("\x80\xC3"), std::string::npos) << written;
    after("Gezeitentafel", " " + written);
    after("Fahrplan und Preise", " " + written);
    after(">Morgen", " (neues Fenster &amp; Tab)");
    EXPECT_EQ(document.Text(), warned);
    // The window still opens unannounced when the page loads.
    EXPECT_EQ(page.Status(), pagestatus::kPartlyRepaired);

    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& p = w.PageWindow(0);
        p.Click(Page::kElsewhere);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), warned);
    EXPECT_EQ(page.Status(), pagestatus::kRepaired);
    EXPECT_TRUE(page.Element()->IsRepaired(CElementScript::kNewWindowBit, 0));

    // Undo writes the page back as it was, and the judgement goes with it.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& p = w.PageWindow(0);
        w.Click(kSkipUndo);
        EXPECT_EQ(document.Text(), kTidesPage);
        EXPECT_FALSE(p.IsChecked(Page::kElsewhere));
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kTidesPage);
    EXPECT_EQ(page.Status(), pagestatus::kNotRepaired);
}

// A window the script opens by itself has no element to carry the words.
TEST_F(ScriptNewWindowPageTest, AWindowOpenedByTheScriptAloneIsOnlyConfirmedAnnouncedElsewhere)
{
    const std::string original =
        "<html lang=\"en\"><head><title>Offers</title></head><body>\n"
        "<script type=\"text/javascript\">window.open('offer.html', 'offer');</script>\n"
        "<p>This week's offers.</p>\n</body></html>\n";
    ASSERT_EQ(OpenSheet(original, "ScriptSpawnNewWindow"), 1);
    auto& page = dynamic_cast<Page&>(sheet.Page(0));
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& p = w.PageWindow(0);
        EXPECT_EQ(p.ItemCount(Page::kTriggers), 0);
        EXPECT_EQ(p.Text(Page::kExplanation), Strings(1140));
        EXPECT_FALSE(p.IsEnabled(Page::kWords));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(page.Status(), pagestatus::kNotRepaired);
    RunSheetToFinish([&](CMemoryWindow& w) {
        w.PageWindow(0).Click(Page::kElsewhere);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(page.Status(), pagestatus::kRepaired);
    EXPECT_EQ(document.Text(), original);
}

} // namespace
} // namespace orvane::test
