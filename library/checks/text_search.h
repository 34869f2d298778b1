#pragma once

#include "library/html/text_util.h"

#include <algorithm>
#include <string_view>

namespace orvane {

// Searches the checks run over every link and image of a page: they look at
// the text where it lies, without a lowered copy of it.

constexpr bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// Whether the needle occurs in the text, ASCII letter case aside.
constexpr bool ContainsIgnoreCase(std::string_view text, std::string_view needle)
{
    if (needle.empty())
        return true;
    for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
        if (AsciiLower(text[i]) == AsciiLower(needle.front()) && StartsWithIgnoreCase(text.substr(i), needle))
            return true;
    }
    return false;
}

// Whether one of the endings, each starting with a dot, occurs anywhere in
// the text: only the text's dots need a look. The endings are short, so they
// are compared in place rather than by the library's general search. To
// ignore letter case, the endings are written in lower case.
template <std::size_t N>
constexpr bool ContainsDottedEnding(std::string_view text, const std::string_view (&endings)[N], bool ignoreCase)
{
    auto startsWith = [ignoreCase](std::string_view rest, std::string_view ending) {
        if (rest.size() < ending.size())
            return false;
        for (std::size_t i = 0; i < ending.size(); ++i) {
            const char c = ignoreCase ? AsciiLower(rest[i]) : rest[i];
            if (c != ending[i])
                return false;
        }
        return true;
    };
    for (std::size_t dot = text.find('.'); dot != std::string_view::npos; dot = text.find('.', dot + 1)) {
        const std::string_view rest = text.substr(dot);
        if (std::any_of(std::begin(endings), std::end(endings),
                        [&](std::string_view ending) { return startsWith(rest, ending); }))
            return true;
    }
    return false;
}

} // namespace orvane
