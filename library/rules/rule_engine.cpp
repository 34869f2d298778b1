#include "rule_engine.h"

#include "checks.h"

#include "library/a11y/accessibility_tree.h"
#include "library/a11y/aria_data.h"
#include "library/html/text_util.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <unordered_map>

namespace orvane::rules {

std::string RuleUrl(const RuleDefinition& rule)
{
    return "https://www.w3.org/WAI/standards-guidelines/act/rules/" + std::string(rule.actId) + "/";
}

namespace {

using Matchers = std::vector<std::pair<MatcherFunction, std::string_view>>;
using Checks = std::vector<std::pair<CheckFunction, std::string_view>>;

struct Bound {
    const RuleDefinition* rule;
    Matchers applicability;  // asked of each node offered
    Matchers perPage;        // asked once per page
    Checks all, any, none;
};

std::pair<std::string_view, std::string_view> SplitName(std::string_view name)
{
    const std::size_t equals = name.find('=');
    if (equals == std::string_view::npos)
        return {name, {}};
    return {name.substr(0, equals), name.substr(equals + 1)};
}

Checks BindChecks(const std::vector<std::string_view>& names)
{
    Checks bound;
    for (std::string_view name : names) {
        const auto [base, arg] = SplitName(name);
        if (CheckFunction f = FindCheck(base))
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

using Word = std::uint64_t;
constexpr std::size_t kBits = 64;
constexpr std::size_t kNoMask = static_cast<std::size_t>(-1);

// The words a reach names: its own list, for "=" the argument's, for "=:"
// the argument's part before a colon.
std::vector<std::string_view> ReachWords(std::string_view list, std::string_view arg)
{
    if (list == "=:")
        return Tokens(arg.substr(0, arg.find(':')));
    return Tokens(list == "=" ? arg : list);
}

bool IsAriaName(std::string_view name)
{
    return name.size() > 5 && (name[0] | 0x20) == 'a' && EqualsIgnoreCase(name.substr(0, 5), "aria-");
}

} // namespace

struct TagCache;

// Per rule its bound functions; and sets of rules (a bit per rule, `words`
// words apiece in one list) by what a node must have to be offered them.
class RuleSet::Index {
public:
    explicit Index(const std::vector<const RuleDefinition*>& rules)
    {
        m_words = (rules.size() + kBits - 1) / kBits;
        if (m_words == 0)
            m_words = 1;
        m_anyNode = NewMask();
        m_documentElement = NewMask();
        m_roles.assign(a11y::AriaRoles().size(), kNoMask);
        for (std::size_t r = 0; r < rules.size(); ++r) {
            const RuleDefinition& rule = *rules[r];
            Bound bound{&rule, {}, {}, BindChecks(rule.all), BindChecks(rule.any), BindChecks(rule.none)};
            const Reach* best = nullptr;
            std::string_view bestArg;
            int bestRank = 0;
            for (std::string_view name : rule.applicability) {
                const auto [base, arg] = SplitName(name);
                const MatcherFunction matcher = FindMatcher(base);
                const Reach* reach = FindReach(base);
                if (!matcher || !reach)
                    continue;
                (reach->perPage ? bound.perPage : bound.applicability).emplace_back(matcher, arg);
                const int rank = Rank(*reach, arg);
                if (rank > 0 && (!best || rank < bestRank)) {
                    best = reach;
                    bestArg = arg;
                    bestRank = rank;
                }
            }
            if (best)
                Key(r, *best, bestArg);
            else
                SetBit(m_anyNode, r);
            m_bound.push_back(std::move(bound));
        }
    }

    std::size_t Words() const { return m_words; }
    const std::vector<Bound>& Rules() const { return m_bound; }

    // The rules a node is offered: those its tag, role and attributes may
    // make apply, and those any node may.
    void Candidates(const a11y::AccessibilityTree& tree, int node, TagCache& tags, Word* into) const;

private:
    friend struct TagCache;

    std::size_t NewMask()
    {
        const std::size_t at = m_masks.size();
        m_masks.resize(at + m_words, 0);
        return at;
    }
    void SetBit(std::size_t mask, std::size_t rule) { m_masks[mask + rule / kBits] |= Word{1} << (rule % kBits); }
    std::size_t MaskOf(std::size_t& slot)
    {
        if (slot == kNoMask)
            slot = NewMask();
        return slot;
    }

    // How narrow a reach is, for the choice of the key a rule is indexed
    // by: 0 for one the index cannot use (any node, or a role outside the
    // ARIA table, which no node carries as its definition).
    static int Rank(const Reach& reach, std::string_view arg)
    {
        if (reach.documentElement)
            return 1;
        const bool tags = !reach.tags.empty(), attributes = !reach.attributes.empty();
        const bool roles = !reach.roles.empty() || reach.roleRow;
        if ((tags && ReachWords(reach.tags, arg).empty()) || (attributes && ReachWords(reach.attributes, arg).empty()))
            return 0;
        if (!reach.roles.empty()) {
            const std::vector<std::string_view> words = ReachWords(reach.roles, arg);
            if (words.empty())
                return 0;
            if (!reach.roleKinds)
                for (std::string_view role : words)
                    if (!a11y::FindAriaRole(role))
                        return 0;
        }
        if (tags && !attributes && !roles)
            return 2;
        if (attributes && !tags && !roles)
            return 3;
        if (roles && !tags && !attributes)
            return 4;
        return tags || attributes || roles ? 5 : 0;
    }

    void Key(std::size_t rule, const Reach& reach, std::string_view arg)
    {
        if (reach.documentElement) {
            SetBit(m_documentElement, rule);
            return;
        }
        if (!reach.tags.empty())
            for (std::string_view tag : ReachWords(reach.tags, arg)) {
                auto [it, added] = m_tags.try_emplace(tag, kNoMask);
                SetBit(MaskOf(it->second), rule);
            }
        if (!reach.attributes.empty()) {
            for (std::string_view attribute : ReachWords(reach.attributes, arg)) {
                if (attribute == "aria-*") {
                    SetBit(MaskOf(m_ariaAttributes), rule);
                    continue;
                }
                // Names are compared letter case aside, as the tree's attributes are.
                const std::string name = ToLower(attribute);
                auto& bucket = m_attributes[name.size() % m_attributes.size()];
                auto it = std::find_if(bucket.begin(), bucket.end(),
                                       [&](const auto& entry) { return entry.first == name; });
                if (it == bucket.end())
                    it = bucket.insert(bucket.end(), {name, kNoMask});
                SetBit(MaskOf(it->second), rule);
                m_anyAttributeKey = true;
            }
        }
        const std::vector<a11y::AriaRole>& table = a11y::AriaRoles();
        for (std::size_t row = 0; row < table.size(); ++row) {
            bool keyed = reach.roleRow && reach.roleRow(table[row]);
            if (!reach.roles.empty())
                for (std::string_view role : ReachWords(reach.roles, arg))
                    keyed = keyed || (reach.roleKinds ? table[row].IsA(role) : table[row].name == role);
            if (keyed)
                SetBit(MaskOf(m_roles[row]), rule);
        }
    }

    std::size_t m_words = 1;
    std::vector<Bound> m_bound;
    std::vector<Word> m_masks;
    std::size_t m_anyNode = kNoMask, m_documentElement = kNoMask, m_ariaAttributes = kNoMask;
    std::unordered_map<std::string_view, std::size_t> m_tags;
    // Attribute names by their length: a name is compared with the few of its length.
    std::array<std::vector<std::pair<std::string, std::size_t>>, 16> m_attributes;
    bool m_anyAttributeKey = false;
    std::vector<std::size_t> m_roles;  // by row of the ARIA table
};

// The mask of each tag name met in one walk, by where the name's text
// stands: a page's nodes share one copy of each name, so most elements are
// answered without hashing their name. Only a hit on the same text counts.
struct TagCache {
    struct Slot {
        const char* text = nullptr;
        std::size_t size = 0;
        std::size_t mask = kNoMask;
    };
    std::array<Slot, 128> slots{};

    std::size_t MaskOf(const RuleSet::Index& index, std::string_view tag)
    {
        Slot& slot = slots[(reinterpret_cast<std::uintptr_t>(tag.data()) >> 3) % slots.size()];
        if (slot.text != tag.data() || slot.size != tag.size()) {
            const auto it = index.m_tags.find(tag);
            slot = {tag.data(), tag.size(), it == index.m_tags.end() ? kNoMask : it->second};
        }
        return slot.mask;
    }
};

void RuleSet::Index::Candidates(const a11y::AccessibilityTree& tree, int node, TagCache& tags, Word* into) const
{
    const Word* any = &m_masks[m_anyNode];
    std::copy(any, any + m_words, into);
    auto add = [&](std::size_t mask) {
        if (mask == kNoMask)
            return;
        for (std::size_t w = 0; w < m_words; ++w)
            into[w] |= m_masks[mask + w];
    };
    if (node == tree.DocumentElement())
        add(m_documentElement);
    if (!m_tags.empty())
        add(tags.MaskOf(*this, tree.Tag(node)));
    if (const a11y::AriaRole* role = tree.RoleOf(node)) {
        const std::vector<a11y::AriaRole>& table = a11y::AriaRoles();
        const std::size_t row = static_cast<std::size_t>(role - table.data());
        if (row < m_roles.size())
            add(m_roles[row]);
    }
    if (m_anyAttributeKey || m_ariaAttributes != kNoMask) {
        for (const a11y::NodeAttribute& a : tree.Attributes(node)) {
            if (m_ariaAttributes != kNoMask && IsAriaName(a.name))
                add(m_ariaAttributes);
            for (const auto& [name, mask] : m_attributes[a.name.size() % m_attributes.size()])
                if (a.name.size() == name.size() && (a.name[0] | 0x20) == name[0] && EqualsIgnoreCase(a.name, name))
                    add(mask);
        }
    }
}

RuleSet::RuleSet(const std::vector<const RuleDefinition*>& rules) : m_index(std::make_unique<Index>(rules)) {}

RuleSet::RuleSet(const std::vector<RuleDefinition>& rules)
{
    std::vector<const RuleDefinition*> rows;
    rows.reserve(rules.size());
    for (const RuleDefinition& rule : rules)
        rows.push_back(&rule);
    m_index = std::make_unique<Index>(rows);
}

RuleSet::~RuleSet() = default;

std::size_t RuleSet::Size() const { return m_index->Rules().size(); }
const RuleDefinition& RuleSet::Rule(std::size_t at) const { return *m_index->Rules()[at].rule; }

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

// One walk of the tree offering each element to the rules its index entry
// names; passed results stay only when asked for.
std::vector<RuleResult> Walk(const PageContext& page, const RuleSet& set, bool keepPassed, std::vector<bool>* applied)
{
    const RuleSet::Index& index = set.Indexed();
    const std::vector<Bound>& rules = index.Rules();
    const std::size_t words = index.Words();
    // What the page alone decides, decided once: rules it rules out are offered nothing.
    std::vector<Word> allowed(words, 0);
    for (std::size_t r = 0; r < rules.size(); ++r) {
        bool holds = true;
        for (const auto& [matcher, arg] : rules[r].perPage)
            holds = holds && matcher(page, page.tree.Root(), arg);
        if (holds)
            allowed[r / kBits] |= Word{1} << (r % kBits);
    }
    if (applied)
        applied->assign(rules.size(), false);
    std::vector<RuleResult> results;
    std::vector<Word> offered(words);
    TagCache tags;
    const int count = static_cast<int>(page.tree.Nodes().size());
    for (int node = 0; node < count; ++node) {
        if (!page.tree.IsElement(node))
            continue;
        index.Candidates(page.tree, node, tags, offered.data());
        for (std::size_t w = 0; w < words; ++w) {
            for (Word bits = offered[w] & allowed[w]; bits; bits &= bits - 1) {
                const std::size_t r = w * kBits + static_cast<std::size_t>(std::countr_zero(bits));
                const Bound& rule = rules[r];
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
    }
    return results;
}

} // namespace

std::vector<RuleResult> RunRules(const PageContext& page, const RuleSet& rules)
{
    return Walk(page, rules, true, nullptr);
}

std::vector<RuleResult> RunRules(const PageContext& page, const std::vector<RuleDefinition>& rules)
{
    const RuleSet set(rules);
    return Walk(page, set, true, nullptr);
}

std::vector<RuleResult> RunRulesForFindings(const PageContext& page, const RuleSet& rules, std::vector<bool>& applied)
{
    return Walk(page, rules, false, &applied);
}

} // namespace orvane::rules
