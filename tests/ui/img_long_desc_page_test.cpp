#include "ui_fixture.h"

#include "library/registry/object_database.h"
#include "library/registry/src_image.h"
#include "library/ui/pages/text_alternatives/page_img_long_desc.h"

#include <filesystem>
#include <fstream>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;
using Page = CPageImgLongDesc;

// A ferry company's page with a chart of its passengers: the chart says more
// than a text alternative can.
constexpr char kFerriesPage[] =
    "<html><head><title>Ferry passengers</title></head><body>\r\n"
    "<h1>Ferry passengers</h1>\r\n"
    "<p><img src=\"images/passengers.png\" alt=\"Ferry passengers by month\" width=\"400\" height=\"240\"></p>\r\n"
    "<p>Most people travel in July and August.</p>\r\n"
    "</body></html>\r\n";

std::string WithChartTag(std::string_view tag)
{
    std::string page = kFerriesPage;
    const std::string old = "<img src=\"images/passengers.png\" alt=\"Ferry passengers by month\" width=\"400\" height=\"240\">";
    page.replace(page.find(old), old.size(), tag);
    return page;
}

std::string Linked(std::string_view address)
{
    return WithChartTag("<img src=\"images/passengers.png\" alt=\"Ferry passengers by month\" width=\"400\" height=\"240\" "
                        "longdesc=\"" + std::string(address) + "\"><a href=\"" + std::string(address) +
                        "\" title=\"Long description\">d</a>");
}

// Pages and description files in a folder of the test's own (tests run side by side).
class LongDescPageTest : public RepairRunTest {
protected:
    const CFoundProblem& Problem(std::string_view checkName) const
    {
        for (const CFoundProblem& problem : found) {
            if (problem.element->GetCheckName(problem.bit) == checkName)
                return problem;
        }
        ADD_FAILURE() << "no problem " << checkName;
        return found.front();
    }
};

TEST_F(LongDescPageTest, ANewDescriptionIsWrittenBesideThePageWithoutReplacingAFileUnaskedAndUndoWritesThePageBack)
{
    Load(kFerriesPage);
    StartSheetInFolder("ferries.html");
    ASSERT_EQ(AddPages("ImgLongdesc"), 1);
    std::ofstream(InFolder("passengers.html"), std::ios::binary) << "the page of another chart";
    const std::string description = "Passengers per month:\nJanuary 1,200\nJuly 9,800";

    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(132));
        EXPECT_EQ(page.Text(Page::kSource), "images/passengers.png");
        EXPECT_TRUE(page.IsChecked(Page::kWriteNew));
        EXPECT_FALSE(page.IsChecked(Page::kNotNeeded));
        EXPECT_TRUE(page.IsVisible(Page::kAddress));
        EXPECT_FALSE(page.IsVisible(Page::kKnownFiles));
        EXPECT_TRUE(page.IsEnabled(Page::kFileName));

        // Each answer needs its part, and the user is told which.
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(300)));
        page.Type(Page::kText, description);
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(2, Strings(304)));

        // A name typed by hand that names a file there: No keeps that file.
        page.Type(Page::kFileName, "passengers");
        windows.AnswerNextMessage(platform::kAnswerNo);
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(3, platform::FormatMessage(Strings(771), {"passengers.html"})));
        EXPECT_EQ(ReadFileBytes(InFolder("passengers.html")), "the page of another chart");

        // A folder that is not there: the write fails, the user hears why and stays.
        page.Type(Page::kFileName, "charts/passengers");
        w.Click(kIdFinish);
        ASSERT_EQ(windows.prompt.messages.size(), 4u);
        EXPECT_NE(windows.prompt.messages[3].text.find("charts/passengers.html"), std::string::npos);
        EXPECT_EQ(windows.prompt.messages[3].icon, platform::PromptIcon::Exclamation);
        EXPECT_FALSE(w.HasEnded());
        EXPECT_EQ(document.Text(), kFerriesPage);

        // The name the save dialog gives, relative to the page's folder.
        windows.AnswerNextFileDialog(InFolder("passengers-long.html"));
        page.Click(Page::kChooseName);
        EXPECT_EQ(windows.fileRequests.back().title, Strings(363));
        EXPECT_EQ(page.Text(Page::kFileName), "passengers-long.html");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(windows.prompt.messages.size(), 4u);
    EXPECT_EQ(ReadFileBytes(InFolder("passengers-long.html")),
              platform::FormatMessage(Strings(361), {"Long description of Ferry passengers by month", "en", ""}) +
                  "Passengers per month:<br>January 1,200<br>July 9,800</p>\n</body>\n</html>\n");
    EXPECT_EQ(document.Text(), Linked("passengers-long.html"));
    const CSrcImage* remembered = registry.AddImage(std::make_unique<CSrcImage>("passengers.png"));
    ASSERT_EQ(remembered->LongDescs().size(), 1u);
    EXPECT_EQ(remembered->LongDescs()[0]->Value(), "passengers-long.html");

    // Undone, the page is as it was, and the description is no longer offered for the chart.
    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_EQ(w.Text(kSkipUndo), "&Undo");
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kFerriesPage);
    EXPECT_TRUE(remembered->LongDescs().empty());
}

