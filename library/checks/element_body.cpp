#include "element_body.h"

namespace orvane {

} // namespace orvane
