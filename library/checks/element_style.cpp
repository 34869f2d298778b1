#include "element_style.h"

namespace orvane {

void CElementStyle::AttachInner(CElement& inner) { m_inner.push_back(&inner); }

// The family has no checks of its own.
std::span<const CheckInfo> CElementStyle::CheckTable() const { return {}; }

} // namespace orvane
