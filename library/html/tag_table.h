#pragma once

#include <string_view>

namespace orvane {

// Element kinds besides the tag ids 0..95 of the tag table.
namespace kind {
constexpr int kText = -1;
constexpr int kComment = -2;        // "<!--" and every comment piece
constexpr int kUnknown = -3;        // unknown or empty tag
constexpr int kDocument = -4;       // the document-level element
constexpr int kCommentEnd = 998;    // the ">" closing a comment
constexpr int kEndOffset = 1000;    // end tag = tag id + 1000
} // namespace kind

// Tag ids used by the document model itself.
namespace tag {
constexpr int kApplet = 3, kArea = 4, kA = 5, kBody = 7, kBlink = 11, kList = 24, kFont = 29,
              kFrame = 31, kFrameset = 32, kH1 = 33, kH6 = 38, kHtml = 41, kImg = 44, kInput = 45,
              kLabel = 49, kMap = 54, kMeta = 57, kObject = 60, kPre = 67, kScript = 71,
              kSelect = 72, kStyle = 77, kTable = 80, kTd = 82, kTextarea = 83, kTh = 86,
              kXmp = 93, kDoctype = 95;
}

constexpr int kTagTableSize = 96;

// The element kind of a whole tag token ("<p align=x>", "</TABLE >", "<!--").
int TagIdOfToken(std::string_view token);

// The tag table's name at a table position (not a tag id); empty outside 0..95.
std::string_view TagName(int index);

} // namespace orvane
