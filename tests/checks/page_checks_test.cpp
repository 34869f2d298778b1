#include "check_fixture.h"

#include "library/checks/element_body.h"
#include "library/checks/element_document.h"
#include "library/checks/element_paragraph.h"

namespace orvane::test {
namespace {

using DocumentChecks = CheckedPage;

TEST_F(DocumentChecks, DoctypeMustComeFirstOnPagesWithAnHtmlElement)
{
    ExpectVerdicts("DoctypeMissing", {
        {"<!-- made by hand -->\n<!DOCTYPE html>\n<html></html>", false},
        {"<html><body></body></html>", true},
        {"<p>no html element</p>", false}
    });
}

TEST_F(DocumentChecks, StyleSheetsAndInlineStyle)
{
    ExpectFound("<html><head><style></style></head><body></body></html>", {{"NoStylesheets", 1}, {"UsingStyle", 0}});
    ExpectFound("<html><head><style><!-- a --></style></head></html>", {{"NoStylesheets", 1}});
    ExpectFound("<html><head><style><!--\nbody { color: black }\n--></style></head></html>",
                {{"NoStylesheets", 0}, {"UsingStyle", 1}});
    ExpectFound("<html><head><link rel=StyleSheet href=s.css></head></html>", {{"NoStylesheets", 0}});
    ExpectFound("<html><head></head><body><p style=\"margin:0\">x</p></body></html>",
                {{"NoStylesheets", 1}, {"UsingStyle", 1}});
    // Links to icons, feeds or other pages before the style sheet do not end the search.
    for (const char* head : {"<link rel=\"icon\" href=\"f.ico\"><link rel=\"stylesheet\" href=\"s.css\">",
                             "<link rel=alternate href=feed.xml><style>body { margin: 0 }</style>",
                             "<link href=next.html><link rel=\"alternate stylesheet\" href=s.css>"}) {
        const auto names = Check(std::string("<html><head>") + head + "</head><body></body></html>");
        EXPECT_EQ(names.count("NoStylesheets"), 0u) << head;
        EXPECT_EQ(names.count("UsingStyle"), 1u) << head;
    }
    EXPECT_EQ(Check("<html><head><link rel=icon href=f.ico></head></html>").count("NoStylesheets"), 1u);
}

TEST_F(DocumentChecks, DynamicContentSetsThreeWarnings)
{
    ExpectFound("<object data=movie.mpg></object>", {{"DynamicEquivalents", 0}});
    ExpectFound("<object classid=clsid:1></object>",
                {{"DynamicEquivalents", 1}, {"UsableWithoutProgram", 1}, {"ProgramAccessible", 1}});
    EXPECT_TRUE(Reports("<script>x()</script>", "DynamicEquivalents"));
}

TEST_F(DocumentChecks, MultimediaLinksAndVideoObjects)
{
    ExpectVerdicts("MultiMedia", {
        {"<a href=film.MPEG>film</a>", true},
        {"<a href=page>page</a>", false},
        {"<object type=Video/mp4></object>", true}
    });
}

TEST_F(DocumentChecks, MouseEventsNeedTheirKeyboardPartners)
{
    EXPECT_FALSE(Reports("<p onclick=a() onkeypress=a()>x</p>", "DeviceDependent"));
    EXPECT_TRUE(Reports("<img src=a.gif alt='' onmouseover=a()>", "DeviceDependent"));
}

TEST_F(DocumentChecks, MetadataInTheHead)
{
    ExpectVerdicts("Metadata", {
        {"<html><head><title>   </title></head></html>", true},
        {"<html><head><meta http-equiv=REFRESH content=5></head></html>", true},
        {"<html><head><link rel=stylesheet type=text/css href=s.css></head></html>", true},
        {"<html><head><link rel=next href=n.html></head></html>", false},
        {"<html><head><title>Harbour walks</title></head></html>", false}
    });
    auto* element = dynamic_cast<CElementDocument*>(document.At(0));
    ASSERT_NE(element, nullptr);
    EXPECT_NE(element->TitleElement(), nullptr);
    EXPECT_EQ(element->PageFileName(), "page.html");
}

using HtmlChecks = CheckedPage;

TEST_F(HtmlChecks, LanguageMustBeAKnownCode)
{
    ExpectVerdicts("MissingLanguage", {
        {"<html lang=EN></html>", false},
        {"<html language=deu></html>", false},
        {"<html lang=english></html>", true},
        {"<html lang=''></html>", true},
        {"<html lang=xx></html>", true},
        {"<html></html>", true}
    });
}

TEST_F(HtmlChecks, OnlyTheFirstHtmlElementCarriesThePageChecks)
{
    ExpectFound("<html></html><html></html>", {{"MissingLanguage", 1}});
    // A new pass judges the page anew.
    EXPECT_EQ(RunCheckPass(document, settings, nullptr).size(), found.size());
}

TEST_F(HtmlChecks, ColourAndFlicker)
{
    ExpectVerdicts("UsingColor", {
        {"<html><font color=red>x</font></html>", true},
        {"<html><img src=a.png alt=''></html>", true},
        {"<html><p>x</p></html>", false}
    });
    ExpectVerdicts("CheckFlicker", {
        {"<html><img src=ANIM.GIF alt=''></html>", true},
        {"<html><embed src=x></html>", true},
        {"<html><img src=a.png alt=''></html>", false}
    });
}

TEST_F(HtmlChecks, HeadingsMayNotSkipALevelDownwards)
{
    EXPECT_TRUE(Reports("<html><h1>a</h1><h3>b</h3></html>", "NestedHeaders"));
    EXPECT_FALSE(Reports("<html><h2>a</h2><h3>b</h3><h1>c</h1><h2>d</h2></html>", "NestedHeaders"));
}

TEST_F(HtmlChecks, ShortEmphasisedParagraphsLookLikeHeadings)
{
    EXPECT_TRUE(Reports("<html><p><b>Introduction</b></p></html>", "PotentialHeaders"));
    auto* p = dynamic_cast<CElementParagraph*>(First(64));
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->IsPotentialHeading());
    ExpectVerdicts("PotentialHeaders", {
        {"<html><p><b>Bold</b> then plain text</p></html>", false},
        {"<html><p><b>" + std::string(60, 'x') + "</b></p></html>", false},
        {"<html><p>plain</p></html>", false}
    });
}

using BodyChecks = CheckedPage;

TEST_F(BodyChecks, LongTextsMayChangeLanguage)
{
    EXPECT_TRUE(Reports("<body>A sentence of real text.</body>", "BodyLanguageChange"));
    EXPECT_FALSE(Reports("<body>Short</body>", "BodyLanguageChange"));
}

TEST_F(BodyChecks, ColoursMustAllBeGivenAndContrast)
{
    ExpectVerdicts("BodyColorContrst", {
        {"<body bgcolor=white text=black link=#000080 alink=#800000 vlink=#400040>", false},
        {"<body>", false},
        {"<body bgcolor=white>", true}
    });
    auto* body = dynamic_cast<CElementBody*>(First(7));
    ASSERT_NE(body, nullptr);
    EXPECT_FALSE(body->Colours().backgroundMissing);
    EXPECT_TRUE(body->Colours().textMissing);
    EXPECT_TRUE(body->Colours().linkMissing);
    EXPECT_TRUE(body->Colours().visitedLinkMissing);
    EXPECT_TRUE(body->Colours().activeLinkMissing);
    // Black on dark grey: the colours differ by more than 500, the brightness by no more than 180.
    EXPECT_TRUE(Reports("<body bgcolor=#505050 text=black link=black alink=black vlink=black>", "BodyColorContrst"));
    body = dynamic_cast<CElementBody*>(First(7));
    EXPECT_TRUE(body->Colours().textContrastFails);
}

} // namespace
} // namespace orvane::test

