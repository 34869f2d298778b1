#include "library/ui/problem_list.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/checks/family_factory.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/registry/object_database.h"
#include "library/rules/rule_findings.h"
#include "library/rules/rule_repairs.h"
#include "library/ui/judgement_keys.h"
#include "library/ui/settled_lookup.h"
#include "platform/services.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <span>
#include <map>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>

namespace orvane {
namespace {

constexpr int kWarningsTitle = 325;
constexpr int kRuleFindingDetails = 1380;
constexpr int kRuleToJudge = 1381;
constexpr int kNoRepairPage = 1382;
constexpr std::uint32_t kMissingLabelBit = 0x20000000;

// A string of the table, or the plain text where there are no tables (a tool, a test).
std::string Formatted(int id, std::initializer_list<std::string_view> args, std::string plain)
{
    std::string text = platform::Strings().Format(id, args);
    return text.empty() ? plain : text;
}

rules::Wcag22Target RulesTarget(int conformance)
{
    return conformance == level::kWcag22A    ? rules::Wcag22Target::kA
           : conformance == level::kWcag22AA ? rules::Wcag22Target::kAA
                                             : rules::Wcag22Target::kAAA;
}

// The kinds of the elements a rule finds page-wide faults on: the check that
// mends one reports it on an element of its own (the page, its head).
bool IsPageWide(const CElement* element)
{
    if (!element)
        return true;
    static const int kHead = TagIdOfToken("<head>");
    static const int kTitle = TagIdOfToken("<title>");
    const int kind = element->Kind();
    return kind == kind::kDocument || kind == tag::kHtml || kind == kHead || kind == kTitle ||
           kind == tag::kMeta || kind == tag::kBody;
}

} // namespace

CProblemEntry::CProblemEntry(CElement& element, std::uint32_t bit)
    : m_element(&element),
      m_bit(bit),
      m_kind(ReportedKind(element)),
      m_priority(element.GetPriority(bit)),
      m_section508(element.IsSection508(bit)),
      m_isGrouped(element.IsGrouped(bit))
{
}

CProblemEntry::CProblemEntry(CElement& element, const rules::RuleFinding& finding)
    : m_element(&element),
      m_bit(0),
      m_kind(kRuleFindingKind),
      m_priority(finding.cannotTell ? 3 : 1),
      m_section508(false),
      m_isGrouped(true),
      m_rule(std::make_unique<RuleFindingData>())
{
    m_rule->definition = finding.rule;
    m_rule->text = finding.text;
    m_rule->helpTopic = finding.helpTopic;
    m_rule->cannotTell = finding.cannotTell;
}

std::string CProblemEntry::Name() const
{
    if (m_rule) {
        const std::string title = rules::RuleTitle(*m_rule->definition);
        return m_rule->cannotTell ? Formatted(kRuleToJudge, {title}, title) : title;
    }
    return IsGrouped() ? m_element->GetCheckTitle(m_bit) : platform::Strings().Get(kWarningsTitle);
}

std::string CProblemEntry::Description(const PageEncoding& encoding) const
{
    if (!m_rule)
        return m_element->GetProblemText(m_bit, encoding);
    const std::string act(m_rule->definition->actId);
    std::string text = Formatted(kRuleFindingDetails, {m_rule->text, act}, m_rule->text + ", ACT " + act);
    if (!OpensPage()) {
        const std::string reason = platform::Strings().Get(kNoRepairPage);
        text += " - " + (reason.empty() ? std::string("No repair page for this rule yet") : reason);
    }
    return text;
}

std::string CProblemEntry::HelpTopic() const
{
    if (m_rule)
        return m_rule->helpTopic;
    return IsGrouped() ? std::string() : m_element->GetWarningHelpTopic(m_bit);
}

CElement* CProblemEntry::RepairElement() const { return m_rule ? m_rule->repairElement : m_element; }
std::uint32_t CProblemEntry::RepairBit() const { return m_rule ? m_rule->repairBit : m_bit; }

const std::string& CProblemEntry::RuleJudgementKey() const
{
    static const std::string none;
    return m_rule ? m_rule->judgementKey : none;
}

bool CProblemEntry::HasAutoRepair() const
{
    const CElement* repairing = RepairElement();
    return repairing && repairing->HasAutoRepair(RepairBit());
}

bool CProblemEntry::IsRepaired() const { return m_rule ? m_rule->cleared : m_element->IsRepaired(m_bit, 1); }

bool CProblemEntry::AppliesAt(const COrvaneSettings& settings) const
{
    // Only the rules counting at the target judge the page; what a person
    // must judge is a warning outside the target's count.
    if (m_rule)
        return !m_rule->cannotTell;
    return CheckApplies(*m_element, settings, m_bit);
}

int CProblemEntry::AutoRepairSetting(const COrvaneSettings& settings) const
{
    if (m_rule)
        return m_rule->repairElement ? orvane::AutoRepairSetting(*m_rule->repairElement, settings, m_rule->repairBit) : 2;
    return orvane::AutoRepairSetting(*m_element, settings, m_bit);
}

bool CProblemEntry::IsFullyRepaired() const
{
    return IsRepaired() && std::all_of(m_grouped.begin(), m_grouped.end(),
                                       [](const CProblemEntry* entry) { return entry->IsRepaired(); });
}

bool CProblemEntry::IsFullyClosed() const
{
    return IsClosed() && std::all_of(m_grouped.begin(), m_grouped.end(),
                                     [](const CProblemEntry* entry) { return entry->IsClosed(); });
}

bool CProblemEntry::IsPartlyRepaired(bool withGroup) const
{
    auto touched = [](const CProblemEntry& entry) {
        return entry.IsRepaired() || (!entry.m_rule && entry.m_element->IsPartlyRepaired(entry.m_bit));
    };
    if (!withGroup)
        return !IsRepaired() && touched(*this);
    return !IsFullyRepaired() &&
           (touched(*this) || std::any_of(m_grouped.begin(), m_grouped.end(),
                                          [&](const CProblemEntry* entry) { return touched(*entry); }));
}

void CProblemList::Prepare(CHtmlDocument& document, COrvaneSettings& settings, CSrcObjectDatabase* registry)
{
    m_atLevel.clear();
    m_other.clear();
    m_all.clear();
    // At a WCAG 2.2 target the rule set judges the page; the checks run as at
    // AAA, so that every page that mends a rule's finding has its problem to
    // open on, and the rest is advice outside the target.
    const int target = settings.GetConformanceLevel();
    const bool byRules = level::IsWcag22(target);
    if (byRules)
        settings.SetConformanceLevel(level::kAAA);
    const std::vector<CFoundProblem> found = RunCheckPass(document, settings, registry);
    if (byRules)
        settings.SetConformanceLevel(target);
    m_all.reserve(found.size());
    for (const CFoundProblem& problem : found) {
        m_all.push_back(std::make_unique<CProblemEntry>(*problem.element, problem.bit));
        m_all.back()->m_position = m_all.size() - 1;
    }
    if (byRules)
        AddRuleFindings(document, target);
    FindSettled(document, registry);
}

void CProblemList::AddRuleFindings(CHtmlDocument& document, int target)
{
    if (document.Elements().empty())
        return;
    const std::size_t checkProblems = m_all.size();
    std::unordered_map<const CElement*, std::vector<CProblemEntry*>> problemsOf;
    for (std::size_t i = 0; i < checkProblems; ++i)
        problemsOf[&m_all[i]->Element()].push_back(m_all[i].get());
    // A check's problem mends one finding: two findings of one element (a
    // page without a title and without a language) take different pages.
    std::unordered_set<const CProblemEntry*> taken;
    auto repairing = [&](const std::vector<CProblemEntry*>& candidates,
                         std::span<const std::string_view> checks) -> CProblemEntry* {
        for (CProblemEntry* candidate : candidates) {
            if (taken.contains(candidate))
                continue;
            const std::string name = candidate->Element().GetCheckName(candidate->Bit());
            if (std::find(checks.begin(), checks.end(), name) != checks.end())
                return candidate;
        }
        return nullptr;
    };
    std::vector<CProblemEntry*> pageWide;
    for (const rules::RuleFinding& finding : rules::CheckWcag22(document, RulesTarget(target))) {
        auto* element = const_cast<CElement*>(finding.element);
        auto entry = std::make_unique<CProblemEntry>(element ? *element : *document.Elements().front(), finding);
        entry->m_rule->judgementKey = RuleJudgementKeyOf(document, element);
        const std::span<const std::string_view> checks = rules::RepairingChecks(*finding.rule);
        if (!finding.cannotTell && !checks.empty()) {
            CProblemEntry* mending = nullptr;
            if (auto known = problemsOf.find(element); element && known != problemsOf.end())
                mending = repairing(known->second, checks);
            if (!mending && IsPageWide(element)) {
                if (pageWide.empty()) {
                    for (std::size_t i = 0; i < checkProblems; ++i)
                        if (IsPageWide(&m_all[i]->Element()))
                            pageWide.push_back(m_all[i].get());
                }
                mending = repairing(pageWide, checks);
            }
            if (mending) {
                taken.insert(mending);
                entry->m_rule->repairElement = &mending->Element();
                entry->m_rule->repairBit = mending->Bit();
            }
        }
        entry->m_position = m_all.size();
        m_all.push_back(std::move(entry));
    }
}

namespace {

// An element by its kind and its place among the page's elements of that
// kind: the same element in the page as held and in the page read again.
using ElementPlace = std::pair<int, int>;

std::unordered_map<const CElement*, ElementPlace> PlacesOf(const CHtmlDocument& document)
{
    std::unordered_map<const CElement*, ElementPlace> places;
    std::unordered_map<int, int> seen;
    for (const CElement* element : document.Elements()) {
        if (!element->IsDeleted())
            places.emplace(element, ElementPlace{element->Kind(), seen[element->Kind()]++});
    }
    return places;
}

} // namespace

void CProblemList::RecheckRules(const CHtmlDocument& document, const COrvaneSettings& settings)
{
    const int target = settings.GetConformanceLevel();
    if (!level::IsWcag22(target) ||
        std::none_of(m_all.begin(), m_all.end(), [](const auto& entry) { return entry->m_rule != nullptr; }))
        return;
    // A repair changes an element's attributes, not the source text it was
    // read from, which the rules read: they judge the page as it would be
    // written, read again.
    CHtmlDocument again(CFamilyElementFactory::Instance());
    again.Start(1, false);
    std::istringstream written(document.Text());
    if (again.Load(written) != 1)
        return;
    // A finding is the same when its rule finds it on the same element again.
    const auto placesAgain = PlacesOf(again);
    std::set<std::pair<const rules::RuleDefinition*, ElementPlace>> still;
    for (const rules::RuleFinding& finding : rules::CheckWcag22(again, RulesTarget(target))) {
        const auto place = finding.element ? placesAgain.find(finding.element) : placesAgain.end();
        still.emplace(finding.rule, place == placesAgain.end() ? ElementPlace{0, -1} : place->second);
    }
    const auto places = PlacesOf(document);
    for (const auto& entry : m_all) {
        if (!entry->m_rule)
            continue;
        ElementPlace place{0, -1};
        if (entry->m_rule->judgementKey != kWholePageKey) {
            const auto known = places.find(&entry->Element());
            // An element the repair took away took its finding with it.
            if (known == places.end()) {
                entry->m_rule->cleared = true;
                continue;
            }
            place = known->second;
        }
        entry->m_rule->cleared = !still.contains({entry->m_rule->definition, place});
    }
}

void CProblemList::FindSettled(const CHtmlDocument& document, const CSrcObjectDatabase* registry)
{
    for (const auto& entry : m_all)
        entry->m_settled.reset();
    const CSrcDocument* known = registry ? registry->FindDocument(document.Name()) : nullptr;
    if (!known || !known->HasJudgements())
        return;
    // Only problems of checks someone judged on this page are keyed: a key
    // costs a digest, and a large page has tens of thousands of problems.
    CSettledLookup settled(document, known);
    std::unordered_map<const CSrcJudgement*, std::shared_ptr<const CSrcJudgement>> copies;
    auto settle = [&](CProblemEntry& entry, const CSrcJudgement* judgement) {
        if (!judgement)
            return;
        auto [copy, firstCopy] = copies.try_emplace(judgement);
        if (firstCopy)
            copy->second = std::make_shared<const CSrcJudgement>(*judgement);
        entry.m_settled = copy->second;
    };
    // A check's name belongs to the element's class: asked once per class
    // and bit. (A class known by two type records only asks twice.)
    struct ClassBitHash {
        std::size_t operator()(const std::pair<const std::type_info*, std::uint32_t>& key) const
        {
            return std::hash<const void*>()(key.first) ^ key.second;
        }
    };
    std::unordered_map<std::pair<const std::type_info*, std::uint32_t>, const CSettledLookup::CheckRecords*,
                       ClassBitHash>
        judgedOf;
    for (const auto& entry : m_all) {
        if (entry->m_rule) {
            const bool pageWide = entry->m_rule->judgementKey == kWholePageKey;
            settle(*entry, settled.FindRule(entry->m_rule->definition->id, pageWide ? nullptr : &entry->Element()));
            continue;
        }
        const CElement& element = entry->Element();
        auto [judged, added] = judgedOf.try_emplace({&typeid(element), entry->Bit()}, nullptr);
        if (added)
            judged->second = settled.Of(element.GetCheckName(entry->Bit()));
        if (judged->second)
            settle(*entry, settled.Find(*judged->second, element, entry->Bit()));
    }
}

namespace {

// A check of one family, as one number.
std::uint64_t CheckKey(int family, std::uint32_t bit)
{
    return (std::uint64_t{static_cast<std::uint32_t>(family)} << 32) | bit;
}

// Sorts entries into one group: a head per check, with the entries of the
// same check under it (the missing-label checks of inputs, selects and text
// areas are one check here), and one head for the general warnings, each
// warning shown once per check and family. Heads are found by key, so a page
// with many problems costs one look-up per problem.
class CGroupBuilder {
public:
    explicit CGroupBuilder(std::vector<CProblemEntry*>& heads) : m_heads(heads) {}

