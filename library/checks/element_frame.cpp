#include "element_frame.h"

#include "platform/services.h"

namespace orvane {

namespace {

constexpr std::uint32_t kLongdescBit = 0x2;
// Long descriptions are judged for the frame page as a whole.
constexpr int kFramePageText = 367;

constexpr CheckInfo kFrameChecks[] = {
    {.bit = 0x1, .name = "FrameTitle", .titleId = 139, .priority = 1, .section508 = true,
     .repairPage = "CPageFrameTitle", .helpTopic = "12-1-1.html"},
    {.bit = 0x2, .name = "FrameLongdesc", .titleId = 138, .priority = 2, .repairPage = "CPageFrameLongDesc",
     .helpTopic = "1-1-8.html"},
    {.bit = 0x4, .name = "FrameSource", .titleId = 195, .priority = 1, .repairPage = "CPageFrameSource",
     .helpTopic = "6-2-1.html"},
};

} // namespace

std::span<const CheckInfo> CElementFrame::CheckTable() const { return kFrameChecks; }

std::string CElementFrame::GetProblemText(std::uint32_t bit) const
{
    if (bit == kLongdescBit)
        return platform::Strings().Get(kFramePageText);
    std::string text = "Frame #" + std::to_string(m_number) + " ";
    text += NonEmptyAttribute(*this, attr::kName);
    return text;
}

} // namespace orvane
