#include "table_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/checks/element_table.h"
#include "library/registry/object_database.h"
#include "library/registry/src_table.h"
#include "library/tables/table_record.h"
#include "library/tables/table_type_question.h"
#include "library/ui/pages/tables/page_table_header.h"
#include "library/ui/pages/tables/page_table_header_abbrev.h"
#include "platform/registry.h"

#include <filesystem>
#include <fstream>

namespace orvane::test {
namespace {

using platform::GridScope;
using Header = CPageTableHeader;

class TableHeaderPagesTest : public TableRunTest {
protected:
    TableHeaderPagesTest() : TableRunTest(table_type::kData, "/site/timetable.html") {}
    bool Checked(std::string_view checkName) const { return Reported(checkName) > 0; }
};

// The timetable's header row is written as bold data cells and its harbours
// as plain ones: the page proposes both, the user changes and restores the
// marks, and the page is written with th cells and their scopes, nothing else
// changed. Undo gives the page back; the next session knows the table.
TEST_F(TableHeaderPagesTest, MarkedHeadersAreWrittenAsThWithScopesUndoneExactlyAndRememberedNextSession)
{
    const std::string original = ExamplePage("island-ferry-timetable.html");
    std::string repaired = original;
    for (std::string_view head : {"Harbour of departure", "Early morning crossing", "Morning crossing",
                                  "Midday crossing", "Afternoon crossing", "Evening crossing (Fridays only)"}) {
        const std::string was = "<td><b>" + std::string(head) + "</b></td>";
        repaired = Replaced(repaired, was, "<th scope=\"col\"><b>" + std::string(head) + "</b></th>");
    }
    for (std::string_view harbour :
         {"Northport ferry terminal", "Gull Island pier", "Lighthouse Bay jetty", "Southwick harbour"})
        repaired = Replaced(repaired, "<td>" + std::string(harbour) + "</td>",
                            "<th scope=\"row\">" + std::string(harbour) + "</th>");

    const std::string registryFile = RegistryFile();
    WriteEmptyRegistry(registryFile);
    {
        CSrcObjectDatabase registry(registryFile);
        ASSERT_EQ(registry.Load(), 1);
        LoadWith(registry, original);
        ASSERT_EQ(question.asked, 1);
        ASSERT_EQ(StartSheetWith(registry, "TableHeaders"), 1);
        RunSheetToFinish([&](CMemoryWindow& w) {
            CMemoryWindow& page = w.PageWindow(0);
            EXPECT_EQ(page.Text(1001), Strings(1030));
            const platform::GridContent& grid = page.GridOf(Header::kGrid);
            ASSERT_EQ(grid.rows, 5);
            ASSERT_EQ(grid.columns, 6);
            EXPECT_EQ(grid.cells[0].text, "Harbour of departure");
            EXPECT_EQ(grid.cells[5].text, "Evening crossing (Fridays only)");
            // Proposed: the header row, and the harbours beside the times.
            EXPECT_TRUE(page.IsGridHeader(Header::kGrid, 0, 4));
            EXPECT_TRUE(page.IsGridHeader(Header::kGrid, 3, 0));
            EXPECT_FALSE(page.IsGridHeader(Header::kGrid, 3, 1));

            // The whole header row taken back, the harbours too: no header is left.
            page.MoveToGridCell(Header::kGrid, 0, 2);
            EXPECT_EQ(page.Text(Header::kMarkRow), "Unmark &row");
            page.ToggleGridHeader(Header::kGrid, GridScope::Row);
            EXPECT_FALSE(page.IsGridHeader(Header::kGrid, 0, 0));
            EXPECT_EQ(page.Text(Header::kMarkRow), "Mark &row as header");
            page.MoveToGridCell(Header::kGrid, 2, 0);
            page.Click(Header::kMarkColumn);  // the corner is no header now: the column is marked whole
            EXPECT_TRUE(page.IsGridHeader(Header::kGrid, 0, 0));
            page.ToggleGridHeader(Header::kGrid, GridScope::Column);
            EXPECT_FALSE(page.IsGridHeader(Header::kGrid, 4, 0));
            w.Click(kIdFinish);
            EXPECT_EQ(w.CurrentPage(), 0);
            ASSERT_TRUE(ToldLast(1, Strings(1031)));
            EXPECT_EQ(document.Text(), original);

            // Marked again, row by button, column by keys; one cell on and off.
            page.MoveToGridCell(Header::kGrid, 0, 1);
            page.Click(Header::kMarkRow);
            page.MoveToGridCell(Header::kGrid, 2, 0);
            page.ToggleGridHeader(Header::kGrid, GridScope::Column);
            page.MoveToGridCell(Header::kGrid, 1, 3);
            page.ToggleGridHeader(Header::kGrid, GridScope::Cell);
            EXPECT_EQ(page.Text(Header::kCurrentCell), "Row 2, column 4: \"12:10\" is a header cell.");
            page.ToggleGridHeader(Header::kGrid, GridScope::Cell);
            EXPECT_EQ(page.Text(Header::kCurrentCell), "Row 2, column 4: \"12:10\" is a data cell.");
            w.Click(kIdFinish);
        });
        EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);
        EXPECT_EQ(document.Text(), repaired);
        CTableRecord& record = Record();
        EXPECT_EQ(record.Rows()[0]->Cells()[5]->Type(), cell_type::kTh);
        EXPECT_EQ(record.Rows()[2]->Cells()[0]->Type(), cell_type::kTh);
        EXPECT_EQ(record.Rows()[2]->Cells()[1]->Type(), cell_type::kTd);
        EXPECT_TRUE(record.HasRowHeaders() && record.HasColumnHeaders());
        ASSERT_TRUE(record.RegistryRecord());
        EXPECT_TRUE(record.RegistryRecord()->RowHeaders());
        EXPECT_TRUE(record.RegistryRecord()->ColumnHeaders());

        // Undone: the page, the cell types and the registry's flags as they were.
        RunSheetToFinish([&](CMemoryWindow& w) {
            w.Click(kSkipUndo);
            EXPECT_EQ(document.Text(), original);
            EXPECT_EQ(record.Rows()[0]->Cells()[0]->Type(), cell_type::kTd);
            EXPECT_FALSE(record.RegistryRecord()->RowHeaders());
            EXPECT_FALSE(record.RegistryRecord()->ColumnHeaders());
            // The proposal is back; taken as it is, it gives the same page.
            EXPECT_TRUE(w.PageWindow(0).IsGridHeader(Header::kGrid, 4, 0));
            w.Click(kIdFinish);
        });
        EXPECT_EQ(document.Text(), repaired);
        ASSERT_EQ(registry.Save(), 1);
        document.SetObjectRegistry(nullptr);
    }
    // The next session meets the repaired page: the table is known by its
    // cells as they are now, so nobody is asked and its headers are not reported.
    CSrcObjectDatabase next(registryFile);
    ASSERT_NO_FATAL_FAILURE(LoadInNextSession(next, repaired));
    EXPECT_EQ(question.asked, 1);
    EXPECT_FALSE(Checked("TableHeaders"));
    ASSERT_TRUE(Record().RegistryRecord());
    EXPECT_TRUE(Record().RegistryRecord()->RowHeaders());
    document.SetObjectRegistry(nullptr);
}

// A route table whose first header spans two rows and whose second spans two
// columns: the grid places each cell as a browser does, the row of weekdays
// below is marked with Ctrl+Space, and only the retyped tags change, in the
// letter case they were written in; undone, the page is as it was.
TEST_F(TableHeaderPagesTest, SpanningHeadersAreLaidOutAsABrowserDoesAndOnlyTheRetypedTagsChange)
{
    const std::string page =
        "<html lang=\"en\"><head><title>Routes</title></head><body>\r\n<TABLE border=1>\r\n"
        "<TR><TD ROWSPAN=2>Route</TD><TD COLSPAN=2>Departs</TD></TR>\r\n"
        "<TR><TD>Mon</TD><TD>Sat</TD></TR>\r\n"
        "<TR><TD>Kiel</TD><TD>7</TD><TD>9</TD></TR>\r\n</TABLE>\r\n</body></html>\r\n";
    CSrcObjectDatabase registry(folder.string() + "/ObjectRegistry.xml");
    LoadWith(registry, page);
    StartSheet();
    ASSERT_EQ(AddPages("TableHeaders"), 1);
    std::string written;
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& grid = w.PageWindow(0);
        const platform::GridContent& content = grid.GridOf(Header::kGrid);
        ASSERT_EQ(content.rows, 3);
        ASSERT_EQ(content.columns, 3);
        EXPECT_EQ(grid.GridCellAt(Header::kGrid, 1, 0), grid.GridCellAt(Header::kGrid, 0, 0)) << "Route spans two rows";
        EXPECT_EQ(grid.GridCellAt(Header::kGrid, 0, 2), grid.GridCellAt(Header::kGrid, 0, 1)) << "Departs spans two columns";
        EXPECT_EQ(content.cells[static_cast<std::size_t>(grid.GridCellAt(Header::kGrid, 1, 1))].text, "Mon");
        // Weekdays are no figures: only the first row is proposed.
        EXPECT_TRUE(grid.IsGridHeader(Header::kGrid, 1, 0));
        EXPECT_FALSE(grid.IsGridHeader(Header::kGrid, 1, 2));
        EXPECT_FALSE(grid.IsGridHeader(Header::kGrid, 2, 0));
        grid.MoveToGridCell(Header::kGrid, 1, 2);
        grid.ToggleGridHeader(Header::kGrid, GridScope::Row);
        EXPECT_TRUE(grid.IsGridHeader(Header::kGrid, 1, 1));
        EXPECT_TRUE(grid.IsGridHeader(Header::kGrid, 0, 0)) << "the spanning cell stays marked";
        grid.MoveToGridCell(Header::kGrid, 2, 0);
        grid.ToggleGridHeader(Header::kGrid, GridScope::Cell);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);
    std::string repaired = page;
    repaired = Replaced(repaired, "<TD ROWSPAN=2>Route</TD>", "<TH ROWSPAN=\"2\" scope=\"col\">Route</TH>");
    repaired = Replaced(repaired, "<TD COLSPAN=2>Departs</TD>", "<TH COLSPAN=\"2\" scope=\"col\">Departs</TH>");
    repaired = Replaced(repaired, "<TD>Mon</TD><TD>Sat</TD>", "<TH scope=\"col\">Mon</TH><TH scope=\"col\">Sat</TH>");
    repaired = Replaced(repaired, "<TD>Kiel</TD>", "<TH scope=\"row\">Kiel</TH>");
    ExpectWrittenThenUndone(page, repaired);
    EXPECT_EQ(Record().Rows()[2]->Cells()[0]->Type(), cell_type::kTd);
    document.SetObjectRegistry(nullptr);
}

