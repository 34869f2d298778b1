#include "table_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/registry/object_database.h"
#include "library/registry/src_table.h"
#include "library/tables/table_record.h"
#include "library/tables/table_type_question.h"
#include "library/ui/pages/tables/page_table_caption.h"
#include "library/ui/pages/tables/page_table_linearize.h"
#include "library/ui/pages/tables/page_table_summary.h"
#include "library/ui/pages/presentation/page_units_table.h"
#include "platform/registry.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvane::test {
namespace {


constexpr char kTeas[] =
    "<html lang=\"en\"><head><title>Teas</title></head><body>\r\n"
    "<table border=\"1\">\r\n<tr><th>Tea</th><th>Price</th></tr>\r\n"
    "<tr><td>Green</td><td>4</td></tr>\r\n</table>\r\n</body></html>\r\n";

class TablePagesTest : public TableRunTest {
protected:
    TablePagesTest() : TableRunTest(table_type::kData, "/site/teas.html") {}
};

TEST_F(TablePagesTest, ACaptionOfBlanksIsRefusedTheCaptionGivenIsWrittenAndUndoWritesThePageAsItWas)
{
    ASSERT_EQ(OpenSheet(kTeas, "TableCaption"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(191));
        EXPECT_EQ(page.Text(CPageTableCaption::kText), "");
        w.PressHelp();
        page.Type(CPageTableCaption::kText, "   ");
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, Strings(192)));
        EXPECT_EQ(windows.prompt.messages[0].icon, platform::PromptIcon::Exclamation);
        EXPECT_EQ(document.Text(), kTeas);
        page.Type(CPageTableCaption::kText, "Teas and their prices");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"5-5-2.html"});
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);
    std::string captioned = kTeas;
    captioned.insert(captioned.find("\r\n<tr>"), "<caption>Teas and their prices</caption>");
    EXPECT_EQ(document.Text(), captioned);

    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_EQ(w.PageWindow(0).Text(CPageTableCaption::kText), "Teas and their prices");
        EXPECT_EQ(w.Text(kSkipUndo), "&Undo");
        w.Click(kSkipUndo);
        EXPECT_EQ(w.PageWindow(0).Text(CPageTableCaption::kText), "");
        w.PressEscape();
    });
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kNotRepaired);
    EXPECT_EQ(document.Text(), kTeas);
}

// Only an empty summary is refused; undone, the page is as it was; a summary
// given in one session keeps the table known in the next.
TEST_F(TablePagesTest, AnEmptySummaryIsRefusedTheSummaryGivenIsWrittenAndUndoWritesThePageAsItWas)
{
    const std::string registryFile = RegistryFile();
    WriteEmptyRegistry(registryFile);

    std::string summarised = kTeas;
    summarised.replace(summarised.find("<table border=\"1\">"), 18,
                       "<table border=\"1\" summary=\"Tea names down, prices across\">");
    {
        CSrcObjectDatabase registry(registryFile);
        ASSERT_EQ(registry.Load(), 1);
        LoadWith(registry, kTeas);
        EXPECT_EQ(question.asked, 1);
        ASSERT_EQ(StartSheetWith(registry, "TableSummary"), 1);
        RunSheetToFinish([&](CMemoryWindow& w) {
            CMemoryWindow& page = w.PageWindow(0);
            EXPECT_EQ(page.Text(1001), Strings(190));
            w.Click(kIdFinish);
            EXPECT_EQ(w.CurrentPage(), 0);
            ASSERT_TRUE(ToldLast(1, Strings(358)));
            EXPECT_EQ(document.Text(), kTeas);
            page.Type(CPageTableSummary::kText, "Tea names down, prices across");
            w.Click(kIdFinish);
        });
        EXPECT_EQ(document.Text(), summarised);

        // Undone, the page is as it was; given again, it stays.
        RunSheetToFinish([&](CMemoryWindow& w) {
            w.Click(kSkipUndo);
            EXPECT_EQ(document.Text(), kTeas);
            EXPECT_EQ(w.PageWindow(0).Text(CPageTableSummary::kText), "");
            w.PageWindow(0).Type(CPageTableSummary::kText, "Tea names down, prices across");
            w.Click(kIdFinish);
        });
        EXPECT_EQ(document.Text(), summarised);
        ASSERT_EQ(registry.Save(), 1);
        document.SetObjectRegistry(nullptr);
    }
    // The next session knows the table by its summary: nobody is asked, nothing is reported.
    CSrcObjectDatabase next(registryFile);
    ASSERT_NO_FATAL_FAILURE(LoadInNextSession(next, summarised));
    EXPECT_EQ(question.asked, 1);
    for (const CFoundProblem& problem : found)
        EXPECT_NE(problem.element->GetCheckName(problem.bit), "TableSummary");
    document.SetObjectRegistry(nullptr);
}


