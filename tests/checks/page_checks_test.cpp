#include "check_fixture.h"

#include "library/checks/element_body.h"
#include "library/checks/element_document.h"
#include "library/checks/element_paragraph.h"

namespace orvane::test {
namespace {

using DocumentChecks = CheckedPage;

TEST_F(DocumentChecks, DoctypeMustComeFirstOnPagesWithAnHtmlElement)
{
    EXPECT_FALSE(Reports("<!-- made by hand -->\n<!DOCTYPE html>\n<html></html>", "DoctypeMissing"));
    EXPECT_TRUE(Reports("<html><body></body></html>", "DoctypeMissing"));
    EXPECT_FALSE(Reports("<p>no html element</p>", "DoctypeMissing"));
}

TEST_F(DocumentChecks, StyleSheetsAndInlineStyle)
{
    auto names = Check("<html><head><style></style></head><body></body></html>");
    EXPECT_EQ(names.count("NoStylesheets"), 1u);
    EXPECT_EQ(names.count("UsingStyle"), 0u);
    names = Check("<html><head><style><!-- a --></style></head></html>");
    EXPECT_EQ(names.count("NoStylesheets"), 1u);
    names = Check("<html><head><style><!--\nbody { color: black }\n--></style></head></html>");
    EXPECT_EQ(names.count("NoStylesheets"), 0u);
    EXPECT_EQ(names.count("UsingStyle"), 1u);
    names = Check("<html><head><link rel=StyleSheet href=s.css></head></html>");
    EXPECT_EQ(names.count("NoStylesheets"), 0u);
    names = Check("<html><head></head><body><p style=\"margin:0\">x</p></body></html>");
    EXPECT_EQ(names.count("NoStylesheets"), 1u);
    EXPECT_EQ(names.count("UsingStyle"), 1u);
    // Links to icons, feeds or other pages before the style sheet do not end the search.
    for (const char* head : {"<link rel=\"icon\" href=\"f.ico\"><link rel=\"stylesheet\" href=\"s.css\">",
                             "<link rel=alternate href=feed.xml><style>body { margin: 0 }</style>",
                             "<link href=next.html><link rel=\"alternate stylesheet\" href=s.css>"}) {
        names = Check(std::string("<html><head>") + head + "</head><body></body></html>");
        EXPECT_EQ(names.count("NoStylesheets"), 0u) << head;
        EXPECT_EQ(names.count("UsingStyle"), 1u) << head;
    }
    EXPECT_EQ(Check("<html><head><link rel=icon href=f.ico></head></html>").count("NoStylesheets"), 1u);
}

TEST_F(DocumentChecks, DynamicContentSetsThreeWarnings)
{
    auto names = Check("<object data=movie.mpg></object>");
    EXPECT_EQ(names.count("DynamicEquivalents"), 0u);
    names = Check("<object classid=clsid:1></object>");
    EXPECT_EQ(names.count("DynamicEquivalents"), 1u);
    EXPECT_EQ(names.count("UsableWithoutProgram"), 1u);
    EXPECT_EQ(names.count("ProgramAccessible"), 1u);
    EXPECT_TRUE(Reports("<script>x()</script>", "DynamicEquivalents"));
}

TEST_F(DocumentChecks, MultimediaLinksAndVideoObjects)
{
    EXPECT_TRUE(Reports("<a href=film.MPEG>film</a>", "MultiMedia"));
    EXPECT_FALSE(Reports("<a href=page>page</a>", "MultiMedia"));
    EXPECT_TRUE(Reports("<object type=Video/mp4></object>", "MultiMedia"));
}

TEST_F(DocumentChecks, MouseEventsNeedTheirKeyboardPartners)
{
    EXPECT_FALSE(Reports("<p onclick=a() onkeypress=a()>x</p>", "DeviceDependent"));
    EXPECT_TRUE(Reports("<img src=a.gif alt='' onmouseover=a()>", "DeviceDependent"));
}

TEST_F(DocumentChecks, MetadataInTheHead)
{
    EXPECT_TRUE(Reports("<html><head><title>   </title></head></html>", "Metadata"));
    EXPECT_TRUE(Reports("<html><head><meta http-equiv=REFRESH content=5></head></html>", "Metadata"));
    EXPECT_TRUE(Reports("<html><head><link rel=stylesheet type=text/css href=s.css></head></html>", "Metadata"));
    EXPECT_FALSE(Reports("<html><head><link rel=next href=n.html></head></html>", "Metadata"));
    EXPECT_FALSE(Reports("<html><head><title>Harbour walks</title></head></html>", "Metadata"));
    auto* element = dynamic_cast<CElementDocument*>(document.At(0));
    ASSERT_NE(element, nullptr);
    EXPECT_NE(element->TitleElement(), nullptr);
    EXPECT_EQ(element->PageFileName(), "page.html");
}

using HtmlChecks = CheckedPage;

TEST_F(HtmlChecks, LanguageMustBeAKnownCode)
{
    EXPECT_FALSE(Reports("<html lang=EN></html>", "MissingLanguage"));
    EXPECT_FALSE(Reports("<html language=deu></html>", "MissingLanguage"));
    EXPECT_TRUE(Reports("<html lang=english></html>", "MissingLanguage"));
    EXPECT_TRUE(Reports("<html lang=''></html>", "MissingLanguage"));
    EXPECT_TRUE(Reports("<html lang=xx></html>", "MissingLanguage"));
    EXPECT_TRUE(Reports("<html></html>", "MissingLanguage"));
}

TEST_F(HtmlChecks, OnlyTheFirstHtmlElementCarriesThePageChecks)
{
    auto names = Check("<html></html><html></html>");
    EXPECT_EQ(names.count("MissingLanguage"), 1u);
    // A new pass judges the page anew.
    EXPECT_EQ(RunCheckPass(document, settings, nullptr).size(), found.size());
}

TEST_F(HtmlChecks, ColourAndFlicker)
{
    EXPECT_TRUE(Reports("<html><font color=red>x</font></html>", "UsingColor"));
    EXPECT_TRUE(Reports("<html><img src=a.png alt=''></html>", "UsingColor"));
    EXPECT_FALSE(Reports("<html><p>x</p></html>", "UsingColor"));
    EXPECT_TRUE(Reports("<html><img src=ANIM.GIF alt=''></html>", "CheckFlicker"));
    EXPECT_TRUE(Reports("<html><embed src=x></html>", "CheckFlicker"));
    EXPECT_FALSE(Reports("<html><img src=a.png alt=''></html>", "CheckFlicker"));
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
    EXPECT_FALSE(Reports("<html><p><b>Bold</b> then plain text</p></html>", "PotentialHeaders"));
    EXPECT_FALSE(Reports("<html><p><b>" + std::string(60, 'x') + "</b></p></html>", "PotentialHeaders"));
    EXPECT_FALSE(Reports("<html><p>plain</p></html>", "PotentialHeaders"));
}

using BodyChecks = CheckedPage;

TEST_F(BodyChecks, LongTextsMayChangeLanguage)
{
    EXPECT_TRUE(Reports("<body>A sentence of real text.</body>", "BodyLanguageChange"));
    EXPECT_FALSE(Reports("<body>Short</body>", "BodyLanguageChange"));
}

TEST_F(BodyChecks, ColoursMustAllBeGivenAndContrast)
{
    EXPECT_FALSE(Reports("<body bgcolor=white text=black link=#000080 alink=#800000 vlink=#400040>", "BodyColorContrst"));
    EXPECT_FALSE(Reports("<body>", "BodyColorContrst"));
    EXPECT_TRUE(Reports("<body bgcolor=white>", "BodyColorContrst"));
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
    EXPECT_TRUE(Reports("<html><p><font size=5><b>Chapter one</b></font>\n</p></html>", "PotentialHeaders"));
    EXPECT_FALSE(Reports("<html><p><b>Note:</b> the rest is plain</p></html>", "PotentialHeaders"));
    EXPECT_FALSE(Reports("<html><p><b>Open paragraph</b>", "PotentialHeaders"));
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
    EXPECT_TRUE(Reports("<html><table bordercolor=red><tr><td>x</td></tr></table></html>", "UsingColor"));
    EXPECT_TRUE(Reports("<html><table><tr><td bgcolor=#fff>x</td></tr></table></html>", "UsingColor"));
    EXPECT_TRUE(Reports("<html><table><tr><th bgcolor=#fff>x</th></tr></table></html>", "UsingColor"));
    EXPECT_TRUE(Reports("<html><body link=blue></body></html>", "UsingColor"));
    EXPECT_TRUE(Reports("<html><style>p { COLOR: red }</style></html>", "UsingColor"));
    EXPECT_FALSE(Reports("<html><style>p { margin: 0 }</style><table><tr><td>x</td></tr></table></html>", "UsingColor"));
}

} // namespace
} // namespace orvane::test
