// The pages that mend a page's outline: headings that skip a level, and
// paragraphs of emphasised text that stand where a heading belongs, on the
// harbour museum's visitor page, as the user repairs them.
#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/ui/checking_session.h"
#include "library/ui/pages/structure/page_headings.h"
#include "library/ui/pages/judgements/page_headings_maybe.h"
#include "platform/registry.h"

#include <filesystem>

namespace orvane::test {
namespace {


std::string MuseumPage() { return ExamplePage("harbour-museum.html"); }

// The museum page with each piece of markup replaced, in page order.
std::string Museum(Replacements replacements) { return ReplacedInPageOrder(MuseumPage(), replacements); }

class HeadingPageTest : public RepairRunAtLevelTest<2> {
protected:
    // What the next check of the written page finds of the check.
    int FoundOnceWritten(std::string_view checkName)
    {
        return Count(ChecksOf(document.Text(), "/site/museum/visit.html", nullptr), checkName);
    }

    std::vector<std::string> TreeTexts(CMemoryWindow& page, int id, platform::TreeItem parent = 0)
    {
        std::vector<std::string> texts;
        for (platform::TreeItem item : page.TreeChildren(id, parent))
            texts.push_back(page.TreeItemText(id, item));
        return texts;
    }
};

TEST_F(HeadingPageTest, ASkippedLevelIsMendedByRenamingTheHeadingsTagsAloneAndUndoneByteForByte)
{
    using Page = CPageHeadings;
    ASSERT_EQ(OpenSheet(MuseumPage(), "NestedHeaders"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(1020));
        // The outline, each heading below the nearest higher one; the first skip chosen.
        EXPECT_EQ(TreeTexts(page, Page::kOutline), (std::vector<std::string>{"Level 1: Visiting the Harbour Museum"}));
        const platform::TreeItem top = page.FindTreeItem(Page::kOutline, "Level 1: Visiting the Harbour Museum");
        EXPECT_EQ(TreeTexts(page, Page::kOutline, top),
                  (std::vector<std::string>{"Level 3: Admission", "Level 3: Getting here", "Level 2: Contact"}));
        EXPECT_EQ(page.TreeItemText(Page::kOutline, page.SelectedTreeItem(Page::kOutline)), "Level 3: Admission");
        EXPECT_EQ(page.Text(Page::kProblem), "h1 is followed by h3: level 2 is missing.");
        EXPECT_EQ(page.ItemCount(Page::kLevel), 6);
        EXPECT_EQ(page.ItemText(Page::kLevel, page.CurrentItem(Page::kLevel)), "Level 2 (h2)");
        EXPECT_FALSE(page.IsChecked(Page::kMoveBelow));
        // Alone, the heading leaves its tour a level too deep: said before applying.
        EXPECT_EQ(page.Text(Page::kAfter), "After the change h2 is still followed by h4 further down. The next check "
                                           "of the page finds it.");

        // Going back up is no skip: the contact heading keeps its level.
        page.SelectTreeItemAsUser(Page::kOutline, page.FindTreeItem(Page::kOutline, "Level 2: Contact"));
        EXPECT_EQ(page.Text(Page::kProblem), "h2 follows h3: this heading skips no level.");
        EXPECT_EQ(page.CurrentItem(Page::kLevel), 1);
        // Changing nothing mends nothing: the user is told and stays.
        w.Click(kIdFinish);
        EXPECT_FALSE(w.HasEnded());
        ASSERT_EQ(windows.prompt.messages.size(), 1u);
        EXPECT_EQ(windows.prompt.messages[0].text,
                  "With this level the outline still skips a level at the selected heading or above it: h1 would be "
                  "followed by h3. Choose another level, or press Skip to leave the headings as they are.");
        EXPECT_EQ(document.Text(), MuseumPage());

        page.SelectTreeItemAsUser(Page::kOutline, page.FindTreeItem(Page::kOutline, "Level 3: Admission"));
        EXPECT_EQ(page.CurrentItem(Page::kLevel), 1);
        w.PressHelp();
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"3-5-1.html"});
    // The tags' names alone change; the class stays, and so does every other byte.
    EXPECT_EQ(document.Text(),
              Museum({{"<h3 class=\"section\">Admission</h3>", "<h2 class=\"section\">Admission</h2>"}}));
    // The skip further down stays: the outline is mended in part.
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kPartlyRepaired);
    EXPECT_EQ(FoundOnceWritten("NestedHeaders"), 1);

