#include "element_object.h"

#include "check_index.h"
#include "check_run.h"
#include "element_range.h"
#include "page_indexes.h"

namespace orvane {

namespace {

constexpr CheckInfo kObjectChecks[] = {
    {.bit = 0x1, .name = "ObjectAudio", .titleId = 380, .priority = 1, .reported = false},
    {.bit = 0x2, .name = "ObjectAltRep", .titleId = 255, .priority = 1, .section508 = true,
     .repairPage = "CPageObjectAltRep", .helpTopic = "1-1-5.html"},
    {.bit = 0x4, .name = "ObjectTitle", .titleId = 146, .priority = 2, .repairPage = "CPageObjectTitle",
     .helpTopic = "ObjectMissingTitle.html"},
};

} // namespace

std::span<const CheckInfo> CElementObject::CheckTable() const { return kObjectChecks; }

// Something inside the element stands in for it: an image, a text longer than
// 10 characters, or a link with an address.
bool HasInnerAlternative(const CHtmlDocument& document, const CElement& element)
{
    ElementRange range = RangeOf(document, element);
    return range.valid && PageIndex<CInnerAlternativeIndex>(document)->AnyBetween(range.start, range.end);
}

int CElementObject::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    std::uint32_t mask = 0;
    const CAttribute* title = FindAttribute(attr::kTitle);
    if (run.Runs(*this, 0x4) && (!title || title->IsEmpty()))
        mask |= 0x4;
    if (run.Runs(*this, 0x2) && !HasInnerAlternative(document, *this))
        mask |= 0x2;
    return StoreProblems(*this, mask);
}

} // namespace orvane
