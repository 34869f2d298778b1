// The facts of a page that rules share, found in one walk of its tree.
#include "checks.h"

#include "library/a11y/accessibility_tree.h"
#include "library/html/text_util.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

namespace orvane::rules {

namespace {

// The delay of a refresh's content value, as the shared declarative refresh
// steps read it; false when the value is not a valid one.
bool RefreshTime(std::string_view content, double& time)
{
    std::string_view rest = TrimLeft(content);
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9')
        ++digits;
    if (digits == 0 && !(rest.size() > 1 && rest[0] == '.' && rest[1] >= '0' && rest[1] <= '9'))
        return false;
    time = std::atof(std::string(rest.substr(0, digits)).c_str());
    rest.remove_prefix(digits);
    while (!rest.empty() && ((rest[0] >= '0' && rest[0] <= '9') || rest[0] == '.'))
        rest.remove_prefix(1);
    // After the time: nothing, or a separator (";" "," or blanks) and the url.
    if (rest.empty())
        return true;
    const char next = rest[0];
    return next == ';' || next == ',' || next == ' ' || next == '\t' || next == '\n' || next == '\r' || next == '\f';
}

// Whether the text holds the word, letter case aside.
bool ContainsIgnoreCase(std::string_view text, std::string_view word)
{
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at)
        if (EqualsIgnoreCase(text.substr(at, word.size()), word))
            return true;
    return false;
}

// Whether the node stands in one of the ranges, which do not overlap and
// are in page order.
bool InRanges(const std::vector<std::pair<int, int>>& ranges, int node)
{
    const auto after = std::upper_bound(ranges.begin(), ranges.end(), node,
                                        [](int wanted, const auto& range) { return wanted < range.first; });
    return after != ranges.begin() && node < std::prev(after)->second;
}

// Adds the node's subtree unless an earlier range holds it already.
void AddOutermost(std::vector<std::pair<int, int>>& ranges, const a11y::AccessibilityTree& tree, int node)
{
    if (ranges.empty() || node >= ranges.back().second)
        ranges.emplace_back(node, tree.SubtreeEnd(node));
}

} // namespace

bool IsValidRefresh(const PageContext& page, int node, double* time)
{
    const a11y::Node& n = page.tree.At(node);
    if (n.tag != "meta" || n.foreign)
        return false;
    const std::string_view* equiv = page.tree.Attribute(node, "http-equiv");
    const std::string_view* content = page.tree.Attribute(node, "content");
    double t = 0;
    if (!equiv || !EqualsIgnoreCase(Trim(*equiv), "refresh") || !content || !RefreshTime(*content, t))
        return false;
    if (time)
        *time = t;
    return true;
}

int PageFacts::FirstTabStopIn(int from, int to) const
{
    const auto at = std::lower_bound(tabStops.begin(), tabStops.end(), from);
    return at != tabStops.end() && *at < to ? *at : -1;
}

bool PageFacts::InBody(int node) const { return InRanges(bodies, node); }

bool PageFacts::InBusy(int node) const { return InRanges(busy, node); }

const PageFacts& FactsOf(const PageContext& page)
{
    thread_local KeptForPage<PageFacts> kept;
    if (!kept.Renew(page))
        return kept.value;
    PageFacts facts;  // found here, not in the thread's copy: asking for that costs on each use
    const int count = static_cast<int>(page.tree.Nodes().size());
    for (int node = 0; node < count; ++node) {
        // The record and the names asked for, not a whole Node: every node of the page passes here.
        if (!page.tree.IsElement(node))
            continue;
        const a11y::NodeRecord& n = page.tree.Record(node);
        const std::string_view tag = page.tree.Tag(node);
        if (n.inTabOrder)
            facts.tabStops.push_back(node);
        if (!facts.mainLandmark && n.included && page.tree.Role(node) == "main")
            facts.mainLandmark = true;
        if (facts.firstValidRefresh < 0 && tag == "meta" && IsValidRefresh(page, node))
            facts.firstValidRefresh = node;
        if (tag == "body")
            AddOutermost(facts.bodies, page.tree, node);
        if (const std::string_view* busy = page.tree.Attribute(node, "aria-busy");
            busy && EqualsIgnoreCase(Trim(*busy), "true"))
            AddOutermost(facts.busy, page.tree, node);
    }
    for (const a11y::css::StyleRule& rule : page.tree.StyleRules())
        facts.orientationMedia = facts.orientationMedia || ContainsIgnoreCase(rule.media, "orientation");
    kept.value = std::move(facts);
    return kept.value;
}

} // namespace orvane::rules
