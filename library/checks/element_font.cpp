#include "element_font.h"

namespace orvane {

// The family has no checks of its own.
std::span<const CheckInfo> CElementFont::CheckTable() const { return {}; }

} // namespace orvane
