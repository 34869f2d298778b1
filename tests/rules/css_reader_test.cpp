#include "library/a11y/css_reader.h"

#include <gtest/gtest.h>

namespace orvane::a11y::css {
namespace {

TEST(CssReader, TokenizesAsCssSyntaxDoes)
{
    const std::vector<Token> tokens = Tokenize("a/*x*/.b{width:-1.5e2px;content:\"\\41 }\"}@media");
    std::vector<TokenType> types;
    for (const Token& t : tokens)
        types.push_back(t.type);
    const std::vector<TokenType> expected = {
        TokenType::Ident, TokenType::Delim, TokenType::Ident, TokenType::OpenCurly, TokenType::Ident,
        TokenType::Colon, TokenType::Dimension, TokenType::Semicolon, TokenType::Ident, TokenType::Colon,
        TokenType::String, TokenType::CloseCurly, TokenType::AtKeyword, TokenType::End};
    EXPECT_EQ(types, expected);
    EXPECT_EQ(tokens[6].value, "-1.5e2px");
    EXPECT_EQ(tokens[10].value, "A}");  // an escape and a brace inside a string
}

TEST(CssReader, ReadsDeclarationsWithImportance)
{
    const std::vector<Declaration> declarations =
        ReadDeclarations("Display : none ! important; ; letter-spacing:0.1em;bad;width: calc(1px; 2px)");
    ASSERT_EQ(declarations.size(), 3u);
    EXPECT_EQ(declarations[0].property, "display");
    EXPECT_EQ(declarations[0].value, "none");
    EXPECT_TRUE(declarations[0].important);
    EXPECT_EQ(declarations[1].value, "0.1em");
    EXPECT_FALSE(declarations[1].important);
    EXPECT_EQ(declarations[2].value, "calc(1px; 2px)");  // a semicolon inside a function is the value's
}

TEST(CssReader, ReadsSelectorsWithTheirSpecificity)
{
    const std::vector<StyleRule> rules =
        ReadStyleSheet("div > p.a.b, #x [data-k=\"v\"] { display:none } a:hover, a + b { color: red } "
                       "@media (orientation: portrait) { body { transform: rotate(90deg) } } @font-face { x: y }");
    ASSERT_EQ(rules.size(), 2u);  // the rule of unsupported selectors only is left out
    ASSERT_EQ(rules[0].selectors.size(), 2u);
    const Selector& first = rules[0].selectors[0];
    ASSERT_EQ(first.compounds.size(), 2u);
    EXPECT_EQ(first.compounds[0].tag, "p");
    EXPECT_EQ(first.compounds[0].classes.size(), 2u);
    EXPECT_TRUE(first.childOf[0]);
    EXPECT_EQ(first.specificity, 202);
    const Selector& second = rules[0].selectors[1];
    EXPECT_EQ(second.specificity, 10100);
    ASSERT_EQ(second.compounds[0].attributes.size(), 1u);
    EXPECT_EQ(second.compounds[0].attributes[0].value, "v");
    EXPECT_FALSE(second.childOf[0]);
    EXPECT_EQ(rules[1].media, "(orientation: portrait)");
}

TEST(CssReader, UnclosedAndBrokenInputEndsCleanly)
{
    for (const char* text : {"a{", "a{b:", "@media x{a{b:c", "\"unclosed", "url(a b", "\\", "a{b:c!}", "}}}{{{"}) {
        ReadStyleSheet(text);
        ReadDeclarations(text);
    }
    EXPECT_EQ(ReadStyleSheet("@media screen { p { display: none }").size(), 1u);
}

} // namespace
} // namespace orvane::a11y::css
