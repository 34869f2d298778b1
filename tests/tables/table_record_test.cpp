#include "table_page.h"

#include "library/html/tag_table.h"
#include "library/tables/table_record.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace orvane {
namespace {

using test::CTablePage;

TEST(TableTags, CaptionAndRowIdsAreTheTagTablesOwn)
{
    EXPECT_EQ(TagIdOfToken("<caption>"), 15);
    EXPECT_EQ(TagIdOfToken("<tr>"), 88);
}

// --- Building ---------------------------------------------------------------------------

TEST(TableRecordBuild, ReadsRowsOfCellsWithTheirTagsAndContent)
{
    CTablePage page("<table><tr><th>Name</th><td>a<b>b</b></td></tr><tr><td>c</td><td>d</td></tr></table>");
    CTableRecord& table = page.Table();
    ASSERT_EQ(table.Rows().size(), 2u);
    const CTableRow& first = *table.Rows()[0];
    ASSERT_EQ(first.Cells().size(), 2u);
    EXPECT_EQ(first.StartElement().Text(), "<tr>");
    ASSERT_NE(first.EndElement(), nullptr);
    EXPECT_EQ(first.EndElement()->Text(), "</tr>");

    const CTableCell& header = page.Cell(0, 0);
    EXPECT_EQ(header.Type(), cell_type::kTh);
    EXPECT_EQ(header.OriginalType(), cell_type::kTh);
    EXPECT_EQ(header.StartElement().Text(), "<th>");
    EXPECT_EQ(header.EndElement()->Text(), "</th>");
    EXPECT_EQ(header.Text(), "Name");

    const CTableCell& mixed = page.Cell(0, 1);
    EXPECT_EQ(mixed.Type(), cell_type::kTd);
    ASSERT_EQ(mixed.Content().size(), 4u);  // a, <b>, b, </b>
    EXPECT_EQ(mixed.Text(), "ab");

    ASSERT_NE(table.EndElement(), nullptr);
    EXPECT_EQ(table.EndElement()->Text(), "</table>");
    EXPECT_EQ(table.TableElement()->Kind(), tag::kTable);
    EXPECT_EQ(table.Document(), &page.page.document);
    EXPECT_TRUE(table.IsBuilt());
}

TEST(TableRecordBuild, NumbersCellsAcrossRows)
{
    CTablePage page("<table><tr><td>1<td>2<td>3<tr><td>4<td>5<td>6</table>");
    int expected = 0;
    for (const auto& row : page.Table().Rows()) {
        for (const auto& cell : row->Cells())
            EXPECT_EQ(cell->SequenceNumber(), expected++);
    }
    EXPECT_EQ(expected, 6);
}

TEST(TableRecordBuild, UnclosedRowsAndCellsLackTheirEndElement)
{
    CTablePage page("<table><tr><td>a<td>b<tr><td>c</table>");
    CTableRecord& table = page.Table();
    ASSERT_EQ(table.Rows().size(), 2u);
    EXPECT_EQ(table.Rows()[0]->EndElement(), nullptr);
    EXPECT_EQ(page.Cell(0, 0).EndElement(), nullptr);
    EXPECT_EQ(page.Cell(0, 0).Text(), "a");
    EXPECT_EQ(page.Cell(0, 1).Text(), "b");
    EXPECT_EQ(page.Cell(1, 0).Text(), "c");
}

TEST(TableRecordBuild, CellsOutsideAnyRowAreNotRecorded)
{
    CTablePage page("<table><td>stray</td><tr><td>kept</td></tr></table>");
    ASSERT_EQ(page.Table().Rows().size(), 1u);
    ASSERT_EQ(page.Table().Rows()[0]->Cells().size(), 1u);
    EXPECT_EQ(page.Cell(0, 0).Text(), "kept");
}

TEST(TableRecordBuild, ACellAfterAClosedRowJoinsThatRow)
{
    // The row stays current after its end tag, as the walk keeps it.
    CTablePage page("<table><tr><td>a</td></tr><td>b</td></table>");
    ASSERT_EQ(page.Table().Rows().size(), 1u);
    EXPECT_EQ(page.Table().Rows()[0]->Cells().size(), 2u);
}

TEST(TableRecordBuild, CaptionTextBelongsToTheCaption)
{
    CTablePage page("<table><caption>Sales 2003</caption><tr><td>x</td></tr></table>");
    CTableRecord& table = page.Table();
    EXPECT_EQ(table.CaptionText(), "Sales 2003");
    ASSERT_EQ(table.CaptionElements().size(), 3u);
    EXPECT_EQ(table.CaptionElements().front()->Text(), "<caption>");
    EXPECT_EQ(table.CaptionElements().back()->Text(), "</caption>");
    EXPECT_EQ(page.Cell(0, 0).Text(), "x");
}

TEST(TableRecordBuild, AnOpenCaptionEndsAtTheFirstRowOrCellTag)
{
    CTablePage page("<table><caption>Sales <tr><td>x</td></tr></table>");
    EXPECT_EQ(page.Table().CaptionText(), "Sales ");
    EXPECT_EQ(page.Cell(0, 0).Text(), "x");

    CTablePage inCell("<table><tr><td>a<caption>cap<td>b</table>");
    EXPECT_EQ(inCell.Table().CaptionText(), "cap");
    EXPECT_EQ(inCell.Cell(0, 0).Text(), "a");
    EXPECT_EQ(inCell.Cell(0, 1).Text(), "b");
}

TEST(TableRecordBuild, ANestedTableContributesNothingToTheOuterTable)
{
    CTablePage page(
        "<table><tr><td>before<table><tr><td>inner</td><td>x</td></tr></table>after</td></tr></table><p>next</p>");
    ASSERT_EQ(page.records.size(), 2u);
    CTableRecord& outer = page.Table(0);
    ASSERT_EQ(outer.Rows().size(), 1u);
    ASSERT_EQ(outer.Rows()[0]->Cells().size(), 1u);
    const CTableCell& cell = page.Cell(0, 0);
    EXPECT_EQ(cell.Text(), "beforeafter");
    for (const CElement* e : cell.Content())
        EXPECT_NE(e->Kind(), tag::kTable + kind::kEndOffset);
    ASSERT_NE(outer.EndElement(), nullptr);
    EXPECT_EQ(outer.EndElement(), outer.TableElement()->Partner());

    CTableRecord& inner = page.Table(1);
    ASSERT_EQ(inner.Rows().size(), 1u);
    EXPECT_EQ(inner.Rows()[0]->Cells().size(), 2u);
}

TEST(TableRecordBuild, ANestedTableWithoutEndTagReachesToTheEndOfThePage)
{
    // The one end tag closes the inner table, so the outer one is open and
    // jumps over everything up to it; after it comes nothing of a table.
    CTablePage page("<table><tr><td>a<table><tr><td>b</td></tr></td></tr></table><tr><td>late</td></tr>");
    CTableRecord& outer = page.Table(0);
    ASSERT_EQ(outer.Rows().size(), 2u);
    EXPECT_EQ(page.Cell(0, 0).Text(), "a");
    EXPECT_EQ(page.Cell(1, 0).Text(), "late");
    EXPECT_EQ(outer.EndElement(), nullptr);

    CTablePage unclosed("<table><tr><td>a<table><tr><td>b</td></tr>");
    ASSERT_EQ(unclosed.Table(0).Rows().size(), 1u);
    EXPECT_EQ(unclosed.Cell(0, 0).Text(), "a");
    EXPECT_EQ(unclosed.Table(0).EndElement(), nullptr);
    ASSERT_EQ(unclosed.Table(1).Rows().size(), 1u);
    EXPECT_EQ(unclosed.Cell(0, 0, 1).Text(), "b");
}

TEST(TableRecordBuild, ATableWithoutEndTagIsReadToTheEndOfThePage)
{
    CTablePage page("<table><tr><td>a</td></tr><p>text</p><tr><td>b</td></tr>");
    EXPECT_EQ(page.Table().Rows().size(), 2u);
    EXPECT_EQ(page.Table().EndElement(), nullptr);
}

TEST(TableRecordBuild, TheWalkStopsAtTheFirstTableEndTag)
{
    CTablePage page("<table><tr><td>a</td></tr></table><table><tr><td>b</td></tr></table>");
    ASSERT_EQ(page.records.size(), 2u);
    EXPECT_EQ(page.Table(0).Rows().size(), 1u);
    EXPECT_EQ(page.Cell(0, 0, 0).Text(), "a");
    EXPECT_EQ(page.Cell(0, 0, 1).Text(), "b");
}

TEST(TableRecordBuild, DeletedElementsAreNotRead)
{
    test::CParsedPage page;
    page.FromText("<table><tr><td>a</td><td>b</td></tr></table>");
    page.At(5).SetDeleted(true);  // <td> of b
    CTableRecord table;
    table.Build(page.document, page.At(0));
    ASSERT_EQ(table.Rows().size(), 1u);
    ASSERT_EQ(table.Rows()[0]->Cells().size(), 1u);
    EXPECT_EQ(table.Rows()[0]->Cells()[0]->Text(), "a");
}

TEST(TableRecordBuild, ARecordIsBuiltOnce)
{
    test::CParsedPage page;
    page.FromText("<table summary=\"s\"><tr><td>a</td></tr></table>");
    CTableRecord table;
    EXPECT_EQ(table.Build(page.document, page.At(0)), 1);
    page.At(1).SetDeleted(true);
    EXPECT_EQ(table.Build(page.document, page.At(0)), 1);
    EXPECT_EQ(table.Rows().size(), 1u);
    EXPECT_EQ(table.SummaryValue(), "s");
}

TEST(TableRecordBuild, CellsRememberTheirAbbrIdAndHeadersAttributes)
{
    CTablePage page("<table><tr><th abbr=\"Q\" id=\"h1\">Quantity</th><td headers=\"h1\">3</td></tr></table>");
    const CTableCell& header = page.Cell(0, 0);
    ASSERT_NE(header.AbbrAttribute(), nullptr);
    EXPECT_EQ(header.Abbreviation(), "Q");
    EXPECT_EQ(header.OriginalAbbreviation(), "Q");
    ASSERT_NE(header.IdAttribute(), nullptr);
    EXPECT_EQ(header.IdAttribute()->Value(), "h1");
    EXPECT_EQ(header.HeadersAttribute(), nullptr);
    const CTableCell& data = page.Cell(0, 1);
    EXPECT_EQ(data.AbbrAttribute(), nullptr);
    EXPECT_EQ(data.Abbreviation(), "");
    ASSERT_NE(data.HeadersAttribute(), nullptr);
}

TEST(TableRecordBuild, IsLinearInTheDepthOfNesting)
{
    // Each table jumps over the tables inside it, so a deep nest costs no more
    // than its elements.
    const int depth = 4000;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<table><tr><td>x";
    for (int i = 0; i < depth; ++i)
        text += "</td></tr></table>";
    auto start = std::chrono::steady_clock::now();
    CTablePage page(text);
    auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(page.records.size(), static_cast<std::size_t>(depth));
    EXPECT_EQ(page.Table(0).Rows().size(), 1u);
    EXPECT_EQ(page.Cell(0, 0, depth - 1).Text(), "x");
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 5);
}

