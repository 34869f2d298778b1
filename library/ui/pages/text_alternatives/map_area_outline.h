#pragma once

#include "platform/map_outline.h"

#include <string_view>

namespace orvane {

// The outline of a client-side area from its shape and coords values: rect,
// circle and poly in any letter case (and a missing shape, which pages mean
// as rect), coordinates as integers separated by commas. Coordinates that
// make no such shape (too few numbers, anything but a number between the
// commas) give Shape::None; the default area is the whole image.
platform::MapOutline OutlineOfArea(std::string_view shape, std::string_view coords);

} // namespace orvane
