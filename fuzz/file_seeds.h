#pragma once

#include <string>
#include <vector>

namespace orvane::fuzz {

// Hand-made seeds for the targets of the files users edit by hand: each
// reaches one corner of its format (every record kind, escapes, broken
// markup, wrong value types, over-long lines).
std::vector<std::string> RegistrySeeds();
std::vector<std::string> LanguageCodeSeeds();
std::vector<std::string> SettingsStoreSeeds();
std::vector<std::string> ImageMapSeeds();

} // namespace orvane::fuzz
