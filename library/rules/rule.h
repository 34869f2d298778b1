#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::a11y {
class AccessibilityTree;
struct AriaRole;
}

namespace orvane::rules {

enum class Outcome { Inapplicable, Passed, Failed, CannotTell };

// What the rules know of the page beyond its tree.
struct PageContext {
    const a11y::AccessibilityTree& tree;
    // Served as text/html (not an SVG or XML document).
    bool html = true;
};

// A check or an applicability matcher: a small named function over one node
// of the tree. arg is what follows '=' in the name the rule gives ("role=link").
struct CheckResult {
    Outcome outcome = Outcome::Passed;  // Passed, Failed or CannotTell
    std::string detail;                 // what the finding's text adds (the attribute at fault, ...)
};
using CheckFunction = CheckResult (*)(const PageContext& page, int node, std::string_view arg);
using MatcherFunction = bool (*)(const PageContext& page, int node, std::string_view arg);

// Which nodes a matcher can hold for, as data the engine indexes the rules
// by, so that a node is offered only to the rules that may apply to it: an
// element of one of `tags`, one carrying one of `attributes` ("aria-*": any
// ARIA state or property), or a node whose role is one of `roles` (with
// `roleKinds`, a role that is a kind of one of them) or whose role's row of
// the ARIA table passes `roleRow`. "=" stands for the words of the argument,
// "=:" for the name before its ':' ("aria-hidden:true"). A matcher that names nothing
// may hold for any node; one `perPage` gives the same answer for every node
// of a page, and is asked once.
struct Reach {
    std::string_view tags = {};
    std::string_view attributes = {};
    std::string_view roles = {};
    bool roleKinds = false;
    bool (*roleRow)(const a11y::AriaRole& role) = nullptr;
    bool documentElement = false;  // the html element alone
    bool perPage = false;
};

// One WCAG 2.2 rule, after the W3C ACT rule of the same name: data only.
// The engine offers each node to the rule when every matcher of applicability
// holds; the node passes when every check of `all` passes, at least one of
// `any` passes (when `any` is not empty) and no check of `none` passes.
struct RuleDefinition {
    std::string_view id;        // the ACT rule's file name without its ACT id
    std::string_view actId;     // "b5c3f8"
    std::string_view criteria;  // WCAG 2.2 success criteria, blank-separated ("3.1.1")
    std::string_view level;     // the lowest level among them: "A", "AA" or "AAA"
    std::string_view helpTopic;  // its help topic's file, "act-link-name.html"
    std::vector<std::string_view> applicability;
    std::vector<std::string_view> all;
    std::vector<std::string_view> any;
    std::vector<std::string_view> none;
};

// The W3C page of the rule.
std::string RuleUrl(const RuleDefinition& rule);

} // namespace orvane::rules
