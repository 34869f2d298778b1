// The overview window of a session, as the user sees and uses it.
#include "library/ui/overview_dialog.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/ui/repair_run.h"
#include "platform/registry.h"
#include "platform/string_table.h"
#include "tests/support/memory_window.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane {
namespace {

using platform::kIdOk;
using test::CMemoryWindow;

enum : int { kTree = 1107, kList = 1267, kRepair = 1043, kIgnoreRepaired = 1285, kProgress = 1269,
             kSummary = 1273, kAchieved = 1274, kPictureAA = 1275, kPictureNone = 1278 };

class OverviewTest : public ::testing::Test {
protected:
    OverviewTest() : m_stringScope(m_strings), m_registryScope(*m_store)
    {
        m_strings.Parse(test::ReadFileBytes(std::string(ORVANE_SOURCE_DIR) + "/resources/strings/en.txt"));
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        settings.Load();
        settings.SetConformanceLevel(2);
    }

    void Load(const std::string& page)
    {
        document.Start(1, false);
        document.SetOriginFlag(1);
        document.AddLine(page);
        document.Finish();
        overview.Prepare(document, settings, "/site/page.html");
    }

    // Marks every problem repaired but those the filter keeps open.
    template <class KeepOpen>
    void RepairAllBut(KeepOpen keepOpen)
    {
        for (const auto& entry : overview.Problems().AllEntries()) {
            if (!keepOpen(*entry))
                entry->Element().SetRepaired(entry->Bit(), true);
        }
    }

    std::string S(int id) const { return m_strings.Get(id); }

    platform::CStringTable m_strings;
    platform::ScopedStrings m_stringScope;
    std::string m_home = ::testing::TempDir() + "overview-" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::unique_ptr<platform::IRegistry> m_store =
        (std::filesystem::remove_all(m_home), std::filesystem::create_directories(m_home),
         platform::CreateFileRegistry(m_home + "/UserRegistry.reg"));
    platform::ScopedRegistry m_registryScope;
    test::CMemoryWindows windows;
    COrvaneSettings settings;
    CHtmlDocument document{CFamilyElementFactory::Instance()};
    COverviewDialog overview;
};

TEST_F(OverviewTest, APageWithoutProblemsShowsNothingToRepair)
{
    Load("<!DOCTYPE html><html lang=\"en\"><head><title>Fine</title></head><body></body></html>");
    if (!overview.Problems().AllEntries().empty())
        GTEST_SKIP() << "the minimal page has problems of its own now";
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        EXPECT_TRUE(w.TreeChildren(kTree, 0).empty());
        EXPECT_EQ(w.Text(kSummary), S(337) + ".");
        EXPECT_FALSE(w.IsEnabled(kRepair));
        EXPECT_EQ(w.Position(kProgress), w.Range(kProgress).second);
        w.Click(kIdOk);
    });
    overview.RunModal();
    EXPECT_EQ(overview.ResultCode(), 0);
}

TEST_F(OverviewTest, ProblemsOutsideTheTargetAreShownApartAndDoNotCount)
{
    // A text field without a default text is a priority-3 problem: outside AA.
    Load("<html lang=\"en\"><head><title>t</title></head><body><form action=\"x\">"
         "<label for=\"n\">Name</label><input type=\"text\" id=\"n\" name=\"n\"></form></body></html>");
    settings.SetConformanceLevel(1);
    RepairAllBut([](const CProblemEntry& entry) { return entry.Priority() == 3; });
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        const auto roots = w.TreeChildren(kTree, 0);
        ASSERT_FALSE(roots.empty());
        EXPECT_EQ(w.TreeItemText(kTree, roots.back()), S(327));
        EXPECT_FALSE(w.IsTreeItemExpanded(kTree, roots.back()));
        w.Click(kIdOk);
    });
    overview.RunModal();
    EXPECT_NE(overview.ResultCode(), 2);
}

TEST_F(OverviewTest, OneOpenPriorityThreeProblemStillReachesAA)
{
    Load("<html lang=\"en\"><head><title>t</title></head><body><form action=\"x\">"
         "<label for=\"n\">Name</label><input type=\"text\" id=\"n\" name=\"n\"></form></body></html>");
    RepairAllBut([](const CProblemEntry& entry) { return entry.Priority() == 3; });
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        EXPECT_EQ(w.Text(kAchieved), m_strings.Format(332, {"AA"}));
        EXPECT_TRUE(w.IsVisible(kPictureAA));
        EXPECT_FALSE(w.IsVisible(kPictureNone));
        w.Click(kIdOk);
    });
    overview.RunModal();
    EXPECT_EQ(overview.AchievedLevel(), 2);
}