    // Opened again: the headings below move along, and the outline is whole.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(Page::kProblem), "h1 is followed by h3: level 2 is missing.");
        page.Click(Page::kMoveBelow);
        const platform::TreeItem top = page.FindTreeItem(Page::kOutlineAfter, "Level 1: Visiting the Harbour Museum");
        const platform::TreeItem admission = page.FindTreeItem(Page::kOutlineAfter, "Level 2: Admission");
        EXPECT_EQ(TreeTexts(page, Page::kOutlineAfter, top),
                  (std::vector<std::string>{"Level 2: Admission", "Level 2: Contact"}));
        EXPECT_EQ(TreeTexts(page, Page::kOutlineAfter, admission),
                  (std::vector<std::string>{"Level 3: Guided tours", "Level 3: Getting here"}));
        EXPECT_EQ(page.Text(Page::kAfter), "After the change the outline skips no level.");
        w.Click(kIdFinish);
    });
    const std::string mended = Museum({{"<h3 class=\"section\">Admission</h3>", "<h2 class=\"section\">Admission</h2>"},
                                       {"<h4>Guided tours</h4>", "<h3>Guided tours</h3>"}});
    EXPECT_EQ(document.Text(), mended);
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);
    EXPECT_EQ(FoundOnceWritten("NestedHeaders"), 0);

    // Another heading changed while the skip above it stays mends nothing: the user stays.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.SelectTreeItemAsUser(Page::kOutline, page.FindTreeItem(Page::kOutline, "Level 2: Contact"));
        page.Choose(Page::kLevel, 2);
        EXPECT_TRUE(page.IsChecked(Page::kMoveBelow));
        w.Click(kIdFinish);
        EXPECT_FALSE(w.HasEnded());
        page.SelectTreeItemAsUser(Page::kOutline, page.FindTreeItem(Page::kOutline, "Level 3: Admission"));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), mended);

    // Undo writes the page back as it was, byte for byte.
    ShowSheet([&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        EXPECT_EQ(document.Text(), MuseumPage());
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.TreeItemText(Page::kOutline, page.SelectedTreeItem(Page::kOutline)), "Level 3: Admission");
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), MuseumPage());
    EXPECT_FALSE(sheet.Page(0).Element()->IsRepaired(0x4, 0));
    EXPECT_EQ(FoundOnceWritten("NestedHeaders"), 1);
}

