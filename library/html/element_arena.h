#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

// Bump allocator for the elements, attributes and text of one parsed page.
// Everything placed here is destroyed by its owner (destructors run), but the
// memory goes back only when the arena itself is destroyed: a page is taken in
// and thrown away as a whole, so this keeps intake fast and memory compact.
class CElementArena {
public:
    CElementArena() = default;
    CElementArena(const CElementArena&) = delete;
    CElementArena& operator=(const CElementArena&) = delete;

    // align is a power of two (an alignof), so the padding is a mask. Inline:
    // every element, attribute and text of a page comes through here.
    void* Allocate(std::size_t size, std::size_t align)
    {
        const std::size_t pad = (std::size_t{0} - reinterpret_cast<std::uintptr_t>(m_cursor)) & (align - 1);
        if (m_cursor && pad + size <= m_left) {
            std::byte* result = m_cursor + pad;
            m_cursor = result + size;
            m_left -= pad + size;
            return result;
        }
        return AllocateInNewBlock(size, align);
    }

    template <class T, class... Args>
    T* New(Args&&... args)
    {
        return new (Allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    }

    // A stable copy of the text, alive as long as the arena.
    std::string_view CopyText(std::string_view text);

    std::size_t BytesReserved() const { return m_reserved; }

private:
    void* AllocateInNewBlock(std::size_t size, std::size_t align);

    static constexpr std::size_t kFirstBlock = 16 * 1024;
    // The last block of a page is half unused on average; blocks this size
    // keep that small beside even a small page, at one allocation per 256 KiB.
    static constexpr std::size_t kLargestBlock = 256 * 1024;

    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    std::byte* m_cursor = nullptr;
    std::size_t m_left = 0;
    std::size_t m_nextBlock = kFirstBlock;
    std::size_t m_reserved = 0;
};

} // namespace orvane
