#pragma once

#include <string>

namespace orvane::selector::qt {

// Runs Tamsel's window in the widget application the caller made, until the
// user closes it; the program's exit code. Its windows and texts come from
// the resource bundle of that name; without it the user is told, and 1 returned.
// A start folder (relative ones from the working folder) is opened first,
// ahead of the one the window was left in.
int RunTamsel(const std::string& bundle = "TamselResources.rcc", const std::string& startFolder = {});

} // namespace orvane::selector::qt
