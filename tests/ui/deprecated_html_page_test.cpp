// The deprecated presentational markup of the lighthouse keeper's page:
// found, shown in its paragraph, and written as the modern markup that says
// the same, the way the user chooses for each item.
#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/checks/deprecated_markup.h"
#include "library/ui/pages/presentation/page_deprecated_html.h"

namespace orvane::test {
namespace {

using Page = CPageDeprecatedHtml;

std::string KeeperPage() { return ExamplePage("lighthouse-keeper.html"); }

// The keeper's page with each piece of markup replaced by what follows it.
std::string Keeper(Replacements replaced) { return ReplacedFirst(KeeperPage(), replaced); }

class DeprecatedHtmlPageTest : public RepairRunAtLevelTest<2> {
protected:
    // How many items the check reports for a body.
    int ItemsIn(std::string_view body)
    {
        Load("<html lang=\"en\"><head><title>Tea</title></head><body>" + std::string(body) + "</body></html>");
        for (const CFoundProblem& problem : found) {
            if (problem.element->GetCheckName(problem.bit) == "DeprecatedHtml")
                return static_cast<int>(Page::FindItems(document, *problem.element).size());
        }
        return 0;
    }
};

TEST_F(DeprecatedHtmlPageTest, PresentationalElementsAndAttributesWithAStyleThatSaysTheSameAreFound)
{
    const std::pair<std::string, int> cases[] = {
        {"<p><font color=\"red\">Tea</font> <u>now</u> <s>old</s> <strike>gone</strike></p>", 4},
        {"<center><basefont size=\"4\"><p align=\"right\">Tea</p></center>", 3},
        {"<p><img src=\"t.png\" alt=\"Tea\" align=\"left\" border=\"0\" hspace=\"4\" vspace=\"2\"></p>", 4},
        {"<table bgcolor=\"#eeeeee\" align=\"center\"><tr bgcolor=\"ccc\"><td nowrap>Tea</td></tr></table>", 4},
        {"<p>Tea<br clear=\"all\"></p>", 1},
        // Nothing a style could say, or said by the colour check, or not deprecated.
        {"<p align=\"bogus\">Tea</p><img src=\"t.png\" alt=\"\" border=\"thick\"><table width=\"50%\"></table>", 0},
        {"<p style=\"text-align: center\">Tea <span>now</span> <del>old</del></p>", 0},
    };
    for (const auto& [body, expected] : cases) {
        SCOPED_TRACE(body);
        EXPECT_EQ(ItemsIn(body), expected);
    }
    Load("<html lang=\"en\"><head><title>Tea</title></head><body bgcolor=\"#ffffff\"><p>Green tea</p></body></html>");
    for (const CFoundProblem& problem : found)
        EXPECT_NE(problem.element->GetCheckName(problem.bit), "DeprecatedHtml");

    namespace dm = deprecatedmarkup;
    EXPECT_EQ(dm::FontSizeKeyword("1"), "x-small");
    EXPECT_EQ(dm::FontSizeKeyword("7"), "xxx-large");
    EXPECT_EQ(dm::FontSizeKeyword("+1"), "large");
    EXPECT_EQ(dm::FontSizeKeyword("-2"), "x-small");
    EXPECT_EQ(dm::FontSizeKeyword("9"), "xxx-large");
    EXPECT_EQ(dm::FontSizeKeyword("big"), "");
    EXPECT_EQ(dm::MergeStyle("color: red;", "text-align: center; color: blue"), "color: red; text-align: center");
}

TEST_F(DeprecatedHtmlPageTest, EachItemBecomesModernMarkupAsChosenAndUndoWritesEveryByteBack)
{
    ASSERT_EQ(OpenSheet(KeeperPage(), "DeprecatedHtml"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(1112));
        EXPECT_EQ(page.ItemTexts(Page::kItems),
                  (std::vector<std::string>{"center element", "font element", "align attribute of p", "u element",
                                            "strike element"}));
        EXPECT_EQ(page.ItemTexts(Page::kItems, Page::kLineColumn),
                  (std::vector<std::string>{"14", "14", "18", "18", "21"}));
        EXPECT_EQ(page.ItemText(Page::kItems, 1, Page::kTextColumn), "The Lighthouse Keeper's Cottage");
        EXPECT_EQ(page.ItemTexts(Page::kItems, Page::kChoiceColumn),
                  (std::vector<std::string>{"Modern markup", "Modern markup", "Modern markup", "Modern markup",
                                            "Removed text (del)"}));
        EXPECT_TRUE(page.IsChecked(Page::kReplace));
        EXPECT_FALSE(page.IsEnabled(Page::kRemovedText));
        EXPECT_EQ(page.Text(Page::kModernMarkup), "<div style=\"text-align: center\">");
        page.SelectRow(Page::kItems, 1);
        EXPECT_EQ(page.Text(Page::kModernMarkup),
                  "<span style=\"font-family: Georgia, serif; font-size: x-large; color: #003366\">");
        // Shown in its paragraph, with the one after it.
        ASSERT_NE(page.Browser(Page::kPreview), nullptr);
        const std::string preview = ReadFileBytes(page.Browser(Page::kPreview)->Address());
        EXPECT_NE(preview.find("<font face=\"Georgia, serif\""), std::string::npos);
        EXPECT_NE(preview.find("home to five keepers"), std::string::npos);
        page.SelectRow(Page::kItems, 4);
        EXPECT_TRUE(page.IsEnabled(Page::kRemovedText));
        EXPECT_TRUE(page.IsChecked(Page::kRemovedText));
        EXPECT_EQ(page.Text(Page::kModernMarkup), "<del>");
        w.PressHelp();
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"11-2-1.html"});
    const std::string modern = Keeper({
        {"<center><font face=\"Georgia, serif\" size=\"5\" color=\"#003366\">The Lighthouse Keeper's Cottage</font>"
         "</center>",
         "<div style=\"text-align: center\"><span style=\"font-family: Georgia, serif; font-size: x-large; "
         "color: #003366\">The Lighthouse Keeper's Cottage</span></div>"},
        {"<p align=\"center\"><u>The cottage is open on Saturdays and Sundays from 11:00 to 16:00.</u></p>",
         "<p style=\"text-align: center\"><span style=\"text-decoration: underline\">The cottage is open on "
         "Saturdays and Sundays from 11:00 to 16:00.</span></p>"},
        {"<strike>Tours on weekdays</strike>", "<del>Tours on weekdays</del>"},
    });
    EXPECT_EQ(document.Text(), modern);
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);

