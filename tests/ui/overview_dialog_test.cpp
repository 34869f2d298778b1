// The overview window of a session, as the user sees and uses it.
#include "library/ui/overview_dialog.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/rules/rule_findings.h"
#include "library/rules/rule_table.h"
#include "library/ui/pages/text_alternatives/page_img_alt_text.h"
#include "library/ui/pages/presentation/page_deprecated_html.h"
#include "library/ui/repair_page_factory.h"
#include "library/ui/repair_run.h"
#include "library/ui/validator_sheet.h"
#include "platform/registry.h"
#include "platform/string_table.h"
#include "tests/support/memory_window.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace orvane {
namespace {

using platform::kIdOk;
using test::CMemoryWindow;

enum : int { kTree = 1107, kList = 1267, kRepair = 1043, kIgnoreRepaired = 1285, kProgress = 1269,
             kSummary = 1273, kAchieved = 1274, kTarget = 1280, kPictureAA = 1275,
             kPictureAAA = 1277, kPictureNone = 1278 };

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

    // The page opened as a file, which adds the page-wide checks.
    void LoadFile(const std::string& page)
    {
        std::istringstream in(page);
        document.Start(1, false);
        document.SetOriginFlag(1);
        ASSERT_EQ(document.Load(in), 1);
        overview.Prepare(document, settings, "/site/page.html");
    }

    // The page handed over line by line.
    void LoadLines(const std::vector<std::string>& lines)
    {
        document.Start(1, false);
        document.SetOriginFlag(1);
        for (const std::string& line : lines)
            document.AddLine(line);
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
    test::CScopedHome m_dataHome{m_home};  // the object registry of the test's own
    test::CMemoryWindows windows;
    COrvaneSettings settings;
    CHtmlDocument document{CFamilyElementFactory::Instance()};
    COverviewDialog overview;
};

// A complete small page, handed over line by line as a host does: only the
// file loader adds the page-wide checks (document type, style sheets), so
// nothing at all is wrong with it.
TEST_F(OverviewTest, APageWithoutProblemsShowsNothingToRepair)
{
    settings.SetConformanceLevel(1);
    LoadLines({"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n",
               "<html lang=\"en\">\n", "<head>\n", "<title>Fine</title>\n",
               "<meta name=\"description\" content=\"A small page\">\n", "</head>\n", "<body>\n",
               "<h1>Fine</h1>\n", "<p>Nothing to do.</p>\n", "</body>\n", "</html>\n"});
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        EXPECT_TRUE(w.TreeChildren(kTree, 0).empty());
        EXPECT_EQ(w.Text(kSummary), S(337) + ".");
        EXPECT_FALSE(w.IsEnabled(kRepair));
        EXPECT_EQ(w.Position(kProgress), w.Range(kProgress).second);
        EXPECT_EQ(w.Text(kAchieved), m_strings.Format(332, {"AAA"}));
        EXPECT_TRUE(w.IsVisible(kPictureAAA));
        EXPECT_FALSE(w.IsVisible(kPictureNone));
        EXPECT_EQ(w.Text(kTarget), m_strings.Format(335, {"A"}));
        w.Click(kIdOk);
    });
    overview.RunModal();
    EXPECT_EQ(overview.ResultCode(), 0);
}

TEST_F(OverviewTest, ProblemsOutsideTheTargetAreShownApartAndDoNotCount)
{
    // Opened as a file: no document type declaration and no style sheets, both priority 2, outside A.
    LoadFile("<html lang=\"en\"><head><title>Fine</title></head><body><p>Nothing to do.</p></body></html>");
    settings.SetConformanceLevel(1);
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        const auto roots = w.TreeChildren(kTree, 0);
        ASSERT_EQ(roots.size(), 1u);
        EXPECT_EQ(w.TreeItemText(kTree, roots.back()), S(327));
        EXPECT_FALSE(w.IsTreeItemExpanded(kTree, roots.back()));
        EXPECT_EQ(w.TreeChildren(kTree, roots.back()).size(), 2u); // the doctype check and the warnings
        EXPECT_EQ(w.Text(kSummary), S(337) + S(338));
        EXPECT_TRUE(w.IsEnabled(kRepair)); // they can still be repaired
        EXPECT_EQ(w.Text(kAchieved), m_strings.Format(332, {"A"}));
        w.Click(kIdOk);
    });
    overview.RunModal();
    EXPECT_EQ(overview.ResultCode(), 0);
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

