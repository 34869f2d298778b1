#include "element_font.h"

namespace orvane {

} // namespace orvane
