#include "element_anchor.h"

namespace orvane {

void CElementAnchor::AttachInner(CElement& inner) { m_inner.push_back(&inner); }

} // namespace orvane
