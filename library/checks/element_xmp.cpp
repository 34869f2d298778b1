#include "element_xmp.h"

namespace orvane {
} // namespace orvane
