#include "element_document.h"

namespace orvane {

namespace {

constexpr CheckInfo kDocumentChecks[] = {
    {.bit = 0x1, .name = "DoctypeMissing", .titleId = 396, .priority = 2, .autoRepair = true,
     .repairPage = "CPageDoctypeBad", .helpTopic = "3-2-1.html", .problemTextId = 601},
    {.bit = 0x2, .name = "NoStylesheets", .titleId = 398, .priority = 2, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "3-3-1.html", .warningTextId = 399,
     .problemTextId = 602},
    {.bit = 0x4, .name = "UsingStyle", .titleId = 385, .priority = 1, .section508 = true, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "6-1-1.html", .warningTextId = 387,
     .problemTextId = 603},
    {.bit = 0x8, .name = "TextLinks", .titleId = 402, .priority = 2, .repairPage = "CPageAnchorTextlink",
     .helpTopic = "13-1-1.html", .problemTextId = 604},
    {.bit = 0x10, .name = "DynamicEquivalents", .titleId = 414, .priority = 1, .section508 = true,
     .grouped = false, .repairPage = "CPageWarnings", .warningHelpTopic = "6-2-2.html", .warningTextId = 415,
     .problemTextId = 605},
    {.bit = 0x20, .name = "UsableWithoutProgram", .titleId = 416, .priority = 1, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "6-3-1.html", .warningTextId = 417,
     .problemTextId = 606},
    {.bit = 0x40, .name = "ProgramAccessible", .titleId = 418, .priority = 1, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "8-1-1.html", .warningTextId = 419,
     .problemTextId = 607},
    {.bit = 0x80, .name = "DeviceDependent", .titleId = 423, .priority = 2, .autoRepair = true,
     .repairPage = "CPageDeviceDependent", .helpTopic = "9-3-1.html", .problemTextId = 608},
    {.bit = 0x100, .name = "MultiMedia", .titleId = 470, .priority = 1, .section508 = true, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "4-1-1.html", .warningTextId = 471,
     .problemTextId = 609},
    {.bit = 0x200, .name = "Metadata", .titleId = 420, .priority = 1, .repairPage = "CPageMetadata",
     .helpTopic = "13-2-1.html", .problemTextId = 610},
};

} // namespace

std::span<const CheckInfo> CElementDocument::CheckTable() const { return kDocumentChecks; }

} // namespace orvane
