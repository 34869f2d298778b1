#include "ui_fixture.h"

#include "library/ui/pages/judgements/page_flicker.h"

#include "library/registry/object_database.h"
#include "library/html/tag_table.h"
#include "library/ui/judgement_records.h"

#include <fstream>
#include <iterator>

namespace orvane::test {
namespace {

using Page = CPageFlicker;
constexpr std::uint32_t kFlickerBit = 0x80;

// A ferry sale: a script counts down, the banner is a GIF, the slogan blinks;
// the photo of the ferry is a PNG and cannot be animated.
constexpr char kSalePage[] =
    "<html lang=\"en\"><head><title>Ferry sale</title>\n"
    "<script type=\"text/javascript\" src=\"scripts/countdown.js\"></script>\n"
    "</head><body>\n"
    "<p><img src=\"images/sale-banner.gif\" alt=\"Ferry sale: 20 % off now!\"></p>\n"
    "<p><blink>Only until Sunday!</blink> Every crossing costs less this week.</p>\n"
    "<p><img src=\"images/ferry.png\" alt=\"The ferry\"></p>\n"
    "</body></html>\n";

std::string Shown(CMemoryWindow& page)
{
    std::ifstream in(page.Browser(Page::kPreview)->Address());
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(RepairRunTest, FlickerIsJudgedByTheUserFromWhatMayFlickerAndOnlyNoFlickerCountsAsRepaired)
{
    ASSERT_EQ(OpenSheet(kSalePage, "CheckFlicker"), 1);
    CElement* html = sheet.Page(0).Element();
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(388));
        ASSERT_EQ(page.ItemCount(Page::kItems), 3);
        EXPECT_EQ(page.ItemText(Page::kItems, 0), "Script: scripts/countdown.js");
        EXPECT_EQ(page.ItemText(Page::kItems, 1), "Image that may be animated: images/sale-banner.gif");
        EXPECT_EQ(page.ItemText(Page::kItems, 2), "Blinking or moving text: Only until Sunday!");
        EXPECT_NE(Shown(page).find("&lt;script type=&quot;text/javascript&quot; src=&quot;scripts/countdown.js&quot;&gt;"),
                  std::string::npos);
        page.Choose(Page::kItems, 1);
        EXPECT_NE(Shown(page).find("/site/forms/images/sale-banner.gif"), std::string::npos) << Shown(page);
        EXPECT_FALSE(page.IsChecked(Page::kNoFlicker));
        EXPECT_FALSE(page.IsChecked(Page::kFlickers));
        page.Click(Page::kMoreHelp);

        // The user has to judge, or skip the page.
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(993)));
        EXPECT_FALSE(w.HasEnded());

        // Flicker only the author can take out leaves the problem open.
        page.Click(Page::kFlickers);
        EXPECT_EQ(page.Text(Page::kVerdict), Strings(1001));
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"7-1-1.html"});
    EXPECT_FALSE(html->IsRepaired(kFlickerBit, 1));
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kNotRepaired);

    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(w.Text(kSkipUndo), "&Skip");
        EXPECT_TRUE(page.IsChecked(Page::kFlickers));
        page.Click(Page::kNoFlicker);
        EXPECT_EQ(page.Text(Page::kVerdict), Strings(1000));
        w.Click(kIdFinish);
    });
    EXPECT_TRUE(html->IsRepaired(kFlickerBit, 1));

    // The judgement taken back: the page is to be judged again.
    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_EQ(w.Text(kSkipUndo), "&Undo");
        w.Click(kSkipUndo);
        EXPECT_FALSE(w.PageWindow(0).IsChecked(Page::kNoFlicker));
        EXPECT_EQ(w.PageWindow(0).Text(Page::kVerdict), "");
        w.PressEscape();
    });
    EXPECT_FALSE(html->IsRepaired(kFlickerBit, 1));
    EXPECT_EQ(document.Text(), kSalePage);
}

TEST_F(RepairRunTest, NothingFlickersIsRememberedForThePageAndUndoForgetsIt)
{
    LoadEmptyRegistryInFolder();
    ASSERT_EQ(OpenSheet(kSalePage, "CheckFlicker"), 1);
    CElement* html = sheet.Page(0).Element();
    RunSheetToFinish([&](CMemoryWindow& w) {
        w.PageWindow(0).Click(Page::kNoFlicker);
        w.Click(kIdFinish);
    });
    RememberVerdicts(sheet, document, registry);
    const CSrcDocument* entry = registry.FindDocument(document.Name());
    ASSERT_NE(entry, nullptr);
    const std::string key = JudgementKeyOf(document, *html, kFlickerBit);
    const CSrcJudgement* judgement = entry->FindJudgement("CheckFlicker", key);
    ASSERT_NE(judgement, nullptr);
    EXPECT_EQ(judgement->verdict, "nothing flickers");
    EXPECT_EQ(judgement->date.size(), 10u);

    // Something new that may flicker is another question.
    CHtmlDocument grown(CFamilyElementFactory::Instance());
    LoadAs(grown, document.Name(), std::string(kSalePage).insert(std::string(kSalePage).find("</body>"),
                                                                 "<p><img src=\"images/spin.gif\" alt=\"\"></p>\n"));
    const auto grownHtml = std::find_if(grown.Elements().begin(), grown.Elements().end(),
                                        [](const CElement* e) { return e->Kind() == tag::kHtml; });
    ASSERT_NE(grownHtml, grown.Elements().end());
    EXPECT_EQ(JudgementKeyOf(document, **grownHtml, kFlickerBit), key);
    EXPECT_NE(JudgementKeyOf(grown, **grownHtml, kFlickerBit), key);

    ShowSheet([&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    RememberVerdicts(sheet, document, registry);
    EXPECT_FALSE(entry->HasJudgements());
}

} // namespace
} // namespace orvane::test
