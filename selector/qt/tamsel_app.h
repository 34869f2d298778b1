#pragma once

#include <string>

namespace orvane::selector::qt {

// Runs Tamsel's window in the widget application the caller made, until the
// user closes it; the program's exit code. Its windows and texts come from
// the resource bundle of that name; without it the user is told, and 1 returned.
int RunTamsel(const std::string& bundle = "TamselResources.rcc");

} // namespace orvane::selector::qt
