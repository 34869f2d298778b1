#include "element_pre.h"

namespace orvane {

} // namespace orvane
