#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of an applet.
class CElementApplet : public CElement {
public:
};

} // namespace orvane
