#pragma once

#include "library/html/html_document.h"
#include "library/html/text_util.h"

#include <cstdint>
#include <vector>

namespace orvane {

// Page-wide facts the checks of several elements share. Each is computed once
// for a page in one walk (see check_index.h) with the results the walks of the
// checks themselves would give.

// Runs of 7 or more links that need a way to skip over them.
struct CLinkRunIndex {
    explicit CLinkRunIndex(const CHtmlDocument& document);
    struct Run {
        CElement* first;
        CElement* last;
    };
    std::vector<Run> runs;
};

// A text of more than 15 characters between a body start tag and its end tag.
struct CBodyTextIndex {
    explicit CBodyTextIndex(const CHtmlDocument& document) : hasBodyText(document.HasBodyText()) {}
    bool hasBodyText;
};

// For every position, the next noframes start tag at or after it.
struct CNoframesIndex {
    explicit CNoframesIndex(const CHtmlDocument& document);
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t NextNoframes(std::size_t from) const { return from < next.size() ? next[from] : kNone; }
    std::vector<std::size_t> next;
};

// Counts of elements that give an object or applet an alternative of its own
// (an image, a text longer than 10 characters, a link with an address),
// summed up to each position.
struct CInnerAlternativeIndex {
    explicit CInnerAlternativeIndex(const CHtmlDocument& document);
    // Such an element stands strictly between the two positions.
    bool AnyBetween(std::size_t start, std::size_t end) const { return before[end] > before[start + 1]; }
    std::vector<std::uint32_t> before;  // count in [0, i)
};

// What the ASCII-art check needs of the page: the skip and description links
// seen since the previous preformatted block, and where texts hold a run of
// four equal characters.
struct CPreformattedIndex {
    CPreformattedIndex(const CHtmlDocument& document, std::string_view skipTitle, std::string_view descriptionTitle);
    explicit CPreformattedIndex(const CHtmlDocument& document);
    struct Marks {
        bool skipLink = false;
        bool descriptionLink = false;
    };
    Marks MarksBefore(std::size_t position) const { return marks[position]; }
    // Lines strictly between the two positions (an element, and each line
    // break inside one), and the elements among them with a run.
    std::uint32_t ElementsBetween(std::size_t start, std::size_t end) const;
    std::uint32_t RunsBetween(std::size_t start, std::size_t end) const;

    std::vector<Marks> marks;
    std::vector<std::uint32_t> elementsBefore;
    std::vector<std::uint32_t> runsBefore;
};

// Four equal characters in a row, starting at a position from 0 to the
// text's length minus 5.
bool HasRunOfFour(std::string_view text);

} // namespace orvane
