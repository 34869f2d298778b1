#include "table_fixture.h"

#include "library/checks/element_table.h"
#include "library/registry/object_database.h"
#include "library/tables/table_record.h"
#include "library/ui/pages/tables/page_table_multilevel.h"

#include <fstream>

namespace orvane::test {
namespace {

using Page = CPageTableMultilevel;
constexpr std::uint32_t kMultilevelBit = 0x8;

// The row of the header list that shows this header text.
int ListRow(CMemoryWindow& page, std::string_view header, int nth = 0)
{
    for (int row = 0; row < page.ItemCount(Page::kHeaders); ++row) {
        if (page.ItemText(Page::kHeaders, row, 0) == header && nth-- == 0)
            return row;
    }
    ADD_FAILURE() << "no header " << header;
    return -1;
}

class TableMultilevelPageTest : public TableRunTest {
protected:
    TableMultilevelPageTest() : TableRunTest(table_type::kData, "/site/season-fares.html") {}
};

// The season fares: "Adults" and "Children" over "Single" and "Return",
// each route over its summer and winter rows. Every fare is tied to its two
// column headers and its two row headers, one cell the user corrects by
// keyboard; the headers get ids from their texts (numbered on where one
// repeats, the one the page links to keeps its own), and nothing else of the
// page changes. Undo gives the page back; the next session finds the table
// tied to its headers and reports nothing.
TEST_F(TableMultilevelPageTest, FaresAreTiedToTheirHeadersAtBothLevelsUndoneExactlyAndNotReportedAgain)
{
    const std::string original = ExamplePage("season-fares.html");
    std::string repaired = original;
    const std::vector<std::pair<std::string, std::string>> ids = {
        {"<th rowspan=\"2\">Route</th>", "<th rowspan=\"2\" id=\"h-route\">Route</th>"},
        {"<th rowspan=\"2\">Season</th>", "<th rowspan=\"2\" id=\"h-season\">Season</th>"},
        {"<th colspan=\"2\">Adults</th>", "<th colspan=\"2\" id=\"h-adults\">Adults</th>"},
        {"<tr><th>Single</th><th>Return</th><th>Single</th><th>Return</th></tr>",
         "<tr><th id=\"h-single\">Single</th><th id=\"h-return\">Return</th><th id=\"h-single-2\">Single</th>"
         "<th id=\"h-return-2\">Return</th></tr>"}};
    for (const auto& [was, is] : ids)
        repaired = Replaced(repaired, was, is);
    struct Route {
        std::string source, id;
        std::vector<std::string> summer, winter;
    };
    const std::vector<Route> routes = {
        {"Northport &amp; Gull Island", "h-northport-gull-island", {"6.50", "12.00", "3.20", "6.00"},
         {"5.50", "10.00", "2.70", "5.00"}},
        {"Northport &amp; Lighthouse Bay", "h-northport-lighthouse-bay", {"7.80", "14.50", "3.90", "7.20"},
         {"6.90", "12.80", "3.40", "6.40"}},
        {"Gull Island &amp; Southwick", "h-gull-island-southwick", {"4.10", "7.60", "2.00", "3.80"},
         {"3.60", "6.70", "1.80", "3.30"}}};
    const std::string columns[] = {"h-adults h-single", "h-adults h-return", "children h-single-2", "children h-return-2"};
    for (std::size_t r = 0; r < routes.size(); ++r) {
        const std::string n = r == 0 ? "" : "-" + std::to_string(r + 1);
        for (const bool summer : {true, false}) {
            const std::string season = summer ? "Summer" : "Winter";
            const std::string seasonId = (summer ? "h-summer" : "h-winter") + n;
            std::string was = summer ? "<th rowspan=\"2\">" + routes[r].source + "</th>" : std::string();
            std::string is = summer ? "<th rowspan=\"2\" id=\"" + routes[r].id + "\">" + routes[r].source + "</th>"
                                    : std::string();
            was += "<th>" + season + "</th>";
            is += "<th id=\"" + seasonId + "\">" + season + "</th>";
            const std::vector<std::string>& fares = summer ? routes[r].summer : routes[r].winter;
            for (std::size_t c = 0; c < fares.size(); ++c) {
                was += "<td>" + fares[c] + "</td>";
                std::string headers = columns[c] + " " + routes[r].id + " " + seasonId;
                if (r == 0 && summer && c == 0)
                    headers = "h-adults h-single h-northport-gull-island";  // the user's correction
                is += "<td headers=\"" + headers + "\">" + fares[c] + "</td>";
            }
            repaired = Replaced(repaired, was, is);
        }
    }

    const std::string registryFile = RegistryFile();
    WriteEmptyRegistry(registryFile);
    {
        CSrcObjectDatabase registry(registryFile);
        ASSERT_EQ(registry.Load(), 1);
        ASSERT_EQ(OpenSheetWith(registry, original, "TableMultipleTH"), 1);
        RunSheetToFinish([&](CMemoryWindow& w) {
            CMemoryWindow& page = w.PageWindow(0);
            EXPECT_EQ(page.Text(1001), Strings(1160));
            const platform::GridContent& grid = page.GridOf(Page::kGrid);
            ASSERT_EQ(grid.rows, 8);
            ASSERT_EQ(grid.columns, 6);
            EXPECT_EQ(page.GridCellAt(Page::kGrid, 0, 3), page.GridCellAt(Page::kGrid, 0, 2)) << "Adults spans two columns";
            EXPECT_EQ(page.GridCellAt(Page::kGrid, 3, 0), page.GridCellAt(Page::kGrid, 2, 0)) << "a route spans two rows";
            EXPECT_TRUE(page.IsGridHeader(Page::kGrid, 1, 4));
            EXPECT_TRUE(page.IsGridHeader(Page::kGrid, 3, 0));
            EXPECT_FALSE(page.IsGridHeader(Page::kGrid, 3, 2));
            ASSERT_EQ(page.ItemCount(Page::kHeaders), 17);
            EXPECT_EQ(page.ItemText(Page::kHeaders, 8, 0), "Northport & Gull Island");
            EXPECT_EQ(page.ItemText(Page::kHeaders, 8, 1), "Row 3, column 1");

            // A winter fare for children: its column's two levels, its route and its season.
            page.MoveToGridCell(Page::kGrid, 5, 4);
            EXPECT_EQ(page.Text(Page::kCurrentCell),
                      "Row 6, column 5: \"3.40\" is read with the headers Children, Single, "
                      "Northport & Lighthouse Bay, Winter.");
            EXPECT_EQ(page.ItemText(Page::kHeaders, ListRow(page, "Children"), 2), "Yes");
            EXPECT_EQ(page.ItemText(Page::kHeaders, ListRow(page, "Adults"), 2), "No");
            EXPECT_EQ(page.ItemText(Page::kHeaders, ListRow(page, "Single", 1), 2), "Yes");
            EXPECT_EQ(page.ItemText(Page::kHeaders, ListRow(page, "Single", 0), 2), "No");

            // A header cell is named, and has no headers to choose.
            page.MoveToGridCell(Page::kGrid, 1, 4);
            EXPECT_EQ(page.Text(Page::kCurrentCell),
                      "Row 2, column 5: \"Single\" is a header cell, named \"h-single-2\" in the headers of its data cells.");
            EXPECT_FALSE(page.IsEnabled(Page::kHeaders));
            page.MoveToGridCell(Page::kGrid, 0, 4);
            EXPECT_EQ(page.Text(Page::kCurrentCell),
                      "Row 1, column 5: \"Children\" is a header cell, named \"children\" in the headers of its data cells.");

            // The first fare: its season taken away by Space, a header added
            // and taken back by double-click.
            page.MoveToGridCell(Page::kGrid, 2, 2);
            EXPECT_TRUE(page.IsEnabled(Page::kHeaders));
            page.SelectOnlyRows(Page::kHeaders, {ListRow(page, "Summer")});
            page.PressKey(Page::kHeaders, platform::Key::Space);
            EXPECT_EQ(page.Text(Page::kCurrentCell),
                      "Row 3, column 3: \"6.50\" is read with the headers Adults, Single, Northport & Gull Island.");
            EXPECT_EQ(page.ItemText(Page::kHeaders, ListRow(page, "Summer"), 2), "No");
            // Moving through the grid, a screen reader hears the headers with the value.
            const auto spoken = [&](int row, int column) {
                return page.GridOf(Page::kGrid).cells[static_cast<std::size_t>(page.GridCellAt(Page::kGrid, row, column))].description;
            };
            EXPECT_EQ(spoken(2, 2), "Headers: Adults, Single, Northport & Gull Island");
            EXPECT_EQ(spoken(7, 5), "Headers: Children, Return, Gull Island & Southwick, Winter");
            EXPECT_EQ(spoken(1, 2), "");
            page.DoubleClickRow(Page::kHeaders, ListRow(page, "Route"));
            EXPECT_EQ(page.ItemText(Page::kHeaders, ListRow(page, "Route"), 2), "Yes");
            page.DoubleClickRow(Page::kHeaders, ListRow(page, "Route"));
            page.MoveToGridCell(Page::kGrid, 7, 5);
            page.MoveToGridCell(Page::kGrid, 2, 2);
            EXPECT_EQ(page.ItemText(Page::kHeaders, ListRow(page, "Summer"), 2), "No") << "the choice stays with the cell";
            w.Click(kIdFinish);
        });
        EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);
        EXPECT_EQ(document.Text(), repaired);
        EXPECT_TRUE(Record().HasHeaderAssociations());

        // Undone: every id and headers attribute gone, the page as it was; the
        // page works the headers out anew, and taken as they are they give
        // the same ids.
        RunSheetToFinish([&](CMemoryWindow& w) {
            w.Click(kSkipUndo);
            EXPECT_EQ(document.Text(), original);
            EXPECT_FALSE(Record().HasHeaderAssociations());
            CMemoryWindow& page = w.PageWindow(0);
            page.MoveToGridCell(Page::kGrid, 2, 2);
            EXPECT_EQ(page.ItemText(Page::kHeaders, ListRow(page, "Summer"), 2), "Yes");
            page.SelectOnlyRows(Page::kHeaders, {ListRow(page, "Summer")});
            page.PressKey(Page::kHeaders, platform::Key::Space);
            w.Click(kIdFinish);
        });
        EXPECT_EQ(document.Text(), repaired);
        ASSERT_EQ(registry.Save(), 1);
        document.SetObjectRegistry(nullptr);
    }
    // The table is known by its summary: nobody is asked about it again, and
    // its cells are tied to their headers now.
    const int asked = question.asked;
    CSrcObjectDatabase next(registryFile);
    ASSERT_NO_FATAL_FAILURE(LoadInNextSession(next, repaired));
    EXPECT_EQ(question.asked, asked);
    EXPECT_EQ(Reported("TableMultipleTH"), 0);
    document.SetObjectRegistry(nullptr);
}

// A table the page reaches with one cell already naming a note beside the
// table: the note stays and the cell's headers are added after it, an id
// the page already uses is numbered on, and the page's CRLF lines are kept.
// Once the user chooses that cell's headers, the choice replaces what it had.
TEST_F(TableMultilevelPageTest, AHeadersAttributeIsMergedUntilTheUserChoosesAndTakenIdsAreNumberedOn)
{
    const std::string original =
        "<html lang=\"en\"><body>\r\n<h2 id=\"h-kiel\">Kiel</h2>\r\n"
        "<table summary=\"Crossings a day\">\r\n<tr><th>Harbour</th><th>Mon</th><th>Sat</th></tr>\r\n"
        "<tr><th>Kiel</th><td>7</td><td headers=\"note1\">9</td></tr>\r\n"
        "<tr><th>Oslo</th><td>2</td><td>3</td></tr>\r\n</table>\r\n<p id=\"note1\">More in summer.</p>\r\n"
        "</body></html>\r\n";
    CSrcObjectDatabase registry(folder.string() + "/ObjectRegistry.xml");
    LoadWith(registry, original);
    StartSheet();
    ASSERT_EQ(TableElement().AddRepairPages(sheet, document, kMultilevelBit), 1);
    const std::string headerIds =
        "<tr><th id=\"h-harbour\">Harbour</th><th id=\"h-mon\">Mon</th><th id=\"h-sat\">Sat</th></tr>\r\n";
    std::string merged = Replaced(original, "<tr><th>Harbour</th><th>Mon</th><th>Sat</th></tr>\r\n", headerIds);
    merged = Replaced(merged, "<tr><th>Kiel</th><td>7</td><td headers=\"note1\">9</td></tr>",
                      "<tr><th id=\"h-kiel-2\">Kiel</th><td headers=\"h-mon h-kiel-2\">7</td>"
                      "<td headers=\"note1 h-sat h-kiel-2\">9</td></tr>");
    merged = Replaced(merged, "<tr><th>Oslo</th><td>2</td><td>3</td></tr>",
                      "<tr><th id=\"h-oslo\">Oslo</th><td headers=\"h-mon h-oslo\">2</td>"
                      "<td headers=\"h-sat h-oslo\">3</td></tr>");
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) { w.Click(kIdFinish); });
    EXPECT_EQ(sheet.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(document.Text(), merged);

    RunSheetToFinish([&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        EXPECT_EQ(document.Text(), original);
        CMemoryWindow& page = w.PageWindow(0);
        page.MoveToGridCell(Page::kGrid, 1, 2);
        EXPECT_EQ(page.Text(Page::kCurrentCell), "Row 2, column 3: \"9\" is read with the headers Sat, Kiel.");
        page.SelectOnlyRows(Page::kHeaders, {ListRow(page, "Kiel")});
        page.PressKey(Page::kHeaders, platform::Key::Space);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), Replaced(merged, "<td headers=\"note1 h-sat h-kiel-2\">", "<td headers=\"h-sat\">"));
    document.SetObjectRegistry(nullptr);
}

