#include "table_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/registry/object_database.h"
#include "library/tables/table_record.h"
#include "library/tables/table_type_question.h"
#include "library/ui/pages/tables/page_table_structual_markup.h"
#include "platform/registry.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvane::test {
namespace {

using Page = CPageTableStructualMarkup;

// A trip's crossings under a row of header cells, added up in the last row;
// an HTML 4 page with Windows line ends.
constexpr char kTrip[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n"
    "<html lang=\"en\"><head><title>Trip</title></head><body>\r\n"
    "<table border=\"1\" summary=\"Crossings in order with their fares\">\r\n"
    "  <tr><th>Departure</th><th>Arrival</th><th>Ship</th><th>Fare</th></tr>\r\n"
    "  <tr><td>Pier 2</td><td>North Island</td><td>MS Gull</td><td>8.50</td></tr>\r\n"
    "  <tr><td>North Island</td><td>South Island</td><td>MS Tern</td><td>6.80</td></tr>\r\n"
    "  <tr><td>South Island</td><td>Pier 2</td><td>MS Gull</td><td>9.20</td></tr>\r\n"
    "  <tr><td>Total</td><td></td><td></td><td>24.50</td></tr>\r\n"
    "</table>\r\n</body></html>\r\n";

// The foot stands before the body, as HTML 4 wants it, and every other byte as it was.
constexpr char kTripGrouped[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n"
    "<html lang=\"en\"><head><title>Trip</title></head><body>\r\n"
    "<table border=\"1\" summary=\"Crossings in order with their fares\">\r\n"
    "  <thead>\r\n"
    "  <tr><th>Departure</th><th>Arrival</th><th>Ship</th><th>Fare</th></tr>\r\n"
    "  </thead>\r\n"
    "  <tfoot>\r\n"
    "  <tr><td>Total</td><td></td><td></td><td>24.50</td></tr>\r\n"
    "  </tfoot>\r\n"
    "  <tbody>\r\n"
    "  <tr><td>Pier 2</td><td>North Island</td><td>MS Gull</td><td>8.50</td></tr>\r\n"
    "  <tr><td>North Island</td><td>South Island</td><td>MS Tern</td><td>6.80</td></tr>\r\n"
    "  <tr><td>South Island</td><td>Pier 2</td><td>MS Gull</td><td>9.20</td></tr>\r\n"
    "  </tbody>\r\n"
    "</table>\r\n</body></html>\r\n";

// The user had called every table a layout table.
class TableStructurePageTest : public TableRunTest {
protected:
    TableStructurePageTest() : TableRunTest(table_type::kLayout, "/site/trip.html") {}

    void SetUp() override
    {
        TableRunTest::SetUp();
        LoadEmptyRegistryInFolder();
    }
    void TearDown() override
    {
        document.SetObjectRegistry(nullptr);
        TableRunTest::TearDown();
    }

    void LoadChecked(std::string_view page) { LoadWith(registry, page); }
    void StartRun()
    {
        StartSheet();
        sheet.SetObjectRegistry(&registry);
    }
};

// The head and the foot are proposed; groups out of order keep the user on
// the page; the groups are written, undone byte for byte, and the page
// checked again no longer reports the table, which is a data table now.
TEST_F(TableStructurePageTest, TheProposedGroupsAreWrittenWithTheFootBeforeTheBodyUndoneAndNoLongerReported)
{
    LoadChecked(kTrip);
    ASSERT_EQ(Reported("TableStructMarkup"), 1);
    StartRun();
    ASSERT_EQ(AddPages("TableStructMarkup"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(1080));
        EXPECT_TRUE(page.IsChecked(Page::kHoldsData));
        EXPECT_EQ(page.ItemTexts(Page::kRows),
                  (std::vector<std::string>{"Row 1: Departure | Arrival | Ship | Fare",
                                            "Row 2: Pier 2 | North Island | MS Gull | 8.50",
                                            "Row 3: North Island | South Island | MS Tern | 6.80",
                                            "Row 4: South Island | Pier 2 | MS Gull | 9.20",
                                            "Row 5: Total |  |  | 24.50"}));
        EXPECT_EQ(page.ItemTexts(Page::kRows, 1),
                  (std::vector<std::string>{"Head", "Body", "Body", "Body", "Foot"}));
        EXPECT_TRUE(page.IsChecked(Page::kHead));

        // A head row after body rows, then a foot row before body rows.
        page.Choose(Page::kRows, 2);
        EXPECT_TRUE(page.IsChecked(Page::kBody));
        page.Click(Page::kHead);
        EXPECT_EQ(page.ItemText(Page::kRows, 2, 1), "Head");
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        page.Click(Page::kFoot);
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_EQ(windows.prompt.messages.size(), 2u);
        EXPECT_EQ(windows.prompt.messages[0].text, Strings(1086));
        EXPECT_EQ(windows.prompt.messages[1].text, Strings(1087));
        EXPECT_EQ(windows.prompt.messages[1].icon, platform::PromptIcon::Exclamation);
        EXPECT_EQ(document.Text(), kTrip);
        page.Click(Page::kBody);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);
    EXPECT_EQ(document.Text(), kTripGrouped);

    RunSheetToFinish([&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        EXPECT_EQ(document.Text(), kTrip);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), kTripGrouped);

    // Checked again, the table is known as a data table: nobody is asked, and
    // its header cells are no layout markup.
    const std::string written = document.Text();
    found.clear();
    LoadChecked(written);
    EXPECT_EQ(question.asked, 1);
    EXPECT_EQ(Reported("TableStructMarkup"), 0);
    EXPECT_EQ(document.Text(), kTripGrouped);
}

// A table that has its head gets only its body; an HTML5 page keeps its
// foot after the body; tags are written in the table's case and line ends,
// and rows without end tags are grouped as well.
TEST_F(TableStructurePageTest, AGroupThePageHasStaysAndOnlyTheMissingGroupsAreAdded)
{
    constexpr char kShips[] =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><title>Ships</title></head><body>\n"
        "<TABLE summary=\"Ships and their seats\">\n<THEAD>\n<TR><TH>Ship</TH><TH>Seats</TH></TR>\n</THEAD>\n"
        "<TR><TD>MS Gull</TD><TD>120</TD></TR>\n<TR><TD>MS Tern</TD><TD>80</TD></TR>\n</TABLE>\n</body></html>\n";
    std::string bodied = kShips;
    bodied.replace(bodied.find("<TR><TD>MS Gull"), 0, "<TBODY>\n");
    bodied.replace(bodied.find("\n</TABLE>"), 0, "\n</TBODY>");
    LoadChecked(kShips);
    StartRun();
    ASSERT_EQ(AddPages("TableStructMarkup"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.ItemTexts(Page::kRows, 1),
                  (std::vector<std::string>{"Head (already in the page)", "Body", "Body"}));
        EXPECT_FALSE(page.IsEnabled(Page::kHead));
        EXPECT_FALSE(page.IsEnabled(Page::kFoot));
        page.Choose(Page::kRows, 1);
        page.Click(Page::kHead);
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(1092)));
        page.Click(Page::kBody);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), bodied);

