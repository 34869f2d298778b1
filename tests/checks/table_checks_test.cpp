#include "check_fixture.h"

#include "tests/settings/settings_fixture.h"

#include "library/checks/element_table.h"
#include "library/registry/object_database.h"
#include "library/registry/object_digest.h"
#include "library/registry/src_table.h"
#include "library/tables/table_type_question.h"

#include <filesystem>

#include <random>
#include <fstream>
#include <set>
#include <string>

namespace orvane::test {
namespace {

// Answers the table-type question with one type for every table, and counts
// the tables it was asked about.
class CAnswer final : public ITableTypeQuestion {
public:
    void Ask(std::span<CTableRecord* const> tables) override
    {
        for (CTableRecord* table : tables) {
            ++asked;
            if (type != table_type::kUnknown)
                table->SetType(type);
        }
    }
    int type = table_type::kUnknown;
    int asked = 0;
};

class TableChecks : public CheckedPage {
protected:
    // Checks the first table of the page alone, the user answering `type`.
    std::set<std::string> CheckTable(std::string_view page, int type, int applyLevel = 0)
    {
        document.Start(1, false);
        document.SetName("page.html");
        std::istringstream in{std::string(page)};
        EXPECT_EQ(document.Load(in), 1) << page;
        answer.type = type;
        table = dynamic_cast<CElementTable*>(First(80));
        EXPECT_NE(table, nullptr);
        std::set<std::string> names;
        if (!table)
            return names;
        int result = table->Check(settings, document, applyLevel);
        std::uint32_t mask = table->ProblemMask();
        EXPECT_EQ(result, mask ? 2 : 0);
        EXPECT_EQ(table->ProblemFlag(), mask ? 1 : 0);
        for (std::uint32_t bit = 1; bit != 0; bit <<= 1) {
            if (mask & bit)
                names.insert(table->GetCheckName(bit));
        }
        return names;
    }

