// A whole session in real Qt windows: the user opens the repairs of every
// problem that counts, confirms the general warnings, gives the text field a
// default text, finishes and closes the overview.
#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/registry/object_database.h"
#include "library/ui/overview_dialog.h"
#include "platform/paths.h"
#include "platform/qt/qt_window_system.h"
#include "platform/registry.h"
#include "tests/qt/window_steps.h"
#include "tests/support/test_support.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane {
namespace {

using platform::IWindow;
using test::Find;
using test::Press;

constexpr const char* kPage =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n"
    "<html lang=\"en\"><head><title>Order</title></head>\n"
    "<body><form action=\"order\"><p><label for=\"n\">Name</label> <input type=\"text\" id=\"n\" name=\"n\"></p>"
    "</form></body></html>\n";

constexpr const char* kPageWithTable =
    "<html lang=\"en\"><head><title>Prices</title></head><body>\n"
    "<table summary=\"Prices of our teas\"><tr><td>Green</td><td>4</td></tr></table>\n</body></html>\n";

void LoadPage(CHtmlDocument& document, const char* page)
{
    document.Start(1, false);
    document.SetOriginFlag(1);
    document.SetName("/site/page.html");
    document.AddLine(page);
    document.Finish();
}

TEST(CheckingSession, TheUserRepairsEveryProblemInRealWindowsAndTheSessionKeepsIt)
{
    const std::string home = platform::UserDataDirectory();
    std::filesystem::remove(home + "/ObjectRegistry.xml");
    std::filesystem::remove(home + "/session-test.reg");
    auto store = platform::CreateFileRegistry(home + "/session-test.reg");
    platform::ScopedRegistry registryScope(*store);
    COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    COrvaneSettings settings;
    settings.Load();
    settings.SetConformanceLevel(3);

    CHtmlDocument document(CFamilyElementFactory::Instance());
    LoadPage(document, kPage);

    platform::qt::CQtWindowSystem windows;
    platform::SetWindows(&windows);
    std::vector<int> shown;
    windows.SetShowHook([&](QWidget& widget, IWindow& window) {
        shown.push_back(window.TemplateId());
        if (window.TemplateId() == COverviewDialog::kTemplate) {
            // The problems that count, all of them, into the repair.
            auto* tree = Find<QTreeWidget>(widget, "c1107");
            ASSERT_NE(tree, nullptr);
            tree->setCurrentItem(tree->topLevelItem(0));
            ASSERT_GT(window.ItemCount(1267), 0);
            ASSERT_TRUE(window.IsEnabled(1043));
            Press(widget, "c1043");
            EXPECT_EQ(window.Text(1273), platform::Strings().Get(330));
            Press(widget, "c1");
            return;
        }
        ASSERT_EQ(window.TemplateId(), 9000);
        // First the general warnings, then the text field.
        EXPECT_TRUE(window.IsVisible(12324));
        Press(widget, "c1042");
        Press(widget, "c12324");
        auto* text = Find<QLineEdit>(widget, "c1010");
        ASSERT_NE(text, nullptr);
        ASSERT_TRUE(text->isVisible());
        QTest::keyClicks(text, "Your name");
        EXPECT_TRUE(window.IsVisible(12325));
        Press(widget, "c12325");
    });

    COverviewDialog overview;
    overview.Prepare(document, settings, "/site/order.html");
    overview.RunModal();
    windows.SetShowHook(nullptr);
    platform::SetWindows(nullptr);

    EXPECT_EQ(shown, (std::vector<int>{229, 9000}));
    EXPECT_EQ(overview.ResultCode(), 1);
    const std::string page = document.Text();
    EXPECT_NE(page.find("<input type=\"text\" id=\"n\" name=\"n\" value=\"Your name\">"), std::string::npos) << page;
    // Everything but the repaired tag is written back as it was.
    std::string expected = kPage;
    expected.insert(expected.find(" name=\"n\">") + 9, " value=\"Your name\"");
    EXPECT_EQ(page, expected);
}

// A table nobody judged is asked about once: the answer is kept in the
// object registry when the overview closes, and the next check asks nothing.
TEST(CheckingSession, TheAnswerAboutATableIsRememberedForTheNextCheck)
{
    const std::string home = platform::UserDataDirectory();
    std::filesystem::remove(home + "/ObjectRegistry.xml");
    COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    COrvaneSettings settings;
    platform::qt::CQtWindowSystem windows;
    platform::SetWindows(&windows);
    std::vector<int> shown;
    windows.SetShowHook([&](QWidget& widget, IWindow& window) {
        shown.push_back(window.TemplateId());
        if (window.TemplateId() == 239) {
            EXPECT_FALSE(window.IsEnabled(10)); // the first table has none before it
            Press(widget, "c1148");
            Press(widget, "c1318");
        } else {
            Press(widget, "c1");
        }
    });
    for (int check = 0; check < 2; ++check) {
        CHtmlDocument document(CFamilyElementFactory::Instance());
        LoadPage(document, kPageWithTable);
        COverviewDialog overview;
        overview.Prepare(document, settings, "/site/page.html");
        overview.RunModal();
    }
    windows.SetShowHook(nullptr);
    platform::SetWindows(nullptr);
    EXPECT_EQ(shown, (std::vector<int>{239, 229, 229}));
    EXPECT_NE(test::ReadFileBytes(home + "/ObjectRegistry.xml").find("type=\"data\""), std::string::npos);
}

} // namespace
} // namespace orvane
