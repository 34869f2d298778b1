#include "hostile_pages.h"

#include <array>
#include <string_view>

namespace orvane::bench {

std::string OneLineProse(std::size_t bytes)
{
    constexpr std::array<std::string_view, 8> kWords{"access", "the", "page", "of", "images", "with",
                                                     "tables", "and"};
    std::string page = "<html><body><p>";
    page.reserve(bytes + 32);
    for (std::uint64_t state = 1; page.size() < bytes;) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const std::size_t pick = static_cast<std::size_t>(state >> 59);
        if (pick == 0)
            page += "<b>bold</b> ";
        else
            page.append(kWords[pick % kWords.size()]).push_back(' ');
    }
    page += "</p></body></html>";
    return page;
}

std::string UnterminatedComment(std::size_t bytes)
{
    std::string page = "<html><body><p>Before</p><!-- ";
    page.reserve(bytes + 128);
    const std::string_view line = "commented out - the old navigation bar, kept for reference - do not use\n";
    while (page.size() < bytes)
        page.append(line);
    return page;
}

std::string RandomBytes(std::size_t bytes, std::uint64_t seed)
{
    std::string page(bytes, '\0');
    std::uint64_t state = seed;
    for (std::size_t i = 0; i < bytes; i += 8) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        for (std::size_t b = 0; b < 8 && i + b < bytes; ++b)
            page[i + b] = static_cast<char>(state >> (8 * b));
    }
    return page;
}

} // namespace orvane::bench
