#include "shard.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

bool IsPageName(const fs::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".htm" || extension == ".html" || extension == ".shtml" || extension == ".shtm";
}

std::optional<unsigned> ParseCount(std::string_view text)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::vector<FoundPage> FindPages(const std::vector<std::string>& paths)
{
    std::vector<FoundPage> pages;
    for (const std::string& path : paths) {
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            pages.push_back({path, fs::path(path).generic_string()});
            continue;
        }
        std::vector<FoundPage> found;
        for (fs::recursive_directory_iterator it(path, fs::directory_options::skip_permission_denied, error), end;
             !error && it != end; it.increment(error)) {
            if (it->is_regular_file(error) && IsPageName(it->path()))
                found.push_back({it->path().string(), it->path().lexically_relative(path).generic_string()});
        }
        std::sort(found.begin(), found.end(), [](const FoundPage& a, const FoundPage& b) { return a.path < b.path; });
        pages.insert(pages.end(), found.begin(), found.end());
    }
    return pages;
}

std::uint64_t ShardHash(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

bool Shard::Takes(std::string_view relativePath) const
{
    return ShardHash(relativePath) % count == index - 1;
}

std::optional<Shard> ParseShard(std::string_view text)
{
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::optional<unsigned> index = ParseCount(text.substr(0, slash));
    const std::optional<unsigned> count = ParseCount(text.substr(slash + 1));
    if (!index || !count || *count < 1 || *index < 1 || *index > *count)
        return std::nullopt;
    return Shard{*index, *count};
}

std::vector<FoundPage> PagesOfShard(std::vector<FoundPage> pages, const std::optional<Shard>& shard)
{
    if (shard)
        std::erase_if(pages, [&](const FoundPage& page) { return !shard->Takes(page.relative); });
    return pages;
}

} // namespace orvane::cli
