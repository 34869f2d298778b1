// The About box and the help binding as the tests of the windows need them:
// they record what was asked for; help counts as not available.
#include "ui_fixture.h"

#include "library/dialogs/about_dialog.h"
#include "library/dialogs/help_topic.h"

namespace orvane {

int ShowHelpTopic(platform::IWindow* owner, std::string_view topic)
{
    if (!topic.empty()) {
        test::DialogRecord().helpTopics.emplace_back(topic);
        test::DialogRecord().helpOwners.push_back(owner);
    }
    return 0;
}

void ShowAboutDialog(platform::IWindow*) { ++test::DialogRecord().aboutBoxes; }

} // namespace orvane

namespace orvane::test {

ShownDialogs& DialogRecord()
{
    static ShownDialogs record;
    return record;
}

} // namespace orvane::test
