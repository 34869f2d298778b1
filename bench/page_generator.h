#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvane::bench {

// Makes a page that looks like the pages users hand the checker: headings,
// prose, many images (with and without alt, with longdesc, inside links),
// links, nested layout and data tables, forms with and without labels,
// scripts with noscript, style blocks, comments over one or several lines,
// image maps, pre blocks of ASCII art, and the sloppy markup real pages carry
// (unclosed tags, stray '<', unquoted and single-quoted attributes, upper-case
// tags, carriage-return line ends in part of the page).
//
// The page is at least targetBytes long and at most a few kilobytes longer
// (the last block is finished, and the page is closed). The same seed always
// gives the same page, on every platform.
std::string GeneratePage(std::size_t targetBytes, std::uint32_t seed);

} // namespace orvane::bench