// A large table without any header cell: nothing can be tied, and the user
// is told so and kept on the page, which stays as it was.
TEST_F(TableMultilevelPageTest, ATableWithoutHeaderCellsKeepsTheUserOnThePage)
{
    const std::string original =
        "<html lang=\"en\"><body><table summary=\"Crossings\"><tr><td>Kiel</td><td>7</td></tr>"
        "<tr><td>Oslo</td><td>2</td></tr><tr><td>Riga</td><td>1</td></tr><tr><td>Bergen</td><td>4</td></tr>"
        "</table></body></html>";
    CSrcObjectDatabase registry(folder.string() + "/ObjectRegistry.xml");
    LoadWith(registry, original);
    StartSheet();
    ASSERT_EQ(AddPages("TableMultipleTH"), 1);
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.ItemCount(Page::kHeaders), 0);
        EXPECT_FALSE(page.IsEnabled(Page::kHeaders));
        EXPECT_EQ(page.Text(Page::kCurrentCell), "Row 1, column 1: \"Kiel\" has no header cells.");
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, Strings(1161)));
        EXPECT_EQ(document.Text(), original);
        w.PressEscape();
    });
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kNotRepaired);
    EXPECT_EQ(document.Text(), original);
    document.SetObjectRegistry(nullptr);
}

} // namespace
} // namespace orvane::test
