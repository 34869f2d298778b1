#include "allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace orvane::bench {
namespace {

std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};

// Each block carries its size in a header, so every form of delete (sized or
// not, array or not) can take it off the count.
constexpr std::size_t kHeader = alignof(std::max_align_t) > sizeof(std::size_t) ? alignof(std::max_align_t)
                                                                                : sizeof(std::size_t);

void Count(std::size_t size)
{
    std::size_t live = g_live.fetch_add(size, std::memory_order_relaxed) + size;
    std::size_t peak = g_peak.load(std::memory_order_relaxed);
    while (live > peak && !g_peak.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
    }
}

void* Allocate(std::size_t size, std::size_t align, bool nothrow)
{
    std::size_t offset = align > kHeader ? align : kHeader;
    void* raw = nullptr;
    if (align > kHeader) {
        std::size_t total = (size + offset + align - 1) / align * align;
        raw = std::aligned_alloc(align, total);
    } else {
        raw = std::malloc(size + offset);
    }
    if (!raw) {
        if (nothrow)
            return nullptr;
        throw std::bad_alloc();
    }
    auto* user = static_cast<unsigned char*>(raw) + offset;
    *reinterpret_cast<std::size_t*>(user - sizeof(std::size_t)) = size;
    Count(size);
    return user;
}

void Release(void* pointer, std::size_t align)
{
    if (!pointer)
        return;
    std::size_t offset = align > kHeader ? align : kHeader;
    auto* user = static_cast<unsigned char*>(pointer);
    std::size_t size = *reinterpret_cast<std::size_t*>(user - sizeof(std::size_t));
    g_live.fetch_sub(size, std::memory_order_relaxed);
    std::free(user - offset);
}

} // namespace

std::size_t LiveBytes() { return g_live.load(std::memory_order_relaxed); }
std::size_t PeakBytes() { return g_peak.load(std::memory_order_relaxed); }
void ResetPeak() { g_peak.store(g_live.load(std::memory_order_relaxed), std::memory_order_relaxed); }

CPeakScope::CPeakScope() : m_base(LiveBytes()) { ResetPeak(); }
std::size_t CPeakScope::Extra() const
{
    std::size_t peak = PeakBytes();
    return peak > m_base ? peak - m_base : 0;
}

} // namespace orvane::bench

using orvane::bench::Allocate;
using orvane::bench::Release;

// clang-format off
void* operator new(std::size_t size) { return Allocate(size, 0, false); }
void* operator new[](std::size_t size) { return Allocate(size, 0, false); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, 0, true); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, 0, true); }
void* operator new(std::size_t size, std::align_val_t align) { return Allocate(size, static_cast<std::size_t>(align), false); }
void* operator new[](std::size_t size, std::align_val_t align) { return Allocate(size, static_cast<std::size_t>(align), false); }
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept { return Allocate(size, static_cast<std::size_t>(align), true); }
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept { return Allocate(size, static_cast<std::size_t>(align), true); }

void operator delete(void* p) noexcept { Release(p, 0); }
void operator delete[](void* p) noexcept { Release(p, 0); }
void operator delete(void* p, std::size_t) noexcept { Release(p, 0); }
void operator delete[](void* p, std::size_t) noexcept { Release(p, 0); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p, 0); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p, 0); }
void operator delete(void* p, std::align_val_t align) noexcept { Release(p, static_cast<std::size_t>(align)); }
void operator delete[](void* p, std::align_val_t align) noexcept { Release(p, static_cast<std::size_t>(align)); }
void operator delete(void* p, std::size_t, std::align_val_t align) noexcept { Release(p, static_cast<std::size_t>(align)); }
void operator delete[](void* p, std::size_t, std::align_val_t align) noexcept { Release(p, static_cast<std::size_t>(align)); }
void operator delete(void* p, std::align_val_t align, const std::nothrow_t&) noexcept { Release(p, static_cast<std::size_t>(align)); }
void operator delete[](void* p, std::align_val_t align, const std::nothrow_t&) noexcept { Release(p, static_cast<std::size_t>(align)); }
// clang-format on
