#include "element_header.h"

namespace orvane {

namespace {

constexpr CheckInfo kHeaderChecks[] = {
    {.bit = 0x1, .name = "HeaderFormatting", .titleId = 400, .priority = 2, .repairPage = "CPageHeaderFormat",
     .helpTopic = "3-5-3.html"},
};

} // namespace

std::span<const CheckInfo> CElementHeader::CheckTable() const { return kHeaderChecks; }

} // namespace orvane
