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
    const Entry* Find(std::string_view name) const
    {
        if (name.empty() || name.size() > m_longest || name.size() > kMaxName)
            return nullptr;
        char lowered[kMaxName];
        for (std::size_t i = 0; i < name.size(); ++i)
            lowered[i] = AsciiLower(name[i]);
        const std::string_view key(lowered, name.size());
        for (std::size_t slot = SlotOf(key); m_slots[slot] >= 0; slot = (slot + 1) % kSlots) {
            const Entry& entry = m_entries[static_cast<std::size_t>(m_slots[slot])];
            if (entry.name == key)
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
    static constexpr std::size_t kMaxName = 32;
    static_assert(N < kSlots, "an open hash needs free slots");

private:
    static constexpr std::size_t SlotOf(std::string_view lowered)
    {
        return (lowered.size() * 37 + static_cast<unsigned char>(lowered.front()) * 11 +
                static_cast<unsigned char>(lowered.back())) % kSlots;
    }

    const std::array<Entry, N>& m_entries;
    std::array<std::int16_t, kSlots> m_slots{};
    std::size_t m_longest = 0;
};

} // namespace orvane
