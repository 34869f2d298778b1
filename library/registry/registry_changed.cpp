#include "registry_changed.h"

#include <atomic>

namespace orvane {
namespace {

// Checks on several threads mark records changed at once.
std::atomic<bool> g_changed{false};

} // namespace

bool RegistryChanged() { return g_changed.load(std::memory_order_relaxed); }
void SetRegistryChanged(bool changed) { g_changed.store(changed, std::memory_order_relaxed); }

} // namespace orvane