// --- Queries ----------------------------------------------------------------------------

TEST(TableRecordQueries, CountRowsAndTheWidestRow)
{
    CTablePage page("<table><tr><td>1<td>2</tr><tr><td>1<td>2<td>3</tr><tr></tr></table>");
    CTableRecord& table = page.Table();
    EXPECT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.ColumnCount(), 3);
    table.ExcludeRow(*table.Rows()[1], true);
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.ColumnCount(), 2);
    page.Cell(0, 1).StartElement().SetDeleted(true);
    EXPECT_EQ(table.ColumnCount(), 1);
}

TEST(TableRecordQueries, RowHeadersAreNonEmptyThCellsFirstInEveryRow)
{
    EXPECT_TRUE(CTablePage("<table><tr><th>a<td>1<tr><th> b <td>2</table>").Table().HasRowHeaders());
    EXPECT_FALSE(CTablePage("<table><tr><th>a<td>1<tr><td>b<td>2</table>").Table().HasRowHeaders());
    EXPECT_FALSE(CTablePage("<table><tr><th>a<td>1<tr><th> \n <td>2</table>").Table().HasRowHeaders());
    EXPECT_TRUE(CTablePage("<table><tr><th>a<td>1<tr></tr></table>").Table().HasRowHeaders());
    EXPECT_TRUE(CTablePage("<table></table>").Table().HasRowHeaders());

    CTablePage ignored("<table><tr><td>x<th>a</table>");
    EXPECT_FALSE(ignored.Table().HasRowHeaders());
    ignored.Cell(0, 0).StartElement().SetDeleted(true);
    EXPECT_TRUE(ignored.Table().HasRowHeaders());
}

