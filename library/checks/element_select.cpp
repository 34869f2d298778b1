#include "element_select.h"

namespace orvane {

namespace {

constexpr CheckInfo kSelectChecks[] = {
    {.bit = 0x20000000, .name = "SelectNoLabel", .titleId = 394, .titleSuffix = " - SELECT", .priority = 2,
     .repairPage = "CPageLabelMissing", .helpTopic = "12-4-1.html"},
};

} // namespace

std::span<const CheckInfo> CElementSelect::CheckTable() const { return kSelectChecks; }

std::string CElementSelect::GetProblemText(std::uint32_t) const
{
    std::string text = "select control";
    if (std::string_view name = NonEmptyAttribute(*this, attr::kName); !name.empty())
        text += " - " + std::string(name);
    return text;
}

} // namespace orvane
