#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::cli {

// A page a batch command works on: its path as reports name it, and the
// path that decides its share of a sharded run ('/' between the parts): for
// a page found in a folder, its path relative to that folder; for a page
// named directly, its path relative to the current folder, "." and ".."
// resolved ("./a.html" and "a.html" are one page). So "orvane check ." and
// "orvane check *.html" run in the site's folder give the same shares.
struct FoundPage {
    std::string path;
    std::string relative;
    // The folder named on the command line it was found in; empty for a page named directly.
    std::string folder;
};

// What a search of the paths named found.
struct PageSearch {
    // Pages named, and the pages of folders named (searched through, in name
    // order). A path that does not exist is kept: working on it reports the error.
    std::vector<FoundPage> pages;
    // Each folder that could not be read, with why ("FOLDER: reason").
    std::vector<std::string> notRead;
    // Links to folders, which are not followed: one could lead out of the
    // site, or round in a loop.
    std::vector<std::string> linksToFolders;
    // Folders named in which no page was found.
    std::vector<std::string> withoutPages;
};
PageSearch SearchPages(const std::vector<std::string>& paths);

// Whether the file a page's path leads to (through links) lies inside one of the folders.
bool LeadsInto(const std::string& page, const std::vector<std::string>& folders);

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
