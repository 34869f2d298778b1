#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of a heading h1 to h6 (its kind tells the level).
class CElementHeader : public CElement {
public:
};

} // namespace orvane
