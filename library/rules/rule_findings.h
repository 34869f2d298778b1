#pragma once

#include "rule.h"

#include "library/html/html_document.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane::rules {

// The WCAG 2.2 conformance targets.
enum class Wcag22Target { kA, kAA, kAAA };

// "2.2-A", "2.2-AA", "2.2-AAA" as settings and the command line write them;
// false for anything else.
bool ParseWcag22Target(std::string_view text, Wcag22Target& target);
std::string_view Wcag22TargetText(Wcag22Target target);

// Whether the rule counts at the target: its level is at most the target's.
// A rule no WCAG 2.2 criterion requires (heading names, decorative elements,
// and the two of 4.1.1 Parsing, which 2.2 removed) counts at AAA only, as
// best practice.
bool RuleCountsAt(const RuleDefinition& rule, Wcag22Target target);

// One finding of a WCAG 2.2 rule, a problem record like those of the
// WCAG 1.0 checks: the element, where it stands, the text shown, its help
// topic, and which rule, ACT rule and criteria it comes from.
struct RuleFinding {
    const CElement* element = nullptr;  // the start tag; null for a finding of no element
    SourceLocation position;
    std::string text;
    std::string helpTopic;
    const RuleDefinition* rule = nullptr;
    // A judgement a person settles (the rule could not tell), like a general
    // warning; otherwise the rule failed.
    bool cannotTell = false;
};

// The numbers of a rule's criteria ("2.4.4", "4.1.2").
std::vector<std::string_view> SplitCriteria(std::string_view criteria);

// The title of a rule's findings, in the user's language ("Links without
// an accessible name").
std::string RuleTitle(const RuleDefinition& rule);

// Judges the page by every rule counting at the target, building its
// accessibility tree once; findings in the page's order.
// When applied is given, it receives the rules that applied to some node of
// the page (passed, failed or could not tell), in the table's order.
std::vector<RuleFinding> CheckWcag22(const CHtmlDocument& document, Wcag22Target target,
                                     std::vector<const RuleDefinition*>* applied = nullptr);

} // namespace orvane::rules
