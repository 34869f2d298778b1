#include "ui_fixture.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/ui/pages/text_alternatives/map_area_outline.h"
#include "library/ui/pages/text_alternatives/page_img_ismap.h"
#include "library/ui/pages/text_alternatives/page_map_area_alt.h"

#include <filesystem>
#include <fstream>
#include <random>

namespace orvane::test {
namespace {

using platform::MapOutline;
using Shape = platform::MapOutline::Shape;
constexpr int kAreas = CPageMapAreaAlt::kAreas;
constexpr int kPreview = CPageMapAreaAlt::kPreview;

// The harbour's map: one area has its text, one an empty one, one none; the
// last area's coordinates are broken, so it cannot be outlined.
constexpr char kHarbourMap[] =
    "<html><head><title>Harbour map</title></head><body>\r\n"
    "<p><img src=\"images/harbour-map.png\" alt=\"Map of the harbour\" width=\"360\" height=\"240\" usemap=\"#harbour\"></p>\r\n"
    "<map name=\"harbour\">\r\n"
    "<area shape=\"rect\" coords=\"60,40,150,100\" href=\"tickets.html\" alt=\"Ticket office\">\r\n"
    "<area shape=\"CIRCLE\" coords=\"300,60,28\" href=\"lighthouse.html\">\r\n"
    "<area shape=\"poly\" coords=\"200,90,280,90,300,140,220,150\" href=\"market.html\" alt=\"\">\r\n"
    "<area shape=\"rect\" coords=\"40,150,two hundred,175\" href=\"ferries.html\">\r\n"
    "</map>\r\n"
    "<p><a href=\"tickets.html\">Ticket office</a> | <a href=\"lighthouse.html\">Lighthouse</a> |\r\n"
    "<a href=\"market.html\">Fish market</a> | <a href=\"ferries.html\">Ferry pier</a></p>\r\n"
    "</body></html>\r\n";

TEST_F(RepairRunTest, TheAreasOfAMapGetTheirTextsFromTheRowsOnlyWhenEveryRowHasOneAndUndoWritesThePageAsItWas)
{
    ASSERT_EQ(OpenSheet(kHarbourMap, "MapAltText"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(136));
        EXPECT_EQ(page.ItemTexts(kAreas), (std::vector<std::string>{"Ticket office", "", "", ""}));
        EXPECT_EQ(page.ItemTexts(kAreas, CPageMapAreaAlt::kLinkColumn),
                  (std::vector<std::string>{"tickets.html", "lighthouse.html", "market.html", "ferries.html"}));
        EXPECT_EQ(page.ItemTexts(kAreas, CPageMapAreaAlt::kStateColumn),
                  (std::vector<std::string>{Strings(725), Strings(726), Strings(726), Strings(726)}));
        EXPECT_EQ(page.ItemIcon(kAreas, 0), CPageMapAreaAlt::kHasText);
        EXPECT_EQ(page.ItemIcon(kAreas, 1), CPageMapAreaAlt::kEmpty);
        EXPECT_EQ(page.EditableColumn(kAreas), CPageMapAreaAlt::kTextColumn);

        // The image is looked for beside the page; each area is outlined over it, in the rows' order.
        EXPECT_EQ(page.MapImage(kPreview), "/site/forms/images/harbour-map.png");
        EXPECT_EQ(page.MapAreas(kPreview),
                  (std::vector<MapOutline>{{Shape::Rect, {60, 40, 150, 100}},
                                           {Shape::Circle, {300, 60, 28}},
                                           {Shape::Poly, {200, 90, 280, 90, 300, 140, 220, 150}},
                                           {Shape::None, {}}}));
        EXPECT_EQ(page.CurrentMapArea(kPreview), 0);
        page.SelectOnlyRows(kAreas, {2});
        EXPECT_EQ(page.CurrentMapArea(kPreview), 2);

        page.EditRowInPlace(kAreas, 1, "Lighthouse");
        EXPECT_EQ(page.ItemIcon(kAreas, 1), CPageMapAreaAlt::kHasText);
        EXPECT_EQ(page.ItemText(kAreas, 1, CPageMapAreaAlt::kStateColumn), Strings(725));
        page.EditRowInPlace(kAreas, 2, "Fish market");
        // Blanks are no text: the user is told, stays, and nothing is written.
        page.EditRowInPlace(kAreas, 3, "   ");
        EXPECT_EQ(page.ItemIcon(kAreas, 3), CPageMapAreaAlt::kEmpty);
        w.Click(kIdFinish);
        EXPECT_FALSE(w.HasEnded());
        ASSERT_TRUE(ToldLast(1, Strings(104)));
        EXPECT_EQ(windows.prompt.messages[0].caption, Strings(111));
        EXPECT_EQ(page.CurrentItem(kAreas), 3);
        EXPECT_EQ(page.SelectedRows(kAreas), std::vector<int>{3});
        EXPECT_EQ(page.CurrentMapArea(kPreview), 3);
        EXPECT_EQ(document.Text(), kHarbourMap);

        page.EditRowInPlace(kAreas, 3, "Ferry pier");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(),
              "<html><head><title>Harbour map</title></head><body>\r\n"
              "<p><img src=\"images/harbour-map.png\" alt=\"Map of the harbour\" width=\"360\" height=\"240\" usemap=\"#harbour\"></p>\r\n"
              "<map name=\"harbour\">\r\n"
              "<area shape=\"rect\" coords=\"60,40,150,100\" href=\"tickets.html\" alt=\"Ticket office\">\r\n"
              "<area shape=\"CIRCLE\" coords=\"300,60,28\" href=\"lighthouse.html\" alt=\"Lighthouse\">\r\n"
              "<area shape=\"poly\" coords=\"200,90,280,90,300,140,220,150\" href=\"market.html\" alt=\"Fish market\">\r\n"
              "<area shape=\"rect\" coords=\"40,150,two hundred,175\" href=\"ferries.html\" alt=\"Ferry pier\">\r\n"
              "</map>\r\n"
              "<p><a href=\"tickets.html\">Ticket office</a> | <a href=\"lighthouse.html\">Lighthouse</a> |\r\n"
              "<a href=\"market.html\">Fish market</a> | <a href=\"ferries.html\">Ferry pier</a></p>\r\n"
              "</body></html>\r\n");
    const CFoundProblem* map = nullptr;
    for (const CFoundProblem& problem : found)
        map = problem.element->GetCheckName(problem.bit) == "MapAltText" ? &problem : map;
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(map->element->IsRepaired(map->bit, 0));

    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_EQ(w.Text(kSkipUndo), "&Undo");
        w.Click(kSkipUndo);
        EXPECT_EQ(w.PageWindow(0).ItemTexts(kAreas), (std::vector<std::string>{"Ticket office", "", "", ""}));
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kHarbourMap);
    EXPECT_FALSE(map->element->IsRepaired(map->bit, 0));
}

TEST(MapAreaOutline, ShapesInAnyCaseAndCommaSeparatedIntegersMakeOutlinesAnythingElseNone)
{
    EXPECT_EQ(OutlineOfArea("Rect", " 1, 2 ,3,4"), (MapOutline{Shape::Rect, {1, 2, 3, 4}}));
    EXPECT_EQ(OutlineOfArea("", "1,2,3,4,"), (MapOutline{Shape::Rect, {1, 2, 3, 4}}));
    EXPECT_EQ(OutlineOfArea("circle", "5,6,7"), (MapOutline{Shape::Circle, {5, 6, 7}}));
    EXPECT_EQ(OutlineOfArea("DEFAULT", ""), (MapOutline{Shape::Whole, {}}));
    EXPECT_EQ(OutlineOfArea("POLYGON", "0,0,10,0,10,10,3"), (MapOutline{Shape::Poly, {0, 0, 10, 0, 10, 10}}));
    for (const auto& [shape, coords] : std::vector<std::pair<std::string, std::string>>{
             {"rect", "1,2,3"}, {"rect", "1,,3,4"}, {"rect", "1.5,2,3,4"}, {"rect", "10%,2,3,4"},
             {"circle", "5,6,-7"}, {"poly", "0,0,1,1"}, {"star", "1,2,3,4"},
             {"rect", "99999999999,2,3,4"}, {"rect", ""}}) {
        EXPECT_EQ(OutlineOfArea(shape, coords).shape, Shape::None) << shape << " " << coords;
    }
    // A polygon of a hundred thousand corners is read in one pass.
    std::string corners;
    for (int i = 0; i < 100000; ++i)
        corners += std::to_string(i % 500) + "," + std::to_string(i % 300) + ",";
    EXPECT_EQ(OutlineOfArea("poly", corners).points.size(), 200000u);
}

// The server-side harbour map of the examples, in a folder of the test's own.
class IsmapPageTest : public RepairRunTest {
protected:
    void SetUp() override
    {
        RepairRunTest::SetUp();
        folder = std::filesystem::temp_directory_path() /
                 ("orvane-ismap-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(folder / "maps");
        pagePath = (folder / "harbour-ismap.html").string();
        original = ReadFileBytes(std::string(ORVANE_EXAMPLES_DIR) + "/harbour-ismap.html");
        std::filesystem::copy_file(std::string(ORVANE_EXAMPLES_DIR) + "/maps/harbour.map", folder / "maps/harbour.map");
        document.Start(1, false);
        document.SetName(pagePath);
        std::istringstream in(original);
        ASSERT_EQ(document.Load(in), 1);
        found = RunCheckPass(document, settings, nullptr);
        sheet.SetSettings(&settings);
        sheet.SetDocumentPath(pagePath);
        sheet.SetTrailingPage(false);
    }
    void TearDown() override
    {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }

    std::filesystem::path folder;
    std::string pagePath;
    std::string original;
};

constexpr int kConvert = CPageImgIsmap::kConvert;

TEST_F(IsmapPageTest, TheMapFileBesideThePageBecomesAMapInThePageWhoseAreasTheNextPageNamesAndUndoGivesThePageBack)
{
    ASSERT_EQ(AddPages("ImageMap"), 2);
    EXPECT_TRUE(sheet.Page(1).IsSkipped());
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& ismap = w.PageWindow(0);
        EXPECT_EQ(ismap.Text(1001), Strings(140));
        EXPECT_EQ(ismap.Text(CPageImgIsmap::kSource), "images/harbour-map.png");
        EXPECT_EQ(ismap.Text(CPageImgIsmap::kMapAddress), "/cgi-bin/imagemap/maps/harbour.map");
        EXPECT_EQ(ismap.Text(CPageImgIsmap::kState), Strings(720));
        EXPECT_EQ(w.Title(), "Repair harbour-ismap.html - problem 1 of 1");
        EXPECT_TRUE(w.IsVisible(kIdFinish));

        ismap.Click(kConvert);
        EXPECT_TRUE(windows.prompt.messages.empty());
        EXPECT_TRUE(windows.fileRequests.empty()) << "the map file was found beside the page";
        EXPECT_EQ(ismap.Text(CPageImgIsmap::kState), Strings(352));
        EXPECT_EQ(ismap.Text(CPageImgIsmap::kMarkup),
                  "<map name=\"harbour.map\">\n"
                  "<area shape=\"default\" href=\"index.html\" />\n"
                  "<area shape=\"rect\" coords=\"60,40,150,100\" href=\"tickets.html\" />\n"
                  "<area shape=\"circle\" coords=\"300,60,28\" href=\"lighthouse.html\" />\n"
                  "<area shape=\"poly\" coords=\"200,90,280,90,300,140,220,150\" href=\"market.html\" />\n"
                  "<area shape=\"rect\" coords=\"40,150,200,175\" href=\"ferries.html\" />\n"
                  "</map>\n");
        EXPECT_FALSE(ismap.IsEnabled(kConvert));
        EXPECT_EQ(w.Text(kSkipUndo), "&Undo");
        EXPECT_EQ(w.Title(), "Repair harbour-ismap.html - problem 1 of 2");
        EXPECT_TRUE(w.IsVisible(kIdNext));
        w.Click(kIdNext);

        CMemoryWindow& areas = w.PageWindow(1);
        EXPECT_EQ(w.Text(kSkipUndo), Strings(348)) << "the new map's areas have no texts yet";
        EXPECT_EQ(areas.ItemTexts(kAreas, CPageMapAreaAlt::kLinkColumn),
                  (std::vector<std::string>{"index.html", "tickets.html", "lighthouse.html", "market.html", "ferries.html"}));
        EXPECT_EQ(areas.MapImage(kPreview), folder.string() + "/images/harbour-map.png");
        EXPECT_EQ(areas.MapAreas(kPreview)[2], (MapOutline{Shape::Circle, {300, 60, 28}}));
        const std::vector<std::string> texts{"Harbour", "Ticket office", "Lighthouse", "Fish market", "Ferry pier"};
        for (int row = 0; row < 5; ++row)
            areas.EditRowInPlace(kAreas, row, texts[static_cast<std::size_t>(row)]);
        w.Click(kIdFinish);
    });
    std::string converted = original;
    // The map follows the image at once, inside the link that stays for browsers without maps.
    const std::string ismap = "border=\"0\" ismap>";
    converted.replace(converted.find(ismap), ismap.size(),
                      "border=\"0\" usemap=\"#harbour.map\">\n<map name=\"harbour.map\">\n"
                      "<area shape=\"default\" href=\"index.html\" alt=\"Harbour\" />\n"
                      "<area shape=\"rect\" coords=\"60,40,150,100\" href=\"tickets.html\" alt=\"Ticket office\" />\n"
                      "<area shape=\"circle\" coords=\"300,60,28\" href=\"lighthouse.html\" alt=\"Lighthouse\" />\n"
                      "<area shape=\"poly\" coords=\"200,90,280,90,300,140,220,150\" href=\"market.html\" alt=\"Fish market\" />\n"
                      "<area shape=\"rect\" coords=\"40,150,200,175\" href=\"ferries.html\" alt=\"Ferry pier\" />\n"
                      "</map>\n");
    EXPECT_EQ(document.Text(), converted);
    ExpectRepaired("ImageMap");

