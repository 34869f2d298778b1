#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of a selection list.
class CElementSelect : public CElement {
public:
};

} // namespace orvane
