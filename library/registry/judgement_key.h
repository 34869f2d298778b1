#pragma once

#include "platform/hash128.h"

#include <array>
#include <string>
#include <string_view>

namespace orvane {

// How the key of a judgement of one element is written. Records written now
// carry "xxh128:" and 32 hexadecimal digits of a fast 128-bit digest of what
// was judged; registries of earlier releases hold 32 hexadecimal digits of
// its MD5 digest (the prefix tells the two apart, and both stay valid). The
// judgements of a page as a whole have the key "page".
enum class JudgementKeyForm { WholePage, Fast, Md5, Other };

inline constexpr std::string_view kFastJudgementKeyPrefix = "xxh128:";

std::string FastJudgementKey(const platform::Hash128& digest);
std::string Md5JudgementKey(const platform::Hash128& digest);
// The 16 bytes of an MD5 digest as one 128-bit number, first byte highest:
// the number its key's digits spell.
platform::Hash128 Md5AsHash128(const std::array<unsigned char, 16>& digest);

// The key's form and, for the two digests, the number it spells.
JudgementKeyForm FormOfJudgementKey(std::string_view key, platform::Hash128* digest = nullptr);

} // namespace orvane
