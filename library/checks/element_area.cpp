#include "element_area.h"

#include "library/html/attribute_table.h"

namespace orvane {

// The family has no checks of its own.
std::span<const CheckInfo> CElementArea::CheckTable() const { return {}; }

CAttribute* CElementArea::AltToRepair() { return AttributeToRepair(attr::kAlt); }

} // namespace orvane
