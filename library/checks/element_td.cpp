#include "element_td.h"

namespace orvane {

} // namespace orvane