    CAnswer answer;
    ScopedTableTypeQuestion useAnswer{answer};
    CElementTable* table = nullptr;
};

using Names = std::set<std::string>;

constexpr int kLayout = table_type::kLayout;
constexpr int kData = table_type::kData;
constexpr int kUnknown = table_type::kUnknown;

// A data table that passes every check.
constexpr std::string_view kGoodDataTable =
    "<table summary=\"Prices\"><caption>Prices</caption>"
    "<tr><th abbr=\"I\">Item</th><th abbr=\"P\">Price</th></tr>"
    "<tr><th abbr=\"T\">Tea</th><td>2</td></tr></table>";

// --- Summary ----------------------------------------------------------------------------

TEST_F(TableChecks, TheSummaryIsNeededWhateverTheType)
{
    EXPECT_EQ(CheckTable("<table summary=\"Layout\"><tr><td>x</td></tr></table>", kLayout).count("TableSummary"), 0u);
    EXPECT_EQ(CheckTable("<table><tr><td>x</td></tr></table>", kLayout).count("TableSummary"), 1u);
    EXPECT_EQ(CheckTable("<table summary=\"\"><tr><td>x</td></tr></table>", kData).count("TableSummary"), 1u);
    EXPECT_EQ(CheckTable("<table summary=\" \"><tr><td>x</td></tr></table>", kData).count("TableSummary"), 0u);
    EXPECT_EQ(CheckTable("<table><tr><td>x</td></tr></table>", kUnknown), Names{"TableSummary"});
}

// --- Unknown tables -----------------------------------------------------------------------

TEST_F(TableChecks, AnUnknownTableIsAskedAboutAndLeftUnknownGetsNoTypeChecks)
{
    EXPECT_EQ(CheckTable("<table><tr><td>a</td></tr><tr><td>b</td></tr><tr><td>c</td></tr><tr><td>d</td></tr>"
                         "</table>",
                         kUnknown),
              Names{"TableSummary"});
    EXPECT_EQ(answer.asked, 1);
    EXPECT_EQ(table->TableRecord().Type(), kUnknown);
}

TEST_F(TableChecks, TheAnswerToTheQuestionDecidesWhichChecksRun)
{
    EXPECT_EQ(CheckTable("<table summary=s><tr><td>a</td></tr></table>", kLayout), Names{"TableLinearize"});
    EXPECT_EQ(table->TableRecord().Type(), kLayout);
    EXPECT_EQ(CheckTable("<table summary=s><tr><td>a</td></tr></table>", kData),
              (Names{"TableHeaders", "TableAbbreviations", "TableCaption"}));
}

TEST_F(TableChecks, AKnownTableIsNotAskedAbout)
{
    CheckTable("<table summary=s><tr><td>a</td></tr></table>", kLayout);
    EXPECT_EQ(answer.asked, 1);
    table->Check(settings, document, 0);
    EXPECT_EQ(answer.asked, 1);
}

TEST_F(TableChecks, WithoutAQuestionInstalledTheTypeStaysUnknown)
{
    SetTableTypeQuestion(nullptr);
    EXPECT_EQ(CheckTable("<table><tr><th>a</th></tr></table>", kLayout), Names{"TableSummary"});
    EXPECT_EQ(answer.asked, 0);
    SetTableTypeQuestion(&answer);  // the fixture's guard restores the default
}

// --- Layout tables --------------------------------------------------------------------------

TEST_F(TableChecks, ALayoutTableMustBeConfirmedToReadWellLinearised)
{
    EXPECT_EQ(CheckTable("<table summary=s><tr><td>a</td></tr></table>", kLayout).count("TableLinearize"), 1u);
    EXPECT_EQ(CheckTable("<table summary=s></table>", kLayout).count("TableLinearize"), 0u);

    CheckTable("<table summary=s><tr><td>a</td></tr></table>", kLayout);
    table->TableRecord().SetLinearizationConfirmed(true);
    table->Check(settings, document, 0);
    EXPECT_EQ(table->ProblemMask() & 0x10u, 0u);
}

TEST_F(TableChecks, ALayoutTableUsingHeaderCellsHasStructuralMarkupNotMissingHeaders)
{
    Names names = CheckTable("<table summary=s><tr><th>a</th><th>b</th></tr><tr><td>1</td><td>2</td></tr></table>",
                             kLayout);
    EXPECT_EQ(names.count("TableStructMarkup"), 1u);
    EXPECT_EQ(names.count("TableHeaders"), 0u);
    EXPECT_EQ(names.count("TableCaption"), 0u);
    EXPECT_EQ(CheckTable("<table summary=s><tr><td>a</td></tr></table>", kLayout).count("TableStructMarkup"), 0u);
}

// --- Data tables ------------------------------------------------------------------------------

TEST_F(TableChecks, AWellMarkedDataTablePasses)
{
    EXPECT_EQ(CheckTable(kGoodDataTable, kData), Names{});
    EXPECT_EQ(table->ProblemFlag(), 0);
}

TEST_F(TableChecks, ADataTableNeedsRowAndColumnHeaders)
{
    // The first row is all th cells, but the other rows start with td cells.
    EXPECT_EQ(CheckTable("<table summary=s><caption>c</caption><tr><th abbr=a>A</th><th abbr=b>B</th></tr>"
                         "<tr><td abbr=x>1</td><td>2</td></tr></table>",
                         kData),
              Names{"TableHeaders"});
    // Row headers without column headers.
    EXPECT_EQ(CheckTable("<table summary=s><caption>c</caption><tr><th abbr=a>A</th><td abbr=b>B</td></tr>"
                         "<tr><th abbr=x>1</th><td>2</td></tr></table>",
                         kData),
              Names{"TableHeaders"});
    // An empty header cell is no header.
    EXPECT_EQ(CheckTable("<table summary=s><caption>c</caption><tr><th abbr=a> </th></tr></table>", kData),
              Names{"TableHeaders"});
    // A table without rows is not judged for headers.
    EXPECT_EQ(CheckTable("<table summary=s><caption>c</caption></table>", kData), Names{});
}

TEST_F(TableChecks, ALargeDataTableNeedsHeaderAssociations)
{
    auto rows = [](int count, std::string_view firstCell) {
        std::string page = "<table summary=s><caption>c</caption>";
        for (int i = 0; i < count; ++i)
            page += "<tr><th abbr=h>h</th><th abbr=h>h</th><" + std::string(firstCell) + ">x</td></tr>";
        return page + "</table>";
    };
    EXPECT_EQ(CheckTable(rows(3, "th abbr=h"), kData).count("TableMultipleTH"), 0u);
    EXPECT_EQ(CheckTable(rows(4, "th abbr=h"), kData).count("TableMultipleTH"), 1u);
    EXPECT_EQ(CheckTable(rows(4, "td scope=row"), kData).count("TableMultipleTH"), 0u);
    EXPECT_EQ(CheckTable(rows(4, "td headers=h"), kData).count("TableMultipleTH"), 0u);
    EXPECT_EQ(CheckTable(rows(4, "td axis=a"), kData).count("TableMultipleTH"), 0u);
    // Four columns count as much as four rows.
    EXPECT_EQ(CheckTable("<table summary=s><caption>c</caption><tr><th>a<th>b<th>c<th>d</table>", kData)
                  .count("TableMultipleTH"),
              1u);
    EXPECT_EQ(CheckTable("<table summary=s><caption>c</caption><tr><th>a<th>b<th>c</table>", kData)
                  .count("TableMultipleTH"),
              0u);
}

TEST_F(TableChecks, ExcludedRowsDoNotCountTowardsALargeTable)
{
    std::string page = "<table summary=s><caption>c</caption>";
    for (int i = 0; i < 4; ++i)
        page += "<tr><th abbr=h>h</th></tr>";
    page += "</table>";
    EXPECT_EQ(CheckTable(page, kData).count("TableMultipleTH"), 1u);
    CTableRecord& record = table->TableRecord();
    record.ExcludeRow(*record.Rows()[3], true);
    table->Check(settings, document, 0);
    EXPECT_EQ(table->ProblemMask() & 0x8u, 0u);
}

TEST_F(TableChecks, HeaderCellsOfADataTableNeedAbbreviations)
{
    EXPECT_EQ(CheckTable("<table summary=s><caption>c</caption><tr><th abbr=a>A</th><th>B</th></tr>"
                         "<tr><th abbr=x>1</th><td>2</td></tr></table>",
                         kData),
              Names{"TableAbbreviations"});
    EXPECT_EQ(CheckTable("<table summary=s><caption>c</caption><tr><th abbr=a>A</th><th abbr=b>B</th></tr>"
                         "<tr><th>1</th><td>2</td></tr></table>",
                         kData),
              Names{"TableAbbreviations"});
    EXPECT_EQ(CheckTable("<table summary=s><caption>c</caption></table>", kData).count("TableAbbreviations"), 0u);
}

TEST_F(TableChecks, ADataTableNeedsACaptionWithText)
{
    auto page = [](std::string_view caption) {
        return "<table summary=s>" + std::string(caption) + "<tr><th abbr=a>A</th></tr></table>";
    };
    EXPECT_EQ(CheckTable(page(""), kData), Names{"TableCaption"});
    EXPECT_EQ(CheckTable(page("<caption> \n </caption>"), kData), Names{"TableCaption"});
    EXPECT_EQ(CheckTable(page("<caption> Prices</caption>"), kData), Names{});
    // A caption left open ends at the first row.
    EXPECT_EQ(CheckTable(page("<caption>Prices"), kData), Names{});
    EXPECT_EQ(CheckTable(page("<caption>Prices</caption>"), kLayout).count("TableCaption"), 0u);
}

TEST_F(TableChecks, ACaptionGivenByTheRepairPageSatisfiesTheCheck)
{
    CheckTable("<table><tr><th abbr=a>A</th></tr></table>", kData);
    ASSERT_EQ(table->ProblemMask(), 0x81u);
    CTableRecord& record = table->TableRecord();
    ASSERT_EQ(record.SetCaption("Prices"), 1);
    ASSERT_EQ(record.SetSummary("Prices per item"), 1);
    EXPECT_EQ(table->Check(settings, document, 0), 0);
    record.UndoCaption();
    record.UndoSummary();
    EXPECT_EQ(table->Check(settings, document, 0), 2);
    EXPECT_EQ(table->ProblemMask(), 0x81u);
}

// --- The level filter ----------------------------------------------------------------------

class TableChecksAtALevel : public SettingsTest {
protected:
    CAnswer answer;
    ScopedTableTypeQuestion useAnswer{answer};
};

TEST_F(TableChecksAtALevel, WithTheLevelFilterOnOnlyChecksThatCountAreRun)
{
    COrvaneSettings levelled;
    ASSERT_EQ(levelled.Load(), 1);
    levelled.SetConformanceLevel(1);
    CHtmlDocument document{CFamilyElementFactory::Instance()};
    document.Start(1, false);
    std::istringstream in{"<table><tr><td>a</td></tr></table>"};
    ASSERT_EQ(document.Load(in), 1);
    answer.type = kData;
    CElementTable* table = nullptr;
    for (CElement* e : document.Elements()) {
        if (!table)
            table = dynamic_cast<CElementTable*>(e);
    }
    ASSERT_NE(table, nullptr);
    // At level A only the priority 1 checks count: here the missing headers.
    EXPECT_EQ(table->Check(levelled, document, 1), 2);
    EXPECT_EQ(table->ProblemMask(), 0x2u);
    EXPECT_EQ(table->Check(levelled, document, 0), 2);
    EXPECT_EQ(table->ProblemMask(), 0x87u);
    // The absolute-units check is never reported.
    levelled.SetConformanceLevel(3);
    table->Check(levelled, document, 1);
    EXPECT_EQ(table->ProblemMask(), 0x87u);
}

// --- The registry and the table pass --------------------------------------------------------

class TableChecksWithRegistry : public TableChecks {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("orvane-table-checks-" + std::to_string(std::random_device{}()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        std::string path = (folder / "ObjectRegistry.xml").string();
        std::ofstream(path, std::ios::binary)
            << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n"
               "<document filename=\"page.html\" framesneeddescription=\"false\">\n"
               "<table id=\""
            << ObjectDigest("Layout grid")
            << "\" type=\"layout\" rowheaders=\"false\" colheaders=\"false\" rowheaders_abbrev=\"false\" "
               "colheaders_abbrev=\"false\" linearize=\"true\" />\n</document>\n</root>";
        registry.SetFilePath(path);
        ASSERT_EQ(registry.Load(), 1);
    }
    void TearDown() override
    {
        document.SetObjectRegistry(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        CSrcObjectDatabase::SetChanged(false);
    }

    std::filesystem::path folder;
    CSrcObjectDatabase registry;
};

TEST_F(TableChecksWithRegistry, ATableTheRegistryKnowsIsCheckedWithoutAsking)
{
    document.Start(1, false);
    document.SetName("page.html");
    std::istringstream in{"<table summary=\"Layout grid\"><tr><td>a</td></tr></table>"};
    ASSERT_EQ(document.Load(in), 1);
    document.SetObjectRegistry(&registry);
    table = dynamic_cast<CElementTable*>(First(80));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Check(settings, document, 0), 0);  // layout, linearisation confirmed
    EXPECT_EQ(answer.asked, 0);
    EXPECT_EQ(table->TableRecord().Type(), kLayout);
}

TEST_F(TableChecksWithRegistry, ThePassAsksOnceForAllUnknownTablesAndTheAnswerReachesTheRegistry)
{
    document.Start(1, false);
    document.SetName("page.html");
    std::istringstream in{"<table summary=\"Layout grid\"><tr><td>a</td></tr></table>"
                          "<table summary=\"New\"><tr><td>b</td></tr></table>"
                          "<table><tr><td>c</td></tr></table>"};
    ASSERT_EQ(document.Load(in), 1);
    document.SetObjectRegistry(&registry);
    answer.type = kData;
    EXPECT_EQ(PrepareTables(document), 2);
    EXPECT_EQ(answer.asked, 2);
    CSrcTable* judged = registry.FindTable("page.html", ObjectDigest("New"));
    ASSERT_NE(judged, nullptr);
    EXPECT_FALSE(judged->IsLayout());
    // Checking afterwards asks nobody again.
    for (CElement* e : document.Elements()) {
        if (e->Kind() == 80)
            e->Check(settings, document, 0);
    }
    EXPECT_EQ(answer.asked, 2);
}

} // namespace
} // namespace orvane::test
