#pragma once

#include <string>
#include <string_view>

namespace orvane::fuzz {

// Checks the page the way a checking session does and tests what must hold
// for any bytes: every problem points at a live element of the page with one
// bit of its problem mask, in page order; the page still writes back byte for
// byte; checking again finds the same problems; a page taken in as a file and
// line by line is judged alike; and the problem list groups and
// summarises every problem at every level without losing one. Returns what
// failed, or an empty string.
std::string CheckPageChecks(std::string_view page);

} // namespace orvane::fuzz
