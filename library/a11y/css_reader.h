#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::a11y::css {

// A small reader of the CSS a page carries itself (style attributes and
// <style> elements), enough for the rules to tell what is hidden and how
// text is spaced. It tokenizes as CSS Syntax Level 3 describes (comments,
// strings, escapes in identifiers, numbers and dimensions, blocks nested to
// any depth) and keeps only what the rules ask for.
//
// Limits, on purpose:
// - selectors: type, universal, class, id, attribute ([a], [a=v], [a~=v],
//   [a|=v], [a^=v], [a$=v], [a*=v]), descendant and child combinators. A
//   selector with anything else (pseudo-classes and elements, sibling
//   combinators, namespaces) matches nothing, so an unknown selector never
//   hides content a browser shows.
// - at-rules: @media blocks are read with their condition kept as text
//   (rules that ask about media queries read it); every other at-rule is
//   skipped whole.
// - values are kept as written (trimmed, `!important` taken off); no
//   shorthand is expanded, no variable or calc() is resolved.
// - sheets of other files: a `link rel=stylesheet` to a file on this
//   computer is read like a <style> element, in the page's order, its media
//   attribute heeded; the href is taken relative to the page's own folder
//   (its query and fragment dropped, %XX escapes decoded). Never read: a
//   sheet with a scheme (http:, https:, file:, data:) or starting with "/"
//   (the site's root is not known), an alternate or disabled sheet, a sheet
//   larger than kLocalSheetLimit, and every sheet of a page checked from text
//   (it has no folder). <base href> is not heeded. @import is not followed.

enum class TokenType {
    Ident, Function, AtKeyword, Hash, String, BadString, Url, BadUrl, Delim, Number, Percentage,
    Dimension, Whitespace, Cdo, Cdc, Colon, Semicolon, Comma, OpenSquare, CloseSquare, OpenParen,
    CloseParen, OpenCurly, CloseCurly, End
};

struct Token {
    TokenType type = TokenType::End;
    std::string value;       // the name of an ident, function, at-keyword, hash; a string's content; a delim
    std::size_t begin = 0;   // where the token stands in the text
    std::size_t end = 0;
};

// Every token of the text, ending with an End token.
std::vector<Token> Tokenize(std::string_view text);

struct AttributeTest {
    std::string name;  // lower case
    char match = 0;    // 0: present; '=', '~', '|', '^', '$', '*'
    std::string value;
};

struct Compound {
    std::string tag;  // lower case; empty for any
    std::string id;
    std::vector<std::string> classes;
    std::vector<AttributeTest> attributes;
};

struct Selector {
    // Right to left: compounds[0] is the subject; childOf[i] tells whether
    // compounds[i] must be a child (not any descendant) of compounds[i + 1].
    std::vector<Compound> compounds;
    std::vector<bool> childOf;
    int specificity = 0;  // ids * 10000 + classes and attributes * 100 + types
};

struct Declaration {
    std::string property;  // lower case
    std::string value;
    bool important = false;
};

struct StyleRule {
    std::vector<Selector> selectors;
    std::vector<Declaration> declarations;
    std::string media;  // the condition of the @media around it; empty for none
};

// The largest local sheet read: a page's sheets are small, and a larger
// file is more likely no sheet at all.
constexpr std::size_t kLocalSheetLimit = 4u * 1024 * 1024;

// The path of a local sheet a link's href names, relative to the page's
// folder; nullopt for one we do not read (see above).
std::optional<std::string> LocalSheetPath(std::string_view href);

// The declarations of a block or a style attribute, in order.
std::vector<Declaration> ReadDeclarations(std::string_view text);

// The rules of a style sheet in order.
std::vector<StyleRule> ReadStyleSheet(std::string_view text);

} // namespace orvane::a11y::css
