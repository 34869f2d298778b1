#include "element_frameset.h"

namespace orvane {

namespace {

constexpr CheckInfo kFramesetChecks[] = {
    {.bit = 0x1, .name = "FramesetNoframes", .titleId = 161, .priority = 2,
     .repairPage = "CPageFramesetNoframes", .helpTopic = "6-5-1.html"},
    {.bit = 0x10000000, .name = "FramesetAbsoluteUnits", .titleId = 428, .titleSuffix = " - FRAMESET",
     .priority = 2, .reported = false},
};

} // namespace

std::span<const CheckInfo> CElementFrameset::CheckTable() const { return kFramesetChecks; }

std::string CElementFrameset::GetProblemText(std::uint32_t) const
{
    if (std::string_view title = NonEmptyAttribute(*this, attr::kTitle); !title.empty())
        return std::string(title);
    std::string text = "Frameset " + std::to_string(m_number);
    if (const CAttribute* rows = FindAttribute(attr::kRows))
        text += ", rows = " + rows->GetValue();
    if (const CAttribute* cols = FindAttribute(attr::kCols))
        text += ", cols = " + cols->GetValue();
    return text;
}

} // namespace orvane
