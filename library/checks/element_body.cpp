#include "element_body.h"

namespace orvane {

namespace {

constexpr CheckInfo kBodyChecks[] = {
    {.bit = 0x1, .name = "BodyLanguageChange", .titleId = 283, .priority = 1, .section508 = true,
     .grouped = false, .repairPage = "CPageWarnings", .warningHelpTopic = "4-1-1.html", .warningTextId = 285},
    {.bit = 0x2, .name = "BodyColorContrst", .titleId = 443, .priority = 3, .repairPage = "CPageBodyColor",
     .helpTopic = "2-2-1.html"},
    {.bit = 0x4, .name = "AbbrevAcronym", .titleId = 458, .priority = 3, .reported = false},
    {.bit = 0x8, .name = "DeprecatedHtml", .repairPage = "CPageDeprecatedHtml", .inMask = false,
     .reported = false},
    {.bit = 0x10, .name = "LinksSkipover", .titleId = 472, .priority = 3, .section508 = true,
     .repairPage = "CPageBodySkipLinks", .helpTopic = "13-6-2.html"},
};

} // namespace

std::span<const CheckInfo> CElementBody::CheckTable() const { return kBodyChecks; }

} // namespace orvane
