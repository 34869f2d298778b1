#include "element_applet.h"

namespace orvane {

namespace {

constexpr CheckInfo kAppletChecks[] = {
    {.bit = 0x1, .name = "AppletAltText", .titleId = 135, .priority = 1, .section508 = true,
     .repairPage = "CPageAppletAltText", .helpTopic = "1-1-4.html"},
};

} // namespace

std::span<const CheckInfo> CElementApplet::CheckTable() const { return kAppletChecks; }

} // namespace orvane
