#pragma once

#include <string_view>

namespace orvane::platform {
class IWindow;
}

namespace orvane {

// Shows a topic of the library's help file (beside the library) in the
// language of the windows, with the window as owner. Returns 0 when help is not available; the first failure to
// open the help is remembered and not retried. An empty topic shows nothing.
int ShowHelpTopic(platform::IWindow* owner, std::string_view topic);

} // namespace orvane
