#pragma once

#include "rule.h"

#include <memory>
#include <string>
#include <vector>

namespace orvane::rules {

struct RuleResult {
    const RuleDefinition* rule = nullptr;
    int node = -1;  // the node of the accessibility tree judged
    Outcome outcome = Outcome::Passed;
    std::string detail;
};

// Rows of a rule table bound to their matchers and checks, and indexed by
// what a node must have for each rule to apply (its tag, its role, an
// attribute), as the matchers' reach says: made once, used for every page.
// The rows must outlive the set; results point at them.
class RuleSet {
public:
    explicit RuleSet(const std::vector<const RuleDefinition*>& rules);
    explicit RuleSet(const std::vector<RuleDefinition>& rules);
    ~RuleSet();
    RuleSet(const RuleSet&) = delete;
    RuleSet& operator=(const RuleSet&) = delete;

    std::size_t Size() const;
    const RuleDefinition& Rule(std::size_t at) const;

    class Index;
    const Index& Indexed() const { return *m_index; }

private:
    std::unique_ptr<const Index> m_index;
};

// Every rule of the set over every node of the tree, in one walk of it.
// Inapplicable rules leave no result. The engine knows rules only as rows.
std::vector<RuleResult> RunRules(const PageContext& page, const RuleSet& rules);
std::vector<RuleResult> RunRules(const PageContext& page, const std::vector<RuleDefinition>& rules);
// The same walk keeping only what a report shows: failed and cannot tell.
// applied receives, per rule of the set, whether it applied to some node;
// a page's passed results would otherwise outweigh its tree.
std::vector<RuleResult> RunRulesForFindings(const PageContext& page, const RuleSet& rules, std::vector<bool>& applied);

// The registries the rule rows name their matchers and checks in; null for
// a name nobody registered.
MatcherFunction FindMatcher(std::string_view name);
CheckFunction FindCheck(std::string_view name);
// What a registered matcher can hold for; null for an unknown name.
const Reach* FindReach(std::string_view name);

// Every name a rule of the table uses is registered (for a test to ask).
std::vector<std::string> UnknownNames(const std::vector<RuleDefinition>& rules);

} // namespace orvane::rules
