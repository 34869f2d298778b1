#pragma once

#include "text_util.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvane {

// The tag and attribute tables are looked up for every name of a page, so
// their names are kept in a small open hash on length, first and last letter:
// one or two names are compared per lookup. The names must be unique and in
// lower case, so a lookup finds what a search in table order would.
template <class Entry, std::size_t N>
class CNameIndex {
public:
    constexpr explicit CNameIndex(const std::array<Entry, N>& entries) : m_entries(entries)
    {
        m_slots.fill(-1);
        for (std::size_t i = 0; i < N; ++i) {
            std::size_t slot = SlotOf(entries[i].name);
            while (m_slots[slot] >= 0)
                slot = (slot + 1) % kSlots;
            m_slots[slot] = static_cast<std::int16_t>(i);
            if (entries[i].name.size() > m_longest)
                m_longest = entries[i].name.size();
        }
    }

    // The entry of that name, letter case aside; null when there is none.
    // Compared in place: every name of a page comes through here.
    constexpr const Entry* Find(std::string_view name) const
    {
        if (name.empty() || name.size() > m_longest)
            return nullptr;
        for (std::size_t slot = SlotOf(name.size(), AsciiLower(name.front()), AsciiLower(name.back()));
             m_slots[slot] >= 0; slot = (slot + 1) % kSlots) {
            const Entry& entry = m_entries[static_cast<std::size_t>(m_slots[slot])];
            if (EqualsLowered(entry.name, name))
                return &entry;
        }
        return nullptr;
    }

    static constexpr bool NamesAreUnique(const std::array<Entry, N>& entries)
    {
        for (std::size_t i = 0; i < N; ++i)
            for (std::size_t j = i + 1; j < N; ++j)
                if (entries[i].name == entries[j].name)
                    return false;
        return true;
    }

    static constexpr std::size_t kSlots = 256;
    static_assert(N < kSlots, "an open hash needs free slots");

private:
    static constexpr std::size_t SlotOf(std::string_view lowered)
    {
        return SlotOf(lowered.size(), lowered.front(), lowered.back());
    }
    static constexpr std::size_t SlotOf(std::size_t size, char front, char back)
    {
        return (size * 37 + static_cast<unsigned char>(front) * 11 + static_cast<unsigned char>(back)) % kSlots;
    }
    // lowered is in lower case already.
    static constexpr bool EqualsLowered(std::string_view lowered, std::string_view name)
    {
        if (lowered.size() != name.size())
            return false;
        for (std::size_t i = 0; i < name.size(); ++i) {
            if (lowered[i] != AsciiLower(name[i]))
                return false;
        }
        return true;
    }

    const std::array<Entry, N>& m_entries;
    std::array<std::int16_t, kSlots> m_slots{};
    std::size_t m_longest = 0;
};

} // namespace orvane
