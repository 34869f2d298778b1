#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of a table.
class CElementTable : public CElement {
public:
};

} // namespace orvane
