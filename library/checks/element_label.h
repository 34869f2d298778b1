#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of a label (and head, which shares its kind).
class CElementLabel : public CElement {
public:
};

} // namespace orvane
