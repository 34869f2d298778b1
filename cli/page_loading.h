#pragma once

#include "library/html/html_document.h"

#include <iosfwd>
#include <string>

namespace orvane::cli {

// Loads a page file as the checker does; on failure writes a message naming
// the file to err and returns false.
bool LoadPage(CHtmlDocument& document, const std::string& path, std::ostream& err);

// Control characters as escapes, so one element stays on one line.
std::string EscapeControls(std::string_view text);

} // namespace orvane::cli
