#pragma once

// A unified diff of two versions of a page, as patch reads it. Lines keep
// the page's own line ends, so a page with CR LF lines shows them as they are.

#include <string>
#include <string_view>

namespace orvane {

// Empty when the texts are equal. Otherwise the two header lines naming the
// versions, then hunks with `context` unchanged lines around each change. A
// last line without a line end is marked as patch marks it.
std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view beforeName,
                        std::string_view afterName, int context = 3);

} // namespace orvane
