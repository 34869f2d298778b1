#include "element_list.h"

namespace orvane {

} // namespace orvane
