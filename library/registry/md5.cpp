#include "md5.h"

#include <cstring>
#include <iostream>

namespace orvane {
namespace {

constexpr std::uint32_t RotateLeft(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

constexpr std::uint32_t F(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return (x & y) | (~x & z); }
constexpr std::uint32_t G(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return (x & z) | (y & ~z); }
constexpr std::uint32_t H(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return x ^ y ^ z; }
constexpr std::uint32_t I(std::uint32_t x, std::uint32_t y, std::uint32_t z) { return y ^ (x | ~z); }

// Per-step shift amounts and the sine-derived constants of the four rounds.
constexpr int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

void EncodeLittleEndian(std::uint32_t value, unsigned char* out)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

} // namespace

MD5::MD5() : m_state{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

void MD5::Transform(const unsigned char block[64])
{
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = static_cast<std::uint32_t>(block[4 * i]) | (static_cast<std::uint32_t>(block[4 * i + 1]) << 8) |
               (static_cast<std::uint32_t>(block[4 * i + 2]) << 16) |
               (static_cast<std::uint32_t>(block[4 * i + 3]) << 24);
    }
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    for (int step = 0; step < 64; ++step) {
        std::uint32_t f = 0;
        int word = 0;
        switch (step / 16) {
        case 0: f = F(b, c, d); word = step; break;
        case 1: f = G(b, c, d); word = (5 * step + 1) % 16; break;
        case 2: f = H(b, c, d); word = (3 * step + 5) % 16; break;
        default: f = I(b, c, d); word = (7 * step) % 16; break;
        }
        std::uint32_t rotated = b + RotateLeft(a + f + x[word] + kSine[step], kShift[step]);
        a = d;
        d = c;
        c = b;
        b = rotated;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void MD5::Update(const unsigned char* input, std::size_t length)
{
    if (m_finalized) {
        std::cerr << "MD5::update:  Can't update a finalized digest!" << std::endl;
        return;
    }
    std::size_t used = static_cast<std::size_t>((m_bitCount / 8) % 64);
    m_bitCount += static_cast<std::uint64_t>(length) * 8;
    std::size_t i = 0;
    if (used + length >= 64) {
        std::size_t fill = 64 - used;
        std::memcpy(m_buffer.data() + used, input, fill);
        Transform(m_buffer.data());
        for (i = fill; i + 64 <= length; i += 64)
            Transform(input + i);
        used = 0;
    }
    if (i < length)
        std::memcpy(m_buffer.data() + used, input + i, length - i);
}

void MD5::Update(std::string_view bytes)
{
    Update(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

void MD5::Finalize()
{
    if (m_finalized) {
        std::cerr << "MD5::finalize:  Already finalized this digest!" << std::endl;
        return;
    }
    unsigned char length[8];
    EncodeLittleEndian(static_cast<std::uint32_t>(m_bitCount), length);
    EncodeLittleEndian(static_cast<std::uint32_t>(m_bitCount >> 32), length + 4);
    // Pad with a one bit and zeros up to 56 bytes modulo 64, then the length.
    std::size_t used = static_cast<std::size_t>((m_bitCount / 8) % 64);
    std::size_t padding = used < 56 ? 56 - used : 120 - used;
    unsigned char pad[64] = {0x80};
    Update(pad, padding);
    Update(length, 8);
    for (int i = 0; i < 4; ++i)
        EncodeLittleEndian(m_state[i], m_digest.data() + 4 * i);
    // The working state says nothing once the digest is out.
    m_state.fill(0);
    m_buffer.fill(0);
    m_finalized = true;
}

std::optional<MD5::Digest> MD5::RawDigest() const
{
    if (!m_finalized) {
        std::cerr << "MD5::raw_digest:  Can't get digest if you haven't " << "finalized the digest!" << std::endl;
        return std::nullopt;
    }
    return m_digest;
}

std::string MD5::HexDigest() const
{
    if (!m_finalized) {
        std::cerr << "MD5::hex_digest:  Can't get digest if you haven't " << "finalized the digest!" << std::endl;
        return {};
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(32);
    for (unsigned char byte : m_digest) {
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0f]);
    }
    return hex;
}

} // namespace orvane
