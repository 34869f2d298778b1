#include "library/ui/pages/text_alternatives/map_coordinates.h"

#include "library/ui/pages/text_alternatives/image_map_converter.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orvane {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// No picture is this large; held there, absurd numbers cannot overflow the
// arithmetic below.
constexpr long long kLargestNumber = 1'000'000'000'000LL;

long long NumberOf(std::string_view digits)
{
    long long number = 0;
    for (char c : digits)
        number = std::min(number * 10 + (c - '0'), kLargestNumber);
    return number;
}

} // namespace

std::string ClientSideCoordinates(int shape, std::string_view coordinates)
{
    std::string joined;
    std::array<std::string_view, 4> first{};
    std::size_t count = 0;
    for (std::size_t i = 0; i < coordinates.size();) {
        if (!IsDigit(coordinates[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < coordinates.size() && IsDigit(coordinates[end]))
            ++end;
        const std::string_view number = coordinates.substr(i, end - i);
        if (count < first.size())
            first[count] = number;
        if (count++ > 0)
            joined.push_back(',');
        joined.append(number);
        i = end;
    }

    if (shape == kShapeCircle && count == 4) {
        const long long x = NumberOf(first[0]);
        const long long y = NumberOf(first[1]);
        const double dx = static_cast<double>(NumberOf(first[2]) - x);
        const double dy = static_cast<double>(NumberOf(first[3]) - y);
        const auto radius = static_cast<long long>(std::floor(std::sqrt(dx * dx + dy * dy) + 0.5));
        return std::to_string(x) + ',' + std::to_string(y) + ',' + std::to_string(radius);
    }
    if (shape == kShapeRect && count == 2) {
        joined += ',' + std::to_string(NumberOf(first[0]) + 1);
        joined += ',' + std::to_string(NumberOf(first[1]) + 1);
    }
    return joined;
}

} // namespace orvane
