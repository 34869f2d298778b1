#include "problem_list.h"

#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/html/element.h"
#include "platform/services.h"

#include <algorithm>

namespace orvane {
namespace {

constexpr int kWarningsTitle = 325;
constexpr std::uint32_t kMissingLabelBit = 0x20000000;

} // namespace

int CProblemEntry::Kind() const { return ReportedKind(*m_element); }

std::string CProblemEntry::Name() const
{
    return IsGrouped() ? m_element->GetCheckTitle(m_bit) : platform::Strings().Get(kWarningsTitle);
}

std::string CProblemEntry::Description() const { return m_element->GetProblemText(m_bit); }
int CProblemEntry::Priority() const { return m_element->GetPriority(m_bit); }
bool CProblemEntry::IsSection508() const { return m_element->IsSection508(m_bit); }
bool CProblemEntry::IsGrouped() const { return m_element->IsGrouped(m_bit); }
bool CProblemEntry::HasAutoRepair() const { return m_element->HasAutoRepair(m_bit); }
bool CProblemEntry::IsRepaired() const { return m_element->IsRepaired(m_bit, 1); }

bool CProblemEntry::IsFullyRepaired() const
{
    return IsRepaired() && std::all_of(m_grouped.begin(), m_grouped.end(),
                                       [](const CProblemEntry* entry) { return entry->IsRepaired(); });
}

void CProblemList::Prepare(CHtmlDocument& document, COrvaneSettings& settings, CSrcObjectDatabase* registry)
{
    m_atLevel.clear();
    m_other.clear();
    m_atLevelEntries.clear();
    m_shownEntries.clear();
    m_all.clear();
    for (const CFoundProblem& problem : RunCheckPass(document, settings, registry))
        m_all.push_back(std::make_unique<CProblemEntry>(*problem.element, problem.bit));
}

void CProblemList::AddToGroup(std::vector<CProblemEntry*>& group, CProblemEntry& entry)
{
    if (entry.IsGrouped()) {
        for (CProblemEntry* head : group) {
            if (!head->IsGrouped())
                continue;
            // The missing-label check of inputs, selects and text areas is one group.
            bool sameCheck = head->Kind() == entry.Kind() && head->Bit() == entry.Bit();
            if (sameCheck || (head->Bit() == kMissingLabelBit && entry.Bit() == kMissingLabelBit)) {
                head->Grouped().push_back(&entry);
                return;
            }
        }
        group.push_back(&entry);
        return;
    }
    auto warnings = std::find_if(group.begin(), group.end(), [](const CProblemEntry* head) { return !head->IsGrouped(); });
    if (warnings == group.end()) {
        group.push_back(&entry);
        return;
    }
    // A general warning is shown once per check and family.
    CProblemEntry& head = **warnings;
    auto same = [&](const CProblemEntry* other) { return other->Kind() == entry.Kind() && other->Bit() == entry.Bit(); };
    if (same(&head) || std::any_of(head.Grouped().begin(), head.Grouped().end(), same))
        return;
    head.Grouped().push_back(&entry);
}

void CProblemList::Group(const COrvaneSettings& settings)
{
    for (CProblemEntry* head : m_atLevel)
        head->Grouped().clear();
    for (CProblemEntry* head : m_other)
        head->Grouped().clear();
    m_atLevel.clear();
    m_other.clear();
    for (const auto& entry : m_all) {
        bool atLevel = CheckApplies(entry->Element(), settings, entry->Bit());
        AddToGroup(atLevel ? m_atLevel : m_other, *entry);
    }
    m_atLevelEntries.clear();
    m_shownEntries.clear();
    ForEachShown(m_atLevel, [&](const CProblemEntry& entry) { m_atLevelEntries.insert(&entry); });
    m_shownEntries = m_atLevelEntries;
    ForEachShown(m_other, [&](const CProblemEntry& entry) { m_shownEntries.insert(&entry); });
}

template <class Visit>
void CProblemList::ForEachShown(const std::vector<CProblemEntry*>& group, Visit visit) const
{
    for (const CProblemEntry* head : group) {
        visit(*head);
        for (const CProblemEntry* entry : head->Grouped())
            visit(*entry);
    }
}

bool CProblemList::IsAtLevel(const CProblemEntry& entry) const { return m_atLevelEntries.count(&entry) > 0; }

bool CProblemList::IsShown(const CProblemEntry& entry) const { return m_shownEntries.count(&entry) > 0; }

CProblemSummary CProblemList::Summarize(int targetLevel, bool warningsConfirmed) const
{
    CProblemSummary summary;
    auto isOpen = [&](const CProblemEntry& entry) {
        return !entry.IsRepaired() && !(warningsConfirmed && !entry.IsGrouped());
    };
    ForEachShown(m_atLevel, [&](const CProblemEntry& entry) { ++(isOpen(entry) ? summary.open : summary.repaired); });
    bool openPriority[4] = {false, false, false, false};
    bool open508 = false;
    auto note = [&](const CProblemEntry& entry) {
        if (!isOpen(entry))
            return;
        int priority = entry.Priority();
        if (priority >= 1 && priority <= 3)
            openPriority[priority] = true;
        open508 = open508 || entry.IsSection508();
    };
    ForEachShown(m_atLevel, note);
    ForEachShown(m_other, note);
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
            if (entry->IsRepaired()) {
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
    default: return "none";
    }
}

} // namespace orvane
