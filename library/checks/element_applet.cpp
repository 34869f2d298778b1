#include "element_applet.h"

#include "check_run.h"
#include "element_object.h"
#include "repair_pages.h"
#include "library/html/html_document.h"
#include "library/registry/object_database.h"

namespace orvane {

namespace {

constexpr CheckInfo kAppletChecks[] = {
    {.bit = 0x1, .name = "AppletAltText", .titleId = 135, .priority = 1, .section508 = true,
     .repairPage = "CPageAppletAltText", .helpTopic = "1-1-4.html"},
};

} // namespace

std::span<const CheckInfo> CElementApplet::CheckTable() const { return kAppletChecks; }

int CElementApplet::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    std::uint32_t mask = 0;
    const CSrcObjectDatabase* registry = document.ObjectRegistry();
    if (registry && run.Runs(*this, 0x1)) {
        const CSrcApplet* known = registry->FindApplet(document.Name(), document.ComparedText(AppletKey()));
        bool described = known && known->IsDescribed();
        if (!described && !HasInnerAlternative(document, *this))
            mask |= 0x1;
    }
    return StoreProblems(*this, mask);
}

std::string CElementApplet::AppletKey() const
{
    std::string_view key = NonEmptyAttribute(*this, attr::kCode);
    if (key.empty())
        key = NonEmptyAttribute(*this, attr::kObject);
    return std::string(key);
}

// The text alternative goes into the alt attribute (made hidden when missing)
// and, for browsers that run no applets, right before the end tag: an applet
// without one has no place for it, and its problem is told without a page.
bool CElementApplet::PrepareRepairPage(RepairPageRequest& request)
{
    if (!m_alternative)
        m_alternative = InsertedBeforeEndTag(request.document, *this);
    request.attribute = m_alternative ? AttributeToRepair(attr::kAlt) : nullptr;
    if (!request.attribute)
        return false;
    request.insertedElement = m_alternative;
    request.lineEnd = PageLineEnd(request.document);
    request.objectMarkup = MarkupOfRange(request.document, *this);
    return true;
}

} // namespace orvane
