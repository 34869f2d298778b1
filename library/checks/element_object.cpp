#include "element_object.h"

namespace orvane {

namespace {

constexpr CheckInfo kObjectChecks[] = {
    {.bit = 0x1, .name = "ObjectAudio", .titleId = 380, .priority = 1, .reported = false},
    {.bit = 0x2, .name = "ObjectAltRep", .titleId = 255, .priority = 1, .section508 = true,
     .repairPage = "CPageObjectAltRep", .helpTopic = "1-1-5.html"},
    {.bit = 0x4, .name = "ObjectTitle", .titleId = 146, .priority = 2, .repairPage = "CPageObjectTitle",
     .helpTopic = "ObjectMissingTitle.html"},
};

} // namespace

std::span<const CheckInfo> CElementObject::CheckTable() const { return kObjectChecks; }

} // namespace orvane
