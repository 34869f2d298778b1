#include "library/ui/repair_run.h"

#include "library/html/element.h"
#include "library/html/tag_table.h"
#include "library/settings/sheet_settings.h"
#include "library/html/html_document.h"
#include "library/rules/rule.h"
#include "library/ui/judgement_records.h"
#include "library/ui/pages/judgements/page_warnings.h"
#include "library/ui/problem_list.h"
#include "library/ui/validator_sheet.h"
#include "platform/services.h"

#include <algorithm>
#include <string>
#include <utility>

namespace orvane {
namespace {

// A problem that belongs before the most recent one of another check of its family.
struct PageOrder {
    int kind;
    std::uint32_t first;  // moved in front ...
    std::uint32_t second; // ... of the last one of this check met before it
};

constexpr PageOrder kPageOrders[] = {
    {tag::kTable, 0x2, 0x4}, // TableHeaders before TableAbbreviations
    {tag::kHtml, 0x8, 0x4},  // PotentialHeaders before NestedHeaders
};

constexpr int kCaption = 111;
constexpr int kWithoutPage = 496;

// One message for all chosen problems the run has no page for, each check
// named once with the number of its problems, so none is dropped unseen.
void TellOfProblemsWithoutPage(const CValidatorSheet& sheet)
{
    std::vector<std::pair<std::string, int>> checks;
    for (const CValidatorSheet::ProblemWithoutPage& problem : sheet.ProblemsWithoutPage()) {
        std::string title = problem.element->GetCheckTitle(problem.bit);
        auto known = std::find_if(checks.begin(), checks.end(), [&](const auto& check) { return check.first == title; });
        if (known == checks.end())
            checks.emplace_back(std::move(title), 1);
        else
            ++known->second;
    }
    if (checks.empty())
        return;
    std::string list;
    for (const auto& [title, count] : checks)
        list += "\n- " + title + (count > 1 ? " (" + std::to_string(count) + ")" : std::string());
    const platform::IStringTable& strings = platform::Strings();
    platform::Prompt().Show(strings.Get(kCaption), strings.Format(kWithoutPage, {list}),
                            platform::PromptIcon::Information, platform::PromptButtons::Ok);
}

} // namespace

void OrderRepairWork(std::vector<CProblemEntry*>& work)
{
    for (const PageOrder& order : kPageOrders) {
        std::ptrdiff_t remembered = -1;
        for (std::size_t i = 0; i < work.size(); ++i) {
            const CProblemEntry& entry = *work[i];
            if (entry.Kind() != order.kind)
                continue;
            if (entry.Bit() == order.second) {
                remembered = static_cast<std::ptrdiff_t>(i);
            } else if (entry.Bit() == order.first && remembered >= 0) {
                std::rotate(work.begin() + remembered, work.begin() + static_cast<std::ptrdiff_t>(i),
                            work.begin() + static_cast<std::ptrdiff_t>(i) + 1);
                remembered = -1;
            }
        }
    }
    for (CProblemEntry* entry : work) {
        CElement* repaired = entry->RepairElement();
        if (repaired && repaired->Kind() == tag::kImg)
            repaired->PrepareRepair();
    }
}

void AddRepairPagesOf(CValidatorSheet& sheet, CHtmlDocument& document, CProblemEntry& entry)
{
    const rules::RuleDefinition* rule = entry.Rule();
    if (rule && entry.IsJudgement()) {
        sheet.SetPageEncoding(document.Encoding());
        sheet.SetRepairedPage(document);
        CPageWarnings* warnings = sheet.FindWarningsPage();
        if (!warnings)
            warnings = static_cast<CPageWarnings*>(&sheet.AddPage(std::make_unique<CPageWarnings>()));
        warnings->AddRuleWarning(entry.Element(), std::string(rule->id), entry.Name(),
                                 entry.Description(document.Encoding()), entry.HelpTopic(),
                                 entry.RuleJudgementKey());
        return;
    }
    if (CElement* repaired = entry.RepairElement())
        repaired->AddRepairPages(sheet, document, entry.RepairBit());
}

void RunRepairRun(platform::IWindow& owner, const std::vector<CProblemEntry*>& work, CHtmlDocument& document,
                  COrvaneSettings& settings, CSrcObjectDatabase& registry, const std::string& fileName)
{
    CValidatorSheet sheet;
    sheet.SetObjectRegistry(&registry);
    sheet.SetSettings(&settings);
    sheet.SetDocumentPath(fileName);
    sheet.SetSkipAdvances(true);
    sheet.SetTrailingPage(false);
    for (CProblemEntry* entry : work)
        AddRepairPagesOf(sheet, document, *entry);
    TellOfProblemsWithoutPage(sheet);
    if (sheet.PageCount() > 0) {
        sheet.DoModal(&owner);
        RememberVerdicts(sheet, document, registry);
    }
}

bool RunSettingsFromOverview(platform::IWindow& owner) { return RunSettingsSheet(&owner) == 1; }

} // namespace orvane
