#pragma once

#include "library/html/text_util.h"

#include <algorithm>
#include <array>
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

// Whether one of the endings, each a dot and at least one more character,
// occurs anywhere in the text: only the text's dots need a look, and only
// those followed by a character some ending has after its dot. To ignore
// letter case, the endings are written in lower case.
template <std::size_t N>
constexpr bool ContainsDottedEnding(std::string_view text, const std::string_view (&endings)[N], bool ignoreCase)
{
    auto fold = [ignoreCase](char c) { return static_cast<unsigned char>(ignoreCase ? AsciiLower(c) : c); };
    std::array<bool, 256> afterDot{};
    for (std::string_view ending : endings)
        afterDot[static_cast<unsigned char>(ending[1])] = true;
    auto startsWith = [&](std::string_view rest, std::string_view ending) {
        if (rest.size() < ending.size())
            return false;
        for (std::size_t i = 1; i < ending.size(); ++i) {
            if (fold(rest[i]) != static_cast<unsigned char>(ending[i]))
                return false;
        }
        return true;
    };
    for (std::size_t dot = text.find('.'); dot != std::string_view::npos; dot = text.find('.', dot + 1)) {
        if (dot + 1 == text.size() || !afterDot[fold(text[dot + 1])])
            continue;
        const std::string_view rest = text.substr(dot);
        if (std::any_of(std::begin(endings), std::end(endings),
                        [&](std::string_view ending) { return startsWith(rest, ending); }))
            return true;
    }
    return false;
}

} // namespace orvane
