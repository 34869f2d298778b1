// Help and About as the sheet's tests see them: each request is recorded.
#include "help_about_stub.h"

#include "library/dialogs/about_dialog.h"
#include "library/dialogs/help_topic.h"

namespace orvane {

namespace test {
std::vector<std::string> g_helpTopics;
int g_aboutBoxes = 0;
} // namespace test

int ShowHelpTopic(platform::IWindow*, std::string_view topic)
{
    test::g_helpTopics.emplace_back(topic);
    return 1;
}

void ShowAboutDialog(platform::IWindow*) { ++test::g_aboutBoxes; }

} // namespace orvane
