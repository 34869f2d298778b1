// Server-side map files as they come, made into client-side map markup.
#include "map_fixture.h"

#include "tests/support/memory_window.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace orvane::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

using MapConversion = MapFileTest;

TEST_F(MapConversion, NcsaAndCernOrdersGiveTheSameArea)
{
    EXPECT_EQ(Convert("rect http://example.org/a.html 10,20 30,40\n"
                      "RECT (10,20) (30,40) http://example.org/a.html\n"),
              1);
    EXPECT_EQ(converter.Markup(), "\n<map name=\"nav.map\">\n"
                                  "<area shape=\"rect\" coords=\"10,20,30,40\" href=\"http://example.org/a.html\" />\n"
                                  "<area shape=\"rect\" coords=\"10,20,30,40\" href=\"http://example.org/a.html\" />\n"
                                  "</map>\n");
}

TEST_F(MapConversion, EveryShapeTakesItsClientSideForm)
{
    // Line ends of every kind; a keyword in any case; comments.
    EXPECT_EQ(Convert("# navigation of the home page\r\n"
                      "circle /round.html 50,50 53,54\r"
                      "Circle /kept.html 50,50,5\n"
                      "point /dot.html 7,9\n"
                      "poly /tri.html (0,0) (10,0) (5,8)\n"
                      "default /index.html\n"),
              1);
    EXPECT_EQ(converter.Markup(), "\n<map name=\"nav.map\">\n"
                                  "<area shape=\"circle\" coords=\"50,50,5\" href=\"/round.html\" />\n"
                                  "<area shape=\"circle\" coords=\"50,50,5\" href=\"/kept.html\" />\n"
                                  "<area shape=\"rect\" coords=\"7,9,8,10\" href=\"/dot.html\" />\n"
                                  "<area shape=\"poly\" coords=\"0,0,10,0,5,8\" href=\"/tri.html\" />\n"
                                  "<area shape=\"default\" href=\"/index.html\" />\n"
                                  "</map>\n");
}

TEST_F(MapConversion, LinesWithoutAShapeAddToTheAreaBefore)
{
    EXPECT_EQ(Convert("10,10 20,20\n"          // before any shape: belongs to none
                      "rect /first.html\n"
                      "/second.html 0,0\n"     // the first URL stays; the corner is added
                      "\t 30,30   \n"
                      "poly\n"
                      "\"/quoted.html\" 1,1 2,2 3,3\n"),
              1);
    ASSERT_EQ(converter.Areas().size(), 2u);
    EXPECT_EQ(converter.Markup(), "\n<map name=\"nav.map\">\n"
                                  "<area shape=\"rect\" coords=\"0,0,30,30\" href=\"/first.html\" />\n"
                                  "<area shape=\"poly\" coords=\"1,1,2,2,3,3\" href=\"/quoted.html\" />\n"
                                  "</map>\n");
}

TEST_F(MapConversion, MalformedLinesYieldWhatTheirTokensSay)
{
    // A circle that is neither centre and edge nor centre and radius keeps
    // its numbers; a token over 200 characters ends its line; a URL alone
    // after an area with a link changes nothing; a lone keyword makes an area
    // without coordinates or link.
    EXPECT_EQ(Convert("circle /odd.html 1,2,3,4,5\n"
                      "rect /long.html " + std::string(300, 'x') + " 1,1 2,2\n"
                      "banana\n"
                      "rect\n"),
              1);
    EXPECT_EQ(converter.Markup(), "\n<map name=\"nav.map\">\n"
                                  "<area shape=\"circle\" coords=\"1,2,3,4,5\" href=\"/odd.html\" />\n"
                                  "<area shape=\"rect\" href=\"" + std::string(200, 'x') + "\" />\n"
                                  "<area shape=\"rect\" />\n"
                                  "</map>\n");
}

TEST_F(MapConversion, ValuesAreEscapedSoTheMarkupReadsBackAsBuilt)
{
    EXPECT_EQ(Convert("rect /find?a=1&b=<2> 0,0 9,9\n", "a&b\".map"), 1);
    converter.Areas()[0].alt = "Say \"hi\" & <go>";
    EXPECT_EQ(converter.Markup(), "\n<map name=\"a&amp;b&quot;.map\">\n"
                                  "<area shape=\"rect\" coords=\"0,0,9,9\" href=\"/find?a=1&amp;b=&lt;2&gt;\" "
                                  "alt=\"Say &quot;hi&quot; &amp; &lt;go&gt;\" />\n"
                                  "</map>\n");
}

