#include "element_map.h"

namespace orvane {

} // namespace orvane