TEST(TableRecordQueries, ColumnHeadersFillTheFirstRowThatCounts)
{
    EXPECT_TRUE(CTablePage("<table><tr><th>a<th>b<tr><td>1<td>2</table>").Table().HasColumnHeaders());
    EXPECT_FALSE(CTablePage("<table><tr><th>a<td>b<tr><td>1<td>2</table>").Table().HasColumnHeaders());
    EXPECT_FALSE(CTablePage("<table><tr><th>a<th><tr><td>1<td>2</table>").Table().HasColumnHeaders());
    EXPECT_TRUE(CTablePage("<table></table>").Table().HasColumnHeaders());

    CTablePage excluded("<table><tr><td>x<tr><th>a</table>");
    EXPECT_FALSE(excluded.Table().HasColumnHeaders());
    excluded.Table().ExcludeRow(*excluded.Table().Rows()[0], true);
    EXPECT_TRUE(excluded.Table().HasColumnHeaders());
}

TEST(TableRecordQueries, HeaderAbbreviationsNeedTheFirstColumnAndTheFirstRow)
{
    CTablePage all("<table><tr><th abbr=a>A<th abbr=b>B<tr><th abbr=c>C<td>1</table>");
    EXPECT_TRUE(all.Table().HeaderCellsHaveAbbreviations());
    EXPECT_TRUE(all.Table().RowHeaderAbbreviationsFlag());
    EXPECT_TRUE(all.Table().ColumnHeaderAbbreviationsFlag());

    CTablePage rowMissing("<table><tr><th abbr=a>A<th abbr=b>B<tr><th>C<td>1</table>");
    EXPECT_FALSE(rowMissing.Table().HeaderCellsHaveAbbreviations());
    EXPECT_FALSE(rowMissing.Table().RowHeaderAbbreviationsFlag());
    EXPECT_TRUE(rowMissing.Table().ColumnHeaderAbbreviationsFlag());

    CTablePage columnMissing("<table><tr><th abbr=a>A<th>B<tr><th abbr=c>C<td>1</table>");
    EXPECT_FALSE(columnMissing.Table().HeaderCellsHaveAbbreviations());
    EXPECT_TRUE(columnMissing.Table().RowHeaderAbbreviationsFlag());
    EXPECT_FALSE(columnMissing.Table().ColumnHeaderAbbreviationsFlag());

    // Without rows the first half holds and the second fails.
    CTablePage empty("<table></table>");
    EXPECT_TRUE(empty.Table().HasRowHeaderAbbreviations());
    EXPECT_FALSE(empty.Table().HasColumnHeaderAbbreviations());
    EXPECT_FALSE(empty.Table().HeaderCellsHaveAbbreviations());
}

