#pragma once

#include "library/html/element.h"

namespace orvane {

// A paragraph (p). It carries no checks of its own; the page-wide heading
// check marks the paragraphs that look like headings.
class CElementParagraph : public CElement {
public:
    bool IsPotentialHeading() const { return m_potentialHeading; }
    void SetPotentialHeading(bool mark) { m_potentialHeading = mark; }

private:
    bool m_potentialHeading = false;
};

} // namespace orvane
