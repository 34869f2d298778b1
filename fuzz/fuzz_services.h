#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {
class CHtmlDocument;
}

namespace orvane::fuzz {

// What a host installs before it checks pages: the string table of the
// resource bundle (when one lies beside the program) and the check catalogue
// the settings are built from. Safe to call more than once.
void InstallCheckServices();

// A folder of this process for the files a target writes, below the per-user
// data folder (ORVANE_HOME when it is set), named after the target.
std::filesystem::path ScratchFolder(std::string_view target);

// Files as bytes: a failed write says false, a missing file reads as empty.
bool WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// Hands the page to the document one line at a time, each with its line feed,
// as a host adding lines does (the document is started and finished by the caller).
void AddLineByLine(CHtmlDocument& document, std::string_view page);

} // namespace orvane::fuzz
