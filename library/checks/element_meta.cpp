#include "element_meta.h"

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

} // namespace orvane
