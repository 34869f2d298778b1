#include "element_th.h"

#include "library/html/attribute_table.h"

namespace orvane {

bool CElementTh::UsesColour() const
{
    const CAttribute* bgcolor = FindAttribute(attr::kBgcolor);
    return (bgcolor && !bgcolor->IsEmpty()) || CElement::UsesColour();
}

} // namespace orvane
