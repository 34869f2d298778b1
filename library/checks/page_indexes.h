#pragma once

#include "element_range.h"
#include "library/html/html_document.h"
#include "library/html/text_util.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

// Page-wide facts the checks of several elements share. Each is computed once
// for a page in one walk (see check_index.h) with the results the walks of the
// checks themselves would give.

// Runs of 7 or more links (anchors with an address: named anchors are no
// stops of the keyboard) that need a way to skip over them.
struct CLinkRunIndex {
    explicit CLinkRunIndex(const CHtmlDocument& document);
    struct Run {
        CElement* first;
        CElement* last;
    };
    std::vector<Run> runs;

private:
    void DropRunsWithSkipLinks(const CHtmlDocument& document);
};

// The addresses of the links (a start tags not deleted with an href
// attribute) in page order: several checks read every link's address.
struct CLinkAddressIndex {
    explicit CLinkAddressIndex(const CHtmlDocument& document);
    // They lie in the links' attributes, which stay while the index does.
    std::vector<std::string_view> addresses;
};

// A text of more than 15 characters between a body start tag and its end tag.
struct CBodyTextIndex {
    explicit CBodyTextIndex(const CHtmlDocument& document) : hasBodyText(document.HasBodyText()) {}
    bool hasBodyText;
};

// Running counts of what elements have, from the start of the page, kept only
// at the positions the checks of a few kinds of element ask about: just after
// each such element and at its end tag. An index of this kind costs memory by
// those elements, not by the page, and counts only what lies between them.
template <std::size_t N>
class CCountsAtPositions {
public:
    using Counts = std::array<std::uint64_t, N>;

    // Counts what count(element) gives at every position after an asked
    // element (the candidates, ascending, are all the kinds of element that
    // can be asked) and at its end tag (when it follows in the document).
    template <class Count>
    CCountsAtPositions(const CHtmlDocument& document, std::span<const std::uint32_t> asked, Count count);

    // What the elements strictly between the two positions count; false when
    // a position was not kept.
    bool Between(std::size_t start, std::size_t end, Counts& total) const
    {
        const Counts* before = At(start + 1);
        const Counts* upTo = At(end);
        if (!before || !upTo)
            return false;
        for (std::size_t n = 0; n < N; ++n)
            total[n] = (*upTo)[n] - (*before)[n];
        return true;
    }

private:
    const Counts* At(std::size_t position) const
    {
        auto it = std::lower_bound(m_positions.begin(), m_positions.end(), position);
        if (it == m_positions.end() || *it != position)
            return nullptr;
        return &m_counts[static_cast<std::size_t>(it - m_positions.begin())];
    }

    std::vector<std::uint32_t> m_positions;  // ascending
    std::vector<Counts> m_counts;            // of the elements in [0, position) that lie in a range
};

// For every noframes start tag, where it stands.
struct CNoframesIndex {
    explicit CNoframesIndex(const CHtmlDocument& document);
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    // The first noframes start tag at or after the position.
    std::size_t NextNoframes(std::size_t from) const;
    std::vector<std::uint32_t> positions;  // ascending
};

// Counts of elements that give an object or applet an alternative of its own
// (an image, a text longer than 10 characters, a link with an address), kept
// for the objects of the page.
struct CInnerAlternativeIndex {
    explicit CInnerAlternativeIndex(const CHtmlDocument& document);
    // Such an element stands strictly between the two positions.
    bool AnyBetween(std::size_t start, std::size_t end) const;

private:
    const CHtmlDocument& m_document;
    CCountsAtPositions<1> m_counts;
};

// What the ASCII-art check needs of the page, kept for its preformatted
// blocks: where texts hold a run of four equal characters, and the skip and
// description links seen since the previous preformatted block (looked for
// when asked: only the blocks found to be art ask).
struct CPreformattedIndex {
    CPreformattedIndex(const CHtmlDocument& document, std::string_view skipTitle, std::string_view descriptionTitle);
    explicit CPreformattedIndex(const CHtmlDocument& document);
    struct Marks {
        bool skipLink = false;
        bool descriptionLink = false;
    };
    Marks MarksBefore(std::size_t position) const;
    // Lines strictly between the two positions (an element, and each line
    // break inside one), and the elements among them with a run.
    std::uint64_t ElementsBetween(std::size_t start, std::size_t end) const;
    std::uint64_t RunsBetween(std::size_t start, std::size_t end) const;

private:
    const CHtmlDocument& m_document;
    std::string m_skipTitle;
    std::string m_descriptionTitle;
    CCountsAtPositions<2> m_counts;  // lines, and elements with a run
};

// Four equal characters in a row, starting at a position from 0 to the
// text's length minus 5.
bool HasRunOfFour(std::string_view text);

template <std::size_t N>
template <class Count>
CCountsAtPositions<N>::CCountsAtPositions(const CHtmlDocument& document, std::span<const std::uint32_t> asked,
                                          Count count)
{
    // Each asked element opens a range after it and closes it at its end tag.
    struct Edge {
        std::uint32_t position;
        int change;
    };
    std::vector<Edge> edges;
    edges.reserve(2 * asked.size());
    for (std::uint32_t position : asked) {
        ElementRange range = RangeOf(document, *document.At(position));
        if (!range.valid)
            continue;
        edges.push_back({static_cast<std::uint32_t>(range.start + 1), 1});
        edges.push_back({static_cast<std::uint32_t>(range.end), -1});
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.position < b.position; });
    m_positions.reserve(edges.size());
    m_counts.reserve(edges.size());

    // Only what lies inside some range is counted: the counts are only ever
    // told apart at the two ends of one range, so what lies outside all of
    // them would cancel anyway. Every open range closes at a later edge.
    Counts total{};
    int open = 0;
    for (std::size_t next = 0; next < edges.size();) {
        const std::uint32_t position = edges[next].position;
        m_positions.push_back(position);
        m_counts.push_back(total);
        for (; next < edges.size() && edges[next].position == position; ++next)
            open += edges[next].change;
        if (open <= 0)
            continue;
        for (std::size_t i = position; i < edges[next].position; ++i) {
            const Counts counts = count(*document.At(i));
            for (std::size_t n = 0; n < N; ++n)
                total[n] += counts[n];
        }
    }
}

} // namespace orvane
