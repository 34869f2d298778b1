#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of a meta element.
class CElementMeta : public CElement {
public:
};

} // namespace orvane