    // Opened again: the struck-out words only look struck through, the
    // paragraph keeps its align, and the rest is written as before.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.SelectRow(Page::kItems, 4);
        page.Click(Page::kReplace);
        EXPECT_EQ(page.Text(Page::kModernMarkup), "<span style=\"text-decoration: line-through\">");
        page.SelectRow(Page::kItems, 2);
        page.Click(Page::kLeave);
        EXPECT_EQ(page.ItemText(Page::kItems, 2, Page::kChoiceColumn), "Stays as it is");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(),
              Keeper({
                  {"<center><font face=\"Georgia, serif\" size=\"5\" color=\"#003366\">The Lighthouse Keeper's "
                   "Cottage</font></center>",
                   "<div style=\"text-align: center\"><span style=\"font-family: Georgia, serif; font-size: "
                   "x-large; color: #003366\">The Lighthouse Keeper's Cottage</span></div>"},
                  {"<u>The cottage is open on Saturdays and Sundays from 11:00 to 16:00.</u>",
                   "<span style=\"text-decoration: underline\">The cottage is open on Saturdays and Sundays from "
                   "11:00 to 16:00.</span>"},
                  {"<strike>Tours on weekdays</strike>",
                   "<span style=\"text-decoration: line-through\">Tours on weekdays</span>"},
              }));
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kPartlyRepaired) << "the align left as it is";

    // Everything left as it is, by one choice for all: the page as it was.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.Click(Page::kLeave);
        page.Click(Page::kChoiceForAll);
        EXPECT_EQ(page.ItemTexts(Page::kItems, Page::kChoiceColumn), std::vector<std::string>(5, "Stays as it is"));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), KeeperPage());
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kNotRepaired) << "everything declined";
    EXPECT_FALSE(sheet.Page(0).Element()->IsRepaired(sheet.Page(0).CheckBit(), 0));

    // Written and then undone: every byte as it was.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.Click(Page::kReplace);
        page.Click(Page::kChoiceForAll);
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), KeeperPage());
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kNotRepaired);
}

// What no style says the same as (a size "huge") stays where it was.
TEST_F(DeprecatedHtmlPageTest, ABasefontGoesToTheBodyAndTheWayOfStrikingIsProposedInTheNextSession)
{
    const std::string page = "<html lang=\"en\">\r\n<head><title>Tea</title></head>\r\n"
                             "<body style=\"margin: 0\">\r\n<basefont face=\"Verdana\" size=\"2\">\r\n"
                             "<p align=right style=\"color: #333;\">Tea <s>at four</s> at "
                             "<font color=\"rgb(0, 51, 102)\" size=\"huge\">five</font>.</p>\r\n"
                             "</body>\r\n</html>\r\n";
    ASSERT_EQ(OpenSheet(page, "DeprecatedHtml"), 1);
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& p = w.PageWindow(0);
        EXPECT_EQ(p.Text(Page::kModernMarkup),
                  "Taken out; its font goes to the body: <body style=\"margin: 0; font-family: Verdana; "
                  "font-size: small\">");
        EXPECT_EQ(p.ItemText(Page::kItems, 1), "align attribute of p");
        p.SelectRow(Page::kItems, 2);
        p.Click(Page::kReplace);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), "<html lang=\"en\">\r\n<head><title>Tea</title></head>\r\n"
                               "<body style=\"margin: 0; font-family: Verdana; font-size: small\">\r\n\r\n"
                               "<p style=\"color: #333; text-align: right\">Tea <span style=\"text-decoration: "
                               "line-through\">at four</span> at <span size=\"huge\" style=\"color: "
                               "rgb(0, 51, 102)\">five</span>.</p>\r\n"
                               "</body>\r\n</html>\r\n");
    ASSERT_EQ(settings.Save(), 1);

    COrvaneSettings next;
    next.Load();
    EXPECT_EQ(next.GetRememberedNumber(7, 0x8), Page::kRememberedStruck);
    settings.Load();
    Load(page);
    CValidatorSheet again;
    StartSheet(again, "/site/forms/page.html");
    ASSERT_EQ(AddPages(again, [](std::string_view check) { return check == "DeprecatedHtml"; }), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& p = w.PageWindow(0);
        EXPECT_EQ(p.ItemText(Page::kItems, 2, Page::kChoiceColumn), "Modern markup");
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    again.DoModal(nullptr);
    EXPECT_EQ(document.Text(), page);
}

} // namespace
} // namespace orvane::test