// Markup left as it is was declined, not repaired: the overview says so, and
// the level claims nothing the page does not reach. A choice made for some
// of the items is repaired in part, and still open.
TEST_F(OverviewTest, DeclinedRepairsClaimNoLevelAndAPartialChoiceIsRepairedInPart)
{
    using Page = CPageDeprecatedHtml;
    Load("<html lang=\"en\"><head><title>Keeper</title></head><body>\n"
         "<center>The keeper's cottage</center>\n<p align=\"center\"><u>Open on Saturdays.</u></p>\n</body></html>\n");
    auto deprecated = [](const CProblemEntry& entry) {
        return entry.Element().GetCheckName(entry.Bit()) == "DeprecatedHtml";
    };
    RepairAllBut(deprecated);
    // The overview's deprecated-markup problem repaired with the choices made on its page.
    auto repairWith = [&](const std::function<void(CMemoryWindow& page)>& choose, const std::string& shown,
                          const std::string& level) {
        windows.WhenShown(229, [&](CMemoryWindow& w) {
            platform::TreeItem found = 0;
            for (auto root : w.TreeChildren(kTree, 0)) {
                for (auto node : w.TreeChildren(kTree, root)) {
                    if (deprecated(*reinterpret_cast<CProblemEntry*>(w.TreeItemData(kTree, node))))
                        found = node;
                }
            }
            ASSERT_NE(found, 0);
            w.SelectTreeItemAsUser(kTree, found);
            ASSERT_EQ(w.ItemCount(kList), 1);
            w.SelectRow(kList, 0);
            windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& sheet) {
                choose(sheet.PageWindow(0));
                sheet.Click(platform::kIdFinish);
            });
            w.Click(kRepair);
            EXPECT_EQ(w.ItemText(kList, 0, 1), shown);
            EXPECT_EQ(w.Text(kAchieved), level);
            w.PressEscape();
        });
        overview.RunModal();
    };
    repairWith(
        [](CMemoryWindow& page) {
            for (int row = 0; row < page.ItemCount(Page::kItems); ++row) {
                page.SelectRow(Page::kItems, row);
                page.Click(Page::kLeave);
            }
        },
        S(340), m_strings.Format(332, {"A"}));
    EXPECT_EQ(overview.AchievedLevel(), 1);
    repairWith(
        [](CMemoryWindow& page) {
            page.SelectRow(Page::kItems, 1);
            page.Click(Page::kLeave);
        },
        S(862), m_strings.Format(332, {"A"}));
    EXPECT_EQ(overview.AchievedLevel(), 1);
    repairWith(
        [](CMemoryWindow& page) {
            for (int row = 0; row < page.ItemCount(Page::kItems); ++row) {
                page.SelectRow(Page::kItems, row);
                page.Click(Page::kReplace);
            }
        },
        S(339), m_strings.Format(332, {"AAA"}));
    EXPECT_EQ(overview.AchievedLevel(), 3);
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

