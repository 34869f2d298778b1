#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of an image map area.
class CElementArea : public CElement {
public:
};

} // namespace orvane
