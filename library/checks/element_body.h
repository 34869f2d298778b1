#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of the page body.
class CElementBody : public CElement {
public:
};

} // namespace orvane
