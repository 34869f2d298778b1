// Two sessions in real Qt windows over two pages of one site that show the
// same photo: the text the user gives it on the first page is saved with the
// page and proposed for the photo on the second.
#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
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
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using platform::IWindow;
using test::Find;
using test::Press;

constexpr int kImagePage = 107;
constexpr int kLinkTextsPage = 1313;
constexpr const char* kFerryText = "The ferry Greta at the harbour wall";

constexpr const char* kTimetable =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n"
    "<html lang=\"en\"><head><title>Ferry times</title></head>\n"
    "<body><h1>Ferry times</h1>\n"
    "<p><img src=\"images/ferry.png\" width=\"400\" height=\"240\" longdesc=\"ferry.html\"> "
    "<a href=\"ferry.html\">d</a></p>\n"
    "</body></html>\n";

constexpr const char* kHarbour =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n"
    "<html lang=\"en\"><head><title>The harbour</title></head>\n"
    "<body><h1>The harbour</h1>\n"
    "<p><img src=\"images/ferry.png\" width=\"400\" height=\"240\" longdesc=\"ferry.html\"> "
    "<a href=\"ferry.html\">d</a></p>\n"
    "</body></html>\n";

// The photo's text on its page; null when the sheet has no such page.
QComboBox* PhotoText(QWidget& sheet, IWindow& window)
{
    return test::ReachPage(sheet, window, kImagePage) ? test::Shown<QComboBox>(sheet, "c1010") : nullptr;
}

// The page's "d" link is reviewed on the last page, which the user finishes on.
void FinishOnLinkTexts(QWidget& sheet, IWindow& window)
{
    if (test::ReachPage(sheet, window, kLinkTextsPage))
        Press(sheet, "c12325");
}

void Load(CHtmlDocument& document, const fs::path& file)
{
    document.Start(1, false);
    document.SetOriginFlag(1);
    document.SetName(file.string());
    std::istringstream page(test::ReadFileBytes(file.string()));
    ASSERT_EQ(document.Load(page), 1);
}

TEST(ImageTextSession, TheTextGivenForAPhotoIsSavedAndProposedForThePhotoOnTheNextPage)
{
    const fs::path site = fs::path(platform::UserDataDirectory()) / "site";
    fs::create_directories(site / "images");
    fs::copy_file(std::string(ORVANE_EXAMPLES_DIR) + "/images/ferry.png", site / "images/ferry.png");
    std::ofstream(site / "times.html", std::ios::binary) << kTimetable;
    std::ofstream(site / "harbour.html", std::ios::binary) << kHarbour;

    auto store = platform::CreateFileRegistry(platform::UserDataDirectory() + "/UserRegistry.reg");
    platform::ScopedRegistry registryScope(*store);
    test::CRecordingPrompt prompt;
    platform::ScopedPrompt promptScope(prompt);
    COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    COrvaneSettings settings;
    platform::qt::CQtWindowSystem windows;
    platform::SetWindows(&windows);

    // The first page: the user types the photo's text and finishes; the page is saved.
    {
        CHtmlDocument document(CFamilyElementFactory::Instance());
        Load(document, site / "times.html");
        bool typed = false;
        test::RepairEverything(windows, document, settings, (site / "times.html").string(), [&](QWidget& sheet, IWindow& window) {
            QComboBox* text = PhotoText(sheet, window);
            if (!text)
                return;
            EXPECT_EQ(text->count(), 0);  // nothing known of the photo yet
            QTest::keyClicks(text, kFerryText);
            typed = true;
            FinishOnLinkTexts(sheet, window);
        });
        ASSERT_TRUE(typed);
        std::ofstream(site / "times.html", std::ios::binary | std::ios::trunc) << document.Text();
    }
    std::string saved = kTimetable;
    saved.insert(saved.find(" width=\"400\""), std::string(" alt=\"") + kFerryText + "\"");
    EXPECT_EQ(test::ReadFileBytes((site / "times.html").string()), saved);

    // Checked again, the saved page has no image without its text.
    {
        CHtmlDocument document(CFamilyElementFactory::Instance());
        Load(document, site / "times.html");
        for (const CFoundProblem& problem : RunCheckPass(document, settings, nullptr))
            EXPECT_NE(problem.element->GetCheckName(problem.bit), "ImgAltText");
    }

    // The second page shows the same photo: its text is proposed, and taken with Finish.
    {
        CHtmlDocument document(CFamilyElementFactory::Instance());
        Load(document, site / "harbour.html");
        bool proposed = false;
        test::RepairEverything(windows, document, settings, (site / "harbour.html").string(), [&](QWidget& sheet, IWindow& window) {
            QComboBox* text = PhotoText(sheet, window);
            if (!text)
                return;
            proposed = text->findText(kFerryText) >= 0;
            text->setCurrentIndex(text->findText(kFerryText));
            FinishOnLinkTexts(sheet, window);
        });
        EXPECT_TRUE(proposed);
        std::string repaired = kHarbour;
        repaired.insert(repaired.find(" width=\"400\""), std::string(" alt=\"") + kFerryText + "\"");
        EXPECT_EQ(document.Text(), repaired);
    }
    platform::SetWindows(nullptr);
    // Nothing was said of the photo's text.
    for (const test::CRecordingPrompt::Message& message : prompt.messages)
        EXPECT_EQ(message.text.find("text alternative"), std::string::npos) << message.text;
}

} // namespace
} // namespace orvane