// A chosen problem that gets no page is named to the user rather than
// dropped: one message for the whole run.
TEST_F(OverviewTest, ChosenProblemsThatHaveNoRepairPageAreNamedInOneMessage)
{
    // Links to sound files that are never closed: there is no place after
    // them for the links to their transcripts, so they get no page.
    Load("<html lang=\"en\"><head><title>Sounds</title></head><body>"
         "<p><a href=\"horn.wav\">Ship's horn <a href=\"gulls.wav\">Gulls</p></body></html>");
    std::string soundCheck;
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        int soundRow = -1;
        for (int row = 0; row < w.ItemCount(kList); ++row) {
            const auto* head = reinterpret_cast<CProblemEntry*>(w.GetItemData(kList, row));
            if (head->Kind() == tag::kA && head->Element().GetCheckName(head->Bit()) == "AnchorTranscript") {
                soundRow = row;
                soundCheck = head->Element().GetCheckTitle(head->Bit());
            }
        }
        ASSERT_GE(soundRow, 0);
        for (int row = 0; row < w.ItemCount(kList); ++row)
            w.SelectRow(kList, row, row == soundRow);
        w.Click(kRepair);
        w.PressEscape();
    });
    overview.RunModal();

    ASSERT_EQ(windows.prompt.messages.size(), 1u);
    const std::string& text = windows.prompt.messages[0].text;
    EXPECT_EQ(text.find(S(496).substr(0, S(496).find("%1"))), 0u) << text;
    EXPECT_NE(text.find("\n- " + soundCheck + " (2)"), std::string::npos) << text;
    EXPECT_EQ(windows.Shown(), std::vector<int>{229}) << "no page could be shown, so no wizard opens";
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

// A table of a page without a summary, as most pages have them now, is asked
// about once: the answer is remembered by the table's cells, and only a table
// whose cells changed is asked about again.
TEST_F(OverviewTest, ATableAnsweredOnceIsNotAskedAgainUntilItsCellsChange)
{
    auto check = [&](const std::string& price, bool asked) {
        CHtmlDocument page{CFamilyElementFactory::Instance()};
        page.Start(1, false);
        page.SetOriginFlag(1);
        page.SetName("/site/teas.html");
        page.AddLine("<html lang=\"en\"><head><title>Teas</title></head><body>\n"
                     "<table><tr><th>Tea</th><th>Price</th></tr><tr><td>Green</td><td>" + price +
                     "</td></tr></table>\n</body></html>\n");
        page.Finish();
        if (asked) {
            windows.WhenShown(239, [](CMemoryWindow& w) {
                w.Click(1148); // a data table
                w.Click(1318); // Finish
            });
        }
        windows.WhenShown(229, [](CMemoryWindow& w) { w.Click(kIdOk); });
        COverviewDialog session;
        session.Prepare(page, settings, "/site/teas.html");
        session.RunModal();
    };
    check("4", true);
    check("4", false);
    check("5", true);
    EXPECT_EQ(windows.Shown(), (std::vector<int>{239, 229, 229, 239, 229}));
}

// Example text (xmp) is shown as preformatted text, and the settings are asked
// about it as about preformatted text by the grouping, the rows and the sheet.
TEST_F(OverviewTest, AnXmpProblemCountsAndRepairsAsThePreCheckItIsShownAs)
{
    constexpr std::uint32_t kSkipOver = 0x2;  // a priority-3 check: outside AA unless always included
    settings.SetAlwaysInclude(67, kSkipOver, true);
    settings.SetAlwaysInclude(93, kSkipOver, false);
    LoadLines({"<html lang=\"en\"><head><title>Art</title></head><body>\n", "<xmp>\n", " /\\_/\\\n",
               "( o.o )\n", " > ^ <\n", "=======\n", "  cat\n", "=======\n", "</xmp>\n", "</body></html>\n"});
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        const auto roots = w.TreeChildren(kTree, 0);
        ASSERT_FALSE(roots.empty());
        ASSERT_EQ(w.TreeItemText(kTree, roots.front()), S(326));
        platform::TreeItem skipOver = 0;
        for (auto node : w.TreeChildren(kTree, roots.front())) {
            if (w.TreeItemText(kTree, node) == S(301))
                skipOver = node;
        }
        ASSERT_NE(skipOver, 0) << "the skip-over problem counts at AA, as the settings of pre say";
        w.SelectTreeItemAsUser(kTree, skipOver);
        ASSERT_EQ(w.ItemCount(kList), 1);
        const auto* entry = reinterpret_cast<CProblemEntry*>(w.GetItemData(kList, 0));
        EXPECT_EQ(entry->Element().Kind(), 93);

        CValidatorSheet sheet;
        sheet.SetSettings(&settings);
        const int sheetMode = CRepairPageFactory().AutoRepairMode(sheet, entry->Element(), kSkipOver);
        EXPECT_EQ(w.ItemText(kList, 0, 3), sheetMode == 1 ? S(273) : sheetMode == 0 ? S(274) : std::string());
        w.PressEscape();
    });
    overview.RunModal();
}

