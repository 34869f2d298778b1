#include "check_fixture.h"

#include "library/checks/element_frameset.h"
#include "library/checks/element_header.h"
#include "library/checks/element_list.h"
#include "library/checks/element_pre.h"
#include "library/checks/element_script.h"
#include "library/registry/object_digest.h"

namespace orvane::test {
namespace {

using ContentChecks = CheckedPage;

TEST_F(ContentChecks, BlinkingTextIsAlwaysReported)
{
    EXPECT_TRUE(Reports("<marquee>news</marquee>", "BlinkMarquee"));
    EXPECT_TRUE(Reports("<blink>x", "BlinkMarquee"));
}

TEST_F(ContentChecks, LongHeadingsAreUsedForFormatting)
{
    EXPECT_FALSE(Reports("<h2>" + std::string(125, 'a') + "</h2>", "HeaderFormatting"));
    EXPECT_TRUE(Reports("<h2>" + std::string(100, 'a') + " <b>" + std::string(25, 'b') + "</b></h2>", "HeaderFormatting"));
    auto* heading = dynamic_cast<CElementHeader*>(First(34));
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->HeadingText().substr(heading->HeadingText().size() - 3), "...");
    EXPECT_FALSE(Reports("<h2>" + std::string(200, 'a'), "HeaderFormatting"));  // no end tag
}

// A list of one item inside another list (in an item, or right in it, as
// older pages nest) is a step with one substep: turning it into indented
// text would leave the list around it with an item less, which then reads
// as formatting in turn.
TEST_F(ContentChecks, AListOfOneItemInAListItemIsAnOutlineLevel)
{
    const std::string outline = "<ol><li><p>Step</p><ol><li><p>Substep</p></li></ol></li>"
                                "<li><p>Step</p><ul><li>Sub<b>step</b></ul><dl><dd><ol><li>Deep</ol></dl></li></ol>";
    EXPECT_FALSE(Reports(outline, "ListForFormat"));
    EXPECT_FALSE(Reports("<ol><li>Step<ol><ol><ol><li>Deeper</ol></ol></ol></li><li>Step</ol>", "ListForFormat"));
    EXPECT_FALSE(Reports("<ul><li>Step</li><ul><li>Substep</ul><li>Step</ul>", "ListForFormat"));
    ExpectVerdicts("ListForFormat", {
        {"<ol><li>Step<ul>Indented text</ul></li><li>Step</ol>", true},
        {"<ol><li>Step</li></ol><ul><li>One item</ul>", true},
        {"<table><tr><td><ul><li>One item</ul></table>", true},
        {"<ul><li>Step</li><li>Step</li></ul><p>Then</p><ul><li>One item</ul>", true}
    });
}

// The lists of one page share their way back to what surrounds them; each
// must still find its own: the outline's substeps are kept apart from the
// one-item lists that follow the outline or stand in a paragraph after it.
TEST_F(ContentChecks, EachOneItemListOfAPageFindsItsOwnSurroundings)
{
    const std::string page = "<ol><li>Step<ul><li>A</ul><b>x</b><ul><li>B</ul><i>y</i></li><li>Step</ol>"
                             "<ul><li>C</ul><p><ul><li>D</ul></p>"
                             "<table><tr><td><ol><li>Two<li>Items<ul><li>E</ul></ol></td>"
                             "<td><ul><li>F</ul></td></tr></table>";
    ExpectFound(page, {{"ListForFormat", 3}});
}

TEST_F(ContentChecks, ListsOfFewerThanTwoItemsIndentText)
{
    ExpectVerdicts("ListForFormat", {
        {"<ul>Indented text</ul>", true},
        {"<ul><li>One item</ul>", true},
        {"<ul><li>One<li>Two</ul>", false},
        {"<ul><li></ul>", false}
    });
    Check("<ol>" + std::string(50, 'z') + "</ol>");
    auto* list = dynamic_cast<CElementList*>(First(24));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->PreviewText(), std::string(40, 'z'));
    EXPECT_EQ(list->GetProblemText(0x1, PageEncoding{}), "list: " + std::string(40, 'z'));
}

