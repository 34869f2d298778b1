#include "element_select.h"

#include "check_run.h"
#include "repair_pages.h"

namespace orvane {

namespace {

constexpr CheckInfo kSelectChecks[] = {
    {.bit = 0x20000000, .name = "SelectNoLabel", .titleId = 394, .titleSuffix = " - SELECT", .priority = 2,
     .repairPage = "CPageLabelMissing", .helpTopic = "12-4-1.html"},
};

} // namespace

std::span<const CheckInfo> CElementSelect::CheckTable() const { return kSelectChecks; }

std::string CElementSelect::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    return ControlProblemText("select", bit, encoding);
}

int CElementSelect::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    return StoreProblems(*this, NoLabelProblem(run));
}

bool CElementSelect::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit != kNoLabelBit)
        return true;
    return PrepareNoLabelRepair(request);
}

} // namespace orvane
