#include "table_page.h"

#include "library/registry/object_database.h"
#include "library/registry/object_digest.h"
#include "library/registry/src_table.h"
#include "tests/registry/registry_fixture.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace orvane {
namespace {

using test::CTablePage;

constexpr std::string_view kHeader = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n";

class TableRecognition : public test::ObjectRegistryTest {
protected:
    // A registry read from a file that knows the given tables of page.html.
    void Load(const std::string& tables = {})
    {
        std::string file(kHeader);
        if (!tables.empty())
            file += "<document filename=\"page.html\" framesneeddescription=\"false\">\n" + tables + "</document>\n";
        file += "</root>";
        WriteFile(RegistryPath(), file);
        registry.SetFilePath(RegistryPath());
        ASSERT_EQ(registry.Load(), 1);
    }

    static std::string Known(std::string_view summary, bool layout, bool linearize = false)
    {
        return "<table id=\"" + ObjectDigest(summary) + "\" type=\"" + (layout ? "layout" : "data") +
               "\" rowheaders=\"false\" colheaders=\"false\" rowheaders_abbrev=\"false\" "
               "colheaders_abbrev=\"false\" linearize=\"" +
               (linearize ? "true" : "false") + "\" />\n";
    }

    CSrcObjectDatabase registry;
};

TEST_F(TableRecognition, WithoutARegistryTheTypeStaysUnknown)
{
    CTablePage page("<table summary=\"Prices\"><tr><td>1</table>");
    EXPECT_EQ(page.Table().Type(), table_type::kUnknown);
    EXPECT_EQ(page.Table().RegistryRecord(), nullptr);
    EXPECT_EQ(page.Table().Id(), "");
    page.Table().SetType(table_type::kLayout);
    EXPECT_EQ(page.Table().Type(), table_type::kLayout);
}

TEST_F(TableRecognition, AKnownSummaryGivesTheTypeTheRegistryRemembers)
{
    Load(Known("Layout grid", true) + Known("Prices", false));
    CTablePage page("<table summary=\"Layout grid\"><tr><td>1</table><table summary=\"Prices\"><tr><td>1</table>",
                    &registry);
    EXPECT_EQ(page.Table(0).Type(), table_type::kLayout);
    EXPECT_EQ(page.Table(0).Id(), ObjectDigest("Layout grid"));
    EXPECT_EQ(page.Table(0).RegistryRecord(), registry.FindTable("page.html", ObjectDigest("Layout grid")));
    EXPECT_EQ(page.Table(1).Type(), table_type::kData);
}

TEST_F(TableRecognition, AnUnknownSummaryIsAddedUnderTheDocumentsName)
{
    Load();
    CTablePage page("<table summary=\"Prices\"><tr><td>1</table>", &registry);
    CTableRecord& table = page.Table();
    EXPECT_EQ(table.Type(), table_type::kUnknown);
    ASSERT_NE(table.RegistryRecord(), nullptr);
    EXPECT_EQ(table.RegistryRecord()->Id(), ObjectDigest("Prices"));
    EXPECT_EQ(registry.FindTable("page.html", ObjectDigest("Prices")), table.RegistryRecord());
    EXPECT_TRUE(CSrcObjectDatabase::IsChanged());

    table.SetType(table_type::kLayout);
    EXPECT_TRUE(table.RegistryRecord()->IsLayout());
    table.SetType(table_type::kData);
    EXPECT_FALSE(table.RegistryRecord()->IsLayout());
}

TEST_F(TableRecognition, OnlyTheFirst2000CharactersOfTheSummaryCount)
{
    std::string summary(3000, 's');
    Load(Known(summary.substr(0, 2000), true));
    CTablePage page("<table summary=\"" + summary + "\"><tr><td>1</table>", &registry);
    EXPECT_EQ(page.Table().Type(), table_type::kLayout);
}

TEST_F(TableRecognition, ATableWithoutSummaryIsKnownAgainByItsCells)
{
    Load();
    const std::string table = "<table><tr><th>Tea</th><th>Price</th></tr><tr><td>Green</td><td>4</td></tr></table>";
    CTablePage page(table + table, &registry);
    const std::string& id = page.Table(0).Id();
    EXPECT_EQ(id.rfind("cells-", 0), 0u) << id;
    EXPECT_EQ(page.Table(1).Id(), id);
    ASSERT_NE(page.Table(0).RegistryRecord(), nullptr);
    EXPECT_EQ(page.Table(0).RegistryRecord()->Id(), id);

    // Only indented anew, the table is the same table.
    CTablePage indented("<table>\n  <tr><th> Tea </th><th>Price</th></tr>\n  <tr><td>Green</td><td>4\n</td></tr>\n</table>",
                        &registry);
    EXPECT_EQ(indented.Table().Id(), id);
}

TEST_F(TableRecognition, TablesThatDifferInTheirCellsOrShapeHaveTheirOwnIds)
{
    Load();
    CTablePage page("<table><tr><td>ab</td><td>c</td></tr></table>"
                    "<table><tr><td>a</td><td>bc</td></tr></table>"      // the same letters in other cells
                    "<table><tr><td>ab</td></tr><tr><td>c</td></tr></table>"  // in other rows
                    "<table><tr><th>ab</th><td>c</td></tr></table>"      // a header cell
                    "<table summary=\"x\"><tr><td>ab</td><td>c</td></tr></table>",
                    &registry);
    std::set<std::string> ids;
    for (std::size_t i = 0; i < 5; ++i)
        ids.insert(page.Table(i).Id());
    EXPECT_EQ(ids.size(), 5u);
    EXPECT_EQ(page.Table(4).Id(), ObjectDigest("x"));

    // Long tables that part only far into their cells still part.
    std::string rows;
    for (int i = 0; i < 300; ++i)
        rows += "<tr><td>row " + std::to_string(i) + "</td></tr>";
    CTablePage longTables("<table>" + rows + "<tr><td>a</td></tr></table><table>" + rows + "<tr><td>b</td></tr></table>",
                          &registry);
    EXPECT_NE(longTables.Table(0).Id(), longTables.Table(1).Id());
}

TEST_F(TableRecognition, ATableWithoutSummaryTheRegistryKnowsGetsItsType)
{
    const std::string table = "<table><tr><td>Menu</td><td>Text</td></tr></table>";
    const std::string id = CTablePage(table, &registry).Table().Id();
    Load("<table id=\"" + id +
         "\" type=\"layout\" rowheaders=\"false\" colheaders=\"false\" rowheaders_abbrev=\"false\" "
         "colheaders_abbrev=\"false\" linearize=\"false\" />\n");
    CTablePage page(table + "<table summary=\"\"><tr><td>Menu</td><td>Other text</td></tr></table>", &registry);
    EXPECT_EQ(page.Table(0).Type(), table_type::kLayout);
    EXPECT_EQ(page.Table(1).Type(), table_type::kUnknown);
}

TEST_F(TableRecognition, TablesWithTheSameSummaryShareOneRecord)
{
    Load();
    CTablePage page("<table summary=\"Same\"><tr><td>1</table><table summary=\"Same\"><tr><td>2</table>", &registry);
    EXPECT_EQ(page.Table(0).Id(), page.Table(1).Id());
    EXPECT_EQ(page.Table(0).RegistryRecord(), page.Table(1).RegistryRecord());
    // Neither is judged yet, so neither has a type; an answer for one is the other's.
    EXPECT_EQ(page.Table(0).Type(), table_type::kUnknown);
    EXPECT_EQ(page.Table(1).Type(), table_type::kUnknown);
    page.Table(0).SetType(table_type::kLayout);
    CTablePage again("<table summary=\"Same\"><tr><td>3</table>", &registry);
    EXPECT_EQ(again.Table().Type(), table_type::kLayout);
}

// A session nobody answers (an unattended one, or a question cancelled) must
// not file the page's tables as data tables: they are asked about next time.
TEST_F(TableRecognition, ATableNobodyJudgedIsNotRememberedAndIsAskedAgain)
{
    Load();
    const std::string tables = "<table><tr><td>Menu</td></tr></table><table summary=\"Prices\"><tr><td>4</td></tr></table>";
    {
        CTablePage page(tables, &registry);
        page.Table(1).SetType(table_type::kData);
        registry.Save();
    }
    CSrcObjectDatabase next;
    next.SetFilePath(RegistryPath());
    ASSERT_EQ(next.Load(), 1);
    CTablePage page(tables, &next);
    EXPECT_EQ(page.Table(0).Type(), table_type::kUnknown);
    EXPECT_EQ(page.Table(1).Type(), table_type::kData);
    EXPECT_EQ(test::ReadFileBytes(RegistryPath()).find("cells-"), std::string::npos);
}

TEST_F(TableRecognition, AnUnloadedRegistryStillKeepsOneRecordPerSummary)
{
    registry.SetFilePath(RegistryPath());  // no file: lookups find nothing
    CTablePage page("<table summary=\"Same\"><tr><td>1</table><table summary=\"Same\"><tr><td>2</table>", &registry);
    EXPECT_EQ(page.Table(0).RegistryRecord(), page.Table(1).RegistryRecord());
    EXPECT_EQ(page.Table(1).Type(), table_type::kUnknown);
}

TEST_F(TableRecognition, TheLinearisationDecisionLivesInTheRegistryRecord)
{
    Load(Known("Grid", true, true));
    CTablePage page("<table summary=\"Grid\"><tr><td>1</table><table><tr><td>1</table>", &registry);
    EXPECT_TRUE(page.Table(0).LinearizationConfirmed());
    EXPECT_FALSE(page.Table(1).LinearizationConfirmed());
    page.Table(1).SetLinearizationConfirmed(true);
    EXPECT_TRUE(page.Table(1).RegistryRecord()->Linearize());

    CTablePage alone("<table><tr><td>1</table>");
    alone.Table().SetLinearizationConfirmed(true);
    EXPECT_TRUE(alone.Table().LinearizationConfirmed());
}

TEST_F(TableRecognition, ARegistryAttachedLaterIsAskedAtTheNextBuild)
{
    Load(Known("Grid", true));
    CTablePage page("<table summary=\"Grid\"><tr><td>1</table>");
    CTableRecord& table = page.Table();
    CElement& element = *table.TableElement();
    EXPECT_EQ(table.Type(), table_type::kUnknown);

    page.page.document.SetObjectRegistry(&registry);
    table.Build(page.page.document, element);
    EXPECT_EQ(table.Type(), table_type::kLayout);
    EXPECT_NE(table.RegistryRecord(), nullptr);

    // Once the registry is gone, the record no longer refers to it.
    page.page.document.SetObjectRegistry(nullptr);
    table.Build(page.page.document, element);
    EXPECT_EQ(table.RegistryRecord(), nullptr);
    EXPECT_EQ(table.Type(), table_type::kLayout);
}

} // namespace
} // namespace orvane
