#include "element_object.h"

#include "check_index.h"
#include "check_run.h"
#include "element_range.h"
#include "page_indexes.h"
#include "repair_pages.h"

#include "library/html/tag_table.h"

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
    if (run.Runs(*this, kTitleBit) && (!title || title->IsEmpty()))
        mask |= kTitleBit;
    if (run.Runs(*this, kAltRepBit) && !HasInnerAlternative(document, *this))
        mask |= kAltRepBit;
    return StoreProblems(*this, mask);
}

std::string MarkupOfRange(const CHtmlDocument& document, const CElement& element)
{
    const ElementRange range = RangeOf(document, element);
    if (!range.valid)
        return element.MarkupText();
    std::string markup;
    const auto& elements = document.Elements();
    for (std::size_t n = range.start; n <= range.end; ++n) {
        if (!elements[n]->IsDeleted())
            elements[n]->AppendMarkupText(markup);
    }
    return markup;
}

CElement* InsertedBeforeEndTag(CHtmlDocument& document, const CElement& element)
{
    if (!RangeOf(document, element).valid)
        return nullptr;
    ElementPtr text(new CElement);
    text->SetKind(kind::kText);
    text->SetDeleted(true);
    text->SetModified(true);
    CElement* made = text.get();
    return document.InsertBefore(element.Partner(), std::move(text)) ? made : nullptr;
}

// The object is shown as the page has it, with what it holds for browsers that
// cannot show it; an object without an end tag is its start tag alone. Its
// alternative goes right before its end tag: an object without one has no
// place for it, and its problem is told without a page.
bool CElementObject::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit == kAltRepBit) {
        if (!m_alternative)
            m_alternative = InsertedBeforeEndTag(request.document, *this);
        if (!m_alternative)
            return false;
        request.insertedElement = m_alternative;
    request.lineEnd = PageLineEnd(request.document);
        request.objectMarkup = MarkupOfRange(request.document, *this);
        return true;
    }
    if (request.bit != kTitleBit)
        return true;
    request.attribute = AttributeToRepair(attr::kTitle);
    if (!request.attribute)
        return false;
    request.objectMarkup = MarkupOfRange(request.document, *this);
    return true;
}

} // namespace orvane
