#include "element_area.h"

namespace orvane {

// The family has no checks of its own.
std::span<const CheckInfo> CElementArea::CheckTable() const { return {}; }

} // namespace orvane
