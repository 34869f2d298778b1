#include "registry.h"

namespace orvane::platform {
namespace {

class CNoRegistry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenKey(std::string_view, RegistryAccess) override { return nullptr; }
    std::unique_ptr<IRegistryKey> CreateKey(std::string_view) override { return nullptr; }
};

CNoRegistry g_noRegistry;
IRegistry* g_registry = &g_noRegistry;

} // namespace

IRegistry& Registry() { return *g_registry; }
void SetRegistry(IRegistry* registry) { g_registry = registry ? registry : &g_noRegistry; }

ScopedRegistry::ScopedRegistry(IRegistry& registry) : m_previous(g_registry) { g_registry = &registry; }
ScopedRegistry::~ScopedRegistry() { g_registry = m_previous; }

} // namespace orvane::platform
