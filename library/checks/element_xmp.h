#pragma once

#include "element_pre.h"

namespace orvane {

// The element family of example text (xmp): it has the checks of preformatted
// text and is reported as such.
class CElementXmp : public CElementPre {
public:
};

} // namespace orvane
