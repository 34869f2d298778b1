#include "element_input.h"

namespace orvane {

namespace {

constexpr CheckInfo kInputChecks[] = {
    {.bit = 0x1, .name = "InputAltText", .titleId = 141, .priority = 1, .repairPage = "CPageInputAltText",
     .helpTopic = "1-1-3.html"},
    {.bit = 0x2, .name = "InputAltTextLong", .titleId = 316, .priority = 1, .repairPage = "CPageInputAltText",
     .helpTopic = "1-1-3.html"},
    {.bit = 0x4, .name = "InputAltTextSuspicious", .titleId = 319, .priority = 1,
     .repairPage = "CPageInputAltText", .helpTopic = "1-1-3.html"},
    {.bit = 0x8, .name = "InputMissingDefault", .titleId = 393, .priority = 3,
     .repairPage = "CPageInputDefaultText", .helpTopic = "10-4-1.html"},
    {.bit = 0x20000000, .name = "InputMissingLabel", .titleId = 394, .titleSuffix = " - INPUT", .priority = 2,
     .repairPage = "CPageLabelMissing", .helpTopic = "12-4-1.html"},
    {.bit = 0x40000000, .name = "InputFarLabel", .titleId = 432, .priority = 2,
     .repairPage = "CPageLabelFarAway", .helpTopic = "10-2-1.html"},
};

} // namespace

std::span<const CheckInfo> CElementInput::CheckTable() const { return kInputChecks; }

std::string CElementInput::GetProblemText(std::uint32_t) const
{
    std::string text;
    if (const CAttribute* src = FindAttribute(attr::kSrc))
        text = src->GetValue();
    else if (std::string_view type = NonEmptyAttribute(*this, attr::kType); !type.empty())
        text = std::string(type) + " control";
    else
        text = "input control";
    if (std::string_view name = NonEmptyAttribute(*this, attr::kName); !name.empty())
        text += " - " + std::string(name);
    return text;
}

} // namespace orvane
