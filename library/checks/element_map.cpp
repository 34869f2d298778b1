#include "element_map.h"

namespace orvane {

namespace {

constexpr CheckInfo kMapChecks[] = {
    {.bit = 0x1, .name = "MapAltText", .titleId = 136, .priority = 1, .section508 = true,
     .repairPage = "CPageMapAreaAlt", .helpTopic = "1-1-9.html"},
};

} // namespace

std::span<const CheckInfo> CElementMap::CheckTable() const { return kMapChecks; }

std::string CElementMap::GetProblemText(std::uint32_t bit) const
{
    const CAttribute* name = FindAttribute(attr::kName);
    return name ? name->GetValue() : CCatalogueElement::GetProblemText(bit);
}

} // namespace orvane
