#pragma once

#include <string>
#include <string_view>

namespace orvane::fuzz {

// Takes the page in every way a host can hand it over (as a file, as one text,
// line by line), finishes it, and checks what must hold for any bytes at all:
// the page writes back byte for byte, the lines read back join to the written
// page, partner links are symmetric, every element knows where it stood in the
// source, and the image maps refer only to live areas. Returns what failed,
// or an empty string.
std::string CheckPageIntake(std::string_view page);

// Parses the text as a tag's text, once as a page's element in an arena and
// once as a repaired element on the heap, and checks that both give the same
// attributes, that names and values come from the text, and that the rebuilt
// tag parses again to the same names and values when no value holds a quote
// (and the element name does not begin with '<', which no tag of a page has).
// Returns what failed, or an empty string.
std::string CheckAttributeParse(std::string_view text);

} // namespace orvane::fuzz
