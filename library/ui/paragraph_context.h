#pragma once

#include <cstddef>
#include <string>

namespace orvane {

class CHtmlDocument;

// The elements from index start to index end (a paragraph), with the block
// before them and the block after them, as the page writes them now: a
// preview that shows where the paragraph stands and, once a repair is
// written, what became of it.
std::string ParagraphInContext(const CHtmlDocument& document, std::size_t start, std::size_t end);

} // namespace orvane
