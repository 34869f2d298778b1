#include "element_blink.h"

#include "check_run.h"

#include "library/html/html_document.h"

namespace orvane {

namespace {

constexpr CheckInfo kBlinkChecks[] = {
    {.bit = 0x1, .name = "BlinkMarquee", .titleId = 179, .priority = 2, .autoRepair = true,
     .repairPage = "CPageBlink", .helpTopic = "7-2-1.html"},
};

} // namespace

void CElementBlink::CollectText(std::string_view trimmed)
{
    if (trimmed.empty())
        return;
    if (!m_collectedText.empty())
        m_collectedText.push_back(' ');
    m_collectedText.append(trimmed);
}

int CElementBlink::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    return StoreProblems(*this, run.Runs(*this, 0x1) ? 0x1 : 0);
}

std::span<const CheckInfo> CElementBlink::CheckTable() const { return kBlinkChecks; }

namespace {
ElementPtr DeletedTag()
{
    ElementPtr tag(new CElement);
    tag->SetDeleted(true);
    tag->SetModified(true);
    return tag;
}
} // namespace

bool CElementBlink::PrepareRepairPage(RepairPageRequest& request)
{
    if (!m_replacement) {
        ElementPtr start = DeletedTag();
        CElement* made = start.get();
        if (!request.document.InsertAfter(this, std::move(start)))
            return false;
        if (CElement* end = Partner()) {
            ElementPtr closing = DeletedTag();
            CElement* madeEnd = closing.get();
            // The start tag, deleted, writes nothing: the page is not made.
            if (!request.document.InsertBefore(end, std::move(closing)))
                return false;
            made->SetPartner(madeEnd);
            madeEnd->SetPartner(made);
        }
        m_replacement = made;
    }
    request.insertedElement = m_replacement;
    return true;
}

} // namespace orvane
