#include "element_select.h"

#include "accessible_name.h"
#include "check_run.h"
#include "common/orvane_settings.h"
#include "label_finder.h"
#include "repair_pages.h"

namespace orvane {

namespace {

constexpr CheckInfo kSelectChecks[] = {
    {.bit = 0x20000000, .name = "SelectNoLabel", .titleId = 394, .titleSuffix = " - SELECT", .priority = 2,
     .repairPage = "CPageLabelMissing", .helpTopic = "12-4-1.html"},
};

} // namespace

std::span<const CheckInfo> CElementSelect::CheckTable() const { return kSelectChecks; }

std::string CElementSelect::GetProblemText(std::uint32_t bit) const
{
    std::string text = "select control";
    if (std::string_view name = NonEmptyAttribute(*this, attr::kName); !name.empty())
        text += " - " + std::string(name);
    if (bit == 0x20000000)
        AppendMissingReference(text, m_missingReference);
    return text;
}

namespace {

constexpr std::uint32_t kNoLabelBit = 0x20000000;

} // namespace

int CElementSelect::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    std::uint32_t mask = 0;
    // Asked at every level filter: only the conformance target decides. How
    // far the label stands is not judged for a selection list.
    m_missingReference.clear();
    if (run.Applies(*this, kNoLabelBit) &&
        LacksLabel(document, *this, FindLabel(*this, document).hasLabel, settings.GetAriaNames(), m_missingReference))
        mask |= kNoLabelBit;
    return StoreProblems(*this, mask);
}

bool CElementSelect::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit != kNoLabelBit)
        return true;
    return PrepareLabelRepair(*this, request, m_labelRepair, AttributeToRepair(attr::kId),
                              AttributeToRepair(attr::kTitle));
}

} // namespace orvane