    void Add(CProblemEntry& entry)
    {
        if (const rules::RuleDefinition* rule = entry.Rule()) {
            auto [head, added] = m_ruleHeadOf.try_emplace({rule, entry.IsJudgement()}, &entry);
            if (added)
                m_heads.push_back(&entry);
            else
                head->second->Grouped().push_back(&entry);
            return;
        }
        if (entry.IsGrouped()) {
            auto [head, added] = m_headOf.try_emplace(GroupKey(entry), &entry);
            if (added)
                m_heads.push_back(&entry);
            else
                head->second->Grouped().push_back(&entry);
            return;
        }
        if (!m_warned.insert(CheckKey(entry.Kind(), entry.Bit())).second)
            return;
        if (!m_warnings) {
            m_warnings = &entry;
            m_heads.push_back(&entry);
            return;
        }
        m_warnings->Grouped().push_back(&entry);
    }

private:
    static std::uint64_t GroupKey(const CProblemEntry& entry)
    {
        constexpr std::uint64_t kAnyFamily = std::uint64_t{0xffffffffu} << 32;
        return entry.Bit() == kMissingLabelBit ? kAnyFamily | kMissingLabelBit : CheckKey(entry.Kind(), entry.Bit());
    }

    std::vector<CProblemEntry*>& m_heads;
    std::unordered_map<std::uint64_t, CProblemEntry*> m_headOf;
    // A rule's findings and its judgements are two groups: only the first count.
    std::map<std::pair<const rules::RuleDefinition*, bool>, CProblemEntry*> m_ruleHeadOf;
    std::unordered_set<std::uint64_t> m_warned;
    CProblemEntry* m_warnings = nullptr;
};

} // namespace

void CProblemList::Group(const COrvaneSettings& settings)
{
    for (CProblemEntry* head : m_atLevel)
        head->Grouped().clear();
    for (CProblemEntry* head : m_other)
        head->Grouped().clear();
    m_atLevel.clear();
    m_other.clear();
    CGroupBuilder atLevel(m_atLevel);
    CGroupBuilder other(m_other);
    // Whether a check counts depends on the check alone, and the settings
    // search their list for it: asked once per check, not once per problem.
    std::unordered_map<std::uint64_t, bool> applies;
    for (const auto& entry : m_all) {
        entry->m_atLevel = false;
        entry->m_shown = false;
        if (entry->m_rule) {
            (entry->AppliesAt(settings) ? atLevel : other).Add(*entry);
            continue;
        }
        auto [known, added] = applies.try_emplace(CheckKey(entry->Kind(), entry->Bit()), false);
        if (added)
            known->second = entry->AppliesAt(settings);
        if (known->second)
            atLevel.Add(*entry);
        else
            other.Add(*entry);
    }
    ForEachShown(m_atLevel, [](CProblemEntry& entry) { entry.m_atLevel = entry.m_shown = true; });
    ForEachShown(m_other, [](CProblemEntry& entry) { entry.m_shown = true; });
}

template <class Visit>
void CProblemList::ForEachShown(const std::vector<CProblemEntry*>& group, Visit visit) const
{
    for (CProblemEntry* head : group) {
        visit(*head);
        for (CProblemEntry* entry : head->Grouped())
            visit(*entry);
    }
}

bool CProblemList::IsAtLevel(const CProblemEntry& entry) const { return entry.m_atLevel; }

bool CProblemList::IsShown(const CProblemEntry& entry) const { return entry.m_shown; }

CProblemSummary CProblemList::Summarize(int targetLevel, bool warningsConfirmed) const
{
    CProblemSummary summary;
    bool openPriority[4] = {false, false, false, false};
    bool open508 = false;
    bool openAtLevel = false;
    // One visit per entry: on a large page every visit reaches its element.
    auto note = [&](const CProblemEntry& entry, bool counted) {
        const bool open = !entry.IsClosed() && !(warningsConfirmed && !entry.IsGrouped());
        if (counted)
            ++(open ? summary.open : entry.IsSettled() ? summary.settled : summary.repaired);
        if (!open)
            return;
        openAtLevel = openAtLevel || counted;
        int priority = entry.Priority();
        if (priority >= 1 && priority <= 3)
            openPriority[priority] = true;
        open508 = open508 || entry.IsSection508();
    };
    ForEachShown(m_atLevel, [&](const CProblemEntry& entry) { note(entry, true); });
    ForEachShown(m_other, [&](const CProblemEntry& entry) { note(entry, false); });
    // The rule set's levels are reached whole: what counts there is what
    // the rules failed (and the checks always included), judgements aside.
    if (level::IsWcag22(targetLevel))
        summary.achievedLevel = openAtLevel ? kLevelNone : targetLevel;
    else if (targetLevel == kLevelSection508)
        summary.achievedLevel = open508 ? kLevelNone : kLevelSection508;
    else if (openPriority[1])
        summary.achievedLevel = kLevelNone;
    else if (openPriority[2])
        summary.achievedLevel = kLevelA;
    else if (!openPriority[3])
        summary.achievedLevel = kLevelAAA;
    else
        summary.achievedLevel = kLevelAA;
    return summary;
}

int CProblemList::SessionResult() const
{
    int result = 0;
    for (const CProblemEntry* head : m_atLevel) {
        std::vector<const CProblemEntry*> entries{head};
        entries.insert(entries.end(), head->Grouped().begin(), head->Grouped().end());
        for (const CProblemEntry* entry : entries) {
            // Repaired in part: something was repaired, something is still open.
            if (entry->IsPartlyRepaired(false))
                return 3;
            if (entry->IsClosed()) {
                if (result == 2)
                    return 3;
                result = 1;
            } else {
                if (result == 1)
                    return 3;
                result = 2;
            }
        }
    }
    return result;
}

std::string LevelName(int level)
{
    switch (level) {
    case kLevelA: return "A";
    case kLevelAA: return "AA";
    case kLevelAAA: return "AAA";
    case kLevelSection508: return "Section 508";
    case level::kWcag22A: return "WCAG 2.2 A";
    case level::kWcag22AA: return "WCAG 2.2 AA";
    case level::kWcag22AAA: return "WCAG 2.2 AAA";
    default: return "none";
    }
}

std::string PriorityName(int priority)
{
    if (priority == 2)
        return "BITV I-2";
    if (priority == 3)
        return "BITV II-3";
    return "1";
}

} // namespace orvane
