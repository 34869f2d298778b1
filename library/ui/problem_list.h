#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

class CElement;
struct PageEncoding;
class CHtmlDocument;
class COrvaneSettings;
class CSrcObjectDatabase;
struct CSrcJudgement;

namespace rules {
struct RuleDefinition;
struct RuleFinding;
}

// The kind of the entries of the WCAG 2.2 rule set: no element family's.
constexpr int kRuleFindingKind = -1;

// One problem of a session: an element and one check bit, with the entries
// the overview shows grouped under it when it heads a group.
class CProblemEntry {
public:
    CProblemEntry(CElement& element, std::uint32_t bit);
    // A finding of the WCAG 2.2 rule set about element (the page's first
    // element for a finding of no element).
    CProblemEntry(CElement& element, const rules::RuleFinding& finding);

    CElement& Element() const { return *m_element; }
    std::uint32_t Bit() const { return m_bit; }
    // Where the entry stands in CProblemList::AllEntries.
    std::size_t Position() const { return m_position; }
    // The family the problem is shown and counted under (xmp counts as pre).
    int Kind() const { return m_kind; }
    // The check's title; general warnings all share the warnings title.
    std::string Name() const;
    // What the user reads of the problem, page text decoded from the encoding.
    std::string Description(const PageEncoding& encoding) const;
    int Priority() const { return m_priority; }
    bool IsSection508() const { return m_section508; }
    bool IsGrouped() const { return m_isGrouped; }
    bool HasAutoRepair() const;
    // Repaired: the element has no problem left, or this one was repaired.
    bool IsRepaired() const;
    // A group head that is repaired with everything grouped under it.
    bool IsFullyRepaired() const;
    // Some of the repair made, or some of the group repaired, yet not all.
    bool IsPartlyRepaired(bool withGroup) const;
    // Settled: not repaired, but a person's remembered verdict decides it.
    bool IsSettled() const { return m_settled != nullptr && !IsRepaired(); }
    // Closed for the level reached: repaired or settled.
    bool IsClosed() const { return IsRepaired() || m_settled != nullptr; }
    // The remembered verdict; null when there is none.
    const CSrcJudgement* Settlement() const { return m_settled.get(); }
    // A group head whose every problem is closed, some of them settled.
    bool IsFullyClosed() const;

    // The WCAG 2.2 rule the entry is a finding of; null for a WCAG 1.0 check's problem.
    const rules::RuleDefinition* Rule() const { return m_rule ? m_rule->definition : nullptr; }
    // A rule's finding a person judges (the rule could not tell), a warning.
    bool IsJudgement() const { return m_rule ? m_rule->cannotTell : !m_isGrouped; }
    std::string HelpTopic() const;
    // The problem whose repair page mends the entry: the entry's own for a
    // check's problem; for a rule's finding the check's problem on the same
    // element that a page repairs; null when no page does.
    CElement* RepairElement() const;
    std::uint32_t RepairBit() const;
    // Whether choosing the entry opens a page of the wizard: a rule's
    // finding without a repair page does not (a judgement always does).
    bool OpensPage() const { return !m_rule || m_rule->cannotTell || m_rule->repairElement; }
    // The key a verdict on a rule's finding is kept under (judgement_records).
    const std::string& RuleJudgementKey() const;

    std::vector<CProblemEntry*>& Grouped() { return m_grouped; }
    const std::vector<CProblemEntry*>& Grouped() const { return m_grouped; }

    // What the settings say of the entry's check, asked by the kind it is
    // reported under (see check_catalogue.h): every part of a session asks so.
    bool AppliesAt(const COrvaneSettings& settings) const;
    int AutoRepairSetting(const COrvaneSettings& settings) const;

    // The automatic-repair mode as the rows last showed it.
    int AutoRepairMode() const { return m_autoRepairMode; }
    void SetAutoRepairMode(int mode) { m_autoRepairMode = mode; }

private:
    friend class CProblemList;

