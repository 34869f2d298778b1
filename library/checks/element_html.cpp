#include "element_html.h"

namespace orvane {

} // namespace orvane
