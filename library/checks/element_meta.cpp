#include "element_meta.h"

namespace orvane {

} // namespace orvane
