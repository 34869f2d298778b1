#pragma once

#include <string>
#include <string_view>

namespace orvane::cli {

// Page texts are bytes in the page's own code page; reports are UTF-8. Valid
// UTF-8 passes unchanged, any other byte is read as Latin-1.
std::string ToUtf8(std::string_view text);

} // namespace orvane::cli
