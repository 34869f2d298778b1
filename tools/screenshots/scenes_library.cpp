// The library's own windows: the About box and the help window.
#include "scene.h"

#include "library/dialogs/about_dialog.h"
#include "library/dialogs/help_topic.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_session.h"

#include <QHelpContentWidget>
#include <QWidget>

ORVANE_SCENE(about) { orvane::ShowAboutDialog(nullptr); }

ORVANE_SCENE(help)
{
    using namespace orvane::screenshots;
    if (orvane::ShowHelpTopic(nullptr, "1-1-1.html") == 0)
        return;
    QWidget* window = orvane::platform::qt::QtHelpViewer()->Window();
    Shots().Settle(300);
    if (auto* contents = window->findChild<QHelpContentWidget*>())
        contents->expandToDepth(0);
    Shots().Settle(100);
    Shots().Grab(*window);
}

// A window's topic, translated, with the contents open at its group.
ORVANE_SCENE(help_window_topic)
{
    using namespace orvane::screenshots;
    if (orvane::ShowHelpTopic(nullptr, "Conformance.html") == 0)
        return;
    QWidget* window = orvane::platform::qt::QtHelpViewer()->Window();
    Shots().Settle(300);
    if (auto* contents = window->findChild<QHelpContentWidget*>())
        contents->expandToDepth(1);
    Shots().Settle(100);
    Shots().Grab(*window);
}
