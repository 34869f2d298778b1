// The Qt tests run in one widget application on the offscreen platform, with
// the resource bundle beside the library loaded as the library loads it.
#include "platform/bundle_strings.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The tests read English texts, whatever the locale of the one who runs them.
    if (qEnvironmentVariableIsEmpty("ORVANE_LANG"))
        qputenv("ORVANE_LANG", "en");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    orvane::platform::InstallBundleStrings("OrvaneResources.rcc");
    return RUN_ALL_TESTS();
}
