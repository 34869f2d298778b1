#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CAttribute;
class CElement;
class CTableRecord;

// A size fixed in pixels: a page laid out with it cannot follow the reader's
// window or text size. Widths and heights count when they are a bare number
// (or one in px); frameset rows and cols when any of their entries is; a
// style's width or height when it is given in px, pt, pc, cm, mm or in.
struct AbsoluteSize {
    CElement* element;
    CAttribute* attribute;
    // The style property ("width", "height") when the size stands in a style attribute.
    std::string_view property = {};
};

// Where a property's value stands in a style text ("width: 760px"); npos when it is not there.
struct StyleValue {
    std::size_t declarationStart = std::string_view::npos;
    std::size_t declarationEnd = 0;  // past its ';' and the blanks after it
    std::size_t valueStart = 0;
    std::size_t valueEnd = 0;
};
StyleValue FindStyleValue(std::string_view style, std::string_view property);
// A style length in pixels ("760px", "12pt", "2cm"); -1 when it is not an absolute length.
long long StylePixels(std::string_view value);

// The extents that relative sizes are reckoned against: the window a page
// of fixed pixels was made for.
inline constexpr int kAssumedPageWidth = 800;
inline constexpr int kAssumedPageHeight = 600;

bool IsAbsoluteLength(std::string_view value);
bool HasAbsoluteEntry(std::string_view list);

// The table's width and height and its cells' widths that are absolute, in page order.
std::vector<AbsoluteSize> TableAbsoluteSizes(CElement& table, const CTableRecord& record);
// The frameset's rows and cols that hold an absolute entry.
std::vector<AbsoluteSize> FramesetAbsoluteSizes(CElement& frameset);

// The share of the extent a length takes, in percent (760 of 800: "95%").
std::string RelativeLength(std::string_view value, int extent);
// A frameset list with its absolute entries made relative: each a percentage
// of the extent, the largest one the rest ("*") when no entry takes the rest
// yet ("200,600": "25%,*").
std::string RelativeFrameList(std::string_view list, int extent);
// Whether a text is a relative width or height ("95%"), or an empty one.
bool IsRelativeLength(std::string_view value);
// Whether a text is a frameset list without absolute entries ("25%,*,2*").
bool IsRelativeFrameList(std::string_view list);

} // namespace orvane
