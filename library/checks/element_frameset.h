#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of a frameset.
class CElementFrameset : public CElement {
public:
    void SetOrdinal(int number) override { m_number = number; }
    // 1 for the page's first frameset, 2 for the second, ...
    int FramesetNumber() const { return m_number; }

private:
    int m_number = 0;
};

} // namespace orvane
