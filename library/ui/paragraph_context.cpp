#include "library/ui/paragraph_context.h"

#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"

namespace orvane {

namespace {

constexpr int kParagraph = 64;
// How far the preview looks for the blocks around a paragraph, so that a page
// of few blocks is not walked whole for each paragraph.
constexpr std::size_t kContextReach = 200;

bool StartsBlock(const CElement& e) { return e.Kind() == kParagraph || e.IsHeadingStart(); }
bool EndsBlock(const CElement& e) { return e.Kind() == kParagraph + kind::kEndOffset || e.IsHeadingEnd(); }

} // namespace

std::string ParagraphInContext(const CHtmlDocument& document, std::size_t start, std::size_t end)
{
    const auto& elements = document.Elements();
    std::size_t first = start;
    for (std::size_t i = start, steps = 0; i > 0 && steps < kContextReach; --i, ++steps) {
        const CElement& e = *elements[i - 1];
        if (!e.IsDeleted() && StartsBlock(e)) {
            first = i - 1;
            break;
        }
    }
    std::size_t last = end;
    for (std::size_t i = end + 1, steps = 0; i < elements.size() && steps < kContextReach; ++i, ++steps) {
        const CElement& e = *elements[i];
        if (!e.IsDeleted() && EndsBlock(e)) {
            last = i;
            break;
        }
    }
    std::string context;
    for (std::size_t i = first; i <= last && i < elements.size(); ++i) {
        if (!elements[i]->IsDeleted())
            elements[i]->AppendMarkupText(context);
    }
    return context;
}

} // namespace orvane
