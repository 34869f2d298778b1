// Repairs that once broke the page they mended, cleared no problem, or could
// not be undone byte for byte: each on the smallest page that showed it,
// walked as the harness walks every page (tests/support/repair_walk.h), with
// what the page must read afterwards.
#include "ui_fixture.h"

#include <gmock/gmock.h>

#include "library/tables/table_record.h"
#include "library/ui/pages/judgements/page_quote_maybe.h"
#include "library/ui/pages/scripts/page_script_noscript.h"
#include "tests/support/repair_walk.h"

namespace orvane::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::string_view kHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">\n"
    "<html lang=\"en\"><head><title>Island ferries</title>\n";

// A page of the ferries with its head, the body given.
std::string FerryPage(std::string_view head, std::string_view body)
{
    return std::string(kHead) + std::string(head) + "</head>\n<body>\n" + std::string(body) + "</body></html>\n";
}

class RepairsKeepPagesWholeTest : public RepairRunAtLevelTest<3> {
protected:
    RepairWalk Walk(const std::string& page, const WalkAnswers& answers = {})
    {
        const std::string path = InFolder("ferries.html");
        std::ofstream(path, std::ios::binary) << page;
        RepairWalk walk = WalkRepairs(page, path, settings, answers);
        if (walk.failure.empty())
            walk.failure = walk.stillReported;
        return walk;
    }
};

// The heading page renames the heading's tags while the deprecated markup
// page moves its alignment into a style: the tag rebuilt from its
// attributes is the paragraph, closed by its own end tag.
TEST_F(RepairsKeepPagesWholeTest, AHeadingMadeAParagraphStaysOneWhenItsAlignmentMovesToAStyle)
{
    const RepairWalk walk = Walk(FerryPage(
        "", "<h1 align=\"center\">Children under six travel free on every crossing, bicycles travel for half the adult "
            "fare, and a return ticket bought on the pier is valid for the whole summer season</h1>\n"
            "<p>The timetable follows.</p>\n"));
    EXPECT_EQ(walk.failure, "");
    EXPECT_THAT(walk.written, HasSubstr("<p style=\"text-align: center\">Children under six"));
    EXPECT_THAT(walk.written, HasSubstr("summer season</p>"));
    EXPECT_THAT(walk.written, Not(HasSubstr("<h1")));
}

// A long heading kept a heading (the format page's first answer) keeps the
// level the headings page gave it: keeping takes back only what the format
// page itself changed.
TEST_F(RepairsKeepPagesWholeTest, AHeadingKeptAsAHeadingKeepsTheLevelTheHeadingsPageGaveIt)
{
    const RepairWalk walk = Walk(FerryPage(
        "", "<h1>Winter service</h1>\n<h3>From the first of December until the end of February the harbour office "
            "closes at four in the afternoon, and tickets are sold on board only</h3>\n<p>The timetable follows.</p>\n"),
        {.radio = 1});
    EXPECT_EQ(walk.failure, "");
    EXPECT_THAT(walk.written, HasSubstr("<h2>From the first of December"));
    EXPECT_THAT(walk.written, HasSubstr("on board only</h2>"));
}

// A heading that holds a block becomes a division, not a paragraph the block would break.
TEST_F(RepairsKeepPagesWholeTest, AHeadingHoldingABlockBecomesADivisionNotAParagraph)
{
    const RepairWalk walk = Walk(FerryPage(
        "", "<h2>Children under six travel free on every crossing, bicycles travel for half the adult fare,\n"
            "<div>and a return ticket bought on the pier is valid for the whole summer season</div></h2>\n"
            "<p>The timetable follows.</p>\n"));
    EXPECT_EQ(walk.failure, "");
    EXPECT_THAT(walk.written, HasSubstr("<div>Children under six"));
    EXPECT_THAT(walk.written, HasSubstr("summer season</div></div>"));
}

// A noscript section holds a paragraph: never in the head, never in a paragraph.
TEST_F(RepairsKeepPagesWholeTest, ANoscriptSectionOpensTheBodyForHeadScriptsAndFollowsTheParagraphOfOthers)
{
    const std::string script = "<script type=\"text/javascript\">var fares = 1;</script>\n";
    const RepairWalk head = Walk(FerryPage(script + script, "<p>Fares change in May.</p>\n"));
    EXPECT_EQ(head.failure, "");
    EXPECT_LT(head.written.find("</head>"), head.written.find("<noscript>"));

    const RepairWalk inParagraph = Walk(FerryPage(
        "", "<p>Next departure: <span><script type=\"text/javascript\">document.write(next());</script></span>"
            " from pier 2.</p>\n"));
    EXPECT_EQ(inParagraph.failure, "");
    EXPECT_THAT(inParagraph.written, HasSubstr("from pier 2.</p>\n<noscript>"));

    // Without head and body tags, the page is in its head until its first
    // content: the section follows that content.
    const RepairWalk untagged =
        Walk("<title>Fares</title>\n" + script + "<p>Fares change in May.</p>\n<p>Children travel free.</p>\n");
    EXPECT_EQ(untagged.failure, "");
    EXPECT_THAT(untagged.written, HasSubstr("Fares change in May.</p>\n<noscript>"));

    // An html start tag without a head or body tag: the script after the
    // page's first content stands in the body.
    const RepairWalk inBody = Walk("<html lang=\"en\"><p id=\"clock\">Now open.</p>" + script + "</html>\n");
    EXPECT_EQ(inBody.failure, "");
    EXPECT_THAT(inBody.written, HasSubstr("</script>\n<noscript>"));
}

