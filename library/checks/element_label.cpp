#include "element_label.h"

namespace orvane {

} // namespace orvane
