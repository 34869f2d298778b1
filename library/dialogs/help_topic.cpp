#include "help_topic.h"

#include "platform/help.h"
#include "platform/paths.h"

namespace orvane {
namespace {

// Kept for the life of the process: once the help file failed to open it is
// not tried again, so a missing help costs nothing on later requests.
bool g_helpOpened = false;
bool g_helpFailed = false;

} // namespace

int ShowHelpTopic(platform::IWindow* owner, std::string_view topic)
{
    if (topic.empty() || g_helpFailed)
        return 0;
    platform::IHelpViewer* viewer = platform::HelpViewer();
    if (!viewer)
        return 0;
    if (!g_helpOpened) {
        const std::string helpFile = platform::FindDataFile("Orvane.qhc");
        if (helpFile.empty() || !viewer->Open(helpFile)) {
            g_helpFailed = true;
            return 0;
        }
        g_helpOpened = true;
    }
    return viewer->ShowTopic(owner, topic) ? 1 : 0;
}

} // namespace orvane
