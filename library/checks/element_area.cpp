#include "element_area.h"

namespace orvane {

} // namespace orvane
