#include "kind_positions.h"

#include "library/html/tag_table.h"

#include <algorithm>
#include <typeinfo>

namespace orvane {

namespace {

// Kinds run from the document element's up to the end tags, below 1100.
constexpr int kLowestKind = kind::kDocument;
constexpr int kKindSlots = 1100 - kLowestKind;

int SlotOf(int kind) { return kind >= kLowestKind && kind < kLowestKind + kKindSlots ? kind - kLowestKind : -1; }

} // namespace

CKindPositions::CKindPositions(const CHtmlDocument& document) : m_document(document)
{
    // Counted first, so every group is placed in one array sized once; the
    // second round reads the kinds kept from the first, not the elements.
    const auto& elements = document.Elements();
    std::vector<std::int16_t> slots(elements.size());
    std::vector<std::uint32_t> counts(kKindSlots, 0);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const CElement& e = *elements[i];
        const int slot = SlotOf(e.Kind());
        slots[i] = static_cast<std::int16_t>(slot);
        if (slot >= 0)
            ++counts[static_cast<std::size_t>(slot)];
        if (typeid(e) != typeid(CElement))
            m_familyElements.push_back(static_cast<std::uint32_t>(i));
    }
    m_groupStarts.resize(kKindSlots + 1);
    std::uint32_t start = 0;
    for (int slot = 0; slot < kKindSlots; ++slot) {
        m_groupStarts[static_cast<std::size_t>(slot)] = start;
        start += counts[static_cast<std::size_t>(slot)];
    }
    m_groupStarts[kKindSlots] = start;
    m_positions.resize(start);
    std::vector<std::uint32_t> next(m_groupStarts.begin(), m_groupStarts.end() - 1);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (slots[i] >= 0)
            m_positions[next[static_cast<std::size_t>(slots[i])]++] = static_cast<std::uint32_t>(i);
    }
}

std::span<const std::uint32_t> CKindPositions::Of(int kind) const
{
    const int slot = SlotOf(kind);
    if (slot < 0)
        return {};
    const std::uint32_t* data = m_positions.data();
    const auto at = static_cast<std::size_t>(slot);
    return {data + m_groupStarts[at], data + m_groupStarts[at + 1]};
}

std::vector<std::uint32_t> CKindPositions::OfAny(std::span<const int> kinds) const
{
    std::vector<std::uint32_t> merged;
    std::size_t total = 0;
    for (int kind : kinds)
        total += Of(kind).size();
    merged.reserve(total);
    for (int kind : kinds) {
        std::span<const std::uint32_t> group = Of(kind);
        const auto middle = merged.insert(merged.end(), group.begin(), group.end());
        std::inplace_merge(merged.begin(), middle, merged.end());
    }
    return merged;
}

CElement* CKindPositions::FirstUndeletedFrom(int kind, std::size_t position) const
{
    std::span<const std::uint32_t> group = Of(kind);
    for (auto it = std::lower_bound(group.begin(), group.end(), position); it != group.end(); ++it) {
        CElement* e = m_document.At(*it);
        if (!e->IsDeleted())
            return e;
    }
    return nullptr;
}

} // namespace orvane
