// The pages that replace markup used for its look: a heading that only
// formats, a list that only indents, and blinking or scrolling text, on the
// island ferries' summer offers page, as the user repairs them.
#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/ui/checking_session.h"
#include "library/ui/pages/presentation/page_blink.h"
#include "library/ui/pages/presentation/page_header_format.h"
#include "library/ui/pages/presentation/page_list_format.h"
#include "platform/registry.h"

#include <filesystem>

namespace orvane::test {
namespace {

constexpr int kBlinkFamily = 11;
constexpr std::uint32_t kBlinkBit = 0x1;

std::string OffersPage() { return ExamplePage("offers.html"); }

// The offers page with each piece of markup replaced, in page order.
std::string Offers(Replacements replacements) { return ReplacedInPageOrder(OffersPage(), replacements); }

bool IsListCheck(std::string_view check) { return check == "ListForFormat"; }
bool IsBlinkCheck(std::string_view check) { return check == "BlinkMarquee"; }

constexpr std::string_view kHeadingStart = "<h2 class=\"notice\">";

// The checks count at level AA; the settings live in a store of the test's own.
using PresentationPageTest = RepairRunAtLevelTest<2>;

TEST_F(PresentationPageTest, AHeadingThatOnlyFormatsBecomesTheChosenMarkupIsKeptOnRequestAndUndone)
{
    ASSERT_EQ(OpenSheet(OffersPage(), "HeaderFormatting"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(400));
        EXPECT_EQ(page.Text(CPageHeaderFormat::kHeadingText).substr(0, 26), "Children under six travel ");
        EXPECT_TRUE(page.IsChecked(CPageHeaderFormat::kReplace));
        EXPECT_EQ(page.ItemTexts(CPageHeaderFormat::kReplacement),
                  (std::vector<std::string>{"Paragraph (p)", "Quotation block (blockquote)", "Strong emphasis (strong)",
                                            "Emphasis (em)", "Span with a style (span)"}));
        EXPECT_EQ(page.CurrentItem(CPageHeaderFormat::kReplacement), 0);
        // The style is for a span only.
        EXPECT_FALSE(page.IsEnabled(CPageHeaderFormat::kStyle));
        EXPECT_FALSE(page.IsEnabled(CPageHeaderFormat::kStyleLabel));
        page.Choose(CPageHeaderFormat::kReplacement, CPageHeaderFormat::kSpanIndex);
        EXPECT_TRUE(page.IsEnabled(CPageHeaderFormat::kStyle));
        EXPECT_EQ(page.Text(CPageHeaderFormat::kStyle), "style=\"font-family: arial; font-size: 20pt;\"");

        // A style that would end the tag keeps the user on the page.
        page.Type(CPageHeaderFormat::kStyle, "style=\"font-weight: bold\"><b");
        w.Click(kIdFinish);
        EXPECT_FALSE(w.HasEnded());
        ASSERT_TRUE(ToldLast(1, Strings(821)));
        page.Type(CPageHeaderFormat::kStyle, "style=\"font-weight: bold;\"");
        w.PressHelp();
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"3-5-3.html"});
    EXPECT_EQ(document.Text(), Offers({{kHeadingStart, "<span class=\"notice\" style=\"font-weight: bold;\">"},
                                       {"season</h2>", "season</span>"}}));

    // Opened again: the choice is shown; a quotation instead, then kept after all.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.CurrentItem(CPageHeaderFormat::kReplacement), CPageHeaderFormat::kSpanIndex);
        EXPECT_EQ(page.Text(CPageHeaderFormat::kStyle), "style=\"font-weight: bold;\"");
        page.Choose(CPageHeaderFormat::kReplacement, 1);
        EXPECT_FALSE(page.IsEnabled(CPageHeaderFormat::kStyle));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), Offers({{kHeadingStart, "<blockquote class=\"notice\">"}, {"season</h2>", "season</blockquote>"}}));
    ShowSheet([&](CMemoryWindow& w) {
        w.PageWindow(0).Click(CPageHeaderFormat::kKeep);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), OffersPage());
    EXPECT_TRUE(sheet.Page(0).Element()->IsRepaired(0x1, 0));

    // Undo after a replacement writes the page as it was.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.Click(CPageHeaderFormat::kReplace);
        page.Choose(CPageHeaderFormat::kReplacement, 3);
        w.Click(kIdFinish);
    });
    ExpectWrittenThenUndone(OffersPage(), Offers({{kHeadingStart, "<em class=\"notice\">"}, {"season</h2>", "season</em>"}}));
    EXPECT_FALSE(sheet.Page(0).Element()->IsRepaired(0x1, 0));
}

