#pragma once

namespace orvane::registry_strings {

// String resources of the object registry's messages.
constexpr int kCaption = 111;
// %1 the registry file, %2 the name it was kept under.
constexpr int kUnreadableKept = 950;
// %1 the registry file.
constexpr int kUnreadableNotSaved = 951;
// %1 the registry file, %2 the name it was kept under.
constexpr int kMergeConflictKept = 1260;

} // namespace orvane::registry_strings
