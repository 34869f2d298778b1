#include "element_document.h"

namespace orvane {

} // namespace orvane