    // Undone on the first page, the conversion and the texts of its areas are gone.
    ShowSheet([&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        EXPECT_EQ(w.PageWindow(0).Text(CPageImgIsmap::kState), Strings(720));
        EXPECT_TRUE(w.PageWindow(0).IsEnabled(kConvert));
        EXPECT_TRUE(sheet.Page(1).IsSkipped());
        EXPECT_EQ(w.Title(), "Repair harbour-ismap.html - problem 1 of 1");
        w.PressEscape();
    });
    EXPECT_TRUE(windows.prompt.messages.empty()) << "nothing the user made is left to ask about";
    EXPECT_EQ(document.Text(), original);
}

TEST_F(IsmapPageTest, AMapFileThatCannotBeReadOrHoldsNoAreasIsToldAndChangesNothing)
{
    ASSERT_EQ(AddPages("ImageMap"), 2);
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& ismap = w.PageWindow(0);
        auto unchanged = [&] {
            EXPECT_EQ(document.Text(), original);
            EXPECT_EQ(ismap.Text(CPageImgIsmap::kState), Strings(720));
            EXPECT_TRUE(ismap.IsEnabled(kConvert));
            EXPECT_TRUE(sheet.Page(1).IsSkipped());
            EXPECT_NE(w.Text(kSkipUndo), "&Undo");
        };
        // Only comments: no area to link anywhere.
        std::ofstream(folder / "maps/harbour.map", std::ios::trunc) << "# nothing yet\n";
        ismap.Click(kConvert);
        ASSERT_TRUE(ToldLast(1, Strings(708)));
        unchanged();

        // Not beside the page: the user is asked for it, starting at the likeliest place.
        std::filesystem::remove(folder / "maps/harbour.map");
        windows.AnswerNextFileDialog(std::nullopt);
        ismap.Click(kConvert);
        ASSERT_EQ(windows.fileRequests.size(), 1u);
        EXPECT_EQ(windows.fileRequests[0].initialPath, folder.string() + "/cgi-bin/imagemap/maps/harbour.map");
        EXPECT_EQ(windows.prompt.messages.size(), 1u) << "a cancelled choice is no failure";
        unchanged();

        // A file that is none a person wrote.
        std::ofstream(folder / "harbour.png", std::ios::binary) << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
        windows.AnswerNextFileDialog((folder / "harbour.png").string());
        ismap.Click(kConvert);
        ASSERT_TRUE(ToldLast(2, Strings(706)));
        unchanged();

        // One that cannot be opened.
        windows.AnswerNextFileDialog((folder / "gone.map").string());
        ismap.Click(kConvert);
        ASSERT_EQ(windows.prompt.messages.size(), 3u);
        EXPECT_EQ(windows.prompt.messages[2].text.rfind(Strings(704).substr(0, 20), 0), 0u)
            << windows.prompt.messages[2].text;
        unchanged();
        w.PressEscape();
    });
    EXPECT_EQ(windows.prompt.messages.size(), 3u) << "cancelling asks nothing";
    EXPECT_EQ(document.Text(), original);
}