// Whoever is asked says every table lays out the page.
class CLayoutTables final : public ITableTypeQuestion {
public:
    void Ask(std::span<CTableRecord* const> tables) override
    {
        for (CTableRecord* table : tables)
            table->SetType(table_type::kLayout);
        asked += static_cast<int>(tables.size());
    }
    int asked = 0;
};

// The ferry office laid out in a table: the menu column is read between each
// heading and its text.
constexpr char kOffice[] =
    "<html lang=\"en\"><head><title>Ferry office</title></head><body>\n"
    "<table width=\"760\" summary=\"\">\n"
    "<tr><td width=\"200\"><a href=\"index.html\">Home</a></td><td>Opening hours</td></tr>\n"
    "<tr><td width=\"200\">&nbsp;</td><td>Monday   to\nFriday &amp; Saturday</td></tr>\n"
    "</table>\n</body></html>\n";

std::string FileText(const std::string& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The reading order is shown cell by cell; only the user's word that it makes
// sense repairs, the page stays as it is, and the next session does not ask.
TEST_F(TablePagesTest, TheReadingOrderConfirmedIsRememberedUndoForgetsItAndAnOrderThatFailsStaysOpen)
{
    using Page = CPageTableLinearize;
    const std::string registryFile = RegistryFile();
    WriteEmptyRegistry(registryFile);
    CLayoutTables layout;
    ScopedTableTypeQuestion answeringLayout{layout};
    {
        CSrcObjectDatabase registry(registryFile);
        ASSERT_EQ(registry.Load(), 1);
        LoadWith(registry, kOffice);
        EXPECT_EQ(layout.asked, 1);
        ASSERT_EQ(StartSheetWith(registry, "TableLinearize"), 1);
        auto& table = dynamic_cast<CPageTableBase&>(sheet.Page(0)).Table();
        RunSheetToFinish([&](CMemoryWindow& w) {
            CMemoryWindow& page = w.PageWindow(0);
            EXPECT_EQ(page.Text(1001), Strings(291));
            ASSERT_EQ(page.ItemCount(Page::kCells), 4);
            EXPECT_EQ(page.ItemText(Page::kCells, 0), "1. Row 1, cell 1: Home");
            EXPECT_EQ(page.ItemText(Page::kCells, 1), "2. Row 1, cell 2: Opening hours");
            EXPECT_EQ(page.ItemText(Page::kCells, 2), "3. Row 2, cell 1: " + Strings(1061));
            EXPECT_EQ(page.ItemText(Page::kCells, 3), "4. Row 2, cell 2: Monday to Friday & Saturday");
            // The chosen cell is marked in the table preview, and only that one.
            page.Choose(Page::kCells, 1);
            const std::string shown = FileText(page.Browser(Page::kPreview)->Address());
            EXPECT_NE(shown.find("<td bgcolor=\"#ffe680\"><b>&#9654;</b> Opening hours</td>"), std::string::npos)
                << shown;
            EXPECT_EQ(shown.find("&#9654;"), shown.rfind("&#9654;"));

            // The user has to judge, or skip the page.
            w.Click(kIdFinish);
            ASSERT_TRUE(ToldLast(1, Strings(1062)));
            EXPECT_EQ(w.CurrentPage(), 0);
            page.Click(Page::kDoesNot);
            EXPECT_EQ(page.Text(Page::kVerdict), Strings(1063));
            w.Click(kIdFinish);
        });
        EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kNotRepaired);
        EXPECT_FALSE(table.LinearizationConfirmed());
        EXPECT_EQ(document.Text(), kOffice);

        // Confirmed, then undone: the registry forgets it; confirmed again, it keeps it.
        RunSheetToFinish([&](CMemoryWindow& w) {
            CMemoryWindow& page = w.PageWindow(0);
            page.Click(Page::kMakesSense);
            EXPECT_EQ(page.Text(Page::kVerdict), Strings(1064));
            w.Click(kIdFinish);
        });
        EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);
        ASSERT_NE(table.RegistryRecord(), nullptr);
        EXPECT_TRUE(table.RegistryRecord()->Linearize());
        EXPECT_EQ(document.Text(), kOffice);
        RunSheetToFinish([&](CMemoryWindow& w) {
            w.Click(kSkipUndo);
            EXPECT_FALSE(w.PageWindow(0).IsChecked(Page::kMakesSense));
            EXPECT_FALSE(table.RegistryRecord()->Linearize());
            ASSERT_EQ(registry.Save(), 1);
            EXPECT_NE(FileText(registryFile).find("linearize=\"false\""), std::string::npos);
            w.PageWindow(0).Click(Page::kMakesSense);
            w.Click(kIdFinish);
        });
        EXPECT_EQ(document.Text(), kOffice);
        ASSERT_EQ(registry.Save(), 1);
        EXPECT_NE(FileText(registryFile).find("type=\"layout\""), std::string::npos);
        EXPECT_NE(FileText(registryFile).find("linearize=\"true\""), std::string::npos);
        document.SetObjectRegistry(nullptr);
    }
    // The next session knows the table reads well: nobody is asked, nothing is reported.
    CSrcObjectDatabase next(registryFile);
    ASSERT_NO_FATAL_FAILURE(LoadInNextSession(next, kOffice));
    EXPECT_EQ(layout.asked, 1);
    for (const CFoundProblem& problem : found)
        EXPECT_NE(problem.element->GetCheckName(problem.bit), "TableLinearize");
    document.SetObjectRegistry(nullptr);
}


