#include "element_td.h"

#include "library/html/attribute_table.h"

namespace orvane {

bool CElementTd::UsesColour() const
{
    const CAttribute* bgcolor = FindAttribute(attr::kBgcolor);
    return (bgcolor && !bgcolor->IsEmpty()) || CElement::UsesColour();
}

} // namespace orvane