// The WCAG 2 column is for those who ask for it: hidden at first, shown and
// hidden again through the column menu of the list's header, and left as the
// user chose it for the next overview of the session.
TEST_F(OverviewTest, TheWcag2ColumnIsShownThroughTheHeaderMenuAndStaysChosen)
{
    LoadFile("<html lang=\"en\"><head><title>t</title></head><body><p><img src=\"a.png\"></p></body></html>");
    constexpr int kWcag2 = 4;
    auto cells = [&](CMemoryWindow& w) {
        std::vector<std::string> texts;
        for (int row = 0; row < w.ItemCount(kList); ++row)
            texts.push_back(w.ItemText(kList, row, kWcag2));
        return texts;
    };
    auto contains = [](const std::vector<std::string>& texts, const std::string& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        ASSERT_EQ(w.Columns(kList).size(), 5u);
        EXPECT_EQ(w.Columns(kList)[kWcag2].title, S(1220));
        EXPECT_TRUE(w.IsColumnHidden(kList, kWcag2));
        EXPECT_FALSE(w.IsColumnHidden(kList, 2));
        const auto menu = w.ColumnMenu(kList);
        ASSERT_EQ(menu.size(), 4u);  // every column but the problem text itself
        EXPECT_EQ(menu.back(), std::make_pair(S(1220), false));

        w.ChooseFromColumnMenu(kList, kWcag2);
        EXPECT_FALSE(w.IsColumnHidden(kList, kWcag2));
        EXPECT_EQ(w.ColumnMenu(kList).back(), std::make_pair(S(1220), true));
        // The checks of the group: the missing text alternative is 1.1.1; a
        // missing document type has no WCAG 2.2 counterpart since 4.1.1 went.
        const std::vector<std::string> checks = cells(w);
        EXPECT_TRUE(contains(checks, "1.1.1 A")) << ::testing::PrintToString(checks);
        EXPECT_TRUE(contains(checks, S(1221))) << ::testing::PrintToString(checks);

        // One check's problems carry its criteria.
        for (int row = 0; row < w.ItemCount(kList); ++row) {
            if (w.ItemText(kList, row, kWcag2) != "1.1.1 A")
                continue;
            const std::string name = w.ItemText(kList, row);
            w.SelectTreeItemAsUser(kTree, w.FindTreeItem(kTree, name));
            break;
        }
        ASSERT_GT(w.ItemCount(kList), 0);
        EXPECT_EQ(cells(w), std::vector<std::string>(static_cast<std::size_t>(w.ItemCount(kList)), "1.1.1 A"));
        w.Click(kIdOk);
    });
    overview.RunModal();

    COverviewDialog again;
    again.Prepare(document, settings, "/site/page.html");
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        EXPECT_FALSE(w.IsColumnHidden(kList, kWcag2));
        w.ChooseFromColumnMenu(kList, kWcag2);
        EXPECT_TRUE(w.IsColumnHidden(kList, kWcag2));
        w.Click(kIdOk);
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

