#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of the html element.
class CElementHtml : public CElement {
public:
};

} // namespace orvane
