#pragma once

namespace orvane::platform {
class IWindow;
}

namespace orvane {

// The library's About box (template 100), modal, owned by the window (or none).
void ShowAboutDialog(platform::IWindow* owner);

} // namespace orvane
