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

// File name endings, each a dot and at least one more character, to look
// for anywhere in a text: only the text's dots need a look, and only those
// followed by a character some ending has after its dot. To ignore letter
// case, the endings are written in lower case.
template <std::size_t N>
class CDottedEndings {
public:
    constexpr CDottedEndings(const std::array<std::string_view, N>& endings, bool ignoreCase)
        : m_endings(endings), m_ignoreCase(ignoreCase)
    {
        for (std::string_view ending : m_endings)
            m_afterDot[static_cast<unsigned char>(ending[1])] = true;
    }

    constexpr bool FoundIn(std::string_view text) const
    {
        for (std::size_t dot = text.find('.'); dot != std::string_view::npos; dot = text.find('.', dot + 1)) {
            if (dot + 1 == text.size() || !m_afterDot[Fold(text[dot + 1])])
                continue;
            const std::string_view rest = text.substr(dot);
            if (std::any_of(m_endings.begin(), m_endings.end(),
                            [&](std::string_view ending) { return EndsHere(rest, ending); }))
                return true;
        }
        return false;
    }

private:
    constexpr unsigned char Fold(char c) const
    {
        return static_cast<unsigned char>(m_ignoreCase ? AsciiLower(c) : c);
    }
    // The rest starts with the ending; both start with the dot.
    constexpr bool EndsHere(std::string_view rest, std::string_view ending) const
    {
        if (rest.size() < ending.size())
            return false;
        for (std::size_t i = 1; i < ending.size(); ++i) {
            if (Fold(rest[i]) != static_cast<unsigned char>(ending[i]))
                return false;
        }
        return true;
    }

    std::array<std::string_view, N> m_endings;
    bool m_ignoreCase;
    std::array<bool, 256> m_afterDot{};
};

} // namespace orvane
