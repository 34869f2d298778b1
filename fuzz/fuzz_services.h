#pragma once

#include <filesystem>
#include <string_view>

namespace orvane::fuzz {

// What a host installs before it checks pages: the string table of the
// resource bundle (when one lies beside the program) and the check catalogue
// the settings are built from. Safe to call more than once.
void InstallCheckServices();

// A folder of this process for the files a target writes, below the per-user
// data folder (ORVANE_HOME when it is set), named after the target.
std::filesystem::path ScratchFolder(std::string_view target);

} // namespace orvane::fuzz
