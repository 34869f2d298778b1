#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvane::platform {

// A 128-bit digest of bytes that is fast rather than secret: for keys that
// must tell texts apart and stay the same across machines and releases, not
// for anything an attacker chooses. Its values are XXH3-128 with seed 0, a
// format its makers have kept fixed since version 0.8.
struct Hash128 {
    std::uint64_t high = 0;
    std::uint64_t low = 0;

    friend bool operator==(const Hash128&, const Hash128&) = default;
};

Hash128 HashBytes128(std::string_view bytes);

// For hash maps keyed by such digests: the digest is spread well already.
struct Hash128Hasher {
    std::size_t operator()(const Hash128& hash) const { return static_cast<std::size_t>(hash.low ^ hash.high); }
};

} // namespace orvane::platform