TEST_F(PresentationPageTest, AListThatOnlyIndentsBecomesAnIndentedSpanWithoutItsItemAndIsWrittenBackExactly)
{
    ASSERT_EQ(OpenSheet(OffersPage(), "ListForFormat"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(422));
        EXPECT_TRUE(page.IsChecked(CPageListFormat::kReplace));
        EXPECT_FALSE(page.IsChecked(CPageListFormat::kKeep));
        ASSERT_EQ(page.ItemCount(CPageListFormat::kIndentation), CPageListFormat::kIndentations);
        EXPECT_EQ(page.ItemText(CPageListFormat::kIndentation, page.CurrentItem(CPageListFormat::kIndentation)),
                  "2 em");
        page.Choose(CPageListFormat::kIndentation, 2);
        w.PressHelp();
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"3-6-1.html"});
    const std::string indented = Offers({{"<ul>", "<span style=\"margin-left: 3em;\">"},
                                         {"<li>", ""},
                                         {"</ul>", "</span>"}});
    EXPECT_EQ(document.Text(), indented);

    // Kept after all: the list stands as it stood, byte for byte.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.CurrentItem(CPageListFormat::kIndentation), 2);
        page.Click(CPageListFormat::kKeep);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), OffersPage());

    // Indented again and undone.
    ShowSheet([&](CMemoryWindow& w) {
        w.PageWindow(0).Click(CPageListFormat::kReplace);
        w.Click(kIdFinish);
    });
    ExpectWrittenThenUndone(OffersPage(), indented);
    EXPECT_FALSE(sheet.Page(0).Element()->IsRepaired(0x1, 0));

    // Closed items lose their end tags with them, and a definition list
    // gives up every definition it indents with; a list inside keeps its own.
    constexpr char kTimetable[] = "<html lang=\"en\"><body>\n"
                                  "<ol type=\"i\">\n  <li>Only one offer this week</li>\n</ol>\n"
                                  "<dl><dd>Ferries leave every hour.</dd><dd>Tickets are sold on the pier.</dd>"
                                  "<dd><ul><li>Cash or card</li></ul></dd></dl>\n"
                                  "</body></html>\n";
    Load(kTimetable);
    CValidatorSheet timetable;
    StartSheet(timetable, "/site/forms/page.html");
    ASSERT_EQ(AddPages(timetable, IsListCheck), 3);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        w.Click(platform::kIdNext);
        w.PageWindow(1).Choose(CPageListFormat::kIndentation, 0);
        w.Click(platform::kIdNext);
        w.PageWindow(2).Click(CPageListFormat::kKeep);
        w.Click(kIdFinish);
    });
    timetable.DoModal(nullptr);
    EXPECT_EQ(document.Text(), "<html lang=\"en\"><body>\n"
                               "<span style=\"margin-left: 2em;\">\n  Only one offer this week\n</span>\n"
                               "<span style=\"margin-left: 1em;\">Ferries leave every hour.Tickets are sold on the pier."
                               "<ul><li>Cash or card</li></ul></span>\n"
                               "</body></html>\n");
}

// The markup an automatic repair of every blinking text of the offers page gives.
std::string RepairedAutomatically(COrvaneSettings& settings)
{
    CHtmlDocument page{CFamilyElementFactory::Instance()};
    page.Start(1, false);
    std::istringstream in{OffersPage()};
    EXPECT_EQ(page.Load(in), 1);
    const std::vector<CFoundProblem> found = RunCheckPass(page, settings, nullptr);
    CValidatorSheet run;
    run.SetSettings(&settings);
    run.SetDocumentPath("/site/offers.html");
    const int mode = settings.GetAutoRepairMode(kBlinkFamily, kBlinkBit);
    settings.SetAutoRepairMode(kBlinkFamily, kBlinkBit, 1);
    int pages = 0;
    for (const CFoundProblem& problem : found) {
        if (problem.element->GetCheckName(problem.bit) == "BlinkMarquee") {
            pages += problem.element->AddRepairPages(run, page, problem.bit);
            EXPECT_TRUE(problem.element->IsRepaired(problem.bit, 0));
        }
    }
    settings.SetAutoRepairMode(kBlinkFamily, kBlinkBit, mode);
    EXPECT_EQ(pages, 0);
    return page.Text();
}

