#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// Tables and ASCII-art blocks are known again by a digest of their text; only
// the start of a long text takes part.
constexpr std::size_t kDigestTextLimit = 2000;

// The lowercase hexadecimal MD5 digest of at most the first 2000 bytes of text.
std::string ObjectDigest(std::string_view text);

} // namespace orvane
