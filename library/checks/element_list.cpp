#include "element_list.h"

namespace orvane {

namespace {

constexpr CheckInfo kListChecks[] = {
    {.bit = 0x1, .name = "ListForFormat", .titleId = 422, .priority = 2, .repairPage = "CPageListFormat",
     .helpTopic = "3-6-1.html"},
};

} // namespace

std::span<const CheckInfo> CElementList::CheckTable() const { return kListChecks; }

} // namespace orvane
