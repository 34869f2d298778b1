#pragma once

#include "selector/checker_library.h"

namespace orvane::selector::qt {

// libORVANE.so found by name, as the system's loader finds libraries (the
// program's run path leads to the folder beside it), and its functions by
// name. The library stays loaded until the program ends: windows and texts it
// made may live as long.
class CDynamicCheckerLibrary final : public ICheckerLibrary {
public:
    explicit CDynamicCheckerLibrary(const char* name = "libORVANE.so") : m_name(name) {}
    bool Load() override;
    std::string LoadError() const override { return m_error; }
    PathFunction ResolvePathFunction(const char* name) override;
    ActionFunction ResolveAction(const char* name) override;
    SettingsFunction ResolveSettings(const char* name) override;

private:
    void* Symbol(const char* name) const;
    const char* m_name;
    void* m_handle = nullptr;
    std::string m_error;
};

} // namespace orvane::selector::qt