namespace orvane::test {
namespace {

using PotentialHeadings = CheckedPage;

TEST_F(PotentialHeadings, TextInsideNestedEmphasisCounts)
{
    ExpectVerdicts("PotentialHeaders", {
        {"<html><p><font size=5><b>Chapter one</b></font>\n</p></html>", true},
        {"<html><p><b>Note:</b> the rest is plain</p></html>", false},
        {"<html><p><b>Open paragraph</b>", false}
    });
}

TEST_F(PotentialHeadings, OnlyAParagraphClosedByItsEndTagIsMarked)
{
    // The first paragraph is left for the second one, which is closed.
    EXPECT_TRUE(Reports("<html><p><b>Intro</b><p><i>Chapter</i></p><p><b>Open</b></html>", "PotentialHeaders"));
    std::vector<bool> marked;
    for (CElement* e : document.Elements()) {
        if (auto* p = dynamic_cast<CElementParagraph*>(e))
            marked.push_back(p->IsPotentialHeading());
    }
    EXPECT_EQ(marked, (std::vector<bool>{false, true, false}));
}

TEST_F(PotentialHeadings, AnEmphasisedTextCutIntoPiecesIsJudgedWhole)
{
    // A file's long line arrives in pieces of a few hundred bytes: the short
    // last piece of a long bold text does not make it a heading.
    EXPECT_FALSE(Reports("<html><p><b>" + std::string(520, 'x') + "</b></p></html>", "PotentialHeaders"));
    // Nor does a short last line of a bold text over several lines.
    EXPECT_FALSE(Reports("<html><p><b>" + std::string(70, 'x') + "\nend</b></p></html>", "PotentialHeaders"));
    // A short heading over two lines is still one.
    EXPECT_TRUE(Reports("<html><p><b>Chapter\none</b></p></html>", "PotentialHeaders"));
}

} // namespace
} // namespace orvane::test

namespace orvane::test {
namespace {

using ColourUse = CheckedPage;

TEST_F(ColourUse, TablesCellsBodiesAndStyleSheetsThatSetColours)
{
    ExpectVerdicts("UsingColor", {
        {"<html><table bordercolor=red><tr><td>x</td></tr></table></html>", true},
        {"<html><table><tr><td bgcolor=#fff>x</td></tr></table></html>", true},
        {"<html><table><tr><th bgcolor=#fff>x</th></tr></table></html>", true},
        {"<html><body link=blue></body></html>", true},
        {"<html><style>p { COLOR: red }</style></html>", true},
        {"<html><style>p { margin: 0 }</style><table><tr><td>x</td></tr></table></html>", false}
    });
}

} // namespace
} // namespace orvane::test
