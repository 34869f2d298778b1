#include "element_header.h"

namespace orvane {

} // namespace orvane
