#include "element_html.h"

namespace orvane {

namespace {

constexpr CheckInfo kHtmlChecks[] = {
    {.bit = 0x1, .name = "UsingColor", .titleId = 382, .priority = 1, .section508 = true, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "2-1-1.html", .warningTextId = 381,
     .problemTextId = 611},
    {.bit = 0x2, .name = "MissingLanguage", .titleId = 271, .priority = 3, .autoRepair = true,
     .repairPage = "CPageLangMissing", .helpTopic = "4-3-1.html", .problemTextId = 278},
    {.bit = 0x4, .name = "NestedHeaders", .titleId = 226, .priority = 2, .repairPage = "CPageHeadings",
     .helpTopic = "3-5-1.html", .problemTextId = 612},
    {.bit = 0x8, .name = "PotentialHeaders", .titleId = 231, .priority = 2,
     .repairPage = "CPageHeadingsMaybe", .helpTopic = "3-5-2.html", .problemTextId = 613},
    {.bit = 0x10, .name = "PotentialQuote", .inMask = false, .reported = false},
    {.bit = 0x20, .name = "QuoteFormat", .repairPage = "CPageQuoteMaybe", .inMask = false, .reported = false},
    {.bit = 0x80, .name = "CheckFlicker", .titleId = 388, .priority = 1, .repairPage = "CPageFlicker",
     .helpTopic = "7-1-1.html", .warningHelpTopic = "7-1-1.html", .warningTextId = 392, .problemTextId = 614},
};

} // namespace

std::span<const CheckInfo> CElementHtml::CheckTable() const { return kHtmlChecks; }

} // namespace orvane