// Each header position of the timetable is proposed the first word of its
// text; the user shortens one and the page writes every abbr attribute,
// nothing else changed. Undone, the page is as it was; the next session
// finds the abbreviations and reports nothing.
TEST_F(TableHeaderPagesTest, AbbreviationsProposedFromTheFirstWordAreWrittenAsAbbrUndoneExactlyAndKept)
{
    using Abbrev = CPageTableHeaderAbbrev;
    const std::string original = ExamplePage("island-ferry-timetable.html");
    const std::vector<std::pair<std::string, std::string>> heads = {
        {"<td><b>Harbour of departure", "Harbour"},   {"<td><b>Early morning crossing", "Early"},
        {"<td><b>Morning crossing", "Morning"},       {"<td><b>Midday crossing", "Midday"},
        {"<td><b>Afternoon crossing", "Afternoon"},   {"<td><b>Evening crossing", "Evening &amp; Fri"},
        {"<td>Northport ferry terminal", "Northport"}, {"<td>Gull Island pier", "Gull"},
        {"<td>Lighthouse Bay jetty", "Lighthouse"},   {"<td>Southwick harbour", "Southwick"}};
    std::string repaired = original;
    for (const auto& [cell, abbr] : heads)
        repaired = Replaced(repaired, cell, "<td abbr=\"" + abbr + "\">" + cell.substr(4));

    const std::string registryFile = RegistryFile();
    WriteEmptyRegistry(registryFile);
    {
        CSrcObjectDatabase registry(registryFile);
        ASSERT_EQ(registry.Load(), 1);
        ASSERT_EQ(OpenSheetWith(registry, original, "TableAbbreviations"), 1);
        RunSheetToFinish([&](CMemoryWindow& w) {
            CMemoryWindow& page = w.PageWindow(0);
            EXPECT_EQ(page.Text(1001), Strings(1043));
            ASSERT_EQ(page.ItemCount(Abbrev::kCells), 10);
            EXPECT_EQ(page.ItemText(Abbrev::kCells, 5, 0), "Row 1, column 6");
            EXPECT_EQ(page.ItemText(Abbrev::kCells, 5, 1), "Evening crossing (Fridays only)");
            EXPECT_EQ(page.ItemText(Abbrev::kCells, 5, 2), "Evening");
            EXPECT_EQ(page.ItemText(Abbrev::kCells, 6, 0), "Row 2, column 1");
            EXPECT_EQ(page.Text(Abbrev::kAbbreviation), "Harbour");

            // None left: the user is kept on the page, and the page is unchanged.
            for (int row = 0; row < 10; ++row) {
                page.SelectOnlyRows(Abbrev::kCells, {row});
                page.Type(Abbrev::kAbbreviation, "  ");
            }
            w.Click(kIdFinish);
            EXPECT_EQ(w.CurrentPage(), 0);
            ASSERT_TRUE(ToldLast(1, Strings(1044)));
            EXPECT_EQ(document.Text(), original);

            for (int row = 0; row < 10; ++row) {
                page.SelectOnlyRows(Abbrev::kCells, {row});
                std::string abbr = heads[static_cast<std::size_t>(row)].second;
                if (row == 5)
                    abbr = "Evening & Fri";
                page.Type(Abbrev::kAbbreviation, abbr);
            }
            EXPECT_EQ(page.ItemText(Abbrev::kCells, 5, 2), "Evening & Fri");
            w.Click(kIdFinish);
        });
        EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);
        EXPECT_EQ(document.Text(), repaired);
        CTableRecord& record = Record();
        EXPECT_EQ(record.Rows()[3]->Cells()[0]->Abbreviation(), "Lighthouse");
        EXPECT_TRUE(record.HeaderCellsHaveAbbreviations());
        ASSERT_TRUE(record.RegistryRecord());
        EXPECT_TRUE(record.RegistryRecord()->RowHeaderAbbreviations());
        EXPECT_TRUE(record.RegistryRecord()->ColumnHeaderAbbreviations());

        RunSheetToFinish([&](CMemoryWindow& w) {
            w.Click(kSkipUndo);
            EXPECT_EQ(document.Text(), original);
            EXPECT_FALSE(record.HeaderCellsHaveAbbreviations());
            EXPECT_FALSE(record.RegistryRecord()->ColumnHeaderAbbreviations());
            EXPECT_EQ(w.PageWindow(0).ItemText(Abbrev::kCells, 5, 2), "Evening");
            w.PageWindow(0).SelectOnlyRows(Abbrev::kCells, {5});
            w.PageWindow(0).Type(Abbrev::kAbbreviation, "Evening & Fri");
            w.Click(kIdFinish);
        });
        EXPECT_EQ(document.Text(), repaired);
        ASSERT_EQ(registry.Save(), 1);
        document.SetObjectRegistry(nullptr);
    }
    CSrcObjectDatabase next(registryFile);
    ASSERT_NO_FATAL_FAILURE(LoadInNextSession(next, repaired));
    EXPECT_EQ(question.asked, 1);
    EXPECT_FALSE(Checked("TableAbbreviations"));
    ASSERT_TRUE(Record().RegistryRecord());
    EXPECT_TRUE(Record().RegistryRecord()->RowHeaderAbbreviations());
    document.SetObjectRegistry(nullptr);
}

