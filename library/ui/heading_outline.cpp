#include "library/ui/heading_outline.h"

#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr std::size_t kTextLimit = 80;
}

// One walk: the texts between a heading's tags belong to it.
std::vector<OutlineHeading> ReadOutline(const CHtmlDocument& document)
{
    std::vector<OutlineHeading> headings;
    bool inside = false;
    const auto& elements = document.Elements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const CElement* e = elements[i];
        if (e->IsDeleted())
            continue;
        if (e->IsHeadingStart()) {
            headings.push_back({elements[i], i, e->Kind() - tag::kH1 + 1, {}});
            inside = true;
        } else if (e->IsHeadingEnd()) {
            inside = false;
        } else if (inside && e->Kind() == kind::kText) {
            std::string& text = headings.back().text;
            const std::string_view piece = Trim(e->Text());
            if (piece.empty() || text.size() > kTextLimit)
                continue;
            if (!text.empty())
                text.push_back(' ');
            text.append(piece);
            if (text.size() > kTextLimit)
                text = text.substr(0, kTextLimit) + "...";
        }
    }
    return headings;
}

namespace outline {

std::size_t FirstSkip(const std::vector<int>& levels)
{
    for (std::size_t i = 1; i < levels.size(); ++i) {
        if (levels[i] > levels[i - 1] + 1)
            return i;
    }
    return kNone;
}

std::vector<int> Relevelled(std::vector<int> levels, std::size_t index, int level, bool moveBelow)
{
    if (index >= levels.size())
        return levels;
    const int old = levels[index];
    levels[index] = std::clamp(level, kTopLevel, kBottomLevel);
    if (!moveBelow)
        return levels;
    const int shift = levels[index] - old;
    for (std::size_t i = index + 1; i < levels.size() && levels[i] > old; ++i)
        levels[i] = std::clamp(levels[i] + shift, kTopLevel, kBottomLevel);
    return levels;
}

int FittingLevel(int previous) { return std::min(previous + 1, kBottomLevel); }

} // namespace outline
} // namespace orvane
