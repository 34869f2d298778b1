#include "rule_engine.h"

#include "library/a11y/accessibility_tree.h"

#include <unordered_map>

namespace orvane::rules {

std::string RuleUrl(const RuleDefinition& rule)
{
    return "https://www.w3.org/WAI/standards-guidelines/act/rules/" + std::string(rule.actId) + "/";
}

namespace {

struct Bound {
    const RuleDefinition* rule;
    std::vector<std::pair<MatcherFunction, std::string_view>> applicability;
    std::vector<std::pair<CheckFunction, std::string_view>> all, any, none;
};

std::pair<std::string_view, std::string_view> SplitName(std::string_view name)
{
    const std::size_t equals = name.find('=');
    if (equals == std::string_view::npos)
        return {name, {}};
    return {name.substr(0, equals), name.substr(equals + 1)};
}

template <class Function, class Find>
std::vector<std::pair<Function, std::string_view>> Bind(const std::vector<std::string_view>& names, Find find)
{
    std::vector<std::pair<Function, std::string_view>> bound;
    for (std::string_view name : names) {
        const auto [base, arg] = SplitName(name);
        if (Function f = find(base))
            bound.emplace_back(f, arg);
    }
    return bound;
}

// Worst of the two: failed over cannot tell over passed.
Outcome Worse(Outcome a, Outcome b)
{
    auto rank = [](Outcome o) { return o == Outcome::Failed ? 3 : o == Outcome::CannotTell ? 2 : 1; };
    return rank(a) >= rank(b) ? a : b;
}

void AddDetail(std::string& detail, const std::string& more)
{
    if (more.empty())
        return;
    if (!detail.empty())
        detail += "; ";
    detail += more;
}

RuleResult Judge(const PageContext& page, const Bound& rule, int node)
{
    RuleResult result{rule.rule, node, Outcome::Passed, {}};
    for (const auto& [check, arg] : rule.all) {
        CheckResult r = check(page, node, arg);
        if (r.outcome != Outcome::Passed)
            AddDetail(result.detail, r.detail);
        result.outcome = Worse(result.outcome, r.outcome);
    }
    if (!rule.any.empty()) {
        Outcome best = Outcome::Failed;
        std::string details;
        for (const auto& [check, arg] : rule.any) {
            CheckResult r = check(page, node, arg);
            if (r.outcome == Outcome::Passed) {
                best = Outcome::Passed;
                break;
            }
            if (r.outcome == Outcome::CannotTell)
                best = Outcome::CannotTell;
            AddDetail(details, r.detail);
        }
        if (best != Outcome::Passed)
            AddDetail(result.detail, details);
        result.outcome = Worse(result.outcome, best);
    }
    for (const auto& [check, arg] : rule.none) {
        CheckResult r = check(page, node, arg);
        // A check of `none` passing is the problem it looks for.
        if (r.outcome == Outcome::Passed) {
            AddDetail(result.detail, r.detail);
            result.outcome = Outcome::Failed;
        } else if (r.outcome == Outcome::CannotTell) {
            result.outcome = Worse(result.outcome, Outcome::CannotTell);
        }
    }
    return result;
}

} // namespace

std::vector<std::string> UnknownNames(const std::vector<RuleDefinition>& rules)
{
    std::vector<std::string> unknown;
    for (const RuleDefinition& rule : rules) {
        for (std::string_view name : rule.applicability)
            if (!FindMatcher(SplitName(name).first))
                unknown.push_back(std::string(rule.id) + ": " + std::string(name));
        for (const auto* list : {&rule.all, &rule.any, &rule.none})
            for (std::string_view name : *list)
                if (!FindCheck(SplitName(name).first))
                    unknown.push_back(std::string(rule.id) + ": " + std::string(name));
    }
    return unknown;
}

namespace {

// One walk of the tree offering each element to every rule; passed results
// stay only when asked for.
std::vector<RuleResult> Walk(const PageContext& page, const std::vector<RuleDefinition>& rules, bool keepPassed,
                             std::vector<bool>* applied)
{
    std::vector<Bound> bound;
    bound.reserve(rules.size());
    for (const RuleDefinition& rule : rules)
        bound.push_back({&rule, Bind<MatcherFunction>(rule.applicability, FindMatcher),
                         Bind<CheckFunction>(rule.all, FindCheck), Bind<CheckFunction>(rule.any, FindCheck),
                         Bind<CheckFunction>(rule.none, FindCheck)});
    if (applied)
        applied->assign(rules.size(), false);
    std::vector<RuleResult> results;
    const int count = static_cast<int>(page.tree.Nodes().size());
    for (int node = 0; node < count; ++node) {
        if (!page.tree.At(node).IsElement())
            continue;
        for (std::size_t r = 0; r < bound.size(); ++r) {
            const Bound& rule = bound[r];
            bool applies = true;
            for (const auto& [matcher, arg] : rule.applicability) {
                if (!matcher(page, node, arg)) {
                    applies = false;
                    break;
                }
            }
            if (!applies)
                continue;
            if (applied)
                (*applied)[r] = true;
            RuleResult result = Judge(page, rule, node);
            if (keepPassed || result.outcome != Outcome::Passed)
                results.push_back(std::move(result));
        }
    }
    return results;
}

} // namespace

std::vector<RuleResult> RunRules(const PageContext& page, const std::vector<RuleDefinition>& rules)
{
    return Walk(page, rules, true, nullptr);
}

std::vector<RuleResult> RunRulesForFindings(const PageContext& page, const std::vector<RuleDefinition>& rules,
                                            std::vector<bool>& applied)
{
    return Walk(page, rules, false, &applied);
}

} // namespace orvane::rules
