#include "platform/file_system.h"

#include <sstream>

namespace orvane::platform {

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::unique_ptr<std::istream> in = OpenForReading(path);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in->rdbuf();
    return bytes.str();
}

} // namespace orvane::platform
