// The About box and the help binding as the tests of the overview need them:
// they only record that they were asked for.
#include "library/dialogs/about_dialog.h"
#include "library/dialogs/help_topic.h"

namespace orvane {
void ShowAboutDialog(platform::IWindow*) {}
int ShowHelpTopic(platform::IWindow*, std::string_view) { return 0; }
}
