#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The MD5 message digest (RFC 1321). Feed the bytes with Update, close with
// Finalize, then read the digest. Misuse (updating or finalizing twice after
// the end, reading before it) is reported on standard error and otherwise
// ignored.
class MD5 {
public:
    using Digest = std::array<unsigned char, 16>;

    MD5();
    void Update(const unsigned char* input, std::size_t length);
    void Update(std::string_view bytes);
    void Finalize();
    bool IsFinalized() const { return m_finalized; }

    // The 16 bytes of the digest; none before Finalize.
    std::optional<Digest> RawDigest() const;
    // The digest as 32 lowercase hexadecimal digits; empty before Finalize.
    std::string HexDigest() const;

private:
    void Transform(const unsigned char block[64]);

    std::array<std::uint32_t, 4> m_state;
    std::uint64_t m_bitCount = 0;
    std::array<unsigned char, 64> m_buffer{};
    Digest m_digest{};
    bool m_finalized = false;
};

} // namespace orvane
