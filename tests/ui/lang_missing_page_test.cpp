#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/html/element.h"
#include "library/ui/checking_session.h"
#include "library/ui/pages/structure/page_lang_missing.h"
#include "platform/registry.h"

#include <filesystem>

namespace orvane::test {
namespace {

constexpr int kHtml = 41;
constexpr std::uint32_t kMissingLanguage = 0x2;

constexpr char kPage[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<html dir=\"ltr\" >\r\n"
    "<head><title>Tea</title></head>\r\n<body><p>Green tea</p></body></html>\r\n";

std::string WithHtmlTag(std::string_view tag)
{
    std::string page = kPage;
    page.replace(page.find("<html dir=\"ltr\" >"), std::string_view("<html dir=\"ltr\" >").size(), tag);
    return page;
}

int RowOf(const CMemoryWindow& window, int id, std::string_view text)
{
    for (int row = 0; row < window.ItemCount(id); ++row) {
        if (window.ItemText(id, row) == text)
            return row;
    }
    ADD_FAILURE() << "no row " << text;
    return -1;
}

// The language check counts at level AAA; the settings are kept in a store of
// the test's own, where nothing is remembered yet.
using LangPageTest = RepairRunAtLevelTest<3>;

TEST_F(LangPageTest, TheChosenLanguageIsAddedToTheHtmlTagRememberedOnRequestAndUndone)
{
    ASSERT_EQ(OpenSheet(kPage, "MissingLanguage"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(271));
        // Nothing remembered, and two words too few to tell the page's language
        // by: none is proposed, and the choice may be remembered.
        EXPECT_EQ(page.CurrentItem(CPageLangMissing::kLanguage), -1);
        EXPECT_TRUE(page.IsVisible(CPageLangMissing::kRemember));
        EXPECT_FALSE(page.IsChecked(CPageLangMissing::kRemember));
        page.Choose(CPageLangMissing::kLanguage, RowOf(page, CPageLangMissing::kLanguage, "French"));
        page.Click(CPageLangMissing::kRemember);
        w.PressHelp();
        w.Click(platform::kIdFinish);
    });
    ExpectHelpShown({"4-3-1.html"});
    // The two-letter code is written, and nothing else of the page changes.
    EXPECT_EQ(document.Text(), WithHtmlTag("<html dir=\"ltr\" lang=\"fr\">"));
    COrvaneSettings saved;
    saved.Load();
    EXPECT_EQ(saved.GetText1(kHtml, kMissingLanguage), "fr");

    // Opened again, the page shows the choice; Undo writes the page as it was.
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.ItemText(CPageLangMissing::kLanguage, page.CurrentItem(CPageLangMissing::kLanguage)), "French");
        EXPECT_TRUE(page.IsChecked(CPageLangMissing::kRemember));
        w.Click(CValidatorSheet::kSkipUndoButton);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kPage);
    ExpectNothingRepaired();
}

TEST_F(LangPageTest, ARememberedLanguageIsProposedAndAnEmptyLangIsFilledIn)
{
    settings.SetText1(kHtml, kMissingLanguage, "IT");
    const std::string page = WithHtmlTag("<html lang=\"\">");
    ASSERT_EQ(OpenSheet(page, "MissingLanguage"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& lang = w.PageWindow(0);
        EXPECT_EQ(lang.ItemText(CPageLangMissing::kLanguage, lang.CurrentItem(CPageLangMissing::kLanguage)), "Italian");
        EXPECT_FALSE(lang.IsVisible(CPageLangMissing::kRemember));
        w.Click(platform::kIdFinish);
    });
    EXPECT_EQ(document.Text(), WithHtmlTag("<html lang=\"it\">"));
    EXPECT_EQ(settings.GetText1(kHtml, kMissingLanguage), "IT");
}

TEST_F(LangPageTest, AnUnattendedSessionRepairsTheLanguageItselfWhenTheSettingsSaySo)
{
    // At level A, with the language check included, it is the page's only problem.
    settings.SetConformanceLevel(1);
    settings.SetAlwaysInclude(kHtml, kMissingLanguage, true);
    settings.SetAutoRepairMode(kHtml, kMissingLanguage, 1);
    // "Green tea" is too little text to tell a language by: none is guessed.
    Load(kPage);
    EXPECT_EQ(RunUnattendedSession(document, settings, "/site/forms/page.html"), 2);
    EXPECT_EQ(document.Text(), kPage);
    // The language the user chose for such pages is written as it is.
    settings.SetText1(kHtml, kMissingLanguage, "de");
    Load(kPage);
    EXPECT_EQ(RunUnattendedSession(document, settings, "/site/forms/page.html"), 1);
    EXPECT_EQ(document.Text(), WithHtmlTag("<html dir=\"ltr\" lang=\"de\">"));

    // Switched off, the problem stays open.
    settings.SetAutoRepairMode(kHtml, kMissingLanguage, 0);
    Load(kPage);
    EXPECT_EQ(RunUnattendedSession(document, settings, "/site/forms/page.html"), 2);
    EXPECT_EQ(document.Text(), kPage);
}

} // namespace
} // namespace orvane::test
