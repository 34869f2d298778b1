#include "element_frame.h"

#include "accessible_name.h"
#include "check_index.h"
#include "check_run.h"
#include "kind_positions.h"
#include "common/orvane_settings.h"
#include "repair_pages.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/registry/object_database.h"

#include "platform/services.h"

namespace orvane {

namespace {

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

std::string CElementFrame::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    if (bit == kLongdescBit)
        return platform::Strings().Get(kFramePageText);
    std::string text = "Frame #" + std::to_string(m_number) + " ";
    text += PageTextToUser(NonEmptyAttribute(*this, attr::kName), encoding);
    return text;
}

namespace {

constexpr std::string_view kPageExtensions[] = {"htm", "html", "shtm", "shtml", "cfm", "cfml", "asp", "cgi", "pl"};

} // namespace

// A frame shows a page, not a picture or a file of another kind.
bool CElementFrame::IsPageSource(std::string_view src)
{
    std::size_t dot = src.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    std::string_view extension = src.substr(dot + 1);
    for (std::string_view page : kPageExtensions) {
        if (EqualsIgnoreCase(extension, page))
            return true;
    }
    return false;
}

namespace {

bool FramesNeedDescription(const CHtmlDocument& document)
{
    const CSrcObjectDatabase* registry = document.ObjectRegistry();
    const CSrcDocument* known = registry ? registry->FindDocument(document.Name()) : nullptr;
    return known ? known->FramesNeedDescription() : true;
}

// One description serves the whole page, whichever frame carries it.
bool AnyFrameDescribed(const CHtmlDocument& document)
{
    return PageIndex<CKindPositions>(document)->AnyUndeleted(
        tag::kFrame, [](const CElement& frame) { return !NonEmptyAttribute(frame, attr::kLongdesc).empty(); });
}

} // namespace

int CElementFrame::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    std::uint32_t mask = 0;
    const CAttribute* title = FindAttribute(attr::kTitle);
    if (run.Runs(*this, kTitleBit) && (!title || title->IsEmpty() || title->IsBlank()) &&
        (!settings.GetAriaNames() || ComputeAccessibleName(document, *this).text.empty()))
        mask |= kTitleBit;
    const CAttribute* src = FindAttribute(attr::kSrc);
    if (run.Runs(*this, kSourceBit) && (!src || !IsPageSource(src->Value())))
        mask |= kSourceBit;
    // A page of more than two frames needs one description of how they relate:
    // the first frame checked reports it for all, unless a frame has one.
    if (run.Runs(*this, kLongdescBit) && document.FrameCount() > 2 && !document.FramesLongDescReported() &&
        !AnyFrameDescribed(document) && FramesNeedDescription(document)) {
        mask |= kLongdescBit;
        document.SetFramesLongDescReported(true);
    }
    return StoreProblems(*this, mask);
}

bool CElementFrame::PrepareRepairPage(RepairPageRequest& request)
{
    const int id = request.bit == kTitleBit ? attr::kTitle : request.bit == kLongdescBit ? attr::kLongdesc : attr::kSrc;
    request.attribute = AttributeToRepair(id);
    return request.attribute != nullptr;
}

} // namespace orvane
