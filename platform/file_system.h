#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

namespace orvane::platform {

// Opens a file for reading its bytes; null with a reason in *error when it
// cannot be read. Only regular files (or links to one) are opened: a pipe
// would block the reader and a device could hand out bytes without end.
std::unique_ptr<std::istream> OpenForReading(const std::string& path, std::string* error = nullptr);

// Writes a file through a temporary file beside it that replaces the target
// only once everything was written: a failed write leaves the target as it was.
// write returns false to abandon the file.
bool WriteFileAtomically(const std::string& path, const std::function<bool(std::ostream&)>& write,
                         std::string* error = nullptr);

bool FileExists(const std::string& path);

} // namespace orvane::platform
