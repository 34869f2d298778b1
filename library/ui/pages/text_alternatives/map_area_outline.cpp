#include "library/ui/pages/text_alternatives/map_area_outline.h"

#include "library/html/text_util.h"

#include <charconv>

namespace orvane {
namespace {

using Shape = platform::MapOutline::Shape;

// Each number of the list, or nothing when a piece between commas is none.
bool ReadNumbers(std::string_view coords, std::vector<int>& numbers)
{
    coords = Trim(coords);
    if (coords.empty())
        return false;
    while (true) {
        const std::size_t comma = coords.find(',');
        const std::string_view piece = Trim(coords.substr(0, comma));
        // A list closed by a comma, as some authoring tools write it.
        if (piece.empty() && comma == std::string_view::npos && !numbers.empty())
            return true;
        int value = 0;
        const char* begin = piece.data();
        const char* end = piece.data() + piece.size();
        if (!piece.empty() && *begin == '+')
            ++begin;
        const auto [stop, error] = std::from_chars(begin, end, value);
        if (piece.empty() || error != std::errc{} || stop != end)
            return false;
        numbers.push_back(value);
        if (comma == std::string_view::npos)
            return true;
        coords.remove_prefix(comma + 1);
    }
}

} // namespace

platform::MapOutline OutlineOfArea(std::string_view shape, std::string_view coords)
{
    platform::MapOutline outline;
    shape = Trim(shape);
    Shape wanted = Shape::None;
    std::size_t least = 0;
    if (shape.empty() || EqualsIgnoreCase(shape, "rect") || EqualsIgnoreCase(shape, "rectangle")) {
        wanted = Shape::Rect;
        least = 4;
    } else if (EqualsIgnoreCase(shape, "circle") || EqualsIgnoreCase(shape, "circ")) {
        wanted = Shape::Circle;
        least = 3;
    } else if (EqualsIgnoreCase(shape, "poly") || EqualsIgnoreCase(shape, "polygon")) {
        wanted = Shape::Poly;
        least = 6;
    } else if (EqualsIgnoreCase(shape, "default")) {
        outline.shape = Shape::Whole;
        return outline;
    } else {
        return outline;
    }
    std::vector<int> numbers;
    if (!ReadNumbers(coords, numbers) || numbers.size() < least)
        return outline;
    if (wanted == Shape::Poly && numbers.size() % 2 != 0)
        numbers.pop_back();
    else if (wanted != Shape::Poly)
        numbers.resize(least);
    if (wanted == Shape::Circle && numbers[2] < 0)
        return outline;
    outline.shape = wanted;
    outline.points = std::move(numbers);
    return outline;
}

} // namespace orvane
