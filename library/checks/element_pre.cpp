#include "element_pre.h"

namespace orvane {

namespace {

constexpr CheckInfo kPreChecks[] = {
    {.bit = 0x1, .name = "AsciiArtDescription", .titleId = 296, .priority = 1, .section508 = true,
     .repairPage = "CPageAsciiArtDescription", .helpTopic = "1-1-12.html"},
    {.bit = 0x2, .name = "AsciiArtSkipover", .titleId = 301, .priority = 3, .repairPage = "CPageAsciiArtSkip",
     .helpTopic = "13-10-1.html"},
};

} // namespace

std::span<const CheckInfo> CElementPre::CheckTable() const { return kPreChecks; }

} // namespace orvane
