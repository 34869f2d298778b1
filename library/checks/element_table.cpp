#include "element_table.h"

namespace orvane {

namespace {

constexpr CheckInfo kTableChecks[] = {
    {.bit = 0x1, .name = "TableSummary", .titleId = 190, .priority = 3, .repairPage = "CPageTableSummary",
     .helpTopic = "5-5-1.html"},
    {.bit = 0x2, .name = "TableHeaders", .titleId = 177, .priority = 1, .section508 = true,
     .repairPage = "CPageTableHeader", .helpTopic = "5-1-2.html"},
    {.bit = 0x4, .name = "TableAbbreviations", .titleId = 178, .priority = 3,
     .repairPage = "CPageTableHeaderAbbrev", .helpTopic = "5-6-1.html"},
    {.bit = 0x8, .name = "TableMultipleTH", .titleId = 290, .priority = 1, .section508 = true,
     .repairPage = "CPageTableMultilevel", .helpTopic = "5-2-1.html"},
    {.bit = 0x10, .name = "TableLinearize", .titleId = 291, .priority = 2,
     .repairPage = "CPageTableLinearize", .helpTopic = "5-3-1.html"},
    {.bit = 0x20, .name = "TableStructMarkup", .titleId = 294, .priority = 2, .section508 = true,
     .repairPage = "CPageTableStructualMarkup", .helpTopic = "5-4-1.html"},
    {.bit = 0x40, .titleId = 187, .priority = -1, .inMask = false, .reported = false},
    {.bit = 0x80, .name = "TableCaption", .titleId = 191, .priority = 2, .repairPage = "CPageTableCaption",
     .helpTopic = "5-5-2.html"},
    {.bit = 0x10000000, .name = "TableAbsoluteUnits", .titleId = 428, .titleSuffix = " - TABLE",
     .priority = 2, .reported = false},
};

} // namespace

std::span<const CheckInfo> CElementTable::CheckTable() const { return kTableChecks; }

} // namespace orvane
