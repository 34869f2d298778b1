// A new user's journey in real Qt windows, then the site's CI: a German page
// at level A is judged (nothing flickers, the general warnings considered),
// given a text alternative and a long description, and saved; the overview
// says level A is reached, and `orvane check` run from the site's folder on
// the page's relative path agrees, by the verdicts kept in the site registry.
#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/ui/overview_dialog.h"
#include "platform/paths.h"
#include "platform/qt/qt_window_system.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "tests/qt/decisions_journey_steps.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using platform::IWindow;
using namespace test::journey;

TEST(DecisionsJourney, AGermanPageJudgedInRealWindowsReachesLevelAInTheOverviewAndInCiFromTheSiteFolder)
{
    const fs::path site = fs::path(platform::UserDataDirectory()) / "fahrplan-site";
    const fs::path page = MakeFahrplanSite(site);

    auto store = platform::CreateFileRegistry(platform::UserDataDirectory() + "/UserRegistry.reg");
    platform::ScopedRegistry registryScope(*store);
    test::CRecordingPrompt prompt;
    platform::ScopedPrompt promptScope(prompt);
    COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    COrvaneSettings settings;
    settings.Load();
    settings.SetConformanceLevel(kLevelA);
    platform::qt::CQtWindowSystem windows;
    platform::SetWindows(&windows);

    CHtmlDocument document(CFamilyElementFactory::Instance());
    document.Start(1, false);
    document.SetOriginFlag(1);
    document.SetName(page.string());
    std::istringstream in(kFahrplan);
    ASSERT_EQ(document.Load(in), 1);

    std::set<int> met;
    std::string summary;
    windows.SetShowHook([&](QWidget& widget, IWindow& window) {
        if (window.TemplateId() == COverviewDialog::kTemplate)
            summary = RepairEverythingAndClose(widget);
        else
            met = AnswerEveryPage(widget);
    });
    int achieved = -1;
    {
        COverviewDialog overview;
        overview.Prepare(document, settings, page.string());
        overview.RunModal();
        achieved = overview.AchievedLevel();
    }
    windows.SetShowHook(nullptr);
    platform::SetWindows(nullptr);
    std::ofstream(page, std::ios::binary | std::ios::trunc) << document.Text();

    EXPECT_EQ(achieved, kLevelA) << summary;
    EXPECT_NE(summary.find("A"), std::string::npos) << summary;
    ExpectJudgedAndSaved(site, met);
    ExpectCiReachesLevelAByTheSiteRegistry(site);
}

} // namespace
} // namespace orvane
