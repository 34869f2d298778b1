#include "dynamic_checker_library.h"

#include <dlfcn.h>

namespace orvane::selector::qt {

bool CDynamicCheckerLibrary::Load()
{
    if (!m_handle) {
        m_handle = dlopen(m_name, RTLD_NOW | RTLD_LOCAL);
        const char* reason = m_handle ? nullptr : dlerror();
        m_error = reason ? reason : "";
    }
    return m_handle != nullptr;
}

void* CDynamicCheckerLibrary::Symbol(const char* name) const { return m_handle ? dlsym(m_handle, name) : nullptr; }

PathFunction CDynamicCheckerLibrary::ResolvePathFunction(const char* name)
{
    if (auto* function = reinterpret_cast<int (*)(const char*)>(Symbol(name)))
        return function;
    return {};
}

ActionFunction CDynamicCheckerLibrary::ResolveAction(const char* name)
{
    if (auto* function = reinterpret_cast<void (*)()>(Symbol(name)))
        return function;
    return {};
}

SettingsFunction CDynamicCheckerLibrary::ResolveSettings(const char* name)
{
    if (auto* function = reinterpret_cast<void* (*)()>(Symbol(name)))
        return function;
    return {};
}

} // namespace orvane::selector::qt
