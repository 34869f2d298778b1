#pragma once

#include <vector>

namespace orvane::platform {

// One area of an image map as a preview outlines it over the image, in the
// image's own pixels.
struct MapOutline {
    enum class Shape {
        None,   // nothing to draw: coordinates that make no shape
        Whole,  // the whole image (the default area)
        Rect,   // left, top, right, bottom
        Circle, // centre x, centre y, radius
        Poly,   // x, y of each corner
    };
    Shape shape = Shape::None;
    std::vector<int> points;

    bool operator==(const MapOutline&) const = default;
};

} // namespace orvane::platform
