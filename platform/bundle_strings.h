#pragma once

#include <string>

namespace orvane::platform {

class CResourceBundle;

// Loads the string table of a resource bundle lying beside the module
// ("OrvaneResources.rcc") and installs it as the process's strings, in the
// user's language (UiLanguage), each string missing there taken from English.
// A missing or unreadable bundle leaves the strings empty and shows nothing.
bool InstallBundleStrings(const std::string& bundleFileName);

// Installs the strings of the loaded bundle again, in that language ("de", "en").
bool InstallBundleLanguage(const std::string& language);

// The bundle InstallBundleStrings loaded; null when none is.
const CResourceBundle* InstalledBundle();

} // namespace orvane::platform
