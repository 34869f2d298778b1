#include "element_applet.h"

#include "check_run.h"
#include "element_object.h"
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
        std::string_view key = NonEmptyAttribute(*this, attr::kCode);
        if (key.empty())
            key = NonEmptyAttribute(*this, attr::kObject);
        const CSrcApplet* known = registry->FindApplet(document.Name(), key);
        bool described = known && known->IsDescribed();
        if (!described && !HasInnerAlternative(document, *this))
            mask |= 0x1;
    }
    return StoreProblems(*this, mask);
}

} // namespace orvane
