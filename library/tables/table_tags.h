#pragma once

namespace orvane::table_tag {

// Tag ids of the table parts the document model itself has no name for.
constexpr int kCaption = 15;
constexpr int kTbody = 81;
constexpr int kTfoot = 84;
constexpr int kThead = 85;
constexpr int kTr = 88;

} // namespace orvane::table_tag