TEST_F(MapConversion, OnlyCommentsGiveAnEmptyMapAndTheReason)
{
    EXPECT_EQ(Convert("# nothing\n#rect /a.html 0,0 1,1\n\n   \n"), 0);
    EXPECT_EQ(converter.Failure(), MapFailure::NoAreas);
    EXPECT_EQ(converter.FailureText(), "The map file holds no areas that link to a page.");
    EXPECT_EQ(converter.Markup(), "\n<map name=\"nav.map\">\n</map>\n");
    std::string piece;
    EXPECT_EQ(converter.NextMarkupLine(piece), 0);
}

TEST_F(MapConversion, NothingIsWrittenBeforeTheAreasAreBuilt)
{
    CMemoryWindows windows;
    ASSERT_EQ(converter.ReadMapFile(WriteMap("nav.map", "rect /a.html 0,0 1,1\n")), 1);
    std::string piece;
    EXPECT_EQ(converter.NextMarkupLine(piece), 0);
    EXPECT_EQ(converter.SaveMarkup(), 0);
    EXPECT_TRUE(windows.fileRequests.empty());
    EXPECT_EQ(converter.BuildAreas(), 1);
    // Built, the map takes no more lines.
    EXPECT_EQ(converter.AddLine("rect /b.html 0,0 1,1"), 0);
    EXPECT_EQ(converter.Lines().size(), 1u);
}

TEST_F(MapConversion, TheUserChoosesTheMapFileToRead)
{
    CMemoryWindows windows;
    const std::string path = WriteMap("menu.map", "rect /a.html 0,0 1,1\n");
    windows.AnswerNextFileDialog(path);
    EXPECT_EQ(converter.LoadMapFile("/site/cgi-bin/menu.map"), 1);
    ASSERT_EQ(windows.fileRequests.size(), 1u);
    const platform::FileDialogRequest& request = windows.fileRequests[0];
    EXPECT_EQ(request.title, "Load the server-side image map");
    EXPECT_EQ(request.initialPath, "/site/cgi-bin/menu.map");
    EXPECT_EQ(request.defaultExtension, "map");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].patterns, "*.map");
    EXPECT_EQ(converter.MapName(), "menu.map");
    EXPECT_EQ(converter.Lines().size(), 1u);

    windows.AnswerNextFileDialog(std::nullopt);
    EXPECT_EQ(converter.LoadMapFile("other.map"), 0);
    EXPECT_EQ(converter.Failure(), MapFailure::Cancelled);
    EXPECT_EQ(converter.FailureText(), "");
    EXPECT_EQ(converter.MapName(), "menu.map");

    EXPECT_EQ(converter.LoadMapFile(std::string(501, 'm')), 0);
    EXPECT_EQ(converter.Failure(), MapFailure::NameTooLong);
    EXPECT_EQ(windows.fileRequests.size(), 2u);
}

TEST_F(MapConversion, TheMarkupIsSavedWhereTheUserSays)
{
    CMemoryWindows windows;
    EXPECT_EQ(Convert("rect /a.html 0,0 1,1\n"), 1);
    const std::string target = folder + "/nav-map.html";
    windows.AnswerNextFileDialog(target);
    EXPECT_EQ(converter.SaveMarkup(), 1);
    ASSERT_EQ(windows.fileRequests.size(), 1u);
    const platform::FileDialogRequest& request = windows.fileRequests[0];
    EXPECT_EQ(request.title, "Save the server-side image map");
    // Not the map file's own name: saving at once must not write over it.
    EXPECT_EQ(request.initialPath, "nav.html");
    EXPECT_EQ(request.defaultExtension, "html");
    EXPECT_EQ(request.filters[0].patterns, "*.html *.htm");
    EXPECT_EQ(ReadFileBytes(target), converter.Markup());

    windows.AnswerNextFileDialog(folder + "/no/such/folder/map.html");
    EXPECT_EQ(converter.SaveMarkup(), 0);
    EXPECT_EQ(converter.Failure(), MapFailure::CannotWrite);
    EXPECT_THAT(converter.FailureText(), StartsWith("The map cannot be written: "));
}