// On a Latin-1 page an abbreviation the page has is shown decoded and, taken
// as it is, keeps its bytes however often the page is applied; a proposal
// from a header's text is its first word decoded, written back in Latin-1.
TEST_F(TableHeaderPagesTest, AbbreviationsOfALatin1PageAreShownDecodedAndKeepTheirBytes)
{
    using Abbrev = CPageTableHeaderAbbrev;
    std::string original = Replaced(ExamplePage("island-ferry-timetable.html"), "<td><b>Harbour of departure",
                                    "<td><b>Gr\xF6\xDF" "e des Hafens");
    original = Replaced(original, "<td><b>Evening crossing", "<td abbr=\"Abends &amp; Fr\xFC\">"
                                                              "<b>Evening crossing");
    const std::string registryFile = RegistryFile();
    WriteEmptyRegistry(registryFile);
    CSrcObjectDatabase registry(registryFile);
    ASSERT_EQ(registry.Load(), 1);
    ASSERT_EQ(OpenSheetWith(registry, original, "TableAbbreviations"), 1);
    for (int round = 0; round < 2; ++round) {
        RunSheetToFinish([&](CMemoryWindow& w) {
            CMemoryWindow& page = w.PageWindow(0);
            EXPECT_EQ(page.ItemText(Abbrev::kCells, 0, 1), "Gr\xC3\xB6\xC3\x9F" "e des Hafens");
            EXPECT_EQ(page.ItemText(Abbrev::kCells, 0, 2), "Gr\xC3\xB6\xC3\x9F" "e");
            EXPECT_EQ(page.ItemText(Abbrev::kCells, 5, 2), "Abends & Fr\xC3\xBC");
            w.Click(kIdFinish);
        });
        const std::string& written = document.Text();
        EXPECT_NE(written.find("<td abbr=\"Gr\xF6\xDF" "e\"><b>Gr\xF6\xDF" "e des Hafens"), std::string::npos);
        EXPECT_NE(written.find("<td abbr=\"Abends &amp; Fr\xFC\"><b>Evening crossing"), std::string::npos);
        EXPECT_EQ(written.find("&amp;amp;"), std::string::npos);
    }
    UndoOnSheet();
    EXPECT_EQ(document.Text(), original);
    document.SetObjectRegistry(nullptr);
}

} // namespace
} // namespace orvane::test
