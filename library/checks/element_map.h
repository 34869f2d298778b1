#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of a client-side image map.
class CElementMap : public CElement {
public:
};

} // namespace orvane
