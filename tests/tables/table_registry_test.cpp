#include "table_page.h"

#include "library/registry/object_database.h"
#include "library/registry/object_digest.h"
#include "library/registry/src_table.h"
#include "tests/registry/registry_fixture.h"

#include <gtest/gtest.h>

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

TEST_F(TableRecognition, ATableWithoutSummaryIsAlwaysAskedAgain)
{
    // An empty id never reaches the file, so even a judged table starts unknown.
    Load("<table id=\"\" type=\"layout\" rowheaders=\"false\" colheaders=\"false\" rowheaders_abbrev=\"false\" "
         "colheaders_abbrev=\"false\" linearize=\"false\" />\n");
    CTablePage page("<table><tr><td>1</table><table summary=\"\"><tr><td>1</table>", &registry);
    EXPECT_EQ(page.Table(0).Type(), table_type::kUnknown);
    EXPECT_EQ(page.Table(1).Type(), table_type::kUnknown);
    ASSERT_NE(page.Table(0).RegistryRecord(), nullptr);
    EXPECT_NE(page.Table(0).RegistryRecord(), page.Table(1).RegistryRecord());
    EXPECT_EQ(page.Table(0).RegistryRecord()->Id(), "");
}

TEST_F(TableRecognition, TablesWithTheSameSummaryShareOneRecord)
{
    Load();
    CTablePage page("<table summary=\"Same\"><tr><td>1</table><table summary=\"Same\"><tr><td>2</table>", &registry);
    EXPECT_EQ(page.Table(0).Id(), page.Table(1).Id());
    EXPECT_EQ(page.Table(0).RegistryRecord(), page.Table(1).RegistryRecord());
    // The second is recognised through the first.
    EXPECT_EQ(page.Table(0).Type(), table_type::kUnknown);
    EXPECT_EQ(page.Table(1).Type(), table_type::kData);
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
