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

namespace {

// A page named directly, as its share knows it: relative to the current folder.
std::string RelativeToHere(const std::string& path)
{
    std::error_code error;
    const fs::path here = fs::current_path(error);
    const fs::path absolute = fs::absolute(path, error).lexically_normal();
    if (!error) {
        const fs::path relative = absolute.lexically_relative(here);
        if (!relative.empty())
            return relative.generic_string();
    }
    return fs::path(path).lexically_normal().generic_string();
}

// The pages under a folder named, in name order; what could not be read is told.
void SearchFolder(const std::string& root, PageSearch& search)
{
    std::vector<FoundPage> found;
    std::vector<fs::path> folders{fs::path(root)};
    while (!folders.empty()) {
        const fs::path folder = folders.back();
        folders.pop_back();
        std::error_code error;
        fs::directory_iterator it(folder, error);
        for (fs::directory_iterator end; !error && it != end; it.increment(error)) {
            std::error_code kind;
            const fs::file_status own = it->symlink_status(kind);
            if (fs::is_directory(own)) {
                folders.push_back(it->path());
            } else if (fs::is_symlink(own) && fs::is_directory(it->status(kind))) {
                search.linksToFolders.push_back(it->path().string());
            } else if (IsPageName(it->path()) && it->is_regular_file(kind)) {
                found.push_back({it->path().string(), it->path().lexically_relative(root).generic_string(), root});
            }
        }
        if (error)
            search.notRead.push_back(folder.string() + ": " + error.message());
    }
    std::sort(found.begin(), found.end(), [](const FoundPage& a, const FoundPage& b) { return a.path < b.path; });
    if (found.empty())
        search.withoutPages.push_back(root);
    search.pages.insert(search.pages.end(), found.begin(), found.end());
}

} // namespace

PageSearch SearchPages(const std::vector<std::string>& paths)
{
    PageSearch search;
    for (const std::string& path : paths) {
        std::error_code error;
        if (fs::is_directory(path, error))
            SearchFolder(path, search);
        else
            search.pages.push_back({path, RelativeToHere(path), {}});
    }
    std::sort(search.notRead.begin(), search.notRead.end());
    std::sort(search.linksToFolders.begin(), search.linksToFolders.end());
    return search;
}

bool LeadsInto(const std::string& page, const std::vector<std::string>& folders)
{
    std::error_code error;
    const fs::path target = fs::weakly_canonical(page, error);
    if (error)
        return false;
    for (const std::string& folder : folders) {
        const fs::path inside = fs::weakly_canonical(folder, error);
        if (error)
            continue;
        const fs::path relative = target.lexically_relative(inside);
        if (!relative.empty() && *relative.begin() != "..")
            return true;
    }
    return false;
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