TEST_F(LongDescPageTest, AKnownDescriptionIsLinkedAndAnImportedOneOfOursComesBackAsTyped)
{
    ASSERT_TRUE(CValidatorSheet::WriteDescriptionFile(InFolder("passengers-2025.html"), "Spring: 3,100\nSummer: 18,400",
                                                      "Ferry passengers", "en"));
    ASSERT_TRUE(CValidatorSheet::WriteDescriptionFile(InFolder("passengers-2026.html"), "Spring: 3,500\r\n\r\nSummer: 19,000",
                                                      "Ferry passengers", "en"));
    std::ofstream(InFolder("notes.html"), std::ios::binary)
        << "<html><head><title>Notes</title></head><body>\n<p>The chart\nshows <b>all</b> ferries.</p>\n</body></html>";
    std::ofstream(InFolder("ObjectRegistry.xml"), std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n"
           "<image filename=\"passengers.png\" needlongdesc=\"true\">\n<longdesc value=\"passengers-2025.html\">"
           "</longdesc>\n</image>\n</root>";
    registry.SetFilePath(InFolder("ObjectRegistry.xml"));
    ASSERT_EQ(registry.Load(), 1);

    // Another site's page, not ours: its paragraph stays, its line feeds are blanks;
    // a text file is taken as it is, its lines as typed.
    EXPECT_EQ(CValidatorSheet::LoadDescriptionFile(InFolder("notes.html")), "<p>The chart shows <b>all</b> ferries.</p>");
    std::ofstream(InFolder("notes.txt"), std::ios::binary) << "Spring: 3,100\r\nSummer: 18,400\r\n";
    EXPECT_EQ(CValidatorSheet::LoadDescriptionFile(InFolder("notes.txt")), "Spring: 3,100\nSummer: 18,400\n");
    EXPECT_EQ(CValidatorSheet::LoadDescriptionFile(InFolder("missing.html")), std::nullopt);

    Load(kFerriesPage);
    StartSheetInFolder("ferries.html");
    ASSERT_EQ(AddPages("ImgLongdesc"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_TRUE(page.IsVisible(Page::kKnownFiles));
        EXPECT_FALSE(page.IsVisible(Page::kAddress));
        ASSERT_EQ(page.ItemTexts(Page::kKnownFiles), std::vector<std::string>{"passengers-2025.html"});

        // The known file is read into the text, without our paragraph.
        page.Choose(Page::kKnownFiles, 0);
        EXPECT_EQ(page.Text(Page::kText), "Spring: 3,100\nSummer: 18,400");
        EXPECT_TRUE(page.IsChecked(Page::kLinkExisting));
        EXPECT_FALSE(page.IsEnabled(Page::kFileName));

        // An address typed and left is read too.
        page.Type(Page::kKnownFiles, "passengers-2026.html");
        page.MoveFocus(Page::kText);
        EXPECT_EQ(page.Text(Page::kText), "Spring: 3,500\n\nSummer: 19,000");

        // Imported, the file is linked by its address from the page's folder.
        windows.AnswerNextFileDialog(InFolder("passengers-2025.html"));
        page.Click(Page::kImport);
        EXPECT_EQ(windows.fileRequests.back().title, Strings(344));
        EXPECT_EQ(page.Text(Page::kText), "Spring: 3,100\nSummer: 18,400");
        EXPECT_EQ(page.Text(Page::kKnownFiles), "passengers-2025.html");

        // A file that cannot be read is named, and nothing changes.
        windows.AnswerNextFileDialog(folder.string());
        page.Click(Page::kImport);
        ASSERT_EQ(windows.prompt.messages.size(), 1u);
        EXPECT_EQ(windows.prompt.messages[0].text.rfind(platform::FormatMessage(Strings(772), {folder.string(), ""}), 0), 0u);
        EXPECT_EQ(page.Text(Page::kText), "Spring: 3,100\nSummer: 18,400");

        // No address: the user is told.
        page.Type(Page::kKnownFiles, "");
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(2, Strings(303)));
        page.Type(Page::kKnownFiles, "passengers-2025.html");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), Linked("passengers-2025.html"));
    EXPECT_EQ(registry.FindImage("passengers.png")->LongDescs().size(), 1u);
}

