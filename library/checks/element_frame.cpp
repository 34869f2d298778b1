#include "element_frame.h"

namespace orvane {

} // namespace orvane
