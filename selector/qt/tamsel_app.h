#pragma once

namespace orvane::selector::qt {

// Runs Tamsel's window in the widget application the caller made, until the
// user closes it; the program's exit code.
int RunTamsel();

} // namespace orvane::selector::qt