// A header cell of pictures alone has no text a reader would want
// shortened: it needs no abbreviation.
TEST(TableRecordQueries, HeadersOfPicturesAloneNeedNoAbbreviation)
{
    CTablePage pictures("<table><tr><th abbr=a>Area<th><img src=up.gif alt=top> <a href=x><img alt=next></a>"
                        "<tr><th abbr=y>2024<td>1</table>");
    EXPECT_TRUE(pictures.Table().HeaderCellsHaveAbbreviations());
    CTablePage words("<table><tr><th abbr=a>Area<th><img src=up.gif alt=top> Top<tr><th abbr=y>2024<td>1</table>");
    EXPECT_FALSE(words.Table().HeaderCellsHaveAbbreviations());
    CTablePage figures("<table><tr><th abbr=a>Area<th abbr=b>Top<tr><th>2024<td>1</table>");
    EXPECT_FALSE(figures.Table().HeaderCellsHaveAbbreviations());
}

// A header cell holding a form field and the field's label: the label's
// words are the field's name, read with the field, not a header to shorten.
// Words beside the label, or a label without its field, still are.
TEST(TableRecordQueries, TheLabelOfAFieldInAHeaderCellNeedsNoAbbreviation)
{
    CTablePage labelled("<table><tr><th abbr=n>Name<th><label for=\"name\">Your name:</label> <input id=name>"
                        "<tr><th abbr=e>E-mail<td><input></table>");
    EXPECT_TRUE(labelled.Table().HeaderCellsHaveAbbreviations());
    CTablePage besideLabel("<table><tr><th abbr=n>Name<th><label for=\"name\">Name</label> <input id=name> first "
                           "and last<tr><th abbr=e>E-mail<td><input></table>");
    EXPECT_FALSE(besideLabel.Table().HeaderCellsHaveAbbreviations());
    CTablePage withoutField("<table><tr><th abbr=n>Name<th><label for=\"name\">Your name:</label>"
                            "<tr><th abbr=e>E-mail<td><input id=name></table>");
    EXPECT_FALSE(withoutField.Table().HeaderCellsHaveAbbreviations());
}