    constexpr char kTotals[] =
        "<!DOCTYPE html>\n<html lang=\"en\"><body>\n<table summary=\"Seats\"><tr><th>Ship</th><th>Seats</th></tr>"
        "<tr><td>MS Gull</td><td>120</td></tr><tr><td>Total</td><td>120</td></tr></table>\n</body></html>\n";
    found.clear();
    LoadChecked(kTotals);
    CValidatorSheet run;
    StartSheet(run, "/site/trip.html");
    run.SetObjectRegistry(&registry);
    ASSERT_EQ(AddPages(run, [](std::string_view check) { return check == "TableStructMarkup"; }), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) { w.Click(kIdFinish); });
    EXPECT_EQ(run.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(document.Text(),
              "<!DOCTYPE html>\n<html lang=\"en\"><body>\n<table summary=\"Seats\"><thead><tr><th>Ship</th><th>Seats</th>"
              "</tr></thead><tbody><tr><td>MS Gull</td><td>120</td></tr></tbody><tfoot><tr><td>Total</td><td>120</td>"
              "</tr></tfoot></table>\n</body></html>\n");

    // Rows whose end tags the page leaves out end with their last cell's content.
    constexpr char kOpenRows[] =
        "<html lang=\"en\"><body><table summary=\"Open rows\"><tr><th>Ship<th>Seats"
        "<tr><td>MS Gull<td>120<tr><td>Total<td>120</table></body></html>";
    found.clear();
    LoadChecked(kOpenRows);
    CValidatorSheet open;
    StartSheet(open, "/site/trip.html");
    open.SetObjectRegistry(&registry);
    ASSERT_EQ(AddPages(open, [](std::string_view check) { return check == "TableStructMarkup"; }), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) { w.Click(kIdFinish); });
    EXPECT_EQ(open.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(document.Text(),
              "<html lang=\"en\"><body><table summary=\"Open rows\"><thead><tr><th>Ship<th>Seats</thead>"
              "<tfoot><tr><td>Total<td>120</tfoot><tbody><tr><td>MS Gull<td>120</tbody></table></body></html>");
}

// A table that only arranges the page loses its header cells, and nothing else.
TEST_F(TableStructurePageTest, HeaderCellsOfALayoutTableBecomePlainCellsAndComeBackOnUndo)
{
    constexpr char kMenu[] =
        "<html lang=\"en\"><body>\n<table summary=\"Menu beside the news\">\n"
        "<tr><th class=\"menu\">Menu</th><TH>News</TH></tr>\n"
        "<tr><td><a href=\"fares.html\">Fares</a></td><td>A new ferry</td></tr>\n</table>\n</body></html>\n";
    LoadChecked(kMenu);
    StartRun();
    ASSERT_EQ(AddPages("TableStructMarkup"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        const auto preview = [&] {
            std::ifstream in(sheet.Page(0).PreviewPagePath());
            return std::string(std::istreambuf_iterator<char>(in), {});
        };
        EXPECT_NE(preview().find("<th"), std::string::npos);
        page.Click(Page::kPlainCells);
        // The preview shows the table as the repair leaves it, before it is written.
        EXPECT_EQ(preview().find("<th"), std::string::npos);
        EXPECT_NE(preview().find("<td class=\"menu\">Menu</td>"), std::string::npos);
        EXPECT_EQ(document.Text(), kMenu);
        EXPECT_FALSE(page.IsEnabled(Page::kRows));
        EXPECT_FALSE(page.IsEnabled(Page::kBody));
        w.Click(kIdFinish);
    });
    std::string plain = kMenu;
    plain.replace(plain.find("<th class"), 3, "<td");
    plain.replace(plain.find("</th>"), 5, "</td>");
    plain.replace(plain.find("<TH>News</TH>"), 13, "<TD>News</TD>");
    ExpectWrittenThenUndone(kMenu, plain);
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kNotRepaired);

    found.clear();
    LoadChecked(plain);
    EXPECT_EQ(Reported("TableStructMarkup"), 0);
}

} // namespace
} // namespace orvane::test
