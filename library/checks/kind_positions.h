#pragma once

#include "library/html/html_document.h"

#include <cstdint>
#include <span>
#include <vector>

namespace orvane {

// Where the elements of each kind stand on a page, gathered in one walk.
// Checks that look for a few kinds of element (links, objects, tables, ...)
// read their positions here instead of walking the whole page each. Deleted
// elements are listed too: every reader decides about them as before.
class CKindPositions {
public:
    explicit CKindPositions(const CHtmlDocument& document);

    // Positions, ascending, of the elements of the kind: a start or end tag,
    // a text, a comment piece, ...; empty for a kind nothing has.
    std::span<const std::uint32_t> Of(int kind) const;
    // The positions of several kinds merged, ascending.
    std::vector<std::uint32_t> OfAny(std::span<const int> kinds) const;

    // Positions, ascending, of the elements of a family: all but those of the
    // element base class, whose check never finds anything.
    std::span<const std::uint32_t> FamilyElements() const { return m_familyElements; }

    // The first element of the kind at or after the position that is not
    // deleted; null when there is none.
    CElement* FirstUndeletedFrom(int kind, std::size_t position) const;

    // Whether an element of one of the kinds, not deleted, passes the test.
    template <class Test>
    bool AnyUndeleted(std::span<const int> kinds, Test test) const
    {
        for (int kind : kinds) {
            for (std::uint32_t position : Of(kind)) {
                const CElement& e = *m_document.At(position);
                if (!e.IsDeleted() && test(e))
                    return true;
            }
        }
        return false;
    }
    template <class Test>
    bool AnyUndeleted(int kind, Test test) const
    {
        return AnyUndeleted(std::span<const int>(&kind, 1), test);
    }

private:
    const CHtmlDocument& m_document;
    // Grouped by kind; the group of a kind runs from m_groupStarts[slot] to
    // m_groupStarts[slot + 1].
    std::vector<std::uint32_t> m_positions;
    std::vector<std::uint32_t> m_groupStarts;
    std::vector<std::uint32_t> m_familyElements;
};

} // namespace orvane
