#include "element_frameset.h"

namespace orvane {

} // namespace orvane
