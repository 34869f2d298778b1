#pragma once

#include <string_view>

namespace orvane {

class CHtmlDocument;

// The address of the product's web site: the icon links to it, and its long
// description page lies there.
inline constexpr std::string_view kProductSiteAddress = "https://orvane.example.org";

// Puts the conformance icon for the achieved level (0 none, 1 A, 2 double A,
// 3 triple A) into a page that came from a file or line by line: updates an
// icon already there, removes it at level 0, or inserts one before every
// </body>. iconsLocation is the address of the folder of the icon images;
// nothing happens when it is empty.
void InsertConformanceIcon(CHtmlDocument& document, int achievedLevel, std::string_view iconsLocation);

} // namespace orvane
