#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Script code read for the windows it opens. The code is read as a run of
// names and signs, comments and quoted strings passed over, so each reading
// takes one pass however long the script.
namespace windowopening {

// Whether the code opens a window itself: open called on window, self or
// top, or a modal dialog shown, blanks allowed between the words.
bool OpensWindow(std::string_view code);

// The functions the code defines (function name() { ... } or name =
// function() { ... }) whose own body opens a window.
std::vector<std::string> OpeningFunctions(std::string_view code);

// Whether the code calls one of the functions, as itself or as a member of
// window, self or top.
bool CallsAny(std::string_view code, const std::vector<std::string>& functions);

// The code a javascript: address runs; empty for any other address.
std::string_view ScriptOfAddress(std::string_view href);

} // namespace windowopening
} // namespace orvane
