#include "element_img.h"

namespace orvane {

void CElementImg::SetEnclosingAnchor(CElement& anchor)
{
    m_insideAnchor = true;
    m_anchor = &anchor;
}

} // namespace orvane
