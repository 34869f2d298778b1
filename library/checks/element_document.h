#pragma once

#include "library/html/element.h"

namespace orvane {

// The element family of the page as a whole: the document-level checks.
class CElementDocument : public CElement {
public:
};

} // namespace orvane
