#include "element_input.h"

namespace orvane {

} // namespace orvane
