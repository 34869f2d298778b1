#include "element_select.h"

namespace orvane {

} // namespace orvane
