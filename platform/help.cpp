#include "help.h"

namespace orvane::platform {
namespace {
IHelpViewer* g_helpViewer = nullptr;
}

IHelpViewer* HelpViewer() { return g_helpViewer; }
void SetHelpViewer(IHelpViewer* viewer) { g_helpViewer = viewer; }

} // namespace orvane::platform
