#include "element_table.h"

namespace orvane {

} // namespace orvane
