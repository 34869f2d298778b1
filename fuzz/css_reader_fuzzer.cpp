// libFuzzer target: any bytes as a style sheet and as a style attribute.
#include "library/a11y/css_reader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "CSS reader invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orvane::a11y::css;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<Token> tokens = Tokenize(text);
    Require(!tokens.empty() && tokens.back().type == TokenType::End, "the tokens end with End");
    std::size_t at = 0;
    for (const Token& t : tokens) {
        Require(t.begin >= at && t.end >= t.begin && t.end <= text.size(), "tokens follow each other in the text");
        at = t.end;
    }
    for (const StyleRule& rule : ReadStyleSheet(text)) {
        Require(!rule.selectors.empty() && !rule.declarations.empty(), "a rule kept has selectors and declarations");
        for (const Selector& selector : rule.selectors) {
            Require(!selector.compounds.empty(), "a selector has a subject");
            Require(selector.childOf.size() == selector.compounds.size(), "every compound has its link");
            Require(selector.specificity >= 0, "specificity is not negative");
        }
    }
    for (const Declaration& d : ReadDeclarations(text))
        Require(!d.property.empty(), "a declaration has a property");
    return 0;
}
