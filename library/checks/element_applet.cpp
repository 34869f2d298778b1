#include "element_applet.h"

namespace orvane {

} // namespace orvane