TEST_F(ContentChecks, RefreshAndRedirect)
{
    ExpectFound("<meta http-equiv=Refresh content=\"0; url=next.html\">", {{"MapRedirect", 1}, {"MapRefresh", 0}});
    ExpectFound("<meta http-equiv=refresh content=5>", {{"MapRefresh", 1}, {"MapRedirect", 0}});
    auto names = Check("<meta http-equiv=refresh>");
    EXPECT_EQ(names.count("MapRefresh") + names.count("MapRedirect"), 0u);
    names = Check("<meta name=author content=0>");
    EXPECT_EQ(names.count("MapRefresh") + names.count("MapRedirect"), 0u);
}

TEST_F(ContentChecks, ObjectsNeedATitleAndAnAlternative)
{
    ExpectFound("<object title=Clip>A clip</object>", {{"ObjectAltRep", 1}, {"ObjectTitle", 0}});
    ExpectFound("<object><img src=still.png alt=Still></object>", {{"ObjectAltRep", 0}, {"ObjectTitle", 1}});
    EXPECT_EQ(Check("<object title=x>A longer description</object>").count("ObjectAltRep"), 0u);
}

TEST_F(ContentChecks, AppletsAreCheckedOnlyWithARegistry)
{
    EXPECT_FALSE(Reports("<applet code=a.class></applet>", "AppletAltText"));
}

// Only a call that opens a window counts: a document or request opened, or
// a call in a comment or a string, opens none; blanks between the words
// change nothing.
TEST_F(ContentChecks, ScriptsThatOpenAWindowAreReported)
{
    constexpr char kName[] = "ScriptSpawnNewWindow";
    EXPECT_TRUE(Reports("<script>function tides() { window.open('tides.html'); }</script>", kName));
    EXPECT_TRUE(Reports("<script>\nself . open\n( url )</script>", kName));
    EXPECT_TRUE(Reports("<script>top.open(u, 'w')</script>", kName));
    EXPECT_TRUE(Reports("<script><!--\nwindow.showModalDialog('fares.html');\n// --></script>", kName));
    EXPECT_FALSE(Reports("<script>document.open(); request.open('GET', u); open = 1;</script>", kName));
    EXPECT_FALSE(Reports("<script>// window.open('old.html')\n/* self.open(x) */ alert('window.open(')</script>", kName));
    EXPECT_FALSE(Reports("<p><a href=\"x.html\" onclick=\"window.open(this.href)\">x</a></p>", kName));
}

TEST_F(ContentChecks, ScriptsNeedARealNoscript)
{
    EXPECT_TRUE(Reports("<script>x()</script><p>text</p><noscript>Aktivieren Sie JavaScript</noscript>", "ScriptNoscript"));
    auto* script = dynamic_cast<CElementScript*>(First(71));
    ASSERT_NE(script, nullptr);
    EXPECT_NE(script->NoscriptPlaceholder(), nullptr);
    ExpectVerdicts("ScriptNoscript", {
        {"<script>x()</script><noscript><a href=plain.html>plain page</a></noscript>", false},
        {"<script>x()</script><script>y()</script><noscript>Use the plain page.</noscript>", true},
        {"<script>x()</script><noscript>Use the plain page.</noscript>", false},
        {"<script>x()</script><noscript>this page uses scripts.</noscript>", true},
        {"<script>x()</script>", true},
        {"<script>x()", false}
    });
    // The placeholder in UTF-8 is recognised as well as in Latin-1.
    EXPECT_TRUE(Reports("<script>x()</script><noscript>Ihr Browser unterst\xc3\xbctzt kein JavaScript</noscript>",
                        "ScriptNoscript"));
    // Capital umlauts fold too, in both encodings.
    EXPECT_TRUE(Reports("<script>x()</script><noscript>IHR BROWSER UNTERST\xdcTZT KEIN JAVASCRIPT</noscript>",
                        "ScriptNoscript"));
    EXPECT_TRUE(Reports("<script>x()</script><noscript>IHR BROWSER UNTERST\xc3\x9cTZT KEIN JAVASCRIPT</noscript>",
                        "ScriptNoscript"));
    EXPECT_FALSE(Reports("<script>x()</script><noscript>IHR BROWSER UNTERST\xc3\xbdTZT KEIN JAVASCRIPT</noscript>",
                         "ScriptNoscript"));
}

std::string Art(int lines, bool run)
{
    std::string pre = "<pre>\n";
    for (int i = 0; i < lines; ++i)
        pre += (run && i == 2) ? " /\\____/\\\n" : " /\\ /\\ /\n";
    return pre + "</pre>\n";
}

