#pragma once

namespace orvane::platform {

// Whether standard error is a terminal a person watches (progress is shown there).
bool StandardErrorIsTerminal();

// The number of processors, at least 1.
unsigned ProcessorCount();

} // namespace orvane::platform
