#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of a table data cell.
class CElementTd : public CElement {
public:
    // A cell with a background colour of its own.
    bool UsesColour() const override;
};

} // namespace orvane
