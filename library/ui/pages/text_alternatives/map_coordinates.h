#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The coordinates of an area in the client-side form: the numbers of the
// server-side text, whatever stood between them (commas, blanks,
// parentheses), joined by commas. A circle given by its centre and a point on
// its edge becomes its centre and radius (rounded half up); a point (a
// rectangle of two numbers) becomes a rectangle one pixel wide and high.
// shape is a MapShape.
std::string ClientSideCoordinates(int shape, std::string_view coordinates);

} // namespace orvane