// The ferry office page laid out for a window 800 pixels wide.
constexpr char kFixedOffice[] =
    "<html lang=\"en\"><head><title>Ferry office</title></head><body>\r\n"
    "<table width=\"760\" height=\"500\" border=\"0\" summary=\"\">\r\n"
    "<tr><td width=\"200\"><a href=\"index.html\">Home</a></td><td WIDTH=560>Opening hours</td></tr>\r\n"
    "</table>\r\n</body></html>\r\n";

std::vector<std::string> CheckNames(const std::vector<CFoundProblem>& found)
{
    std::vector<std::string> names;
    for (const CFoundProblem& problem : found)
        names.push_back(problem.element->GetCheckName(problem.bit));
    return names;
}

// Pixels are reported for tables, their cells and framesets; percentages and shares are not.
TEST_F(TablePagesTest, SizesInPixelsAreReportedAndRelativeOnesAreNot)
{
    auto reported = [&](std::string_view page) {
        found.clear();
        Load(page);
        return CheckNames(found);
    };
    EXPECT_TRUE(Has(reported(kFixedOffice), "TableAbsoluteUnits"));
    EXPECT_TRUE(Has(reported("<html lang=\"en\"><body><table><tr><td width=\"200px\">Menu</td></tr></table>"
                             "</body></html>"),
                    "TableAbsoluteUnits"));
    EXPECT_FALSE(Has(reported("<html lang=\"en\"><body><table width=\"95%\"><tr><td width=\"25%\">Menu</td>"
                              "</tr></table></body></html>"),
                     "TableAbsoluteUnits"));
    const std::string frames = "<html lang=\"en\"><head><title>Map</title></head><frameset cols=\"%s\">"
                               "<frame src=\"a.html\" title=\"Menu\"><frame src=\"b.html\" title=\"Map\">"
                               "<noframes><p>The <a href=\"a.html\">menu</a> and the map.</p></noframes>"
                               "</frameset></html>";
    auto framed = [&](std::string_view cols) {
        std::string page = frames;
        page.replace(page.find("%s"), 2, cols);
        return reported(page);
    };
    EXPECT_TRUE(Has(framed("180,*"), "FramesetAbsoluteUnits"));
    EXPECT_FALSE(Has(framed("25%,*"), "FramesetAbsoluteUnits"));
    EXPECT_FALSE(Has(framed("1*,3*"), "FramesetAbsoluteUnits"));

    EXPECT_TRUE(Has(reported("<html lang=\"en\"><body><table style=\"height: 12cm\"><tr><td>Menu</td></tr>"
                             "</table></body></html>"),
                    "TableAbsoluteUnits"));
    EXPECT_FALSE(Has(reported("<html lang=\"en\"><body><table style=\"width: 80%; line-height: 20px\"><tr>"
                              "<td style=\"width: 10em\">Menu</td></tr></table></body></html>"),
                     "TableAbsoluteUnits"));

    EXPECT_EQ(RelativeFrameList("200,600", kAssumedPageWidth), "25%,*");
    EXPECT_EQ(RelativeFrameList("180,*", kAssumedPageWidth), "23%,*");
}

