#pragma once

#include <string>

namespace orvane::platform {

// The folder of the running module (the library when it is loaded as one, else
// the program), where read-only data such as the resource bundle lies.
std::string ModuleDirectory();

// The path of a read-only data file shipped with the module: looked up beside
// the module first, then in the library folder beside a program's folder, then
// in the installation's share/orvane folder (from a program in bin, or from a
// library in lib or lib/<architecture>). Empty when it is in none.
std::string FindDataFile(const std::string& name);

// The per-user folder for writable state (settings, registries, previews):
// $ORVANE_HOME when set, else the user's data folder. Created when missing.
std::string UserDataDirectory();

// The per-user folder for what is made again when lost (the help's search
// index): $ORVANE_HOME/cache when ORVANE_HOME is set, else the user's cache
// folder of the program. Created when missing.
std::string UserCacheDirectory();

} // namespace orvane::platform
