#include "body_colours.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace orvane {

int ColourBrightness(const Rgb& colour) { return (299 * colour.red + 587 * colour.green + 114 * colour.blue) / 1000; }

bool ContrastsEnough(const Rgb& background, const Rgb& foreground)
{
    const int brightness = ColourBrightness(background) - ColourBrightness(foreground);
    const int difference = std::abs(background.red - foreground.red) + std::abs(background.green - foreground.green) +
                           std::abs(background.blue - foreground.blue);
    return std::abs(brightness) > 180 && difference > 500;
}

bool IsWebSafe(const Rgb& colour)
{
    auto safe = [](int component) { return component >= 0 && component <= 255 && component % 51 == 0; };
    return safe(colour.red) && safe(colour.green) && safe(colour.blue);
}

namespace {
double Linear(int component)
{
    const double c = component / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const Rgb& colour)
{
    return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) + 0.0722 * Linear(colour.blue);
}
} // namespace

double ContrastRatio(const Rgb& a, const Rgb& b)
{
    double lighter = Luminance(a), darker = Luminance(b);
    if (lighter < darker)
        std::swap(lighter, darker);
    return (lighter + 0.05) / (darker + 0.05);
}

std::string HexColour(const Rgb& colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.red & 0xff, colour.green & 0xff, colour.blue & 0xff);
    return text;
}

} // namespace orvane