TEST_F(PresentationPageTest, BlinkPagesMergeAndTheirDefaultsGiveWhatTheAutomaticRepairGives)
{
    const std::string plain = Offers({{"<marquee behavior=\"scroll\">", ""},
                                      {"</marquee>", ""},
                                      {"<blink>", ""},
                                      {"</blink>", ""}});
    ASSERT_EQ(OpenSheet(OffersPage(), "BlinkMarquee"), 2);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(179));
        EXPECT_EQ(page.Text(CPageBlink::kBlinkingText), "Early booking: 20 % off every crossing until the end of May!");
        // Nothing remembered: the effect is removed; strong is offered as the tag.
        EXPECT_TRUE(page.IsChecked(CPageBlink::kRemove));
        EXPECT_TRUE(page.IsChecked(CPageBlink::kProposeRemoving));
        EXPECT_EQ(page.Text(CPageBlink::kTag), "strong");
        EXPECT_FALSE(page.IsEnabled(CPageBlink::kAttributes));
        // The blink of the page is taken care of by this page.
        EXPECT_TRUE(w.IsVisible(kOption));
        EXPECT_TRUE(w.IsChecked(kOption));
        EXPECT_TRUE(sheet.Page(1).IsSkipped());
        w.PressHelp();
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"7-2-1.html"});
    EXPECT_EQ(document.Text(), plain);
    EXPECT_EQ(RepairedAutomatically(settings), plain);

    // Undo gives both texts their effect back.
    UndoOnSheet();
    EXPECT_EQ(document.Text(), OffersPage());

    // With a replacement remembered, the page's proposal and the automatic
    // repair agree again: a span with its attributes.
    settings.SetRememberedNumber(kBlinkFamily, kBlinkBit, 1);
    settings.SetText1(kBlinkFamily, kBlinkBit, "SPAN");
    settings.SetText2(kBlinkFamily, kBlinkBit, "class=\"offer\"");
    const std::string spans = Offers({{"<marquee behavior=\"scroll\">", "<span class=\"offer\">"},
                                      {"</marquee>", "</span>"},
                                      {"<blink>", "<span class=\"offer\">"},
                                      {"</blink>", "</span>"}});
    EXPECT_EQ(RepairedAutomatically(settings), spans);
    CValidatorSheet second;
    Load(OffersPage());
    StartSheet(second, "/site/forms/page.html");
    ASSERT_EQ(AddPages(second, IsBlinkCheck), 2);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_TRUE(page.IsChecked(CPageBlink::kReplace));
        EXPECT_TRUE(page.IsEnabled(CPageBlink::kAttributes));
        w.Click(kIdFinish);
    });
    second.DoModal(nullptr);
    EXPECT_EQ(document.Text(), spans);
}

