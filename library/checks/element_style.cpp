#include "element_style.h"

namespace orvane {

void CElementStyle::AttachInner(CElement& inner) { m_inner.push_back(&inner); }

} // namespace orvane