// Each size in pixels with its relative value; the user unticks one, mistypes
// one, and the attributes alone are written; undo writes the page as it was.
TEST_F(TablePagesTest, TheTickedSizesAreWrittenRelativeAMistypedOneKeepsTheUserOnThePageAndUndoRestores)
{
    using Page = CPageUnitsTable;
    ASSERT_EQ(OpenSheet(kFixedOffice, "TableAbsoluteUnits"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(428));
        ASSERT_EQ(page.ItemCount(Page::kSizes), 4);
        const std::vector<std::vector<std::string>> rows = {{"table", "width", "760", "95%"},
                                                            {"table", "height", "500", Strings(1069)},
                                                            {"td (row 1, cell 1)", "width", "200", "26%"},
                                                            {"td (row 1, cell 2)", "WIDTH", "560", "74%"}};
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column)
                EXPECT_EQ(page.ItemText(Page::kSizes, row, column), rows[row][column]) << row << "," << column;
            EXPECT_EQ(page.ItemStateText(Page::kSizes, row), Strings(273));
        }
        EXPECT_EQ(page.Text(Page::kProposal), "95%");
        EXPECT_EQ(page.Text(Page::kBefore), "<table width=\"760\" height=\"500\" border=\"0\" summary=\"\">");
        EXPECT_EQ(page.Text(Page::kAfter), "<table width=\"95%\" border=\"0\" summary=\"\">");

        // The height stays; the first cell's width is mistyped.
        page.DoubleClickRow(Page::kSizes, 1);
        EXPECT_EQ(page.ItemStateText(Page::kSizes, 1), Strings(274));
        page.SelectOnlyRows(Page::kSizes, {2});
        EXPECT_EQ(page.Text(Page::kProposal), "26%");
        page.Type(Page::kProposal, "25 percent");
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, platform::Strings().Format(1071, {"25 percent"})));
        EXPECT_EQ(document.Text(), kFixedOffice);
        EXPECT_EQ(page.Text(Page::kProposal), "25 percent");
        page.Type(Page::kProposal, "25%");
        EXPECT_EQ(page.Text(Page::kAfter), "<td width=\"25%\">");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kPartlyRepaired);
    std::string relative = kFixedOffice;
    relative.replace(relative.find("width=\"760\""), 11, "width=\"95%\"");
    relative.replace(relative.find("width=\"200\""), 11, "width=\"25%\"");
    // The value written is quoted, as the page's other values are.
    relative.replace(relative.find("WIDTH=560"), 9, "WIDTH=\"74%\"");
    EXPECT_EQ(document.Text(), relative);

    RunSheetToFinish([&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        EXPECT_EQ(document.Text(), kFixedOffice);
        // Ticked again, the height is taken out as well.
        w.PageWindow(0).DoubleClickRow(Page::kSizes, 1);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kRepaired);
    relative.replace(relative.find(" height=\"500\""), 13, "");
    ExpectWrittenThenUndone(kFixedOffice, relative);
}

// A frameset's columns become shares; a list that is not relative is refused.
TEST_F(TablePagesTest, AFramesetsPixelColumnsBecomeSharesOfTheWindow)
{
    using Page = CPageUnitsTable;
    constexpr char kFrames[] =
        "<html lang=\"en\"><head><title>Webcam</title></head>\n<frameset cols=\"180,*\" title=\"Menu and webcam\">\n"
        "<frame src=\"menu.html\" title=\"Menu\"><frame src=\"cam.html\" title=\"Webcam\">\n"
        "<noframes><p>The <a href=\"menu.html\">menu</a> and the webcam picture.</p></noframes>\n</frameset></html>\n";
    ASSERT_EQ(OpenSheet(kFrames, "FramesetAbsoluteUnits"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        ASSERT_EQ(page.ItemCount(Page::kSizes), 1);
        EXPECT_EQ(page.ItemText(Page::kSizes, 0, 3), "23%,*");
        page.Type(Page::kProposal, "180,*");
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, platform::Strings().Format(1072, {"180,*"})));
        page.Type(Page::kProposal, "20%,*");
        w.Click(kIdFinish);
    });
    std::string relative = kFrames;
    relative.replace(relative.find("180,*"), 5, "20%,*");
    EXPECT_EQ(document.Text(), relative);
}


// Sizes in a style are written in it, the rest of the style as it was.
TEST_F(TablePagesTest, SizesInAStyleAreMadeRelativeInTheStyleItself)
{
    using Page = CPageUnitsTable;
    constexpr char kStyled[] =
        "<html lang=\"en\"><head><title>Fares</title></head><body>\n"
        "<table style=\"border: 0; width:600px;height: 9cm\"><tr><td style=\"WIDTH: 150px\">Menu</td>"
        "<td>Fares</td></tr></table>\n</body></html>\n";
    ASSERT_EQ(OpenSheet(kStyled, "TableAbsoluteUnits"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        ASSERT_EQ(page.ItemCount(Page::kSizes), 3);
        EXPECT_EQ(page.ItemText(Page::kSizes, 0, 1), "style: width");
        EXPECT_EQ(page.ItemText(Page::kSizes, 0, 2), "600px");
        EXPECT_EQ(page.ItemText(Page::kSizes, 0, 3), "75%");
        EXPECT_EQ(page.ItemText(Page::kSizes, 1, 3), Strings(1069));
        EXPECT_EQ(page.ItemText(Page::kSizes, 2, 3), "25%");
        w.Click(kIdFinish);
    });
    std::string relative = kStyled;
    relative.replace(relative.find("border: 0; width:600px;height: 9cm"), 34, "border: 0; width:75%;");
    relative.replace(relative.find("WIDTH: 150px"), 12, "WIDTH: 25%");
    ExpectWrittenThenUndone(kStyled, relative);
}

} // namespace
} // namespace orvane::test