TEST_F(PresentationPageTest, TheReplacementChosenIsRememberedAndProposedInTheNextSession)
{
    ASSERT_EQ(OpenSheet(OffersPage(), "BlinkMarquee"), 2);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.Click(CPageBlink::kReplace);
        EXPECT_TRUE(page.IsChecked(CPageBlink::kProposeReplacing));
        // A replacement needs a tag name.
        page.Type(CPageBlink::kTag, "");
        w.Click(kIdFinish);
        EXPECT_FALSE(w.HasEnded());
        ASSERT_TRUE(ToldLast(1, Strings(820)));
        page.Type(CPageBlink::kTag, "em (emphasis)");
        EXPECT_FALSE(page.IsEnabled(CPageBlink::kAttributes));
        // Only this one: the blink gets its own page.
        w.Click(kOption);
        EXPECT_FALSE(sheet.Page(1).IsSkipped());
        w.Click(platform::kIdNext);
        CMemoryWindow& blink = w.PageWindow(1);
        EXPECT_EQ(blink.Text(CPageBlink::kBlinkingText), "New:");
        blink.Click(CPageBlink::kReplace);
        blink.Choose(CPageBlink::kTag, 1);
        EXPECT_TRUE(blink.IsEnabled(CPageBlink::kAttributes));
        blink.Type(CPageBlink::kAttributes, "class=\"new\" title=\"Music & dance\"");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), Offers({{"<marquee behavior=\"scroll\">", "<em>"},
                                       {"</marquee>", "</em>"},
                                       {"<blink>", "<span class=\"new\" title=\"Music &amp; dance\">"},
                                       {"</blink>", "</span>"}}));

    // The next session reads the store afresh and proposes the last choice.
    COrvaneSettings next;
    next.Load();
    EXPECT_EQ(next.GetRememberedNumber(kBlinkFamily, kBlinkBit), 1);
    EXPECT_EQ(next.GetText1(kBlinkFamily, kBlinkBit), "span");
    EXPECT_EQ(next.GetText2(kBlinkFamily, kBlinkBit), "class=\"new\" title=\"Music & dance\"");
    CHtmlDocument page{CFamilyElementFactory::Instance()};
    page.Start(1, false);
    std::istringstream in{OffersPage()};
    ASSERT_EQ(page.Load(in), 1);
    next.SetConformanceLevel(2);
    CValidatorSheet run;
    run.SetSettings(&next);
    run.SetDocumentPath("/site/offers.html");
    for (const CFoundProblem& problem : RunCheckPass(page, next, nullptr)) {
        if (problem.element->GetCheckName(problem.bit) == "BlinkMarquee")
            problem.element->AddRepairPages(run, page, problem.bit);
    }
    ASSERT_EQ(run.PageCount(), 2);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& proposed = w.PageWindow(0);
        EXPECT_TRUE(proposed.IsChecked(CPageBlink::kReplace));
        EXPECT_TRUE(proposed.IsChecked(CPageBlink::kProposeReplacing));
        EXPECT_EQ(proposed.Text(CPageBlink::kTag), "span");
        EXPECT_EQ(proposed.Text(CPageBlink::kAttributes), "class=\"new\" title=\"Music & dance\"");
        // Removed this time, yet the replacement stays the proposal; a tag
        // left half typed is not remembered.
        proposed.Click(CPageBlink::kRemove);
        proposed.Type(CPageBlink::kTag, "<sp");
        EXPECT_TRUE(proposed.IsChecked(CPageBlink::kProposeRemoving));
        proposed.Click(CPageBlink::kProposeReplacing);
        w.Click(kIdFinish);
    });
    run.DoModal(nullptr);
    EXPECT_EQ(page.Text(), Offers({{"<marquee behavior=\"scroll\">", ""},
                                   {"</marquee>", ""},
                                   {"<blink>", ""},
                                   {"</blink>", ""}}));
    COrvaneSettings third;
    third.Load();
    EXPECT_EQ(third.GetRememberedNumber(kBlinkFamily, kBlinkBit), 1);
    EXPECT_EQ(third.GetText1(kBlinkFamily, kBlinkBit), "span");
}

TEST_F(PresentationPageTest, AnUnattendedSessionRemovesTheBlinkingWhenTheSettingsSaySo)
{
    constexpr char kPage[] = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html lang=\"en\">\n"
                             "<head><title>Ferries</title></head>\n"
                             "<body><p><blink>New:</blink> crossings</p></body></html>\n";
    // At level A, with the blink check included, it is the page's only problem
    // (a longer text would ask about changes of language).
    settings.SetConformanceLevel(1);
    settings.SetAlwaysInclude(kBlinkFamily, kBlinkBit, true);
    settings.SetAutoRepairMode(kBlinkFamily, kBlinkBit, 1);
    Load(kPage);
    EXPECT_EQ(RunUnattendedSession(document, settings, "/site/ferries.html"), 1);
    EXPECT_EQ(document.Text(), std::string(kPage).replace(std::string_view(kPage).find("<blink>New:</blink>"),
                                                          19, "New:"));

    settings.SetAutoRepairMode(kBlinkFamily, kBlinkBit, 0);
    Load(kPage);
    EXPECT_EQ(RunUnattendedSession(document, settings, "/site/ferries.html"), 2);
    EXPECT_EQ(document.Text(), kPage);
}

} // namespace
} // namespace orvane::test
