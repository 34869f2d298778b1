#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of a font element.
class CElementFont : public CElement {
public:
};

} // namespace orvane