TEST(TableRecordQueries, AbbreviationsGivenByARepairCount)
{
    CTablePage page("<table><tr><th>Quantity</table>");
    EXPECT_FALSE(page.Table().HeaderCellsHaveAbbreviations());
    const_cast<CTableCell&>(page.Cell(0, 0)).SetAbbreviation("Qty");
    EXPECT_TRUE(page.Table().HeaderCellsHaveAbbreviations());
    EXPECT_FALSE(page.Table().RowHeaderAbbreviationsFlag());  // as read
    EXPECT_EQ(page.Cell(0, 0).OriginalAbbreviation(), "");
    EXPECT_TRUE(page.Cell(0, 0).StartElement().IsModified());
    EXPECT_EQ(page.Written(), "<table><tr><th abbr=\"Qty\">Quantity</table>");
}

TEST(TableRecordQueries, HeaderAssociationsAreScopeAxisOrHeaders)
{
    EXPECT_FALSE(CTablePage("<table><tr><th>a<td>b</table>").Table().HasHeaderAssociations());
    EXPECT_TRUE(CTablePage("<table><tr><th scope=col>a<td>b</table>").Table().HasHeaderAssociations());
    EXPECT_TRUE(CTablePage("<table><tr><th>a<td axis=x>b</table>").Table().HasHeaderAssociations());
    EXPECT_TRUE(CTablePage("<table><tr><th>a<td headers=h>b</table>").Table().HasHeaderAssociations());

    CTablePage excluded("<table><tr><th scope=col>a<tr><td>b</table>");
    excluded.Table().ExcludeRow(*excluded.Table().Rows()[0], true);
    EXPECT_FALSE(excluded.Table().HasHeaderAssociations());
}

TEST(TableRecordQueries, StructuralMarkupIsAnyThCellThatIsNotIgnored)
{
    CTablePage page("<table><tr><td>a<tr><th>b</table>");
    EXPECT_TRUE(page.Table().HasStructuralMarkup());
    // Excluding the row deletes its cells, so they no longer count.
    page.Table().ExcludeRow(*page.Table().Rows()[1], true);
    EXPECT_FALSE(page.Table().HasStructuralMarkup());
    page.Table().ExcludeRow(*page.Table().Rows()[1], false);
    EXPECT_TRUE(page.Table().HasStructuralMarkup());
    page.Table().ExcludeCell(const_cast<CTableCell&>(page.Cell(1, 0)), true);
    EXPECT_FALSE(page.Table().HasStructuralMarkup());
    EXPECT_FALSE(CTablePage("<table><tr><td>a</table>").Table().HasStructuralMarkup());
}

