#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of preformatted text.
class CElementPre : public CElement {
public:
};

} // namespace orvane
