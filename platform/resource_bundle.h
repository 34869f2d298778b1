#pragma once

#include <optional>
#include <string>

namespace orvane::platform {

// The resource bundle of a deliverable ("OrvaneResources"), loaded at run time
// from beside the module.
class CResourceBundle {
public:
    // Loads the bundle file; false when it is missing or unreadable.
    bool Load(const std::string& path);
    bool IsLoaded() const { return !m_root.empty(); }
    // A file of the bundle, by its name inside the bundle ("strings/en.txt").
    std::optional<std::string> ReadFile(const std::string& name) const;
    // Gives the bundle back to Qt; nothing can be read from it afterwards.
    void Unload();
    ~CResourceBundle();

private:
    std::string m_path;
    std::string m_root;
};

} // namespace orvane::platform
