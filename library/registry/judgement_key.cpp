#include "judgement_key.h"

#include "src_judgement.h"

#include <optional>

namespace orvane {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHex(std::string& out, std::uint64_t value)
{
    for (int shift = 60; shift >= 0; shift -= 4)
        out += kHexDigits[(value >> shift) & 0xf];
}

// Lowercase only: keys are written so, and one element has one key.
std::optional<std::uint64_t> ParseHex(std::string_view digits)
{
    std::uint64_t value = 0;
    for (char c : digits) {
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::optional<platform::Hash128> ParseDigest(std::string_view digits)
{
    if (digits.size() != 32)
        return std::nullopt;
    auto high = ParseHex(digits.substr(0, 16));
    auto low = ParseHex(digits.substr(16));
    if (!high || !low)
        return std::nullopt;
    return platform::Hash128{*high, *low};
}

} // namespace

std::string FastJudgementKey(const platform::Hash128& digest)
{
    std::string key(kFastJudgementKeyPrefix);
    key.reserve(key.size() + 32);
    AppendHex(key, digest.high);
    AppendHex(key, digest.low);
    return key;
}

platform::Hash128 Md5AsHash128(const std::array<unsigned char, 16>& digest)
{
    platform::Hash128 number;
    for (int i = 0; i < 8; ++i) {
        number.high = number.high << 8 | digest[static_cast<std::size_t>(i)];
        number.low = number.low << 8 | digest[static_cast<std::size_t>(i + 8)];
    }
    return number;
}

std::string Md5JudgementKey(const platform::Hash128& number)
{
    std::string key;
    key.reserve(32);
    AppendHex(key, number.high);
    AppendHex(key, number.low);
    return key;
}

JudgementKeyForm FormOfJudgementKey(std::string_view key, platform::Hash128* digest)
{
    if (key == kWholePageKey)
        return JudgementKeyForm::WholePage;
    const bool fast = key.starts_with(kFastJudgementKeyPrefix);
    const auto number = ParseDigest(fast ? key.substr(kFastJudgementKeyPrefix.size()) : key);
    if (!number)
        return JudgementKeyForm::Other;
    if (digest)
        *digest = *number;
    return fast ? JudgementKeyForm::Fast : JudgementKeyForm::Md5;
}

} // namespace orvane
