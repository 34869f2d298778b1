#include "check_catalogue.h"

#include "family_factory.h"
#include "library/html/tag_table.h"

namespace orvane {

std::vector<ElementPtr> CreateCatalogueFamilies()
{
    std::vector<ElementPtr> families;
    families.reserve(kCatalogueFamilies.size());
    for (int kind : kCatalogueFamilies) {
        ElementPtr family(CFamilyElementFactory::Instance().Create(kind, nullptr));
        family->SetKind(kind);
        families.push_back(std::move(family));
    }
    return families;
}

void CCheckCatalogue::ForEachFamily(const std::function<void(const CElement& family)>& visit) const
{
    for (const ElementPtr& family : CreateCatalogueFamilies())
        visit(*family);
}

const CCheckCatalogue& CCheckCatalogue::Instance()
{
    static const CCheckCatalogue catalogue;
    return catalogue;
}

int ReportedKind(const CElement& element) { return element.Kind() == tag::kXmp ? tag::kPre : element.Kind(); }

bool CheckApplies(const CElement& element, const COrvaneSettings& settings, std::uint32_t bit)
{
    return settings.CheckApplies(ReportedKind(element), bit, element.GetPriority(bit), element.IsSection508(bit));
}

int AutoRepairSetting(const CElement& element, const COrvaneSettings& settings, std::uint32_t bit)
{
    return settings.GetAutoRepairMode(ReportedKind(element), bit);
}

} // namespace orvane
