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
#include "library/ui/problem_list.h"
#include "platform/paths.h"
#include "platform/qt/qt_window_system.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "tests/qt/window_steps.h"
#include "tests/support/test_support.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using platform::IWindow;
using test::Press;
using test::Shown;

constexpr int kFlickerPage = 1309;
constexpr int kImageTextPage = 107;
constexpr int kLongDescriptionPage = 132;
constexpr const char* kImageText = "Die F\xc3\xa4hre Greta an der Hafenmauer";
constexpr const char* kDescription = "Die F\xc3\xa4hre Greta liegt an der Hafenmauer, dahinter steht der Leuchtturm.";

constexpr const char* kFahrplan =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n"
    "<html lang=\"de\"><head><title>Fahrplan der F\xc3\xa4hre</title></head>\n"
    "<body><h1>Fahrplan</h1>\n"
    "<p>Die F\xc3\xa4hre f\xc3\xa4hrt jeden Tag um neun Uhr ab, bei jedem Wetter und auch an Feiertagen.</p>\n"
    "<p><img src=\"images/ferry.png\" width=\"400\" height=\"240\"></p>\n"
    "<p><object data=\"uhr.swf\" type=\"application/x-shockwave-flash\">Die Uhr zeigt die Abfahrtszeit.</object></p>\n"
    "</body></html>\n";

// What the program printed, both streams, run in the folder; the status is set.
std::string RunProgram(const fs::path& folder, const std::string& arguments, int& status)
{
    const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "orvane";
    const std::string command = "cd '" + folder.string() + "' && '" + program.string() + "' " + arguments + " 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        output.append(buffer.data(), n);
    status = pclose(pipe);
    return output;
}

// Every page of the sheet answered as the user of the journey answers it,
// then Next, until Finish ends the run. The templates of the pages met.
std::set<int> AnswerEveryPage(QWidget& sheet, IWindow& window)
{
    std::set<int> met;
    for (int step = 0; step < 30 && !window.HasEnded(); ++step) {
        const int page = window.Page(window.CurrentPage()).TemplateId();
        met.insert(page);
        if (page == kFlickerPage) {
            if (auto* nothing = Shown<QAbstractButton>(sheet, "c1179"))
                nothing->click();
        } else if (page == kImageTextPage) {
            // Typed as a paste: the test's keyboard knows no umlauts.
            if (auto* text = Shown<QComboBox>(sheet, "c1010"); text && text->lineEdit())
                text->lineEdit()->insert(QString::fromUtf8(kImageText));
        } else if (page == kLongDescriptionPage) {
            if (auto* writeNew = Shown<QAbstractButton>(sheet, "c1181"))
                writeNew->click();
            if (auto* name = Shown<QLineEdit>(sheet, "c1185"); name && name->text().isEmpty())
                QTest::keyClicks(name, "faehre.html");
            if (auto* text = Shown<QPlainTextEdit>(sheet, "c1162"); text && text->toPlainText().isEmpty())
                text->insertPlainText(QString::fromUtf8(kDescription));
        }
        if (auto* confirm = Shown<QAbstractButton>(sheet, "c1042"))
            confirm->click();
        if (window.IsVisible(platform::kIdNext) && window.IsEnabled(platform::kIdNext))
            Press(sheet, "c12324");
        else
            Press(sheet, "c12325");
    }
    if (!window.HasEnded()) {
        ADD_FAILURE() << "the sheet did not end on page " << window.Page(window.CurrentPage()).TemplateId();
        Press(sheet, "c2");
    }
    return met;
}

TEST(DecisionsJourney, AGermanPageJudgedInRealWindowsReachesLevelAInTheOverviewAndInCiFromTheSiteFolder)
{
    const fs::path site = fs::path(platform::UserDataDirectory()) / "fahrplan-site";
    fs::remove_all(site);
    fs::create_directories(site / "images");
    fs::create_directories(site / ".orvane");
    fs::copy_file(std::string(ORVANE_EXAMPLES_DIR) + "/images/ferry.png", site / "images/ferry.png");
    std::ofstream(site / ".orvane" / "registry.xml") << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n</root>\n";
    const fs::path page = site / "index.html";
    std::ofstream(page, std::ios::binary) << kFahrplan;

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
        if (window.TemplateId() != COverviewDialog::kTemplate) {
            met = AnswerEveryPage(widget, window);
            return;
        }
        auto* tree = test::Find<QTreeWidget>(widget, "c1107");
        ASSERT_NE(tree, nullptr);
        tree->setCurrentItem(tree->topLevelItem(0));
        Press(widget, "c1043");
        summary = window.Text(1274);
        Press(widget, "c1");
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

    for (int judged : {kFlickerPage, kImageTextPage, kLongDescriptionPage})
        EXPECT_TRUE(met.contains(judged)) << judged;
    EXPECT_EQ(achieved, kLevelA) << summary;
    EXPECT_NE(summary.find("A"), std::string::npos) << summary;
    const std::string saved = test::ReadFileBytes(page.string());
    EXPECT_NE(saved.find(std::string("alt=\"") + kImageText + "\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("longdesc=\""), std::string::npos) << saved;
    const std::string registry = test::ReadFileBytes((site / ".orvane" / "registry.xml").string());
    EXPECT_NE(registry.find("<document filename=\"index.html\""), std::string::npos) << registry;
    EXPECT_NE(registry.find("verdict=\"nothing flickers\""), std::string::npos) << registry;

    // The site's CI, from the site's folder on the relative path.
    int status = -1;
    std::string report = RunProgram(site, "check --level A index.html", status);
    EXPECT_EQ(status, 0) << report;
    EXPECT_NE(report.find("target A, achieved A"), std::string::npos) << report;
    report = RunProgram(site, "check --level A --no-registry index.html", status);
    EXPECT_NE(status, 0) << report;
    EXPECT_NE(report.find("target A, achieved none"), std::string::npos) << report;
}

} // namespace
} // namespace orvane
