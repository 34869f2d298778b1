#pragma once

// The checker library as the selector binds it: loaded by name at run time,
// its functions found by name, exactly as any other host does. Tests give the
// window a library whose functions they write themselves.

#include <functional>
#include <string>

namespace orvane {
class COrvaneSettings;
}

namespace orvane::selector {

using PathFunction = std::function<int(const char* path)>;   // ValidateDoc, SaveDoc
using ActionFunction = std::function<void()>;               // DisplaySettings, DisplayAbout
using SettingsFunction = std::function<void*()>;             // GetSettings

class ICheckerLibrary {
public:
    virtual ~ICheckerLibrary() = default;
    // Loads the library; false when it cannot be found or loaded.
    virtual bool Load() = 0;
    // Why the last Load failed, in the system loader's words; empty when it did not say.
    virtual std::string LoadError() const { return {}; }
    // The library's function of that name; empty when it has none.
    virtual PathFunction ResolvePathFunction(const char* name) = 0;
    virtual ActionFunction ResolveAction(const char* name) = 0;
    virtual SettingsFunction ResolveSettings(const char* name) = 0;
};

} // namespace orvane::selector
