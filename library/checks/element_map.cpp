#include "element_map.h"

#include "accessible_name.h"
#include "check_run.h"
#include "common/orvane_settings.h"
#include "element_area.h"
#include "image_checks.h"
#include "library/html/html_document.h"
#include "library/html/image_map.h"
#include "library/html/tag_table.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr CheckInfo kMapChecks[] = {
    {.bit = 0x1, .name = "MapAltText", .titleId = 136, .priority = 1, .section508 = true,
     .repairPage = "CPageMapAreaAlt", .helpTopic = "1-1-9.html"},
};

} // namespace

std::span<const CheckInfo> CElementMap::CheckTable() const { return kMapChecks; }

std::string CElementMap::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    const CAttribute* name = FindAttribute(attr::kName);
    return name ? PageTextToUser(name->Value(), encoding) : CCatalogueElement::GetProblemText(bit, encoding);
}

namespace {

constexpr std::uint32_t kAreaAltTextBit = 0x1;
// Not checked: the map has no name, or no model of its areas.
constexpr int kNotChecked = 4;

// Whether the page's iteration has just handed out this element: the last
// element before its position that is not deleted is the element itself.
bool IterationJustPast(const CHtmlDocument& document, const CElement& element)
{
    std::size_t index = document.ReadingPosition() ? document.IndexOf(*document.ReadingPosition()) : document.Size();
    while (index > 0) {
        const CElement* e = document.At(--index);
        if (!e->IsDeleted())
            return e == &element;
    }
    return false;
}

// Steps the iteration over the map's areas and the texts and comments
// between them, and over the map's end tag; it stops before anything else.
void SkipMapContents(CHtmlDocument& document, const CElement& map)
{
    // Only the walk that just reached this map is moved; another one going
    // on over the page (writing it back, say) is left alone.
    if (!IterationJustPast(document, map))
        return;
    while (const CElement* e = document.NextUndeleted()) {
        if (e->Kind() == tag::kMap + kind::kEndOffset)
            return;
        if (e->Kind() != tag::kArea && e->Kind() >= 0) {
            document.PreviousUndeleted();
            return;
        }
    }
}

} // namespace

int CElementMap::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    const CAttribute* name = FindAttribute(attr::kName);
    if (!name || name->IsEmpty())
        return kNotChecked;
    SkipMapContents(document, *this);
    CCheckRun run{settings, document, applyLevel};
    if (!run.Runs(*this, kAreaAltTextBit))
        return 0;
    const CImageMap* map = FindMap(document, name->Value());
    if (!map)
        return kNotChecked;
    // The mask is this check's finding alone, so a map checked again after
    // its areas were given texts comes out clean.
    bool named = PassesAreasAlternativesTest(*map);
    if (!named && settings.GetAriaNames()) {
        named = std::all_of(map->Areas().begin(), map->Areas().end(), [&](const CElement* area) {
            const CAttribute* alt = area->FindAttribute(attr::kAlt);
            if (alt && !alt->IsEmpty())
                return true;
            const AccessibleName areaName = ComputeAccessibleName(document, *area);
            return areaName.hidden || !areaName.text.empty();
        });
    }
    return StoreProblems(*this, named ? 0 : kAreaAltTextBit);
}

bool CElementMap::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit != kAreaAltTextBit)
        return true;
    const CAttribute* name = FindAttribute(attr::kName);
    CImageMap* map = name ? FindMap(request.document, name->Value()) : nullptr;
    if (!map || map->Areas().empty())
        return false;
    for (CElement* e : map->Areas()) {
        auto* area = dynamic_cast<CElementArea*>(e);
        if (!area || !area->AltToRepair())
            return false;
    }
    request.imageMap = map;
    const CElement* image = map->Image();
    const CAttribute* src = image ? image->FindAttribute(attr::kSrc) : nullptr;
    request.imageSource = src ? src->Value() : std::string_view();
    return true;
}

} // namespace orvane
