#pragma once

#include "library/html/html_document.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::cli {

// Loads a page file as the checker does; on failure writes a message naming
// the file to err and returns false.
bool LoadPage(CHtmlDocument& document, const std::string& path, std::ostream& err);
// The same for the bytes of the page named path, read from in.
bool LoadPageFrom(CHtmlDocument& document, const std::string& path, std::istream& in, std::ostream& err);

// Pages named, and the pages of folders named (searched through, in name
// order). A path that does not exist is kept: taking it in reports the error.
std::vector<std::string> CollectPages(const std::vector<std::string>& paths);

// A conformance target as --level names it: A, AA, AAA or 508.
std::optional<int> ParseLevel(std::string_view text);

// Control characters as escapes, so one element stays on one line.
std::string EscapeControls(std::string_view text);

} // namespace orvane::cli