// An image whose link went missing names no map file: the user shows where it is.
TEST_F(RepairRunTest, AServerSideMapThatNoLinkNamesIsReadFromTheFileTheUserChooses)
{
    const std::string page = "<html><body>\r\n<p><img src=\"plan.png\" alt=\"Plan\" ismap></p>\r\n</body></html>\r\n";
    ASSERT_EQ(OpenSheet(page, "ImageMap"), 2);
    const std::string mapFile = std::string(ORVANE_EXAMPLES_DIR) + "/maps/harbour.map";
    windows.AnswerNextFileDialog(mapFile);
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& ismap = w.PageWindow(0);
        EXPECT_EQ(ismap.Text(CPageImgIsmap::kMapAddress), Strings(721));
        ismap.Click(kConvert);
        ASSERT_EQ(windows.fileRequests.size(), 1u);
        EXPECT_EQ(windows.fileRequests[0].initialPath, "/site/forms/");
        EXPECT_EQ(windows.fileRequests[0].defaultExtension, "map");
        EXPECT_EQ(ismap.Text(CPageImgIsmap::kState), Strings(352));
        EXPECT_FALSE(w.IsVisible(kIdFinish)) << "the areas' page comes next";
        w.Click(kIdNext);
        EXPECT_EQ(w.PageWindow(1).ItemCount(kAreas), 5);
        w.PressEscape();
        // Keeping what was done: the map stays, its areas without texts.
        windows.AnswerNextMessage(platform::kAnswerYes);
    });
    EXPECT_EQ(windows.prompt.messages.size(), 1u);
    EXPECT_NE(document.Text().find("<img src=\"plan.png\" alt=\"Plan\" usemap=\"#harbour.map\">\n<map name=\"harbour.map\">"),
              std::string::npos)
        << document.Text();
}

} // namespace
} // namespace orvane::test
