#include "page_fixture.h"

#include "library/html/tag_table.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

std::unique_ptr<CAttribute> NewAttribute(int id, std::string_view value)
{
    auto a = std::make_unique<CAttribute>();
    a->NameById(id);
    a->SetValue(value);
    a->SetHideable(true);
    return a;
}

TEST(MarkupText, UnchangedElementKeepsItsSourceTextExactly)
{
    CParsedPage page;
    page.FromText("<IMG\n  SRC='a.gif'   BORDER=0\n>");
    EXPECT_EQ(page.At(0).MarkupText(), "<IMG\n  SRC='a.gif'   BORDER=0\n>");
}

TEST(MarkupText, ChangedAttributeRebuildsTheTagWithDoubleQuotes)
{
    CParsedPage page;
    page.FromText("<img src='x'\nborder=0 alt=''>");
    CElement& img = page.At(0);
    img.FindAttribute(attr::kBorder)->SetNumericValue(2);
    EXPECT_EQ(img.MarkupText(), "<img src=\"x\" border=\"2\" alt=\"\">");
}

TEST(MarkupText, AddedAltGoesRightAfterSrc)
{
    CParsedPage page;
    page.FromText("<img src=x border=0>");
    CElement& img = page.At(0);
    img.InsertAttribute(NewAttribute(attr::kAlt, "Logo"));
    img.SetModified(true);
    EXPECT_EQ(img.MarkupText(), "<img src=\"x\" alt=\"Logo\" border=\"0\">");
}

TEST(MarkupText, AddedAttributeGoesBeforeTheClosingSlash)
{
    CParsedPage page;
    page.FromText("<br />");
    CElement& br = page.At(0);
    br.InsertAttribute(NewAttribute(attr::kTitle, "t"));
    br.SetModified(true);
    EXPECT_EQ(br.MarkupText(), "<br title=\"t\" />");
}

TEST(MarkupText, AddedAttributeGoesBeforeASlashWrittenRightAfterTheLastName)
{
    CParsedPage page;
    page.FromText("<br/><input checked/><img src=\"a.gif\"/>");
    for (std::size_t i = 0; i < 3; ++i) {
        page.At(i).InsertAttribute(NewAttribute(attr::kTitle, "t"));
        page.At(i).SetModified(true);
    }
    EXPECT_EQ(page.At(0).MarkupText(), "<br title=\"t\" />");
    EXPECT_EQ(page.At(1).MarkupText(), "<input checked title=\"t\" />");
    EXPECT_EQ(page.At(2).MarkupText(), "<img src=\"a.gif\" title=\"t\" />");
}

TEST(MarkupText, ValuesWithQuotesAreRebuiltSoTheyReadBackTheSame)
{
    CParsedPage page;
    page.FromText("<img alt='say \"hi\"' title=a\"b'c longdesc=\"it's\">");
    CElement& img = page.At(0);
    img.SetModified(true);
    EXPECT_EQ(img.MarkupText(), "<img alt='say \"hi\"' title=\"a&quot;b'c\" longdesc=\"it's\">");
}

TEST(MarkupText, AltOnAnImageWithoutSrcFollowsTheSlashRule)
{
    CParsedPage page;
    page.FromText("<img width=1 />");
    CElement& img = page.At(0);
    img.InsertAttribute(NewAttribute(attr::kAlt, "a"));
    img.SetModified(true);
    EXPECT_EQ(img.MarkupText(), "<img width=\"1\" alt=\"a\" />");
}

TEST(MarkupText, HiddenAttributesAreLeftOutAndDoNotForceARebuild)
{
    CParsedPage page;
    page.FromText("<img src=x>");
    CElement& img = page.At(0);
    img.InsertAttribute(NewAttribute(attr::kAlt, "a"));
    CAttribute* alt = img.FindAttribute(attr::kAlt);
    alt->SetChanged(true);
    alt->Hide(true);
    EXPECT_EQ(img.MarkupText(), "<img src=x>");
    alt->Hide(false);
    EXPECT_EQ(img.MarkupText(), "<img src=\"x\" alt=\"a\">");
}

TEST(MarkupText, ATagKeepsTheNameItWasReadWithWhenItsTextIsReplaced)
{
    CParsedPage page;
    page.FromText("<td align=left>");
    CElement& cell = page.At(0);
    ASSERT_TRUE(cell.SetText("<th>"));
    ASSERT_TRUE(cell.SetText("<tr>"));  // the text set before is freed here
    cell.SetModified(true);
    EXPECT_EQ(cell.MarkupText(), "<td align=\"left\">");
    EXPECT_EQ(cell.AttributeCount(), 2);
    EXPECT_EQ(cell.FirstAttribute()->Name(), "td");
}

