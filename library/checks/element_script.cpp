#include "element_script.h"

namespace orvane {

void CElementScript::AttachInner(CElement& inner) { m_inner.push_back(&inner); }

} // namespace orvane
