#include "element_label.h"

namespace orvane {

// The family has no checks of its own.
std::span<const CheckInfo> CElementLabel::CheckTable() const { return {}; }

} // namespace orvane