TEST(MarkupText, ARenamedTagKeepsItsAttributesAsWrittenAndItsLetterCaseAndIsRebuiltUnderItsNewName)
{
    CParsedPage page;
    page.FromText("<H3 CLASS=section\n  id='opening'>Opening hours</H3 >");
    CElement& start = page.At(0);
    CElement& end = page.At(2);
    ASSERT_TRUE(start.RenameTag("h2", tag::kH1 + 1));
    ASSERT_TRUE(end.RenameTag("h2", tag::kH1 + 1 + kind::kEndOffset));
    EXPECT_EQ(start.MarkupText() + page.At(1).MarkupText() + end.MarkupText(),
              "<H2 CLASS=section\n  id='opening'>Opening hours</H2 >");
    EXPECT_EQ(start.Kind(), tag::kH1 + 1);
    EXPECT_EQ(start.WrittenTagName(), "H2");
    EXPECT_EQ(end.WrittenTagName(), "H2");
    // Back under the name it was read with: the text as it was.
    ASSERT_TRUE(start.RenameTag("H3", tag::kH1 + 2));
    EXPECT_EQ(start.MarkupText(), "<H3 CLASS=section\n  id='opening'>");
    start.FindAttribute(attr::kId)->SetValue("hours");
    start.FindAttribute(attr::kId)->SetChanged(true);
    ASSERT_TRUE(start.RenameTag("h4", tag::kH1 + 3));
    EXPECT_EQ(start.MarkupText(), "<H4 CLASS=\"section\" id=\"hours\">");
    EXPECT_FALSE(page.At(1).RenameTag("h2", tag::kH1 + 1));  // a text is no tag
    EXPECT_EQ(page.At(1).MarkupText(), "Opening hours");
}

TEST(MarkupText, ElementWithoutAttributesIsAlwaysItsText)
{
    CParsedPage page;
    page.FromText("plain text");
    page.At(0).SetModified(true);
    EXPECT_EQ(page.At(0).MarkupText(), "plain text");
}

TEST(ElementState, RepairedModes)
{
    CElement e;
    EXPECT_TRUE(e.IsRepaired(0x1, 1));  // no problems: counts as repaired in mode 1
    EXPECT_FALSE(e.IsRepaired(0x1, 0));
    e.SetProblemMask(0x3);
    EXPECT_EQ(e.ProblemCount(), 2);
    EXPECT_FALSE(e.IsRepaired(0x1, 1));
    e.SetRepaired(0x2, true);
    EXPECT_TRUE(e.IsRepaired(0x2, 1));
    EXPECT_FALSE(e.IsRepaired(0x1, 1));
    EXPECT_TRUE(e.IsRepaired(0, 0));
    e.SetRepaired(0x2, false);
    EXPECT_FALSE(e.IsRepaired(0, 0));
}

TEST(ElementState, DefaultsOfTheFamilyOperations)
{
    CElement e;
    EXPECT_EQ(e.Kind(), -3);
    EXPECT_EQ(e.GetCheckMask(), 0u);
    // A problem without a text of its own shows its element's start tag; this one has none.
    EXPECT_EQ(e.GetProblemText(1, PageEncoding{}), "");
    EXPECT_EQ(e.GetPriority(1), 3);
    EXPECT_TRUE(e.IsGrouped(1));
    EXPECT_FALSE(e.IsSection508(1));
}

TEST(ElementState, UsesColourFromStyleOrColorAttribute)
{
    CParsedPage page;
    page.FromText("<p style='Background-Image:url(x)'><p style='margin:0'><font color=red><font color=''>");
    EXPECT_TRUE(page.At(0).UsesColour());
    EXPECT_FALSE(page.At(1).UsesColour());
    EXPECT_TRUE(page.At(2).UsesColour());
    EXPECT_FALSE(page.At(3).UsesColour());
}

TEST(ElementState, HeadingTests)
{
    CParsedPage page;
    page.FromText("<h2>x</h2><hr>");
    EXPECT_TRUE(page.At(0).IsHeadingStart());
    EXPECT_TRUE(page.At(2).IsHeadingEnd());
    EXPECT_FALSE(page.At(3).IsHeadingStart());
}

} // namespace
} // namespace orvane::test
