#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CAttribute;
class CElement;
class CHtmlDocument;

// Presentational markup that HTML 4 deprecated in favour of style sheets, and
// the style that says the same. Both the body's check and its repair page
// read it from here, so the page offers exactly what the check reported.
namespace deprecatedmarkup {

// Tag ids of the deprecated elements.
inline constexpr int kBasefont = 6, kFont = 29, kS = 69, kStrike = 75, kU = 91, kCenter = 94;
inline constexpr int kDiv = 20, kDel = 22, kSpan = 74;

// What a deprecated element becomes.
enum class Becomes {
    Span,      // font, u: a span with the style
    Div,       // center: a div with the style
    StruckOut, // s, strike: del for removed text, or a span struck through
    BodyStyle, // basefont: taken out, its font given to the body's style
};

struct Finding {
    CElement* element = nullptr;      // the start tag
    CAttribute* attribute = nullptr;  // the presentational attribute; null for a deprecated element
};

// Whether the tag id is a deprecated element, and what it becomes.
bool IsDeprecatedElement(int kind);
Becomes ReplacementOf(int kind);

// The deprecated markup inside the body (the elements after its start tag,
// up to its end tag), in page order: an element before its attributes. The
// body's own colours are left to the colour check. At most limit findings.
std::vector<Finding> FindInBody(const CHtmlDocument& document, const CElement& body,
                                std::size_t limit = std::numeric_limits<std::size_t>::max());

// The style declarations that say what the finding says ("text-align:
// center"); for a deprecated element those it becomes (a font's face, size
// and colour among them). Empty where the value means nothing a style can
// say: such an attribute is no finding.
std::string Declarations(const Finding& finding);
// The style declarations of a font or basefont element's face, size and colour.
std::string FontDeclarations(const CElement& element);
// The one declaration of a face, size or color attribute; empty for any
// other attribute or a value no style says the same as, which then stays.
std::string FontDeclaration(const CAttribute& attribute);
// A font size as HTML reads it ("1" to "7", "+1", "-2") as a CSS keyword;
// empty for no size.
std::string_view FontSizeKeyword(std::string_view size);

// A style attribute's value with the declarations added after what it says;
// a property it sets already is left to it, as it wins over presentational
// markup anyway.
std::string MergeStyle(std::string_view style, std::string_view declarations);

} // namespace deprecatedmarkup
} // namespace orvane