    CElement* m_element;
    std::uint32_t m_bit;
    std::size_t m_position = 0;
    // What a check is never changes with the element's state: taken once, so
    // grouping and counting a page of many problems need not visit every element.
    int m_kind;
    int m_priority;
    bool m_section508;
    bool m_isGrouped;
    // Set by CProblemList::Group.
    bool m_atLevel = false;
    bool m_shown = false;
    std::vector<CProblemEntry*> m_grouped;
    int m_autoRepairMode = 2;
    // A copy: the registry's record may be forgotten while the entry lives.
    std::shared_ptr<const CSrcJudgement> m_settled;

    // What a WCAG 2.2 rule's finding adds; null for a check's problem.
    struct RuleFindingData {
        const rules::RuleDefinition* definition = nullptr;
        std::string text;
        std::string helpTopic;
        std::string judgementKey;
        bool cannotTell = false;
        CElement* repairElement = nullptr;
        std::uint32_t repairBit = 0;
        // The page checked again no longer has the finding.
        bool cleared = false;
    };
    std::unique_ptr<RuleFindingData> m_rule;
};

// Conformance levels as the overview reports them.
constexpr int kLevelNone = 0;
constexpr int kLevelA = 1;
constexpr int kLevelAA = 2;
constexpr int kLevelAAA = 3;
constexpr int kLevelSection508 = 4;

struct CProblemSummary {
    int open = 0;      // problems of the at-level group not repaired
    int repaired = 0;  // problems of the at-level group repaired
    int settled = 0;   // problems of the at-level group settled by a remembered verdict (not repaired)
    int achievedLevel = kLevelNone;
};

// The problems of one page, grouped as the overview shows them: those that
// count at the settings' target and the others, each by check.
class CProblemList {
public:
    CProblemList() = default;
    CProblemList(const CProblemList&) = delete;
    CProblemList& operator=(const CProblemList&) = delete;

    // Checks the page and takes one entry per problem found, in page order.
    void Prepare(CHtmlDocument& document, COrvaneSettings& settings, CSrcObjectDatabase* registry);
    // At a WCAG 2.2 target: judges the page by the rule set again after
    // repairs, and marks repaired the findings that are gone.
    void RecheckRules(const CHtmlDocument& document, const COrvaneSettings& settings);
    // Sorts the entries into the at-level and the other group.
    void Group(const COrvaneSettings& settings);
    // Looks up the remembered verdicts of the entries again (after verdicts
    // were given or taken back); nothing is settled without a registry.
    void FindSettled(const CHtmlDocument& document, const CSrcObjectDatabase* registry);

    const std::vector<std::unique_ptr<CProblemEntry>>& AllEntries() const { return m_all; }
    const std::vector<CProblemEntry*>& AtLevelGroup() const { return m_atLevel; }
    const std::vector<CProblemEntry*>& OtherGroup() const { return m_other; }
    // Whether an entry belongs to the at-level group (grouped under one of its heads or heading one).
    bool IsAtLevel(const CProblemEntry& entry) const;
    // Whether the entry is shown at all (a repeated general warning is not).
    bool IsShown(const CProblemEntry& entry) const;

    // Counts and the level the page reaches with what is still open. With
    // warningsConfirmed, general warnings count as judged by the user.
    CProblemSummary Summarize(int targetLevel, bool warningsConfirmed = false) const;
    // 0: nothing counts at the target; 1: all of it repaired; 2: none; 3: some.
    int SessionResult() const;

private:
    void AddRuleFindings(CHtmlDocument& document, int target);

    template <class Visit>
    void ForEachShown(const std::vector<CProblemEntry*>& group, Visit visit) const;

    std::vector<std::unique_ptr<CProblemEntry>> m_all;
    std::vector<CProblemEntry*> m_atLevel;
    std::vector<CProblemEntry*> m_other;
};

// A level as reports name it: "A", "AA", "AAA", "Section 508", or "none".
std::string LevelName(int level);
// A priority as the overview and the reports name it: "1", "BITV I-2", "BITV II-3".
std::string PriorityName(int priority);

} // namespace orvane
