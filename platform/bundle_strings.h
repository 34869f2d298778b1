#pragma once

#include <string>

namespace orvane::platform {

class CResourceBundle;

// Loads the string table of a resource bundle lying beside the module
// ("OrvaneResources.rcc") and installs it as the process's strings, in the
// user's language (UiLanguage), each string missing there taken from English.
// A missing or unreadable bundle leaves the strings empty and shows nothing.
// Naming another bundle later makes that one the process's bundle (its
// strings, templates and images), in the language in use; bundles stay loaded.
bool InstallBundleStrings(const std::string& bundleFileName);

// The language the bundle's strings are shown in ("de", "en").
std::string BundleLanguage();

// Installs the strings of the loaded bundle again, in that language ("de", "en").
bool InstallBundleLanguage(const std::string& language);

// The bundle InstallBundleStrings loaded; null when none is.
const CResourceBundle* InstalledBundle();

} // namespace orvane::platform
