#pragma once

#include "library/html/attribute_table.h"

#include <string>

namespace orvane {

// Brightness of a colour as the contrast test weighs it: (299 R + 587 G + 114 B) / 1000.
int ColourBrightness(const Rgb& colour);
// Whether a foreground colour stands out enough from its background: their
// brightness differs by more than 180 and their components by more than 500
// in all.
bool ContrastsEnough(const Rgb& background, const Rgb& foreground);
// Every component one of 0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF.
bool IsWebSafe(const Rgb& colour);
// The ratio of the relative luminances of the lighter and the darker colour
// (plus 0.05 each), from 1 to 21: the measure people read today, with 4.5
// for body text and 3 for large text.
double ContrastRatio(const Rgb& a, const Rgb& b);
// "#RRGGBB", upper-case hexadecimal, as a page's colour attribute takes it.
std::string HexColour(const Rgb& colour);

} // namespace orvane
