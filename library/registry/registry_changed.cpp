#include "registry_changed.h"

namespace orvane {
namespace {

bool g_changed = false;

} // namespace

bool RegistryChanged() { return g_changed; }
void SetRegistryChanged(bool changed) { g_changed = changed; }

} // namespace orvane