// The file linked holds the description; the link says what it leads to.
TEST_F(RepairsKeepPagesWholeTest, AScriptLinkedToADescriptionFileThatExistsIsLinkedByItsNameNotTheFilesMarkup)
{
    std::ofstream(InFolder("search.html"), std::ios::binary)
        << "<html><head><title>Search</title></head><body><p>Finds the <b>next</b> ferry.</p></body></html>";
    const std::string page = FerryPage("", "<script type=\"text/javascript\">search();</script>\n<p>Search.</p>\n");
    Load(page);
    StartSheetInFolder("ferries.html");
    ASSERT_EQ(AddPages("ScriptNoscript"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& script = w.PageWindow(0);
        script.Click(CPageScriptNoscript::kLinkExisting);
        script.Type(CPageScriptNoscript::kAddress, "search.html");
        script.MoveFocus(CPageScriptNoscript::kText);
        w.Click(kIdFinish);
    });
    EXPECT_THAT(document.Text(), HasSubstr("<noscript><p><a href=\"search.html\">What this script does</a></p></noscript>"));
    EXPECT_THAT(document.Text(), Not(HasSubstr("next")));
}

// Taken together, the images of one picture file are given back together.
TEST_F(RepairsKeepPagesWholeTest, UndoingAMergedLongDescriptionGivesBackEveryImageItWasWrittenOn)
{
    const std::string chart = "<p><img src=\"fares-chart.png\" alt=\"Fares by season\" width=\"400\" height=\"300\"></p>\n";
    const RepairWalk walk = Walk(FerryPage("", chart + "<p>Again below.</p>\n" + chart));
    EXPECT_EQ(walk.failure, "");
    EXPECT_TRUE(walk.offeredMerge);
}

// Repairs that the next check takes as done.
TEST_F(RepairsKeepPagesWholeTest, TheNextCheckReportsNoneOfTheProblemsTheRepairsCleared)
{
    // One description of how the frames work together, on any frame.
    const RepairWalk frames = Walk(std::string(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\" \"http://www.w3.org/TR/html4/frameset.dtd\">\n"
        "<html lang=\"en\"><head><title>Ferries</title></head>\n<frameset cols=\"20%,40%,40%\">\n"
        "<frame src=\"menu.html\" title=\"Menu\">\n<frame src=\"times.html\" title=\"Times\">\n"
        "<frame src=\"fares.html\" title=\"Fares\">\n<noframes><body><p>The <a href=\"menu.html\">menu</a>.</p>"
        "</body></noframes>\n</frameset></html>\n"));
    EXPECT_EQ(frames.failure, "");
    EXPECT_TRUE(Has(frames.repaired, "FrameLongdesc"));

    // A blockquote says its paragraph is a quotation, its marks kept.
    const std::string quote =
        FerryPage("", "<p>\"The crossing to the outer islands is the finest hour of sailing anywhere on this "
                      "coast, whatever the weather brings.\"</p>\n");
    const RepairWalk quoted = Walk(quote, {.radio = 1});
    EXPECT_EQ(quoted.failure, "");
    EXPECT_THAT(quoted.written, HasSubstr("<blockquote><p>\"The crossing"));

    // The text links of a map whose address has a bare ampersand.
    const RepairWalk map = Walk(FerryPage(
        "", "<p><img src=\"piers.png\" alt=\"Piers\" usemap=\"#piers\" width=\"300\" height=\"200\"></p>\n"
            "<map name=\"piers\"><area shape=\"rect\" coords=\"0,0,100,100\" href=\"times.html?pier=1&day=today\" "
            "alt=\"Pier 1\"><area shape=\"rect\" coords=\"100,0,200,100\" href=\"times.html?pier=2&amp;day=today\" "
            "alt=\"Pier 2\"></map>\n"));
    EXPECT_EQ(map.failure, "");
    EXPECT_TRUE(Has(map.repaired, "ImageMapTextLinks"));

    // An empty corner stays a data cell; the headers around it are the table's.
    const RepairWalk table = Walk(
        FerryPage("", "<table summary=\"Fares by season\"><caption>Fares</caption>\n"
                      "<tr><td></td><td>Spring</td><td>Summer</td></tr>\n"
                      "<tr><td>Adult</td><td>12.5</td><td>15</td></tr>\n"
                      "<tr><td>Child</td><td>6</td><td>7.5</td></tr>\n</table>\n"),
        {.tables = table_type::kData});
    EXPECT_EQ(table.failure, "");
    EXPECT_TRUE(Has(table.repaired, "TableHeaders"));
    EXPECT_THAT(table.written, HasSubstr("<tr><td></td><th scope=\"col\" abbr=\"Spring\">Spring</th>"));
    EXPECT_THAT(table.written, HasSubstr("<th scope=\"row\" abbr=\"Adult\">Adult</th><td>12.5</td>"));
    // Abbreviations are for header cells: the figures get none.
    EXPECT_THAT(table.written, Not(HasSubstr("abbr=\"12\"")));
    EXPECT_THAT(table.written, Not(HasSubstr("abbr=\"6\"")));
}

// Header cells written as plain ones come back as they were written.
TEST_F(RepairsKeepPagesWholeTest, PlainCellsOfALayoutTableAreUndoneByteForByte)
{
    const RepairWalk walk = Walk(FerryPage("", "<table><tr><th align=left>Menu</th><td>Welcome aboard.</td></tr>"
                                               "<tr><th align=left>News</th><td>New pier open.</td></tr></table>\n"),
                                 {.tables = table_type::kLayout});
    EXPECT_EQ(walk.failure, "");
    EXPECT_THAT(walk.written, HasSubstr("<td align=left>Menu</td>"));
}

} // namespace
} // namespace orvane::test
