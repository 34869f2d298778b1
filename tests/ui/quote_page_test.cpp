// Paragraphs that stand whole in quotation marks, on the lighthouse keeper's
// page, found and marked up as quotations the way the user chooses.
#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/ui/pages/judgements/page_quote_maybe.h"
#include "platform/registry.h"

#include <filesystem>

namespace orvane::test {
namespace {

using Page = CPageQuoteMaybe;

std::string KeeperPage() { return ExamplePage("lighthouse-keeper.html"); }

const std::string kSaying =
    "<p>&quot;A lamp that is trimmed at dusk will see every boat home before the morning tide.&quot;</p>";

std::string Keeper(std::string_view saying)
{
    return Replaced(KeeperPage(), kSaying, saying);
}

class QuotePageTest : public RepairRunAtLevelTest<2> {
protected:
    // How many paragraphs of the page the quotation check marks.
    int QuotationsIn(std::string_view page)
    {
        Load(page);
        int count = 0;
        for (const CFoundProblem& problem : found) {
            if (problem.element->GetCheckName(problem.bit) == "QuoteFormat")
                count += static_cast<int>(Page::FindCandidates(document).size());
        }
        return count;
    }
};

TEST_F(QuotePageTest, OnlyAParagraphOfTextWholeInOnePairOfMarksAndOfSomeWordsIsAQuotation)
{
    const std::pair<std::string, int> cases[] = {
        {"<p>\"Tea in the morning keeps the doctor away.\"</p>", 1},
        {"<p>\xe2\x80\x9e" "Ein Tee am Morgen hilft immer.\xe2\x80\x9c</p>", 1},
        {"<p>&ldquo;Tea in the morning keeps\nthe doctor away.&rdquo;\n</p>", 1},
        {"<p>\"Green tea\"</p>", 0},
        {"<p>\"Tea,\" the keeper said, \"keeps the doctor away.\"</p>", 0},
        {"<p>The keeper said \"tea keeps the doctor away\" every day.</p>", 0},
        {"<p>\"Tea in the <b>morning</b> keeps the doctor away.\"</p>", 0},
        {"<blockquote><p>Tea in the morning keeps the doctor away.</p></blockquote>", 0},
    };
    for (const auto& [body, expected] : cases) {
        SCOPED_TRACE(body);
        EXPECT_EQ(QuotationsIn("<html lang=\"en\"><head><title>Tea</title></head><body>" + body + "</body></html>"),
                  expected);
    }
    EXPECT_EQ(QuotationsIn(KeeperPage()), 1);
}

TEST_F(QuotePageTest, TheSayingBecomesABlockQuotationOrAShortOneWithoutItsTypedMarksAndIsUndoneByteForByte)
{
    ASSERT_EQ(OpenSheet(KeeperPage(), "QuoteFormat"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(1102));
        EXPECT_EQ(page.ItemTexts(Page::kParagraphs),
                  std::vector<std::string>{
                      "\"A lamp that is trimmed at dusk will see every boat home before the morning tide.\""});
        EXPECT_EQ(page.ItemTexts(Page::kParagraphs, Page::kChoiceColumn), std::vector<std::string>{"Block quotation"});
        EXPECT_TRUE(page.IsChecked(Page::kBlockQuote));
        EXPECT_TRUE(page.IsEnabled(Page::kBlockQuote));
        // Shown where it stands: after the paragraph before it, up to the one after it.
        ASSERT_NE(page.Browser(Page::kPreview), nullptr);
        const std::string preview = ReadFileBytes(page.Browser(Page::kPreview)->Address());
        EXPECT_NE(preview.find("home to five keepers"), std::string::npos);
        EXPECT_NE(preview.find("the last keeper"), std::string::npos);
        w.PressHelp();
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"PotentialQuote.html"});
    EXPECT_EQ(document.Text(), Keeper("<blockquote>" + kSaying + "</blockquote>"));
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);

    // Opened again: a short quotation; q adds the marks, so the typed ones go.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.Click(Page::kShortQuote);
        EXPECT_EQ(page.ItemText(Page::kParagraphs, 0, Page::kChoiceColumn), "Short quotation");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(),
              Keeper("<p><q>A lamp that is trimmed at dusk will see every boat home before the morning tide.</q></p>"));

    // Judged no quotation: the page stays as it was, and the problem counts as seen to.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_TRUE(page.IsChecked(Page::kShortQuote));
        page.Click(Page::kNoQuote);
        EXPECT_EQ(page.ItemText(Page::kParagraphs, 0, Page::kChoiceColumn), "Stays as it is");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), KeeperPage());
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);

    // A quotation written and then undone leaves every byte as it was.
    ShowSheet([&](CMemoryWindow& w) {
        w.PageWindow(0).Click(Page::kBlockQuote);
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), KeeperPage());
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kNotRepaired);
}

} // namespace
} // namespace orvane::test
