#include "ui_fixture.h"

#include "library/ui/pages/objects/page_object_alt_rep.h"

#include <filesystem>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;
using Page = CPageObjectAltRep;

// A film of the harbour embedded with nothing for a browser that cannot play it.
constexpr char kFilmPage[] =
    "<html lang=\"en\"><head><title>The harbour at dawn</title></head><body>\n"
    "<h1>The harbour at dawn</h1>\n"
    "<object data=\"films/harbour-dawn.mp4\" type=\"video/mp4\" title=\"The harbour at dawn\">\n"
    "</object>\n"
    "</body></html>\n";

std::string WithContent(std::string_view content)
{
    std::string page = kFilmPage;
    page.insert(page.find("</object>"), content);
    return page;
}

using ObjectAltRepPageTest = RepairRunTest;

TEST_F(ObjectAltRepPageTest, TypedContentGoesBeforeTheEndTagAWrittenDescriptionIsLinkedAndOfferedNextTime)
{
    Load(kFilmPage);
    StartOverviewSheet(sheet, InFolder("film.html"));
    ASSERT_EQ(AddPages("ObjectAltRep"), 1);

    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(255));
        EXPECT_EQ(page.Text(Page::kObject), "films/harbour-dawn.mp4");
        EXPECT_EQ(page.Text(Page::kMarkup), "<object data=\"films/harbour-dawn.mp4\" type=\"video/mp4\" "
                                            "title=\"The harbour at dawn\">\n</object>");
        EXPECT_FALSE(page.IsVisible(Page::kNotNeeded));
        EXPECT_TRUE(page.IsChecked(Page::kAlternative));
        EXPECT_EQ(page.Text(Page::kFileName), "harbour-dawn-description.html");

        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(300)));
        // A few words would leave the object reported again.
        page.Type(Page::kText, " A film. ");
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(2, Strings(971)));
        EXPECT_EQ(document.Text(), kFilmPage);
        page.Type(Page::kText, "\nTwo minutes of the first ferries leaving\nwhile the fishing boats come in.\n");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), WithContent("<p>Two minutes of the first ferries leaving<br>\n"
                                           "while the fishing boats come in.</p>\n"));

    // Undone, the page is as it was; then the text goes into a file of its own, linked from the object.
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        w.Click(kSkipUndo);
        EXPECT_EQ(document.Text(), kFilmPage);
        page.Click(Page::kWriteNew);
        EXPECT_TRUE(page.IsEnabled(Page::kFileName));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(),
              WithContent("<p><a href=\"harbour-dawn-description.html\">Description of the object</a></p>\n"));
    EXPECT_EQ(CValidatorSheet::LoadDescriptionFile((folder / "harbour-dawn-description.html").string()),
              "\nTwo minutes of the first ferries leaving\nwhile the fishing boats come in.\n");

    // The next check of a page with the same film offers that description.
    Load(kFilmPage);
    CValidatorSheet next;
    StartOverviewSheet(next, InFolder("film.html"));
    ASSERT_EQ(AddPages(next, [](std::string_view check) { return check == "ObjectAltRep"; }), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_TRUE(page.IsVisible(Page::kKnownFiles));
        EXPECT_EQ(page.ItemTexts(Page::kKnownFiles), std::vector<std::string>{"harbour-dawn-description.html"});
        page.Choose(Page::kKnownFiles, 0);
        EXPECT_TRUE(page.IsChecked(Page::kLinkExisting));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(next.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(document.Text(),
              WithContent("<p><a href=\"harbour-dawn-description.html\">Description of the object</a></p>\n"));
}

} // namespace
} // namespace orvane::test