TEST_F(MapConversion, AFileThatCannotBeReadLeavesTheMapAsItWas)
{
    EXPECT_EQ(Convert("rect /a.html 0,0 1,1\n"), 1);
    EXPECT_EQ(converter.ReadMapFile(folder + "/missing.map"), 0);
    EXPECT_EQ(converter.Failure(), MapFailure::CannotRead);
    EXPECT_THAT(converter.FailureText(), StartsWith("The map file cannot be read: "));
    EXPECT_GT(converter.FailureText().size(), std::string("The map file cannot be read: ").size());

    EXPECT_EQ(converter.ReadMapFile(WriteMap("logo.map", std::string("GIF89a\0\0rect /x 1,1 2,2\n", 24))), 0);
    EXPECT_EQ(converter.Failure(), MapFailure::NotText);
    EXPECT_THAT(converter.FailureText(), HasSubstr("binary"));

    EXPECT_TRUE(converter.IsBuilt());
    EXPECT_EQ(converter.MapName(), "nav.map");
    EXPECT_EQ(converter.Areas().size(), 1u);
}

// --- Files no person wrote: bounded in what they cost, with a reason.

TEST_F(MapConversion, ALineWithoutEndBeyondTheBoundIsRefusedUnread)
{
    EXPECT_EQ(Convert("rect /a.html 0,0 1,1\n"), 1);
    std::string huge = "poly /p.html ";
    huge.resize(20 * 1024 * 1024, '7');
    EXPECT_EQ(converter.ReadMapFile(WriteMap("huge.map", huge)), 0);
    EXPECT_EQ(converter.Failure(), MapFailure::TooLarge);
    EXPECT_THAT(converter.FailureText(), HasSubstr("4 MB"));
    EXPECT_EQ(converter.MapName(), "nav.map");
}

TEST_F(MapConversion, ALineWithoutEndWithinTheBoundIsTakenInPieces)
{
    // A long line comes in pieces of 499 bytes, each a line of its own; the
    // digits cut between two pieces make two numbers.
    std::string line = "poly /p.html ";
    line.resize(3 * 1024 * 1024, '7');
    EXPECT_EQ(Convert(line), 1);
    EXPECT_EQ(converter.Lines().size(), (line.size() + 498) / 499);
    EXPECT_EQ(converter.Lines()[1].text, std::string(499, '7'));
    ASSERT_EQ(converter.Areas().size(), 1u);
    EXPECT_EQ(converter.Areas()[0].href, "/p.html");
}

TEST_F(MapConversion, AMillionCoordinatesMakeOnePolygon)
{
    std::string file = "poly /p.html ";
    for (int i = 0; i < 500000; ++i)
        file += "1,2 ";
    EXPECT_EQ(Convert(file), 1);
    ASSERT_EQ(converter.Areas().size(), 1u);
    const std::string markup = converter.Markup();
    const std::string coords = converter.Areas()[0].coordinates;
    EXPECT_EQ(std::count(coords.begin(), coords.end(), ','), 999999);
    EXPECT_EQ(coords.substr(0, 8), "1,2,1,2,");
    EXPECT_THAT(markup, HasSubstr("coords=\"" + coords + "\" href=\"/p.html\""));
}

TEST_F(MapConversion, MoreAreasThanAnyImageHasAreRefused)
{
    std::string file;
    for (std::size_t i = 0; i <= ImageMapConverter::kMaxAreas; ++i)
        file += "rect /a.html 0,0 1,1\n";
    EXPECT_EQ(Convert(file), 0);
    EXPECT_EQ(converter.Failure(), MapFailure::TooManyAreas);
    EXPECT_TRUE(converter.Areas().empty());

    file.erase(file.size() - std::string("rect /a.html 0,0 1,1\n").size());
    EXPECT_EQ(Convert(file), 1);
    EXPECT_EQ(converter.Areas().size(), ImageMapConverter::kMaxAreas);
}

} // namespace
} // namespace orvane::test