// --- Excluding --------------------------------------------------------------------------

TEST(TableRecordExclude, AnExcludedRowLeavesTheWrittenPageAndComesBack)
{
    const std::string text = "<table><tr><td>a</td></tr><tr><td>b<i>c</i></td></tr></table>";
    CTablePage page(text);
    CTableRecord& table = page.Table();
    CTableRow& second = *table.Rows()[1];
    table.ExcludeRow(second, true);
    EXPECT_TRUE(second.IsExcluded());
    EXPECT_EQ(page.Written(), "<table><tr><td>a</td></tr></table>");
    table.ExcludeRow(second, false);
    EXPECT_FALSE(second.IsExcluded());
    EXPECT_EQ(page.Written(), text);
}

TEST(TableRecordExclude, AnExcludedCellIsIgnoredAndLeavesThePage)
{
    CTablePage page("<table><tr><td>a</td><td>b</td></tr></table>");
    CTableCell& cell = const_cast<CTableCell&>(page.Cell(0, 1));
    page.Table().ExcludeCell(cell, true);
    EXPECT_TRUE(cell.IsIgnored());
    EXPECT_EQ(page.Written(), "<table><tr><td>a</td></tr></table>");
    page.Table().ExcludeCell(cell, false);
    EXPECT_FALSE(cell.IsIgnored());
}

TEST(TableRecordExclude, TheFirstRowAndColumnFlagsApplyWhenTheRecordIsBuilt)
{
    test::CParsedPage page;
    page.FromText("<table><tr><th>h<th>h</tr><tr><th>r<td>1</tr></table>");
    CTableRecord table;
    table.SetFirstRowFlag(true);
    table.SetFirstColumnFlag(true);
    table.Build(page.document, page.At(0));
    EXPECT_TRUE(table.Rows()[0]->IsExcluded());
    EXPECT_TRUE(table.Rows()[1]->Cells()[0]->IsIgnored());
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.ColumnCount(), 1);
    // Numbering still counts every cell.
    EXPECT_EQ(table.Rows()[1]->Cells()[1]->SequenceNumber(), 3);
}

// --- Markup -----------------------------------------------------------------------------

TEST(TableRecordMarkup, WritesTheRowsAndCellsThatCount)
{
    CTablePage page("<table summary=\"s\"><caption>Cap</caption><tr class=x><th abbr=\"A\">a<td>b<b>c</b>"
                    "<tr><td>gone</td></tr><tr><td>d</td><td>e</td></tr></table>");
    CTableRecord& table = page.Table();
    table.ExcludeRow(*table.Rows()[1], true);
    table.ExcludeCell(*table.Rows()[2]->Cells()[1], true);
    std::ostringstream out;
    EXPECT_EQ(table.WriteMarkup(out, 0), 1);
    EXPECT_EQ(out.str(), "<table summary=\"s\">\n<caption>Cap</caption>\n"
                         "<tr class=\"x\"><th abbr=\"A\">a</th><td>b<b>c</b></td></tr>\n"
                         "<tr><td>d</td></tr>\n</table>");
}

TEST(TableRecordMarkup, TheGridFlagDrawsTheBorderAndRetypedCellsAreWrittenAsTheyAreNow)
{
    CTablePage page("<table border=0 width=\"100%\"><tr><td>a</td></tr></table>");
    const_cast<CTableCell&>(page.Cell(0, 0)).SetType(cell_type::kTh);
    std::ostringstream out;
    EXPECT_EQ(page.Table().WriteMarkup(out, CTableRecord::kMarkupShowGrid), 1);
    EXPECT_EQ(out.str(), "<table width=\"100%\" border=\"1\">\n<tr><th>a</th></tr>\n</table>");
}

TEST(TableRecordMarkup, ReportsAStreamThatFailed)
{
    CTablePage page("<table><tr><td>a</td></tr></table>");
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(page.Table().WriteMarkup(out, 0), 0);
    CTableRecord unbuilt;
    std::ostringstream fresh;
    EXPECT_EQ(unbuilt.WriteMarkup(fresh, 0), 0);
}

} // namespace
} // namespace orvane
