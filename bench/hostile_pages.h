#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvane::bench {

// Text-heavy inputs at the edge of what users hand in, shared by the bound
// benchmarks and the tests of the same at small size.

// Prose on one line, with a little inline markup.
std::string OneLineProse(std::size_t bytes);
// A comment opened and never closed, over lines of prose with single dashes.
std::string UnterminatedComment(std::size_t bytes);
// Bytes of a xorshift generator started from the seed (not 0).
std::string RandomBytes(std::size_t bytes, std::uint64_t seed = 0x2545F4914F6CDD1DULL);

} // namespace orvane::bench