// At a WCAG 2.2 target the rule set judges the page: its findings are grouped
// by rule; a finding a page repairs opens it and is gone once repaired; one
// no page repairs is shown with its reason and cannot be chosen; what a
// person must judge is a warning apart that does not hold the level back.
TEST_F(OverviewTest, AtAWcag22TargetTheRulesFindingsAreGroupedRepairedAndExplained)
{
    settings.SetConformanceLevel(level::kWcag22AA);
    LoadFile("<!DOCTYPE html><html lang=\"en\"><head><title>Shop</title></head><body>\n"
             "<p><img src=\"logo.png\"></p>\n<p><a href=\"cart.html\"></a></p>\n"
             "<p><button aria-label=\"Close the dialog\">X</button></p>\n</body></html>\n");
    const rules::RuleDefinition* image = rules::FindRule("image-non-empty-accessible-name");
    const rules::RuleDefinition* link = rules::FindRule("link-non-empty-accessible-name");
    const rules::RuleDefinition* judged = rules::FindRule("visible-label-in-accessible-name");
    ASSERT_TRUE(image && link && judged);
    windows.WhenShown(229, [&](CMemoryWindow& w) {
        EXPECT_EQ(w.Text(kTarget), m_strings.Format(335, {"WCAG 2.2 AA"}));
        EXPECT_EQ(w.Text(kAchieved), S(331));
        std::map<const rules::RuleDefinition*, platform::TreeItem> nodeOf;
        std::map<const rules::RuleDefinition*, std::string> groupOf;
        for (auto root : w.TreeChildren(kTree, 0)) {
            for (auto node : w.TreeChildren(kTree, root)) {
                const auto* head = reinterpret_cast<CProblemEntry*>(w.TreeItemData(kTree, node));
                if (head->Rule()) {
                    nodeOf[head->Rule()] = node;
                    groupOf[head->Rule()] = w.TreeItemText(kTree, root);
                    EXPECT_EQ(w.TreeItemText(kTree, node), head->IsJudgement()
                                                               ? m_strings.Format(1381, {rules::RuleTitle(*head->Rule())})
                                                               : rules::RuleTitle(*head->Rule()));
                }
            }
        }
        EXPECT_EQ(groupOf[image], S(326));
        EXPECT_EQ(groupOf[link], S(326));
        EXPECT_EQ(groupOf[judged], S(327));

        // No page repairs an empty link yet: its row says why and is never chosen.
        w.SelectTreeItemAsUser(kTree, nodeOf[link]);
        ASSERT_EQ(w.ItemCount(kList), 1);
        EXPECT_NE(w.ItemText(kList, 0).find(S(1382)), std::string::npos) << w.ItemText(kList, 0);
        EXPECT_NE(w.ItemText(kList, 0).find(std::string(link->actId)), std::string::npos);
        EXPECT_FALSE(w.IsItemSelected(kList, 0));
        EXPECT_EQ(w.ItemText(kList, 0, 3), S(1383));
        w.SelectRow(kList, 0);
        EXPECT_FALSE(w.IsItemSelected(kList, 0));
        EXPECT_FALSE(w.IsEnabled(kRepair));

        // The image's finding opens the text alternative page on that image.
        w.SelectTreeItemAsUser(kTree, nodeOf[image]);
        ASSERT_EQ(w.ItemCount(kList), 1);
        EXPECT_TRUE(w.IsItemSelected(kList, 0));
        EXPECT_EQ(w.ItemText(kList, 0).find(S(1382)), std::string::npos);
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& sheet) {
            EXPECT_EQ(sheet.PageWindow(0).TemplateId(), CPageImgAltText::kTemplate);
            sheet.PageWindow(0).Type(CPageImgAltText::kText, "Our shop");
            sheet.Click(platform::kIdFinish);
        });
        w.Click(kRepair);
        EXPECT_EQ(w.ItemText(kList, 0, 1), S(339));
        EXPECT_NE(document.Text().find("alt=\"Our shop\""), std::string::npos);
        // The empty link still holds the level back; the judgement does not.
        EXPECT_EQ(w.Text(kAchieved), S(331));
        w.PressEscape();
    });
    overview.RunModal();
    EXPECT_EQ(overview.AchievedLevel(), kLevelNone);
    EXPECT_EQ(overview.ResultCode(), 3);
}

} // namespace
} // namespace orvane
