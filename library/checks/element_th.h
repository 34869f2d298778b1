#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of a table header cell.
class CElementTh : public CElement {
public:
};

} // namespace orvane
