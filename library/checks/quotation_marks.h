#pragma once

#include <cstddef>
#include <string_view>

namespace orvane {

// Quotation marks as pages write them: typed, as UTF-8 characters, or as
// character references. Single bytes of other code pages are left out, since
// in UTF-8 text they are the tails of other characters.
namespace quotemarks {

inline constexpr std::string_view kOpening[] = {"\"", "&quot;", "\xe2\x80\x9c", "\xe2\x80\x9e", "&ldquo;",
                                                "&bdquo;", "&#8220;", "&#8222;", "&#x201c;", "&#x201C;"};
inline constexpr std::string_view kClosing[] = {"\"", "&quot;", "\xe2\x80\x9d", "\xe2\x80\x9c", "&rdquo;",
                                                "&ldquo;", "&#8221;", "&#8220;", "&#x201d;", "&#x201D;"};

// The length of the mark that opens the text; 0 for none.
constexpr std::size_t OpeningLength(std::string_view text)
{
    for (std::string_view mark : kOpening) {
        if (text.starts_with(mark))
            return mark.size();
    }
    return 0;
}

// The length of the mark that closes the text; 0 for none.
constexpr std::size_t ClosingLength(std::string_view text)
{
    for (std::string_view mark : kClosing) {
        if (text.ends_with(mark))
            return mark.size();
    }
    return 0;
}

// Whether a mark stands anywhere in the text: a text quoting twice, or
// quoting inside, is no single quotation.
constexpr bool HasMark(std::string_view text)
{
    for (std::string_view mark : kOpening) {
        if (text.find(mark) != std::string_view::npos)
            return true;
    }
    for (std::string_view mark : kClosing) {
        if (text.find(mark) != std::string_view::npos)
            return true;
    }
    return false;
}

} // namespace quotemarks
} // namespace orvane