TEST_F(ContentChecks, AsciiArtNeedsSevenLinesAndARun)
{
    EXPECT_FALSE(Reports(Art(5, true), "AsciiArtDescription"));  // six elements inside
    ExpectFound(Art(6, true), {{"AsciiArtDescription", 1}, {"AsciiArtSkipover", 1}});
    auto* pre = dynamic_cast<CElementPre*>(First(67));
    ASSERT_NE(pre, nullptr);
    EXPECT_TRUE(pre->IsAsciiArt());
    EXPECT_EQ(pre->ArtId(), ObjectDigest(document.InnerText(*pre, -1)));
    EXPECT_EQ(pre->ArtPreview().size(), 28u);
    EXPECT_FALSE(Reports(Art(10, false), "AsciiArtDescription"));
    // Line breaks inside a tag draw no lines: six elements are not art.
    EXPECT_FALSE(Reports("<pre>=====<b\nclass=x>x</b\n>y<i\n></pre>", "AsciiArtDescription"));
    EXPECT_TRUE(Reports("<pre>\n<b>=====</b>\n\n\n\n\n</pre>", "AsciiArtDescription"));
}

TEST_F(ContentChecks, AsciiArtLinksCountOnlySinceThePreviousBlock)
{
    std::string links = "<a href=#after title=\"Skip over the ASCII art\">skip</a>"
                        "<a href=art.html title=\"Description of the ASCII art\">d</a>\n";
    auto names = Check(links + Art(6, true) + Art(6, true));
    EXPECT_EQ(names.count("AsciiArtDescription"), 1u);  // the second block only
    EXPECT_EQ(names.count("AsciiArtSkipover"), 1u);
}

using FrameChecks = CheckedPage;

TEST_F(FrameChecks, FramesNeedATitleAndAPageAsSource)
{
    ExpectFound("<frameset><frame title='   ' src=MAIN.HTML></frameset>", {{"FrameTitle", 1}, {"FrameSource", 0}});
    ExpectVerdicts("FrameSource", {
        {"<frame title=t src=map.gif>", true},
        {"<frame title=t src=index>", true},
        {"<frame title=t src=page.html?x=1>", true},
        {"<frame title=t>", true}
    });
}

TEST_F(FrameChecks, OneDescriptionForAPageOfMoreThanTwoFrames)
{
    EXPECT_EQ(Check("<frame src=a.html><frame src=b.html>").count("FrameLongdesc"), 0u);
    EXPECT_EQ(Check("<frame src=a.html><frame src=b.html><frame src=c.html>").count("FrameLongdesc"), 1u);
    // The description on any one frame, the first or a later one, serves them all.
    EXPECT_EQ(Check("<frame src=a.html longdesc=f.html><frame src=b.html><frame src=c.html>").count("FrameLongdesc"), 0u);
    EXPECT_EQ(Check("<frame src=a.html><frame src=b.html><frame src=c.html longdesc=f.html>").count("FrameLongdesc"), 0u);
}

TEST_F(FrameChecks, FramesetsNeedRealNoframesContent)
{
    EXPECT_TRUE(Reports("<frameset><frame src=a.html></frameset>", "FramesetNoframes"));
    EXPECT_FALSE(Reports("<frameset><frame src=a.html>", "FramesetNoframes"));  // no end tag
    EXPECT_TRUE(Reports("<frameset><noframes>DIESE SEITE VERWENDET FRAMES</noframes></frameset>", "FramesetNoframes"));
    EXPECT_TRUE(Reports("<frameset><noframes>IHR BROWSER UNTERST\xc3\x9cTZT KEINE FRAMES</noframes></frameset>",
                        "FramesetNoframes"));
    EXPECT_TRUE(Reports("<frameset><noframes>Ihr Browser UNTERST\xdcTZT keine Frames</noframes></frameset>",
                        "FramesetNoframes"));
    auto* frameset = dynamic_cast<CElementFrameset*>(First(32));
    ASSERT_NE(frameset, nullptr);
    EXPECT_TRUE(frameset->NoframesIsPlaceholder());
    ExpectVerdicts("FramesetNoframes", {
        {"<frameset><noframes><a href=\"plain.html\">x</a></noframes></frameset>", false},
        {"<frameset><noframes>Frames</noframes></frameset>", true},
        {"<frameset><noframes>This page uses frames.</noframes></frameset>", true},
        {"<frameset></frameset><noframes>A long enough text</noframes>", true}
    });
}

} // namespace
} // namespace orvane::test