TEST_F(LongDescPageTest, AnImageThatNeedsNoDescriptionIsRememberedAndNotReportedAgain)
{
    const std::string registryFile = InFolder("ObjectRegistry.xml");
    registry.SetFilePath(registryFile);
    Load(kFerriesPage);
    StartSheetInFolder("ferries.html");
    ASSERT_EQ(AddPages("ImgLongdesc"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.Click(Page::kNotNeeded);
        EXPECT_FALSE(page.IsEnabled(Page::kText));
        EXPECT_FALSE(page.IsEnabled(Page::kAddress));
        EXPECT_FALSE(page.IsEnabled(Page::kWriteNew));
        EXPECT_FALSE(page.IsEnabled(Page::kFileName));
        page.Click(Page::kNotNeeded);
        EXPECT_TRUE(page.IsEnabled(Page::kText));
        EXPECT_TRUE(page.IsEnabled(Page::kFileName));
        page.Click(Page::kNotNeeded);
        w.Click(kIdFinish);
    });
    EXPECT_TRUE(windows.prompt.messages.empty());
    EXPECT_EQ(document.Text(), kFerriesPage);
    EXPECT_TRUE(Problem("ImgLongdesc").element->IsRepaired(Problem("ImgLongdesc").bit, 0));

    // Closing the session saves the decision; the next check of the page knows it.
    registry.UpdateFromDocument(document);
    ASSERT_EQ(registry.Save(), 1);
    CSrcObjectDatabase next(registryFile);
    ASSERT_EQ(next.Load(), 1);
    ASSERT_NE(next.FindImage("passengers.png"), nullptr);
    EXPECT_FALSE(next.FindImage("passengers.png")->NeedsLongDesc());
    CHtmlDocument again{CFamilyElementFactory::Instance()};
    again.Start(1, false);
    std::istringstream in{std::string(kFerriesPage)};
    ASSERT_EQ(again.Load(in), 1);
    for (const CFoundProblem& problem : RunCheckPass(again, settings, &next))
        EXPECT_NE(problem.element->GetCheckName(problem.bit), "ImgLongdesc");

    // Undone, the image needs its description again.
    UndoOnSheet();
    EXPECT_TRUE(registry.AddImage(std::make_unique<CSrcImage>("passengers.png"))->NeedsLongDesc());
}

// A yearly report shows its chart at the top and again beside the table, under a banner.
TEST_F(LongDescPageTest, OneDescriptionServesEveryPlaceOfAChartAndABannerIsProposedToNeedNone)
{
    const std::string chart = "<img src=\"images/passengers.png\" alt=\"Ferry passengers by month\">";
    const std::string page = "<html><head><title>Report 2026</title></head><body>\r\n"
                             "<p><img src=\"images/banner.png\" alt=\"Harbour Ferries\" width=\"400\" height=\"25\"></p>\r\n"
                             "<p>" + chart + "</p>\r\n<h2>Passengers</h2>\r\n<p>" + chart + "</p>\r\n</body></html>\r\n";
    Load(page);
    StartSheetInFolder("ferries.html");
    ASSERT_EQ(AddPages("ImgLongdesc"), 3);
    RunSheetToFinish([&](CMemoryWindow& w) {
        EXPECT_TRUE(w.PageWindow(0).IsChecked(Page::kNotNeeded));
        EXPECT_FALSE(w.IsVisible(CValidatorSheet::kOptionBox));
        w.Click(platform::kIdNext);
        CMemoryWindow& first = w.PageWindow(1);
        EXPECT_FALSE(first.IsChecked(Page::kNotNeeded));
        EXPECT_TRUE(w.IsVisible(CValidatorSheet::kOptionBox));
        EXPECT_TRUE(w.IsChecked(CValidatorSheet::kOptionBox));
        first.Click(Page::kLinkExisting);
        first.Type(Page::kAddress, "passengers-2026.html");
        w.Click(kIdFinish);
    });
    EXPECT_TRUE(windows.prompt.messages.empty());
    const std::string linked = "<img src=\"images/passengers.png\" alt=\"Ferry passengers by month\" "
                               "longdesc=\"passengers-2026.html\"><a href=\"passengers-2026.html\" title=\"Long description\">d</a>";
    std::string expected = page;
    for (std::size_t at = expected.find(chart); at != std::string::npos; at = expected.find(chart, at + linked.size()))
        expected.replace(at, chart.size(), linked);
    EXPECT_EQ(document.Text(), expected);
    EXPECT_FALSE(registry.AddImage(std::make_unique<CSrcImage>("banner.png"))->NeedsLongDesc());
    EXPECT_EQ(sheet.Page(2).Status(), pagestatus::kRepaired);
}

// A page that has its "d" link already gets the longdesc alone, not a second link.
TEST_F(LongDescPageTest, AnImageThatHasItsDLinkGetsTheLongdescAlone)
{
    const std::string page = WithChartTag("<img src=\"images/passengers.png\" alt=\"Ferry passengers by month\">"
                                          " <a href=\"passengers-2026.html\">d</a>");
    Load(page);
    StartSheetInFolder("ferries.html");
    ASSERT_EQ(AddPages("ImgLongdesc"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& first = w.PageWindow(0);
        // Blanks are no description.
        first.Type(Page::kText, "   ");
        first.Type(Page::kFileName, "passengers-2026");
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(300)));
        EXPECT_FALSE(fs::exists(InFolder("passengers-2026.html")));
        first.Type(Page::kText, "Spring: 3,500\nSummer: 19,000");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), WithChartTag("<img src=\"images/passengers.png\" alt=\"Ferry passengers by month\" "
                                            "longdesc=\"passengers-2026.html\"> <a href=\"passengers-2026.html\">d</a>"));
    EXPECT_EQ(CValidatorSheet::LoadDescriptionFile(InFolder("passengers-2026.html")), "Spring: 3,500\nSummer: 19,000");
}

} // namespace
} // namespace orvane::test
