#pragma once

#include "library/html/element.h"
#include <vector>

namespace orvane {

// The element family of a link (a).
class CElementAnchor : public CElement {
public:
    void AttachInner(CElement& inner) override;
    // The texts and images inside the link, in document order (not owned).
    const std::vector<CElement*>& Inner() const { return m_inner; }

private:
    std::vector<CElement*> m_inner;
};

} // namespace orvane
