#include "table_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/registry/object_database.h"
#include "library/tables/table_record.h"
#include "library/tables/table_type_question.h"
#include "library/ui/page_table_caption.h"
#include "library/ui/page_table_summary.h"
#include "platform/registry.h"

#include <filesystem>
#include <fstream>

namespace orvane::test {
namespace {

using platform::kIdFinish;
using platform::kIdNext;
constexpr int kSkipUndo = CValidatorSheet::kSkipUndoButton;

constexpr char kTeas[] =
    "<html lang=\"en\"><head><title>Teas</title></head><body>\r\n"
    "<table border=\"1\">\r\n<tr><th>Tea</th><th>Price</th></tr>\r\n"
    "<tr><td>Green</td><td>4</td></tr>\r\n</table>\r\n</body></html>\r\n";

class TablePagesTest : public TableRunTest {
protected:
    void LoadWith(CSrcObjectDatabase& registry, std::string_view page)
    {
        TableRunTest::LoadWith(registry, page, "/site/teas.html");
    }
};

TEST_F(TablePagesTest, ACaptionOfBlanksIsRefusedTheCaptionGivenIsWrittenAndUndoWritesThePageAsItWas)
{
    Load(kTeas);
    StartSheet();
    ASSERT_EQ(AddPages("TableCaption"), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(191));
        EXPECT_EQ(page.Text(CPageTableCaption::kText), "");
        w.PressHelp();
        page.Type(CPageTableCaption::kText, "   ");
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_EQ(windows.prompt.messages.size(), 1u);
        EXPECT_EQ(windows.prompt.messages[0].text, Strings(192));
        EXPECT_EQ(windows.prompt.messages[0].icon, platform::PromptIcon::Exclamation);
        EXPECT_EQ(document.Text(), kTeas);
        page.Type(CPageTableCaption::kText, "Teas and their prices");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(sheet.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(DialogRecord().helpTopics, std::vector<std::string>{"5-5-2.html"});
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);
    std::string captioned = kTeas;
    captioned.insert(captioned.find("\r\n<tr>"), "<caption>Teas and their prices</caption>");
    EXPECT_EQ(document.Text(), captioned);

    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        EXPECT_EQ(w.PageWindow(0).Text(CPageTableCaption::kText), "Teas and their prices");
        EXPECT_EQ(w.Text(kSkipUndo), "&Undo");
        w.Click(kSkipUndo);
        EXPECT_EQ(w.PageWindow(0).Text(CPageTableCaption::kText), "");
        w.PressEscape();
    });
    sheet.DoModal(nullptr);
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kNotRepaired);
    EXPECT_EQ(document.Text(), kTeas);
}

// Only an empty summary is refused; undone, the page is as it was; a summary
// given in one session keeps the table known in the next.
TEST_F(TablePagesTest, AnEmptySummaryIsRefusedTheSummaryGivenIsWrittenAndUndoWritesThePageAsItWas)
{
    const std::string registryFile = folder.string() + "/ObjectRegistry.xml";
    std::ofstream(registryFile) << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n</root>";

    std::string summarised = kTeas;
    summarised.replace(summarised.find("<table border=\"1\">"), 18,
                       "<table border=\"1\" summary=\"Tea names down, prices across\">");
    {
        CSrcObjectDatabase registry(registryFile);
        ASSERT_EQ(registry.Load(), 1);
        LoadWith(registry, kTeas);
        EXPECT_EQ(question.asked, 1);
        StartSheet();
        sheet.SetObjectRegistry(&registry);
        ASSERT_EQ(AddPages("TableSummary"), 1);
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
            CMemoryWindow& page = w.PageWindow(0);
            EXPECT_EQ(page.Text(1001), Strings(190));
            w.Click(kIdFinish);
            EXPECT_EQ(w.CurrentPage(), 0);
            ASSERT_EQ(windows.prompt.messages.size(), 1u);
            EXPECT_EQ(windows.prompt.messages[0].text, Strings(358));
            EXPECT_EQ(document.Text(), kTeas);
            page.Type(CPageTableSummary::kText, "Tea names down, prices across");
            w.Click(kIdFinish);
        });
        EXPECT_EQ(sheet.DoModal(nullptr), kIdFinish);
        EXPECT_EQ(document.Text(), summarised);

        // Undone, the page is as it was; given again, it stays.
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
            w.Click(kSkipUndo);
            EXPECT_EQ(document.Text(), kTeas);
            EXPECT_EQ(w.PageWindow(0).Text(CPageTableSummary::kText), "");
            w.PageWindow(0).Type(CPageTableSummary::kText, "Tea names down, prices across");
            w.Click(kIdFinish);
        });
        EXPECT_EQ(sheet.DoModal(nullptr), kIdFinish);
        EXPECT_EQ(document.Text(), summarised);
        ASSERT_EQ(registry.Save(), 1);
        document.SetObjectRegistry(nullptr);
    }
    // The next session knows the table by its summary: nobody is asked, nothing is reported.
    CSrcObjectDatabase next(registryFile);
    ASSERT_EQ(next.Load(), 1);
    found.clear();
    LoadWith(next, summarised);
    EXPECT_EQ(question.asked, 1);
    for (const CFoundProblem& problem : found)
        EXPECT_NE(problem.element->GetCheckName(problem.bit), "TableSummary");
    document.SetObjectRegistry(nullptr);
}

} // namespace
} // namespace orvane::test
