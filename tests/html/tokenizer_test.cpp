#include "page_fixture.h"

#include "library/checks/element_anchor.h"
#include "library/checks/element_blink.h"
#include "library/checks/element_frame.h"
#include "library/checks/element_img.h"
#include "library/checks/element_list.h"
#include "library/checks/element_script.h"
#include "library/checks/element_style.h"
#include "library/checks/element_textarea.h"
#include "library/html/tag_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace orvane::test {
namespace {

using ::testing::ElementsAre;

TEST(Tokenizer, SplitsTagsTextAndEndTags)
{
    CParsedPage page;
    page.FromText("<p>Hello <b>world</b></p>");
    EXPECT_THAT(page.Kinds(), ElementsAre(64, -1, 8, -1, 1008, 1064));
    EXPECT_THAT(page.Texts(), ElementsAre("<p>", "Hello ", "<b>", "world", "</b>", "</p>"));
}

TEST(Tokenizer, LoneLessThanStartsATagThatRunsToTheNextGreaterThan)
{
    CParsedPage page;
    page.FromText("a < x and c > d");
    EXPECT_THAT(page.Texts(), ElementsAre("a ", "< x and c >", " d"));
    EXPECT_THAT(page.Kinds(), ElementsAre(-1, -3, -1));
    // The name after the blank is still looked up: "< b" is a bold tag.
    page.FromText("a < b > c");
    EXPECT_THAT(page.Kinds(), ElementsAre(-1, 8, -1));
}

TEST(Tokenizer, NewLessThanInsideATagTurnsTheUnfinishedTagIntoText)
{
    CParsedPage page;
    page.FromText("<a href=x <b>bold</b>");
    EXPECT_THAT(page.Texts(), ElementsAre("<a href=x ", "<b>", "bold", "</b>"));
    EXPECT_EQ(page.At(0).Kind(), -1);
}

TEST(Tokenizer, GreaterThanOutsideATagIsText)
{
    CParsedPage page;
    page.FromText("1 > 0<br>");
    EXPECT_THAT(page.Texts(), ElementsAre("1 > 0", "<br>"));
}

TEST(Tokenizer, CommentEndsAtDashesFollowedByOptionalBlanksAndGreaterThan)
{
    CParsedPage page;
    page.FromText("<!--x-- >");
    EXPECT_THAT(page.Kinds(), ElementsAre(-2, -2, 998));
    EXPECT_THAT(page.Texts(), ElementsAre("<!--", "x-- ", ">"));
    EXPECT_EQ(page.At(1).Partner(), &page.At(2));
    EXPECT_EQ(page.At(2).Partner(), &page.At(1));
}

TEST(Tokenizer, GreaterThanInsideACommentWithoutDashesStaysInTheComment)
{
    CParsedPage page;
    page.FromText("<!-- a > b -- x --><p>");
    EXPECT_THAT(page.Texts(), ElementsAre("<!--", " a > b -- x --", ">", "<p>"));
}

TEST(Tokenizer, CharacterRightAfterTheCommentStartIsNotTested)
{
    // "<!---->" : the third dash opens the comment untested, the fourth pairs with it.
    CParsedPage page;
    page.FromText("<!---->x");
    EXPECT_THAT(page.Texts(), ElementsAre("<!--", "--", ">", "x"));
    // "<!-->" : the '>' right after the start is comment text, not its end.
    page.FromText("<!-->a-->b");
    EXPECT_THAT(page.Texts(), ElementsAre("<!--", ">a--", ">", "b"));
}

TEST(Tokenizer, DashPairMustBeInTheSamePiece)
{
    CParsedPage page;
    page.document.Start(1, false);
    page.document.AddLine("<!-- a -");
    page.document.AddLine("->b-->");
    page.document.Finish();
    EXPECT_THAT(page.Texts(), ElementsAre("<!--", " a -", "->b--", ">"));
}

TEST(Tokenizer, CommentOverThreeLinesGivesOnePiecePerLine)
{
    CParsedPage page;
    page.FromLines("<!-- one\ntwo\nthree -->\n");
    EXPECT_THAT(page.Kinds(), ElementsAre(-2, -2, -2, -2, 998, -1));
    EXPECT_THAT(page.Texts(), ElementsAre("<!--", " one\n", "two\n", "three --", ">", "\n"));
    // The last piece pairs with the comment end.
    EXPECT_EQ(page.At(3).Partner(), &page.At(4));
}

TEST(Tokenizer, TagMaySpanPiecesButTextRunsDoNot)
{
    CParsedPage page;
    page.FromLines("ab\n<img\nsrc=x>cd\n");
    EXPECT_THAT(page.Texts(), ElementsAre("ab\n", "<img\nsrc=x>", "cd\n"));
    EXPECT_EQ(page.At(1).Kind(), 44);
}

TEST(Tokenizer, XmpTakesTagsInsideAsText)
{
    CParsedPage page;
    page.FromText("<xmp><b>bold</b></xmp><i>");
    EXPECT_THAT(page.Kinds(), ElementsAre(93, -1, -1, -1, 1093, 42));
    EXPECT_EQ(page.At(0).Partner(), &page.At(4));
}

TEST(Tokenizer, UnfinishedTagAtTheEndBecomesText)
{
    CParsedPage page;
    page.FromText("<p>text<a href=");
    EXPECT_THAT(page.Kinds(), ElementsAre(64, -1, -1));
    EXPECT_EQ(page.At(2).Text(), "<a href=");
}

TEST(Tokenizer, UnfinishedCommentAtTheEndBecomesText)
{
    CParsedPage page;
    page.FromText("<!-- open");
    EXPECT_THAT(page.Kinds(), ElementsAre(-2, -1));
    EXPECT_EQ(page.At(1).Text(), " open");
}

TEST(Tokenizer, ZeroBytesAreKeptLikeAnyOtherByte)
{
    std::string text("<p>a\0b</p>\0<i>", 14);
    CParsedPage page;
    page.FromText(text);
    EXPECT_EQ(page.At(1).Text(), std::string_view("a\0b", 3));
    EXPECT_EQ(page.Written(), text);
}

TEST(Tokenizer, LongTokensAreNeverCut)
{
    std::string longTag = "<img alt=\"" + std::string(5000, 'x') + "\">";
    std::string longText(100000, 'y');
    CParsedPage page;
    page.FromText(longTag + longText + "<br>");
    EXPECT_EQ(page.At(0).Text(), longTag);
    EXPECT_EQ(page.At(1).Text(), longText);
    EXPECT_EQ(page.At(0).FindAttribute(3)->Value().size(), 5000u);
}

TEST(Pairing, NearestBalancedEndTagIsThePartner)
{
    CParsedPage page;
    page.FromText("<p>a<p>b</p>");
    EXPECT_EQ(page.At(0).Partner(), nullptr);
    EXPECT_EQ(page.At(2).Partner(), &page.At(4));
    EXPECT_EQ(page.At(4).Partner(), &page.At(2));
}

TEST(Pairing, NestedElementsOfOneKindPairInsideOut)
{
    CParsedPage page;
    page.FromText("<div><div></div></div></div>");
    EXPECT_EQ(page.At(0).Partner(), &page.At(3));
    EXPECT_EQ(page.At(1).Partner(), &page.At(2));
    EXPECT_EQ(page.At(4).Partner(), nullptr);
}

TEST(Pairing, SharedIdsPairAcrossTags)
{
    // ol, ul and dl share one id: an ol closes with </ul>.
    CParsedPage page;
    page.FromText("<ol><li>x</ul>");
    EXPECT_EQ(page.At(0).Partner(), &page.At(3));
}

TEST(Pairing, TextAndUnknownTagsNeverPair)
{
    CParsedPage page;
    page.FromText("<foo>x</foo>");
    for (const CElement* e : page.document.Elements())
        EXPECT_EQ(e->Partner(), nullptr);
}

TEST(Factory, CreatesTheFamilyClassOfEachTag)
{
    CParsedPage page;
    page.FromText("<a href=x><img src=y></a><blink><marquee><h3><ul><frame><textarea>");
    EXPECT_NE(dynamic_cast<CElementAnchor*>(&page.At(0)), nullptr);
    EXPECT_NE(dynamic_cast<CElementImg*>(&page.At(1)), nullptr);
    const CElement& endTag = page.At(2);
    EXPECT_EQ(typeid(endTag), typeid(CElement));  // end tags are plain elements
    EXPECT_NE(dynamic_cast<CElementBlink*>(&page.At(3)), nullptr);
    EXPECT_NE(dynamic_cast<CElementBlink*>(&page.At(4)), nullptr);
    EXPECT_EQ(page.At(5).Kind(), 35);
    EXPECT_NE(dynamic_cast<CElementList*>(&page.At(6)), nullptr);
    EXPECT_NE(dynamic_cast<CElementFrame*>(&page.At(7)), nullptr);
    EXPECT_NE(dynamic_cast<CElementTextarea*>(&page.At(8)), nullptr);
}

TEST(Factory, TextAndImagesInsideALinkAreAttachedToIt)
{
    CParsedPage page;
    page.FromText("<a href=x>Go <img src=i.gif> now</a> after <img src=j.gif>");
    auto& anchor = dynamic_cast<CElementAnchor&>(page.At(0));
    ASSERT_EQ(anchor.Inner().size(), 3u);
    EXPECT_EQ(anchor.Inner()[0]->Text(), "Go ");
    EXPECT_EQ(anchor.Inner()[1], &page.At(2));
    EXPECT_EQ(anchor.Inner()[2]->Text(), " now");
    auto& inside = dynamic_cast<CElementImg&>(page.At(2));
    EXPECT_TRUE(inside.IsInsideAnchor());
    EXPECT_EQ(inside.Anchor(), &anchor);
    auto& outside = dynamic_cast<CElementImg&>(page.At(6));
    EXPECT_FALSE(outside.IsInsideAnchor());
    EXPECT_EQ(outside.Anchor(), nullptr);
}

TEST(Factory, TextInsideAStyleWithinALinkGoesToTheStyleOnly)
{
    CParsedPage page;
    page.FromText("<a href=x><style>p{}</style>t</a>");
    auto& anchor = dynamic_cast<CElementAnchor&>(page.At(0));
    auto& style = dynamic_cast<CElementStyle&>(page.At(1));
    ASSERT_EQ(style.Inner().size(), 1u);
    EXPECT_EQ(style.Inner()[0]->Text(), "p{}");
    ASSERT_EQ(anchor.Inner().size(), 1u);
    EXPECT_EQ(anchor.Inner()[0]->Text(), "t");
}

TEST(Factory, ScriptCollectsItsTextAndCommentPieces)
{
    CParsedPage page;
    page.FromLines("<script>\n<!--\nx();\n// -->\n</script>\n");
    auto& script = dynamic_cast<CElementScript&>(page.At(0));
    std::vector<std::string> inner;
    for (const CElement* e : script.Inner())
        inner.push_back(e->GetText());
    // The line feed before </script> is still inside the script.
    EXPECT_THAT(inner, ElementsAre("\n", "\n", "x();\n", "// --", "\n"));
}

TEST(Factory, BlinkAndTextareaCollectTheirTrimmedTexts)
{
    CParsedPage page;
    page.FromLines("<blink> New \n  offers\n</blink><textarea>  </textarea>\n");
    auto& blink = dynamic_cast<CElementBlink&>(page.At(0));
    EXPECT_EQ(blink.CollectedText(), "New offers");
    auto& textarea = dynamic_cast<CElementTextarea&>(page.At(4));
    EXPECT_EQ(textarea.CollectedText(), "");
}

TEST(Factory, ListsFramesAndFramesetsAreNumberedInOrder)
{
    CParsedPage page;
    page.FromText("<ul></ul><dl><frameset><frame><frame></frameset><ol>");
    EXPECT_EQ(dynamic_cast<CElementList&>(page.At(0)).ListNumber(), 1);
    EXPECT_EQ(dynamic_cast<CElementList&>(page.At(2)).ListNumber(), 2);
    EXPECT_EQ(dynamic_cast<CElementFrame&>(page.At(4)).FrameNumber(), 1);
    EXPECT_EQ(dynamic_cast<CElementFrame&>(page.At(5)).FrameNumber(), 2);
    EXPECT_EQ(dynamic_cast<CElementList&>(page.At(7)).ListNumber(), 3);
    EXPECT_EQ(page.document.ListCount(), 3);
    EXPECT_EQ(page.document.FrameCount(), 2);
    EXPECT_EQ(page.document.FramesetCount(), 1);
}

TEST(SourcePositions, EveryElementKnowsItsLineAndColumn)
{
    CParsedPage page;
    page.FromText("<html>\r\n  <p>text\n<!--c-->");
    auto at = [&](std::size_t i) { return page.document.LocationOf(page.At(i)); };
    EXPECT_EQ(at(0).line, 1u);
    EXPECT_EQ(at(0).column, 1u);
    EXPECT_EQ(at(2).line, 2u);  // <p>
    EXPECT_EQ(at(2).column, 3u);
    EXPECT_EQ(at(3).column, 6u);  // text
    EXPECT_EQ(at(4).line, 3u);    // <!--
    EXPECT_EQ(at(6).column, 8u);  // the comment's closing >
    EXPECT_EQ(page.At(6).Text(), ">");
}

TEST(SourcePositions, ARepairKeepsThePositionOfWhatItRebuildsButNotOfTextItReplaced)
{
    CHtmlDocument document;
    document.Start(1, false);
    std::istringstream file("<p>\n<img src=a>text<!--c-->");
    ASSERT_EQ(document.Load(file), 1);
    CElement& img = *document.At(3);
    CElement& text = *document.At(4);
    ASSERT_EQ(img.Kind(), tag::kImg);
    EXPECT_EQ(document.At(7)->Text(), ">");  // the comment's end
    EXPECT_EQ(document.SourceOffsetOf(*document.At(7)), 26u);

    auto alt = std::make_unique<CAttribute>();
    alt->NameById(attr::kAlt);
    img.InsertAttribute(std::move(alt));
    img.SetModified(true);
    ASSERT_TRUE(text.SetText("new text"));
    EXPECT_EQ(document.LocationOf(img).line, 2u);
    EXPECT_EQ(document.LocationOf(img).column, 1u);
    EXPECT_EQ(document.SourceOffsetOf(text), CElement::kNoSource);
    EXPECT_EQ(document.LocationOf(text).line, 0u);
}

TEST(SourcePositions, ALoneCarriageReturnEndsALineWhateverThePieces)
{
    const std::string text = "<html>\r<p>a\r\r  <b>\r\n<i>";
    std::vector<std::vector<std::string>> splits = {{text}, {"<html>\r", "<p>a\r", "\r  <b>\r", "\n<i>"}};
    for (const auto& pieces : splits) {
        CHtmlDocument document;
        document.Start(1, false);
        for (const std::string& piece : pieces)
            document.AddLine(piece);
        document.Finish();
        std::vector<std::pair<std::uint64_t, std::uint64_t>> tags;
        for (const CElement* e : document.Elements()) {
            if (e->Kind() >= 0)
                tags.emplace_back(document.LocationOf(*e).line, document.LocationOf(*e).column);
        }
        using Line = std::pair<std::uint64_t, std::uint64_t>;
        EXPECT_EQ(tags, (std::vector<Line>{{1, 1}, {2, 1}, {4, 3}, {5, 1}})) << pieces.size();
    }
}

} // namespace
} // namespace orvane::test
