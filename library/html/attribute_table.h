#pragma once

#include <string_view>

namespace orvane {

// Attribute ids of the attribute table (0 = element name or a name outside the table).
namespace attr {
constexpr int kUnnamed = -1, kOther = 0, kSrc = 2, kAlt = 3, kAlign = 4, kHeight = 5, kWidth = 6,
              kBorder = 7, kHspace = 8, kVspace = 9, kUsemap = 10, kIsmap = 11, kLang = 12,
              kLongdesc = 13, kShape = 14, kHref = 15, kType = 16, kCode = 17, kTitle = 18,
              kClassid = 19, kData = 20, kName = 21, kBackground = 22, kBgcolor = 23, kSize = 24,
              kValue = 25, kSummary = 26, kAbbr = 27, kId = 28, kHeaders = 29, kHttpEquiv = 30,
              kContent = 31, kCoords = 32, kRowspan = 33, kColspan = 34, kAlink = 35, kVlink = 36,
              kLink = 37, kText = 38, kScope = 39, kAxis = 40, kObject = 41, kCodebase = 42,
              kArchive = 43, kRows = 44, kCols = 45, kSlash = 46, kBordercolor = 47, kStyle = 48,
              kColor = 49, kRel = 50, kScheme = 51, kOnmouseover = 52, kOnfocus = 53,
              kOnmousedown = 54, kOnkeydown = 55, kOnmouseup = 56, kOnkeyup = 57, kOnclick = 58,
              kOnkeypress = 59, kOnmouseout = 60, kOnblur = 61, kFor = 62, kTarget = 63,
              kPrompt = 64, kAction = 65, kFace = 66;
} // namespace attr

constexpr int kAttributeTableSize = 66;

// Id of an attribute name, compared ignoring case; 0 when not in the table.
int AttributeIdOfName(std::string_view name);

// The first table name with this id ("lang" for 12); empty when the id is not in the table.
std::string_view AttributeNameOfId(int id);

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// One of the 16 colour names, compared ignoring case; false when not a colour name.
bool ColourOfName(std::string_view name, Rgb& colour);

} // namespace orvane
