// Paragraphs that stand whole in quotation marks, on the lighthouse keeper's
// page, found and marked up as quotations the way the user chooses.
#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/ui/pages/judgements/page_quote_maybe.h"
#include "platform/registry.h"

#include <filesystem>

namespace orvane::test {
namespace {

using platform::kIdFinish;
using Page = CPageQuoteMaybe;
constexpr int kSkipUndo = CValidatorSheet::kSkipUndoButton;

const std::string& KeeperPage()
{
    static const std::string page = ReadFileBytes(std::string(ORVANE_EXAMPLES_DIR) + "/lighthouse-keeper.html");
    return page;
}

const std::string kSaying =
    "<p>&quot;A lamp that is trimmed at dusk will see every boat home before the morning tide.&quot;</p>";

std::string Keeper(std::string_view saying)
{
    std::string page = KeeperPage();
    const std::size_t at = page.find(kSaying);
    EXPECT_NE(at, std::string::npos);
    return at == std::string::npos ? page : page.replace(at, kSaying.size(), saying);
}

class QuotePageTest : public RepairRunTest {
protected:
    void SetUp() override
    {
        RepairRunTest::SetUp();
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        settings.Load();
        settings.SetConformanceLevel(2);
    }

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

    CTestUserStore userStore;
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
    Load(KeeperPage());
    StartSheet();
    ASSERT_EQ(AddPages("QuoteFormat"), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
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
    EXPECT_EQ(sheet.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(DialogRecord().helpTopics, std::vector<std::string>{"PotentialQuote.html"});
    EXPECT_EQ(document.Text(), Keeper("<blockquote>" + kSaying + "</blockquote>"));
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);

    // Opened again: a short quotation; q adds the marks, so the typed ones go.
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.Click(Page::kShortQuote);
        EXPECT_EQ(page.ItemText(Page::kParagraphs, 0, Page::kChoiceColumn), "Short quotation");
        w.Click(kIdFinish);
    });
    sheet.DoModal(nullptr);
    EXPECT_EQ(document.Text(),
              Keeper("<p><q>A lamp that is trimmed at dusk will see every boat home before the morning tide.</q></p>"));

    // Judged no quotation: the page stays as it was, and the problem counts as seen to.
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_TRUE(page.IsChecked(Page::kShortQuote));
        page.Click(Page::kNoQuote);
        EXPECT_EQ(page.ItemText(Page::kParagraphs, 0, Page::kChoiceColumn), "Stays as it is");
        w.Click(kIdFinish);
    });
    sheet.DoModal(nullptr);
    EXPECT_EQ(document.Text(), KeeperPage());
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);

    // A quotation written and then undone leaves every byte as it was.
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        w.PageWindow(0).Click(Page::kBlockQuote);
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    sheet.DoModal(nullptr);
    EXPECT_EQ(document.Text(), KeeperPage());
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kNotRepaired);
}

} // namespace
} // namespace orvane::test
