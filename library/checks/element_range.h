#pragma once

#include "library/html/html_document.h"

#include <cstddef>

namespace orvane {

// Positions of an element and of its end tag, when the end tag follows it in
// the same document.
struct ElementRange {
    std::size_t start = 0;
    std::size_t end = 0;
    bool valid = false;
};

inline ElementRange RangeOf(const CHtmlDocument& document, const CElement& element)
{
    const CElement* end = element.Partner();
    if (!end || !document.Find(&element) || !document.Find(end))
        return {};
    std::size_t from = document.IndexOf(element);
    std::size_t to = document.IndexOf(*end);
    if (to <= from)
        return {};
    return {from, to, true};
}

} // namespace orvane
