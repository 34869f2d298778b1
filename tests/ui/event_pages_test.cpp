#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/checks/element_anchor.h"
#include "library/html/tag_table.h"
#include "library/registry/object_database.h"
#include "library/registry/src_link.h"
#include "library/ui/page_anchor_new_window.h"
#include "platform/registry.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvane::test {
namespace {

using platform::kIdFinish;
using platform::kIdNext;
constexpr int kSkipUndo = CValidatorSheet::kSkipUndoButton;
constexpr int kOption = CValidatorSheet::kOptionBox;

std::string Shown(CMemoryWindow& page, int browser)
{
    std::ifstream in(page.Browser(browser)->Address());
    return {std::istreambuf_iterator<char>(in), {}};
}

// The settings and the object registry of this test's own.
class EventPagesTest : public RepairRunTest {
protected:
    void SetUp() override
    {
        RepairRunTest::SetUp();
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        settings.Load();
        settings.SetConformanceLevel(3);
        std::ofstream(m_registryFile, std::ios::binary) << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n</root>";
        ASSERT_EQ(registry.Load(), 1);
        std::filesystem::remove(m_registryFile);
    }

    const std::string m_registryFile =
        (std::filesystem::temp_directory_path() /
         ("ObjectRegistry-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".xml"))
            .string();
    CSrcObjectDatabase registry{m_registryFile};
    std::string m_home = ::testing::TempDir() + "event-pages-" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::unique_ptr<platform::IRegistry> m_store =
        (std::filesystem::remove_all(m_home), std::filesystem::create_directories(m_home),
         platform::CreateFileRegistry(m_home + "/UserRegistry.reg"));
    platform::ScopedRegistry m_registryScope{*m_store};
};

// Two links of a page open new windows; the second has no end tag before the next one.
constexpr char kToursPage[] =
    "<html lang=\"en\"><head><title>Tours</title></head><body>\r\n"
    "<p>See the <a href=\"http://weather.example.org/coast\" target=\"_blank\">coastal <b>forecast</b></a>\r\n"
    "before you book.</p>\r\n"
    "<ul><li><A HREF=\"fares.pdf\" TARGET=_new title=\"Fares 2026\">Fares</A></li></ul>\r\n"
    "</body></html>\r\n";

TEST_F(EventPagesTest, ANewWindowLinkSaysSoInItsTextForEveryLinkOfThePageAndIsRememberedAsWarned)
{
    Load(kToursPage);
    StartSheet();
    sheet.SetObjectRegistry(&registry);
    ASSERT_EQ(AddPages("AnchorNewWindow"), 2);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        using Page = CPageAnchorNewWindow;
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(936));
        EXPECT_EQ(page.Text(Page::kAddress), "http://weather.example.org/coast");
        EXPECT_EQ(page.Text(Page::kTarget), "_blank");
        EXPECT_EQ(Shown(page, Page::kPreview),
                  "<html><head></head><body><p>See the <a href=\"http://weather.example.org/coast\" "
                  "target=\"_blank\">coastal <b>forecast</b></a>\r\nbefore you book.</p></body></html>");
        // One decision for all the page's such links: the second page is merged.
        EXPECT_TRUE(w.IsVisible(kOption));
        EXPECT_TRUE(w.IsChecked(kOption));
        EXPECT_TRUE(page.IsChecked(Page::kSayInText));
        EXPECT_EQ(page.Text(Page::kWarning), Strings(935));
        w.PressHelp();

        // A warning without words says nothing: the user is told and stays.
        page.Type(Page::kWarning, "  ");
        w.Click(kIdFinish);
        ASSERT_EQ(windows.prompt.messages.size(), 1u);
        EXPECT_EQ(windows.prompt.messages[0].text, Strings(937));
        EXPECT_EQ(document.Text(), kToursPage);
        page.Type(Page::kWarning, "(new window & tab)");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(sheet.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(DialogRecord().helpTopics, std::vector<std::string>{"10-1-1.html"});
    const std::string warned =
        "<html lang=\"en\"><head><title>Tours</title></head><body>\r\n"
        "<p>See the <a href=\"http://weather.example.org/coast\" target=\"_blank\">coastal <b>forecast</b> "
        "(new window &amp; tab)</a>\r\n"
        "before you book.</p>\r\n"
        "<ul><li><A HREF=\"fares.pdf\" TARGET=_new title=\"Fares 2026\">Fares (new window &amp; tab)</A></li></ul>\r\n"
        "</body></html>\r\n";
    EXPECT_EQ(document.Text(), warned);
    for (const char* href : {"http://weather.example.org/coast", "fares.pdf"}) {
        const CSrcLink* link = registry.FindLink(document.Name(), href);
        ASSERT_TRUE(link) << href;
        EXPECT_TRUE(link->HasWarning()) << href;
    }
    EXPECT_EQ(settings.GetRememberedNumber(tag::kA, CElementAnchor::kNewWindowBit), CPageAnchorNewWindow::kSayInText);

    // Undo takes the words out of both links and the warnings out of the registry.
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    sheet.DoModal(nullptr);
    EXPECT_EQ(document.Text(), kToursPage);
    EXPECT_FALSE(registry.FindLink(document.Name(), "fares.pdf")->HasWarning());

    // The next session proposes the words last typed; each link its own way.
    CValidatorSheet next;
    StartSheet(next, "/site/forms/page.html");
    next.SetObjectRegistry(&registry);
    ASSERT_EQ(AddPages(next, [](std::string_view check) { return check == "AnchorNewWindow"; }), 2);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        using Page = CPageAnchorNewWindow;
        CMemoryWindow& first = w.PageWindow(0);
        EXPECT_EQ(first.Text(Page::kWarning), "(new window & tab)");
        w.Click(kOption);
        first.Click(Page::kRemoveTarget);
        EXPECT_FALSE(first.IsEnabled(Page::kWarning));
        w.Click(kIdNext);
        CMemoryWindow& second = w.PageWindow(1);
        EXPECT_EQ(second.Text(Page::kTarget), "_new");
        second.Click(Page::kSayInTitle);
        second.Type(Page::kWarning, " (opens in a new window)");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(next.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(document.Text(),
              "<html lang=\"en\"><head><title>Tours</title></head><body>\r\n"
              "<p>See the <a href=\"http://weather.example.org/coast\">coastal <b>forecast</b></a>\r\n"
              "before you book.</p>\r\n"
              "<ul><li><A HREF=\"fares.pdf\" TARGET=\"_new\" title=\"Fares 2026 (opens in a new window)\">Fares</A>"
              "</li></ul>\r\n"
              "</body></html>\r\n");
    EXPECT_FALSE(registry.FindLink(document.Name(), "http://weather.example.org/coast")->HasWarning());
    EXPECT_TRUE(registry.FindLink(document.Name(), "fares.pdf")->HasWarning());
    // Checked again, the warned link is accepted.
    found = RunCheckPass(document, settings, &registry);
    for (const CFoundProblem& problem : found)
        EXPECT_NE(problem.element->GetCheckName(problem.bit), "AnchorNewWindow");

    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        // Opened again, the sheet merges the links again: one Undo takes back both.
        EXPECT_TRUE(w.IsChecked(kOption));
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    next.DoModal(nullptr);
    EXPECT_EQ(document.Text(), kToursPage);
}

} // namespace
} // namespace orvane::test
