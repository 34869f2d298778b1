#include "element_arena.h"

#include <cstdint>
#include <cstring>

namespace orvane {

// The current block cannot take the request (or there is none yet).
void* CElementArena::AllocateInNewBlock(std::size_t size, std::size_t align)
{
    auto padding = [align](const std::byte* at) -> std::size_t {
        return (std::size_t{0} - reinterpret_cast<std::uintptr_t>(at)) & (align - 1);
    };
    std::size_t blockSize = m_nextBlock;
    if (size + align > blockSize) {
        // An oversized request gets a block of its own; the current block stays in use.
        auto block = std::unique_ptr<std::byte[]>(new std::byte[size + align]);
        std::byte* start = block.get();
        m_reserved += size + align;
        m_blocks.push_back(std::move(block));
        return start + padding(start);
    }
    m_blocks.push_back(std::unique_ptr<std::byte[]>(new std::byte[blockSize]));
    m_cursor = m_blocks.back().get();
    m_left = blockSize;
    m_reserved += blockSize;
    if (m_nextBlock < kLargestBlock)
        m_nextBlock *= 2;
    std::size_t pad = padding(m_cursor);
    std::byte* result = m_cursor + pad;
    m_cursor += pad + size;
    m_left -= pad + size;
    return result;
}

std::string_view CElementArena::CopyText(std::string_view text)
{
    if (text.empty())
        return {};
    auto* copy = static_cast<char*>(Allocate(text.size(), 1));
    std::memcpy(copy, text.data(), text.size());
    return {copy, text.size()};
}

} // namespace orvane
