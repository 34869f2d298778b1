#include "ui_fixture.h"

#include "library/html/element.h"
#include "library/ui/pages/forms/page_input_default_text.h"
#include "library/ui/pages/forms/page_textarea_default_text.h"
#include "library/ui/pages/judgements/page_warnings.h"

namespace orvane::test {
namespace {

using platform::kIdBack;

constexpr char kForm[] =
    "<html><body>\r\n<p>Intro</p>\r\n<form action=\"/s\">\r\n"
    "<input type=text name=q />\r\n"
    "<input type=\"text\" name=\"who\" value=\"\">\r\n"
    "<textarea name=note>\r\n</textarea>\r\n</form>\r\n<p>After</p></body></html>\r\n";

TEST_F(RepairRunTest, DefaultTextPagesWriteWhatTheUserEntersAndUndoWritesTheControlAsItWas)
{
    EXPECT_EQ(OpenSheet(kForm, "InputMissingDefault"), 2);
    EXPECT_EQ(AddPages("TextareaText"), 1);
    EXPECT_EQ(AddPages("TextareaText"), 0);  // one page per element
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& first = w.PageWindow(0);
        EXPECT_EQ(first.Text(CPageInputDefaultText::kMarkup), "<input type=text name=q />");
        EXPECT_EQ(first.Text(1001), Strings(393));
        // The preview shows the form with this control marked out.
        const std::string preview = ReadFileBytes(sheet.Page(0).PreviewPagePath());
        EXPECT_NE(preview.find("<form>\n"), std::string::npos);
        EXPECT_NE(preview.find("<h2>" + Strings(279) + "</h2>"), std::string::npos);

        // An empty text keeps the user on the page and says why.
        first.Type(CPageInputDefaultText::kDefaultText, "  ");
        w.Click(kIdNext);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, Strings(156)));

        first.Type(CPageInputDefaultText::kDefaultText, "Search words");
        w.Click(kIdNext);
        w.PageWindow(1).Type(CPageInputDefaultText::kDefaultText, "Your name");
        w.Click(kIdNext);
        CMemoryWindow& area = w.PageWindow(2);
        EXPECT_EQ(area.Text(CPageTextAreaDefaultText::kMarkup), "<textarea name=note>");
        area.Type(CPageTextAreaDefaultText::kDefaultText, "Notes </textarea> & more");
        w.PressHelp();
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"TextareaMissingDefault.html"});
    EXPECT_EQ(document.Text(),
              "<html><body>\r\n<p>Intro</p>\r\n<form action=\"/s\">\r\n"
              "<input type=\"text\" name=\"q\" value=\"Search words\" />\r\n"
              "<input type=\"text\" name=\"who\" value=\"Your name\">\r\n"
              "<textarea name=note>Notes &lt;/textarea&gt; &amp; more\r\n</textarea>\r\n</form>\r\n"
              "<p>After</p></body></html>\r\n");

    // A second run offers Undo on the repaired pages; undoing writes the page as it was.
    ShowSheet([&](CMemoryWindow& w) {
        // Only the page shown has a window yet.
        EXPECT_EQ(w.PageCount(), 1);
        EXPECT_EQ(w.PageWindow(0).Text(CPageInputDefaultText::kDefaultText), "Search words");
        for (int page = 0; page < 3; ++page) {
            if (page == 2) {
                EXPECT_EQ(w.PageWindow(2).Text(CPageTextAreaDefaultText::kDefaultText), "Notes </textarea> & more");
            }
            EXPECT_EQ(w.Text(CValidatorSheet::kSkipUndoButton), "&Undo");
            w.Click(CValidatorSheet::kSkipUndoButton);
            if (page < 2)
                w.Click(CValidatorSheet::kSkipUndoButton);  // now Skip
        }
        EXPECT_EQ(w.Text(CValidatorSheet::kSkipUndoButton), "&Skip");
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kForm);
    ExpectNothingRepaired();
}

TEST_F(RepairRunTest, WarningsAreListedOnceEachAndConfirmedTogether)
{
    Load("<html><body><p style=\"color: red\">Red</p><p style=\"color: blue\">Blue</p>"
         "<script>go()</script></body></html>");
    StartSheet();
    std::vector<CFoundProblem> warnings;
    for (const CFoundProblem& problem : found) {
        if (!problem.element->IsGrouped(problem.bit))
            warnings.push_back(problem);
    }
    ASSERT_GE(warnings.size(), 2u);
    int added = 0;
    for (const CFoundProblem& problem : warnings)
        added += problem.element->AddRepairPages(sheet, document, problem.bit);
    // The same warnings again (another entry of the overview) list nothing new.
    for (const CFoundProblem& problem : warnings)
        added += problem.element->AddRepairPages(sheet, document, problem.bit);
    EXPECT_EQ(added, 1);
    ASSERT_EQ(sheet.PageCount(), 1);
    CPageWarnings* page = sheet.FindWarningsPage();
    ASSERT_NE(page, nullptr);
    const int listed = page->WarningCount();

    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& p = w.PageWindow(0);
        EXPECT_EQ(p.ItemCount(CPageWarnings::kWarningList), listed);
        EXPECT_EQ(p.ItemText(CPageWarnings::kWarningList, 0),
                  warnings[0].element->GetCheckTitle(warnings[0].bit));
        EXPECT_EQ(p.Text(CPageWarnings::kExplanation), Strings(warnings[0].element->GetWarningTextId(warnings[0].bit)));
        EXPECT_FALSE(p.IsChecked(CPageWarnings::kConfirmBox));
        p.Choose(CPageWarnings::kWarningList, listed - 1);
        w.PressHelp();  // the selected warning's own topic
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(347)));
        EXPECT_FALSE(w.HasEnded());
        p.Click(CPageWarnings::kConfirmBox);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(DialogRecord().helpTopics.size(), 1u);
    EXPECT_NE(DialogRecord().helpTopics[0], "WarningsHelp.html");
    for (const CFoundProblem& problem : warnings)
        EXPECT_TRUE(problem.element->IsRepaired(problem.bit, 0)) << problem.element->GetCheckName(problem.bit);

    // A later run opens with every warning confirmed.
    CValidatorSheet again;
    for (const CFoundProblem& problem : warnings)
        problem.element->AddRepairPages(again, document, problem.bit);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        EXPECT_TRUE(w.PageWindow(0).IsChecked(CPageWarnings::kConfirmBox));
        EXPECT_EQ(w.Text(CValidatorSheet::kSkipUndoButton), "&Undo");
        w.Click(kIdFinish);
    });
    again.DoModal(nullptr);
}

} // namespace
} // namespace orvane::test
