#include "page_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvane::test {
namespace {

struct Parsed {
    int id;
    std::string name;
    std::string value;
    bool hasValue;
    friend bool operator==(const Parsed&, const Parsed&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Parsed& p)
    {
        return out << "{" << p.id << ", '" << p.name << "', '" << p.value << "', " << p.hasValue << "}";
    }
};

std::vector<Parsed> AttributesOf(std::string_view tag)
{
    CParsedPage page;
    page.FromText(tag);
    std::vector<Parsed> result;
    for (const CAttribute* a = page.At(0).FirstAttribute(); a; a = a->Next())
        result.push_back({a->Id(), std::string(a->Name()), a->GetValue(), a->HasValue()});
    return result;
}

using ::testing::ElementsAre;

TEST(AttributeParser, QuotedUnquotedAndEmptyValues)
{
    EXPECT_THAT(AttributesOf("<IMG SRC=\"a.gif\" Alt=''>"),
                ElementsAre(Parsed{0, "IMG", "", false}, Parsed{2, "SRC", "a.gif", true},
                            Parsed{3, "Alt", "", true}));
}

TEST(AttributeParser, BareAttributeHasNoValue)
{
    EXPECT_THAT(AttributesOf("<input checked name=x>"),
                ElementsAre(Parsed{0, "input", "", false}, Parsed{0, "checked", "", false},
                            Parsed{21, "name", "x", true}));
}

TEST(AttributeParser, EndTagHasItsNameAsOnlyAttribute)
{
    EXPECT_THAT(AttributesOf("</a>"), ElementsAre(Parsed{0, "/a", "", false}));
}

TEST(AttributeParser, BlanksAroundTheEqualsSignAreSkipped)
{
    EXPECT_THAT(AttributesOf("<a href = \"x y\">"),
                ElementsAre(Parsed{0, "a", "", false}, Parsed{15, "href", "x y", true}));
}

TEST(AttributeParser, SlashAfterANameBelongsToItAndAloneIsAnAttribute)
{
    EXPECT_THAT(AttributesOf("<br/>"), ElementsAre(Parsed{0, "br/", "", false}));
    EXPECT_THAT(AttributesOf("<br />"), ElementsAre(Parsed{0, "br", "", false}, Parsed{46, "/", "", false}));
}

TEST(AttributeParser, UnquotedValueRunsOverTabsButNotBlanksOrLineFeeds)
{
    EXPECT_THAT(AttributesOf("<td width=50%\tx height=3\nalign=left>"),
                ElementsAre(Parsed{0, "td", "", false}, Parsed{6, "width", "50%\tx", true},
                            Parsed{5, "height", "3", true}, Parsed{4, "align", "left", true}));
}

TEST(AttributeParser, CarriageReturnLineFeedSeparatesLikeALineFeed)
{
    EXPECT_THAT(AttributesOf("<img src=a.gif\r\nalt=x\r\n>"),
                ElementsAre(Parsed{0, "img", "", false}, Parsed{2, "src", "a.gif", true},
                            Parsed{3, "alt", "x", true}));
}

TEST(AttributeParser, UnterminatedQuoteRunsToTheEndOfTheTag)
{
    EXPECT_THAT(AttributesOf("<a title=\"x>"),
                ElementsAre(Parsed{0, "a", "", false}, Parsed{18, "title", "x>", true}));
}

TEST(AttributeParser, ValueWithoutANameIsDropped)
{
    EXPECT_THAT(AttributesOf("<p id=1 =\"x\">"),
                ElementsAre(Parsed{0, "p", "", false}, Parsed{28, "id", "1", true}));
}

TEST(AttributeParser, ValueAfterABlankBelongsToTheNameBeforeIt)
{
    EXPECT_THAT(AttributesOf("<p =\"x\" id=1>"),
                ElementsAre(Parsed{0, "p", "x", true}, Parsed{28, "id", "1", true}));
}

TEST(AttributeParser, SeveralEqualsSignsAreSkipped)
{
    EXPECT_THAT(AttributesOf("<p id==  =1>"), ElementsAre(Parsed{0, "p", "", false}, Parsed{28, "id", "1", true}));
}

TEST(AttributeParser, LangAndLanguageShareAnId)
{
    EXPECT_THAT(AttributesOf("<script language=js lang=en>"),
                ElementsAre(Parsed{0, "script", "", false}, Parsed{12, "language", "js", true},
                            Parsed{12, "lang", "en", true}));
}

TEST(AttributeParser, LongValuesAreKeptWhole)
{
    std::string value(2000, 'v');
    auto parsed = AttributesOf("<img src=\"" + value + "\">");
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[1].value, value);
}

TEST(AttributeParser, TextAndCommentsAreNotParsed)
{
    CParsedPage page;
    page.FromText("a=b<!-- x=y -->");
    for (const CElement* e : page.document.Elements())
        EXPECT_EQ(e->FirstAttribute(), nullptr) << e->Text();
}

TEST(AttributeParser, ParsingAgainReplacesTheAttributes)
{
    CParsedPage page;
    page.FromText("<img src=a>");
    CElement& img = page.At(0);
    ASSERT_TRUE(img.SetText("<img alt=b>"));
    page.document.ParseAttributes(img);
    ASSERT_NE(img.FindAttribute(3), nullptr);
    EXPECT_EQ(img.FindAttribute(3)->Value(), "b");
    EXPECT_EQ(img.FindAttribute(2), nullptr);
    // The new text is owned by the element: replacing it again keeps the attributes intact.
    ASSERT_TRUE(img.SetText("<img>"));
    EXPECT_EQ(img.FindAttribute(3)->Value(), "b");
}

} // namespace
} // namespace orvane::test
