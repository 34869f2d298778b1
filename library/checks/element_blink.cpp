#include "element_blink.h"

#include "check_run.h"

namespace orvane {

namespace {

constexpr CheckInfo kBlinkChecks[] = {
    {.bit = 0x1, .name = "BlinkMarquee", .titleId = 179, .priority = 2, .autoRepair = true,
     .repairPage = "CPageBlink", .helpTopic = "7-2-1.html"},
};

} // namespace

void CElementBlink::CollectText(std::string_view trimmed)
{
    if (trimmed.empty())
        return;
    if (!m_collectedText.empty())
        m_collectedText.push_back(' ');
    m_collectedText.append(trimmed);
}

int CElementBlink::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    return StoreProblems(*this, run.Runs(*this, 0x1) ? 0x1 : 0);
}

std::span<const CheckInfo> CElementBlink::CheckTable() const { return kBlinkChecks; }

} // namespace orvane
