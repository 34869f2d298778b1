#include "element_th.h"

namespace orvane {

} // namespace orvane
