#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::cli {

// A page a batch command works on: its path as reports name it, and its path
// relative to the folder it was found in ('/' between the parts), which
// decides its share of a sharded run.
struct FoundPage {
    std::string path;
    std::string relative;
};

// Pages named, and the pages of folders named (searched through, in name
// order). A path that does not exist is kept: working on it reports the error.
// A page named directly is its own relative path, as written.
std::vector<FoundPage> FindPages(const std::vector<std::string>& paths);

// FNV-1a, 64 bits: fixed and documented, so runners on other machines, built
// by other compilers, agree on every page's share.
std::uint64_t ShardHash(std::string_view bytes);

// The K-th of N shares of the pages (1 <= K <= N).
struct Shard {
    unsigned index = 1;
    unsigned count = 1;
    bool Takes(std::string_view relativePath) const;
};

// "K/N"; nothing when the text is no such share.
std::optional<Shard> ParseShard(std::string_view text);

// The pages of the share, in their order; all of them without a share.
std::vector<FoundPage> PagesOfShard(std::vector<FoundPage> pages, const std::optional<Shard>& shard);

} // namespace orvane::cli
