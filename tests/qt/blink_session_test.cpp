// Two sessions in real Qt windows over the island ferries' offers page: the
// replacement the user chooses for its scrolling and blinking texts is
// remembered and proposed again the next time the library runs.
#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/ui/overview_dialog.h"
#include "platform/paths.h"
#include "platform/qt/qt_window_system.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "tests/qt/window_steps.h"
#include "tests/support/test_support.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <sstream>

namespace orvane {
namespace {

using platform::IWindow;
using test::Find;
using test::Press;
using test::Shown;

constexpr int kBlinkPage = 158;

// Next through the pages that follow, each taking its proposal, and Finish.
void FinishSheet(QWidget& sheet, IWindow& window)
{
    for (int step = 0; step < 10 && window.IsVisible(platform::kIdNext) && window.IsEnabled(platform::kIdNext); ++step) {
        Press(sheet, "c12324");
        if (auto* confirm = Shown<QAbstractButton>(sheet, "c1042"))
            confirm->click();
    }
    Press(sheet, "c12325");
}

// One session of the offers page in the overview, every problem that counts
// sent to the repair; the sheet is given to the test's hands. The page as repaired.
std::string RepairOffers(COrvaneSettings& settings, const std::function<void(QWidget&, IWindow&)>& onSheet)
{
    platform::qt::CQtWindowSystem windows;
    platform::SetWindows(&windows);
    CHtmlDocument document(CFamilyElementFactory::Instance());
    document.Start(1, false);
    document.SetOriginFlag(1);
    std::istringstream page(test::ReadFileBytes(std::string(ORVANE_EXAMPLES_DIR) + "/offers.html"));
    EXPECT_EQ(document.Load(page), 1);
    test::RepairEverything(windows, document, settings, std::string(ORVANE_EXAMPLES_DIR) + "/offers.html",
                           [&](QWidget& sheet, IWindow& window) {
                               if (test::ReachPage(sheet, window, kBlinkPage))
                                   onSheet(sheet, window);
                           });
    platform::SetWindows(nullptr);
    return document.Text();
}

TEST(BlinkSession, TheReplacementChosenWithTheKeyboardIsProposedInTheNextSession)
{
    auto store = platform::CreateFileRegistry(platform::UserDataDirectory() + "/UserRegistry.reg");
    platform::ScopedRegistry registryScope(*store);
    test::CRecordingPrompt prompt;
    platform::ScopedPrompt promptScope(prompt);
    COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    const std::string original = test::ReadFileBytes(std::string(ORVANE_EXAMPLES_DIR) + "/offers.html");

    {
        COrvaneSettings settings;
        settings.Load();
        settings.SetConformanceLevel(2);
        const std::string repaired = RepairOffers(settings, [](QWidget& sheet, IWindow& window) {
            auto* attributes = Shown<QLineEdit>(sheet, "c1012");
            auto* tags = Shown<QComboBox>(sheet, "c1011");
            ASSERT_TRUE(attributes && tags);
            EXPECT_EQ(tags->currentText(), "strong");
            EXPECT_FALSE(attributes->isEnabled());
            Press(sheet, "c1118");
            // The user steps up from "strong" to "span" with the arrow key: its attributes open up.
            tags->setFocus();
            QTest::keyClick(tags, Qt::Key_Up);
            EXPECT_EQ(tags->currentText(), "span");
            EXPECT_TRUE(attributes->isEnabled());
            attributes->clear();
            QTest::keyClicks(attributes, "class=\"offer\"");
            EXPECT_TRUE(Shown<QAbstractButton>(sheet, "c1120")->isChecked());
            FinishSheet(sheet, window);
        });
        // The pages passed on the way took their proposals too.
        std::string expected = original;
        std::size_t from = 0;
        for (const auto& [old, now] : std::initializer_list<std::pair<std::string_view, std::string_view>>{
                 {"<marquee behavior=\"scroll\">", "<span class=\"offer\">"},
                 {"</marquee>", "</span>"},
                 {"<h2 class=\"notice\">", "<p class=\"notice\">"},
                 {"season</h2>", "season</p>"},
                 {"<ul>", "<span style=\"margin-left: 2em;\">"},
                 {"<li>", ""},
                 {"</ul>", "</span>"},
                 {"<blink>", "<span class=\"offer\">"},
                 {"</blink>", "</span>"}}) {
            from = expected.find(old, from);
            ASSERT_NE(from, std::string::npos) << old;
            expected.replace(from, old.size(), now);
        }
        EXPECT_EQ(repaired, expected);
    }

    // The next time the library runs, the settings are read from the store.
    COrvaneSettings next;
    next.Load();
    next.SetConformanceLevel(2);
    bool proposed = false;
    RepairOffers(next, [&](QWidget& sheet, IWindow&) {
        proposed = Shown<QAbstractButton>(sheet, "c1118")->isChecked() &&
                   Shown<QComboBox>(sheet, "c1011")->currentText() == "span" &&
                   Shown<QLineEdit>(sheet, "c1012")->text() == "class=\"offer\"" &&
                   Shown<QLineEdit>(sheet, "c1012")->isEnabled();
        Press(sheet, "c2");
    });
    EXPECT_TRUE(proposed);
}

} // namespace
} // namespace orvane
