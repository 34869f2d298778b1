#pragma once

#include "rule.h"

#include "library/a11y/accessibility_tree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::rules {

// What a check works out once and keeps while the page is judged, for the
// page this thread judges, as its tree's serial tells it: asked of each node
// it applies to, it would otherwise be worked out again for each. Hold one
// as a thread_local.
template <class T>
class KeptForPage {
public:
    // Whether the value is still to be worked out for the page: when it was
    // another page's, it is made empty and the page's from now on.
    bool Renew(const PageContext& page)
    {
        if (m_serial == page.tree.Serial())
            return false;
        m_serial = page.tree.Serial();
        value = T{};
        return true;
    }
    T value{};

private:
    std::uint64_t m_serial = 0;
};

// Helpers the checks share.
std::vector<std::string_view> Tokens(std::string_view text);
// The primary language subtag of a language tag, lower-cased, when ISO 639
// knows it (as BCP 47 takes it: "en", not "eng") and every subtag is one to
// eight letters or digits; empty otherwise.
std::string KnownPrimaryLanguage(std::string_view tag);

// A meta element that refreshes the page (http-equiv="refresh" with a
// content value the declarative refresh steps take); time receives its delay.
bool IsValidRefresh(const PageContext& page, int node, double* time = nullptr);

// What rules ask of the page as a whole, found in one walk of its tree the
// first time one asks and kept while the page is judged: a rule asking it
// of each node it applies to would walk the page again for each.
struct PageFacts {
    bool mainLandmark = false;  // an included element has the role main
    int firstValidRefresh = -1;  // the first meta element that refreshes the page
    std::vector<int> tabStops;  // the elements in sequential focus order, in page order
    bool orientationMedia = false;  // a style rule's media names the orientation
    // Where body elements stand, [first, past the last descendant), those
    // inside another left out; in page order.
    std::vector<std::pair<int, int>> bodies;
    // Where elements with aria-busy="true" stand, in the same form.
    std::vector<std::pair<int, int>> busy;

    // Whether the node is a body element or inside one.
    bool InBody(int node) const;
    // Whether the node, or an element it stands in, says it is busy.
    bool InBusy(int node) const;

    // The first element of the tab order standing in [from, to); -1 when none.
    int FirstTabStopIn(int from, int to) const;
};
const PageFacts& FactsOf(const PageContext& page);

// Registration tables of the check files, name to function.
struct NamedMatcher {
    std::string_view name;
    MatcherFunction function;
    Reach reach = {};
};
struct NamedCheck {
    std::string_view name;
    CheckFunction function;
};
const std::vector<NamedMatcher>& PageMatchers();
const std::vector<NamedCheck>& PageChecks();
const std::vector<NamedMatcher>& AriaMatchers();
const std::vector<NamedCheck>& AriaChecks();
const std::vector<NamedMatcher>& NameMatchers();
const std::vector<NamedCheck>& NameChecks();
const std::vector<NamedMatcher>& StyleMatchers();
const std::vector<NamedCheck>& StyleChecks();

} // namespace orvane::rules
