#include "element_object.h"

namespace orvane {

} // namespace orvane
