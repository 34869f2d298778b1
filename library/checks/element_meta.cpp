#include "element_meta.h"

#include "check_run.h"
#include "library/html/text_util.h"

namespace orvane {

namespace {

constexpr CheckInfo kMetaChecks[] = {
    {.bit = 0x1, .name = "MapRefresh", .titleId = 222, .priority = 2, .autoRepair = true,
     .repairPage = "CPageMetaRefresh", .helpTopic = "7-4-1.html"},
    {.bit = 0x2, .name = "MapRedirect", .titleId = 223, .priority = 2, .autoRepair = true,
     .repairPage = "CPageMetaRedirect", .helpTopic = "7-5-1.html"},
};

} // namespace

std::span<const CheckInfo> CElementMeta::CheckTable() const { return kMetaChecks; }

int CElementMeta::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    const CAttribute* equiv = FindAttribute(attr::kHttpEquiv);
    if (!equiv)
        return StoreProblems(*this, 0);
    CCheckRun run{settings, document, applyLevel};
    const bool refresh = EqualsIgnoreCase(equiv->Value(), "refresh");
    const CAttribute* content = FindAttribute(attr::kContent);
    const long long seconds = content ? LeadingDecimal(content->Value()) : 0;
    std::uint32_t mask = 0;
    if (run.Runs(*this, 0x2) && refresh && content && seconds == 0 && !content->IsEmpty())
        mask |= 0x2;  // an immediate redirect
    if (run.Runs(*this, 0x1) && refresh && seconds > 0)
        mask |= 0x1;  // a timed refresh
    return StoreProblems(*this, mask);
}

} // namespace orvane