TEST_F(HeadingPageTest, AParagraphOfBoldTextBecomesAHeadingOfTheLevelItsPlaceCallsForOrIsKeptAndUndoneByteForByte)
{
    using Page = CPageHeadingsMaybe;
    ASSERT_EQ(OpenSheet(MuseumPage(), "PotentialHeaders"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(1021));
        EXPECT_EQ(page.ItemTexts(Page::kParagraphs), (std::vector<std::string>{"Opening hours", "By bicycle"}));
        EXPECT_EQ(page.ItemTexts(Page::kParagraphs, Page::kChoiceColumn),
                  (std::vector<std::string>{"Heading h2", "Heading h4"}));
        // Below the page's main heading a section heading fits, shown as the reader sees it.
        EXPECT_EQ(page.SelectedRows(Page::kParagraphs), std::vector<int>{0});
        EXPECT_EQ(page.Text(Page::kContext), "It follows the heading \"Visiting the Harbour Museum\" (h1), so h2 "
                                             "fits below it.");
        EXPECT_TRUE(page.IsChecked(Page::kMakeHeading));
        EXPECT_EQ(page.CurrentItem(Page::kLevel), 1);
        ASSERT_NE(page.Browser(Page::kPreview), nullptr);
        // Shown where it stands: between the paragraph before it and the one after it.
        const std::string preview = ReadFileBytes(page.Browser(Page::kPreview)->Address());
        const std::size_t before = MuseumPage().find("<p>The museum stands");
        const std::size_t after = MuseumPage().find("closing.</p>") + 12;
        EXPECT_EQ(preview, "<html><head></head><body><p>" + MuseumPage().substr(before, after - before) +
                               "</p></body></html>");

        // The bicycle paragraph is judged no heading; the level box goes out of use.
        page.SelectOnlyRows(Page::kParagraphs, {1});
        EXPECT_EQ(page.Text(Page::kContext), "It follows the heading \"Getting here\" (h3), so h4 fits below it.");
        EXPECT_EQ(page.CurrentItem(Page::kLevel), 3);
        page.Click(Page::kKeep);
        EXPECT_FALSE(page.IsEnabled(Page::kLevel));
        EXPECT_EQ(page.ItemText(Page::kParagraphs, 1, Page::kChoiceColumn), "Stays a paragraph");
        w.PressHelp();
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"3-5-2.html"});
    EXPECT_EQ(document.Text(), Museum({{"<p><b>Opening hours</b></p>", "<h2>Opening hours</h2>"}}));
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);
    // The new section heading mends the outline the sections skipped a level of.
    EXPECT_EQ(FoundOnceWritten("NestedHeaders"), 0);

    // Opened again: the choices are kept; the bicycle paragraph made a heading of the level typed.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.SelectOnlyRows(Page::kParagraphs, {1});
        EXPECT_TRUE(page.IsChecked(Page::kKeep));
        page.Click(Page::kMakeHeading);
        page.Choose(Page::kLevel, 4);
        EXPECT_EQ(page.ItemText(Page::kParagraphs, 1, Page::kChoiceColumn), "Heading h5");
        page.Choose(Page::kLevel, 3);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), Museum({{"<p><b>Opening hours</b></p>", "<h2>Opening hours</h2>"},
                                       {"<p><font size=\"4\"><b>By bicycle</b></font></p>", "<h4>By bicycle</h4>"}}));
    EXPECT_EQ(FoundOnceWritten("PotentialHeaders"), 0);
    EXPECT_EQ(FoundOnceWritten("NestedHeaders"), 0);

    UndoOnSheet();
    EXPECT_EQ(document.Text(), MuseumPage());
    EXPECT_FALSE(sheet.Page(0).Element()->IsRepaired(0x8, 0));
}

TEST_F(HeadingPageTest, TheOutlinePageSeesTheParagraphsMadeHeadingsAndCancellingTakesBothPagesBackExactly)
{
    Load(MuseumPage());
    StartSheet();
    // As a run orders them: the paragraphs first, then the outline they change.
    ASSERT_EQ(AddPages("PotentialHeaders"), 1);
    ASSERT_EQ(AddPages("NestedHeaders"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        w.Click(platform::kIdNext);
        CMemoryWindow& page = w.PageWindow(1);
        EXPECT_EQ(page.Text(CPageHeadings::kProblem), Strings(1024));
        const platform::TreeItem top =
            page.FindTreeItem(CPageHeadings::kOutline, "Level 1: Visiting the Harbour Museum");
        EXPECT_EQ(TreeTexts(page, CPageHeadings::kOutline, top),
                  (std::vector<std::string>{"Level 2: Opening hours", "Level 2: Contact"}));
        // The new heading raised to the top: the outline page renames the paragraph's tags too.
        page.SelectTreeItemAsUser(CPageHeadings::kOutline,
                                  page.FindTreeItem(CPageHeadings::kOutline, "Level 2: Opening hours"));
        page.Choose(CPageHeadings::kLevel, 0);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), Museum({{"<p><b>Opening hours</b></p>", "<h1>Opening hours</h1>"},
                                       {"<p><font size=\"4\"><b>By bicycle</b></font></p>", "<h4>By bicycle</h4>"}}));

    // Cancelled without keeping the repairs: whichever page takes its tags back first.
    windows.AnswerNextMessage(platform::kAnswerNo);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) { w.PressEscape(); });
    sheet.DoModal(nullptr);
    EXPECT_EQ(windows.prompt.messages.back().text, Strings(167));
    EXPECT_EQ(document.Text(), MuseumPage());
}

} // namespace
} // namespace orvane::test
