// Help and About as the tests see them: what was asked for is recorded.
#include "ui_fixture.h"

#include "library/dialogs/about_dialog.h"
#include "library/dialogs/help_topic.h"

namespace orvane {

int ShowHelpTopic(platform::IWindow* owner, std::string_view topic)
{
    if (topic.empty())
        return 0;
    test::DialogRecord().helpTopics.emplace_back(topic);
    test::DialogRecord().helpOwners.push_back(owner);
    return 1;
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
