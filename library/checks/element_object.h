#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of an embedded object.
class CElementObject : public CElement {
public:
};

} // namespace orvane
