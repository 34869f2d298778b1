#pragma once

#include "library/html/element.h"
#include <vector>

namespace orvane {

// The element family of a script.
class CElementScript : public CElement {
public:
    void AttachInner(CElement& inner) override;
    // The texts and comment pieces inside the script, in document order (not owned).
    const std::vector<CElement*>& Inner() const { return m_inner; }

private:
    std::vector<CElement*> m_inner;
};

} // namespace orvane
