#include "library/ui/problem_list.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/registry/object_database.h"
#include "library/ui/judgement_records.h"
#include "platform/services.h"

#include <algorithm>
#include <map>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>

namespace orvane {
namespace {

constexpr int kWarningsTitle = 325;
constexpr std::uint32_t kMissingLabelBit = 0x20000000;

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

std::string CProblemEntry::Name() const
{
    return IsGrouped() ? m_element->GetCheckTitle(m_bit) : platform::Strings().Get(kWarningsTitle);
}

std::string CProblemEntry::Description(const PageEncoding& encoding) const
{
    return m_element->GetProblemText(m_bit, encoding);
}
bool CProblemEntry::HasAutoRepair() const { return m_element->HasAutoRepair(m_bit); }
bool CProblemEntry::IsRepaired() const { return m_element->IsRepaired(m_bit, 1); }
bool CProblemEntry::AppliesAt(const COrvaneSettings& settings) const { return CheckApplies(*m_element, settings, m_bit); }

int CProblemEntry::AutoRepairSetting(const COrvaneSettings& settings) const
{
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
        return entry.IsRepaired() || entry.m_element->IsPartlyRepaired(entry.m_bit);
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
    const std::vector<CFoundProblem> found = RunCheckPass(document, settings, registry);
    m_all.reserve(found.size());
    for (const CFoundProblem& problem : found) {
        m_all.push_back(std::make_unique<CProblemEntry>(*problem.element, problem.bit));
        m_all.back()->m_position = m_all.size() - 1;
    }
    FindSettled(document, registry);
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
    std::unordered_set<std::string> judgedChecks;
    for (const CSrcJudgement* judgement : known->Judgements())
        judgedChecks.insert(judgement->check);
    std::unordered_map<std::string, std::shared_ptr<const CSrcJudgement>> copies;
    CJudgementKeys keys(document);
    // A check's name belongs to the element's class: asked once per class and bit.
    std::map<std::pair<std::type_index, std::uint32_t>, std::string> judgedCheckOf;
    for (const auto& entry : m_all) {
        const CElement& element = entry->Element();
        auto [named, added] = judgedCheckOf.try_emplace({std::type_index(typeid(element)), entry->Bit()});
        if (added) {
            std::string check = element.GetCheckName(entry->Bit());
            if (judgedChecks.contains(check))
                named->second = std::move(check);
        }
        if (named->second.empty())
            continue;
        const std::string& check = named->second;
        const std::string key = keys.Of(entry->Element(), entry->Bit());
        const CSrcJudgement* judgement = known->FindJudgement(check, key);
        if (!judgement)
            continue;
        auto [copy, firstCopy] = copies.try_emplace(check + '\n' + key);
        if (firstCopy)
            copy->second = std::make_shared<const CSrcJudgement>(*judgement);
        entry->m_settled = copy->second;
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
    // One visit per entry: on a large page every visit reaches its element.
    auto note = [&](const CProblemEntry& entry, bool counted) {
        const bool open = !entry.IsClosed() && !(warningsConfirmed && !entry.IsGrouped());
        if (counted)
            ++(open ? summary.open : entry.IsSettled() ? summary.settled : summary.repaired);
        if (!open)
            return;
        int priority = entry.Priority();
        if (priority >= 1 && priority <= 3)
            openPriority[priority] = true;
        open508 = open508 || entry.IsSection508();
    };
    ForEachShown(m_atLevel, [&](const CProblemEntry& entry) { note(entry, true); });
    ForEachShown(m_other, [&](const CProblemEntry& entry) { note(entry, false); });
    if (targetLevel == kLevelSection508)
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
