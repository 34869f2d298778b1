#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of a form input.
class CElementInput : public CElement {
public:
};

} // namespace orvane
