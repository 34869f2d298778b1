#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvane {

class CElement;
class CHtmlDocument;

// The headings of a page in page order, as the heading pages show and change them.
struct OutlineHeading {
    CElement* start;       // the h1 to h6 start tag; its partner is its end tag
    std::size_t position;  // its place in the document
    int level;             // 1 to 6
    std::string text;      // its non-blank texts joined by blanks, cut past 80 characters
};

std::vector<OutlineHeading> ReadOutline(const CHtmlDocument& document);

namespace outline {
constexpr int kTopLevel = 1, kBottomLevel = 6;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The first heading, from the second on, whose level lies more than one below
// the heading before it; kNone when the levels go down one step at a time.
std::size_t FirstSkip(const std::vector<int>& levels);
// The levels with the heading at index given the level; with moveBelow the
// headings after it, up to the next one of its old level or a higher one,
// move by the same number of levels (kept within 1 to 6).
std::vector<int> Relevelled(std::vector<int> levels, std::size_t index, int level, bool moveBelow);
// The level that fits after a heading of the previous level: one below it.
int FittingLevel(int previous);
} // namespace outline

} // namespace orvane
