#include "help_topic.h"

#include "platform/bundle_strings.h"
#include "platform/help.h"

namespace orvane {
namespace {

// Kept for the life of the process: once the help file failed to open it is
// not tried again, so a missing help costs nothing on later requests.
bool g_helpFailed = false;

} // namespace

int ShowHelpTopic(platform::IWindow* owner, std::string_view topic)
{
    if (topic.empty() || g_helpFailed)
        return 0;
    platform::IHelpViewer* viewer = platform::HelpViewer();
    if (!viewer)
        return 0;
    // The help of the windows' language, also when that changed since the last topic.
    const std::string helpFile = platform::HelpFileFor(platform::BundleLanguage());
    if (helpFile.empty() || (helpFile != viewer->OpenFile() && !viewer->Open(helpFile))) {
        g_helpFailed = true;
        return 0;
    }
    return viewer->ShowTopic(owner, topic) ? 1 : 0;
}

} // namespace orvane
