#include "table_page.h"

#include "library/tables/table_type_question.h"
#include "tests/support/tables_of_type.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

using test::CTablePage;

TEST(TableCaptionEdit, ReplacesTheTextOfAnExistingCaptionAndUndoes)
{
    const std::string text = "<table><caption>Old <b>bold</b> text</caption><tr><td>1</td></tr></table>";
    CTablePage page(text);
    CTableRecord& table = page.Table();
    EXPECT_EQ(table.CaptionText(), "Old bold text");
    ASSERT_EQ(table.SetCaption("New"), 1);
    EXPECT_EQ(table.CaptionText(), "New");
    EXPECT_EQ(page.Written(), "<table><caption>New<b></b></caption><tr><td>1</td></tr></table>");
    ASSERT_EQ(table.SetCaption("Newer"), 1);
    EXPECT_EQ(table.CaptionText(), "Newer");

    table.UndoCaption();
    EXPECT_EQ(table.CaptionText(), "Old bold text");
    EXPECT_EQ(page.Written(), text);
    table.UndoCaption();  // nothing more to undo
    EXPECT_EQ(page.Written(), text);
}

TEST(TableCaptionEdit, MakesACaptionForATableWithout)
{
    const std::string text = "<table border=1><tr><td>1</td></tr></table>";
    CTablePage page(text);
    CTableRecord& table = page.Table();
    EXPECT_EQ(table.CaptionText(), "");
    ASSERT_EQ(table.SetCaption("Prices"), 1);
    EXPECT_EQ(table.CaptionText(), "Prices");
    EXPECT_EQ(page.Written(), "<table border=1><caption>Prices</caption><tr><td>1</td></tr></table>");

    table.UndoCaption();
    EXPECT_EQ(table.CaptionText(), "");
    EXPECT_EQ(page.Written(), text);

    // A second change brings the same caption back rather than a new one.
    std::size_t size = page.page.document.Size();
    ASSERT_EQ(table.SetCaption("Costs"), 1);
    EXPECT_EQ(page.page.document.Size(), size);
    EXPECT_EQ(page.Written(), "<table border=1><caption>Costs</caption><tr><td>1</td></tr></table>");
}

TEST(TableCaptionEdit, FillsAnEmptyCaption)
{
    const std::string text = "<table><caption></caption><tr><td>1</td></tr></table>";
    CTablePage page(text);
    ASSERT_EQ(page.Table().SetCaption("Filled"), 1);
    EXPECT_EQ(page.Written(), "<table><caption>Filled</caption><tr><td>1</td></tr></table>");
    page.Table().UndoCaption();
    EXPECT_EQ(page.Written(), text);
}

TEST(TableCaptionEdit, NeedsABuiltRecord)
{
    CTableRecord table;
    EXPECT_EQ(table.SetCaption("x"), 0);
    EXPECT_EQ(table.SetSummary("x"), 0);
    table.UndoCaption();
    table.UndoSummary();
}

TEST(TableSummaryEdit, ChangesTheSummaryAttributeAndUndoes)
{
    const std::string text = "<table summary=\"old\" border=\"1\"><tr><td>1</td></tr></table>";
    CTablePage page(text);
    CTableRecord& table = page.Table();
    EXPECT_EQ(table.SummaryValue(), "old");
    ASSERT_EQ(table.SetSummary("Prices per month"), 1);
    EXPECT_EQ(table.SummaryValue(), "Prices per month");
    EXPECT_TRUE(table.TableElement()->IsModified());
    EXPECT_EQ(page.Written(), "<table summary=\"Prices per month\" border=\"1\"><tr><td>1</td></tr></table>");
    ASSERT_EQ(table.SetSummary("again"), 1);
    table.UndoSummary();
    EXPECT_EQ(table.SummaryValue(), "old");
    EXPECT_FALSE(table.TableElement()->IsModified());
    EXPECT_EQ(page.Written(), text);
}

TEST(TableSummaryEdit, AddsASummaryWhereThereIsNone)
{
    const std::string text = "<table border=\"1\"><tr><td>1</td></tr></table>";
    CTablePage page(text);
    CTableRecord& table = page.Table();
    EXPECT_EQ(table.SummaryValue(), "");
    ASSERT_EQ(table.SetSummary("  "), 1);  // blanks are a summary too
    EXPECT_EQ(table.SummaryValue(), "  ");
    EXPECT_EQ(page.Written(), "<table border=\"1\" summary=\"  \"><tr><td>1</td></tr></table>");
    table.UndoSummary();
    EXPECT_EQ(table.SummaryValue(), "");
    EXPECT_EQ(page.Written(), text);
    ASSERT_EQ(table.SetSummary("back"), 1);
    EXPECT_EQ(table.SummaryValue(), "back");
}

TEST(TableSummaryEdit, AQuoteCannotBreakTheTag)
{
    CTablePage page("<table><tr><td>1</td></tr></table>");
    ASSERT_EQ(page.Table().SetSummary("the \"best\" prices"), 1);
    EXPECT_EQ(page.Written(), "<table summary=\"the &quot;best&quot; prices\"><tr><td>1</td></tr></table>");
}

TEST(TableSummaryEdit, ThePreviewShowsTheChangedCaptionAndSummary)
{
    CTablePage page("<table><tr><td>1</td></tr></table>");
    page.Table().SetSummary("S");
    page.Table().SetCaption("C");
    std::ostringstream out;
    ASSERT_EQ(page.Table().WriteMarkup(out, 0), 1);
    EXPECT_EQ(out.str(), "<table summary=\"S\">\n<caption>C</caption>\n<tr><td>1</td></tr>\n</table>");
}

// --- The table-type question --------------------------------------------------------------

using CAnswerAll = test::CTablesOfType;

TEST(TableTypeQuestion, NobodyAnswersUntilAQuestionIsInstalled)
{
    CTablePage page("<table><tr><td>1</table>");
    CTableRecord* tables[] = {&page.Table()};
    TableTypeQuestion().Ask(tables);
    EXPECT_EQ(page.Table().Type(), table_type::kUnknown);

    CAnswerAll layout(table_type::kLayout);
    {
        ScopedTableTypeQuestion scope(layout);
        TableTypeQuestion().Ask(tables);
        EXPECT_EQ(page.Table().Type(), table_type::kLayout);
    }
    EXPECT_NE(&TableTypeQuestion(), &layout);

    SetTableTypeQuestion(&layout);
    EXPECT_EQ(&TableTypeQuestion(), &layout);
    SetTableTypeQuestion(nullptr);
    EXPECT_NE(&TableTypeQuestion(), &layout);
}

} // namespace
} // namespace orvane
