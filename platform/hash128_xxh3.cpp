#include "platform/hash128.h"

// Compiled in rather than linked: the digest of a short text is a few dozen
// instructions, less than a call into a shared library costs, and the
// programs need no library more at run time.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace orvane::platform {

Hash128 HashBytes128(std::string_view bytes)
{
    const XXH128_hash_t hash = XXH3_128bits(bytes.data(), bytes.size());
    return {hash.high64, hash.low64};
}

} // namespace orvane::platform
