#pragma once

#include <string>

namespace orvane::platform {

// Loads the string table of a resource bundle lying beside the module
// ("OrvaneResources.rcc") and installs it as the process's strings. A missing
// or unreadable bundle leaves the strings empty and shows nothing.
bool InstallBundleStrings(const std::string& bundleFileName);

} // namespace orvane::platform