TEST_F(OverviewTest, UnlabelledControlsOfEveryKindShareOneCheckAndRepairedRowsStayUnselected)
{
    Load("<html lang=\"en\"><head><title>t</title></head><body><form action=\"x\">"
         "<input type=\"text\" name=\"a\" value=\"1\"><input type=\"text\" name=\"b\" value=\"2\">"
         "<input type=\"text\" name=\"c\" value=\"3\"><select name=\"d\"><option>x</option></select>"
         "</form></body></html>");
    int labelEntries = 0;
    for (const auto& entry : overview.Problems().AllEntries())
        labelEntries += entry->Bit() == 0x20000000 ? 1 : 0;
    ASSERT_EQ(labelEntries, 4);
    // The first unlabelled field was given a label already.
    for (const auto& entry : overview.Problems().AllEntries()) {
        if (entry->Bit() == 0x20000000) {
            entry->Element().SetRepaired(entry->Bit(), true);
            break;
        }
    }
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        const auto atLevel = w.TreeChildren(kTree, 0).front();
        platform::TreeItem labels = 0;
        for (auto node : w.TreeChildren(kTree, atLevel)) {
            auto* head = reinterpret_cast<CProblemEntry*>(w.TreeItemData(kTree, node));
            if (head->Bit() == 0x20000000)
                labels = node;
        }
        ASSERT_NE(labels, 0);
        w.SelectTreeItemAsUser(kTree, labels);
        ASSERT_EQ(w.ItemCount(kList), 4);
        EXPECT_TRUE(w.IsChecked(kIgnoreRepaired));
        EXPECT_EQ(w.SelectedRows(kList).size(), 3u);
        EXPECT_EQ(w.Text(1272), "3 " + S(328));

        int repairedRow = -1;
        for (int row = 0; row < 4; ++row) {
            if (reinterpret_cast<CProblemEntry*>(w.GetItemData(kList, row))->IsRepaired())
                repairedRow = row;
        }
        ASSERT_GE(repairedRow, 0);
        w.SelectRow(kList, repairedRow);
        EXPECT_FALSE(w.IsItemSelected(kList, repairedRow));
        w.Click(kIgnoreRepaired);
        w.SelectRow(kList, repairedRow);
        EXPECT_TRUE(w.IsItemSelected(kList, repairedRow));
        EXPECT_EQ(w.Text(1272), "4 " + S(328));
        w.PressEscape();
    });
    overview.RunModal();
}

TEST_F(OverviewTest, PlacementKeepsTheNormalRectangleOfAMaximisedWindowAndFitsTheScreen)
{
    Load("<html><body><img src=\"a.gif\"></body></html>");
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        w.SetPlacement({-20, 10, 700, 500, true});
        w.SetSplitterRatio(1, 3);
        w.Click(kIdOk);
    });
    overview.RunModal();

    windows.screenSize = {640, 480};
    COverviewDialog again;
    again.Prepare(document, settings, "/site/page.html");
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        const platform::WindowPlacement placement = w.Placement();
        EXPECT_EQ(placement.left, 0);
        EXPECT_EQ(placement.top, 10);
        EXPECT_EQ(placement.right - placement.left, 640); // 720 wide, cut to the screen
        EXPECT_EQ(placement.bottom - placement.top, 480);
        EXPECT_TRUE(placement.maximized);
        EXPECT_EQ(w.SplitterRatio(), std::make_pair(1, 3));
        w.PressEscape();
    });
    again.RunModal();
}

TEST(RepairOrder, HeadersComeBeforeTheirAbbreviationsAndHeadingsBeforeTheirNesting)
{
    CHtmlDocument document{CFamilyElementFactory::Instance()};
    document.Start(1, false);
    document.AddLine("<html><body><table><tr><td>x</td></tr></table></body></html>");
    document.Finish();
    CElement* table = nullptr;
    CElement* html = nullptr;
    for (CElement* element : document.Elements()) {
        if (element->Kind() == 80)
            table = element;
        if (element->Kind() == 41)
            html = element;
    }
    ASSERT_TRUE(table && html);
    CProblemEntry abbreviations(*table, 0x4), headers(*table, 0x2);
    CProblemEntry nested(*html, 0x4), potential(*html, 0x8);
    std::vector<CProblemEntry*> work{&abbreviations, &nested, &headers, &potential};
    OrderRepairWork(work);
    EXPECT_EQ(work, (std::vector<CProblemEntry*>{&headers, &abbreviations, &potential, &nested}));
}

} // namespace
} // namespace orvane
