#include "element_xmp.h"

namespace orvane {

// The family answers every catalogue question as preformatted text does; only
// its kind, and so its settings entries, are its own.

} // namespace orvane
