#pragma once

#include "rule.h"

#include <string>
#include <vector>

namespace orvane::rules {

struct RuleResult {
    const RuleDefinition* rule = nullptr;
    int node = -1;  // the node of the accessibility tree judged
    Outcome outcome = Outcome::Passed;
    std::string detail;
};

// Every rule of the table over every node of the tree, in one walk of it.
// Inapplicable rules leave no result. The engine knows rules only as rows.
std::vector<RuleResult> RunRules(const PageContext& page, const std::vector<RuleDefinition>& rules);
// The same walk keeping only what a report shows: failed and cannot tell.
// applied receives, per row of rules, whether the rule applied to some node;
// a page's passed results would otherwise outweigh its tree.
std::vector<RuleResult> RunRulesForFindings(const PageContext& page, const std::vector<RuleDefinition>& rules,
                                            std::vector<bool>& applied);

// The registries the rule rows name their matchers and checks in; null for
// a name nobody registered.
MatcherFunction FindMatcher(std::string_view name);
CheckFunction FindCheck(std::string_view name);

// Every name a rule of the table uses is registered (for a test to ask).
std::vector<std::string> UnknownNames(const std::vector<RuleDefinition>& rules);

} // namespace orvane::rules
