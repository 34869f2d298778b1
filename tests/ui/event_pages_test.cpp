#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/checks/element_anchor.h"
#include "library/html/tag_table.h"
#include "library/registry/object_database.h"
#include "library/registry/src_link.h"
#include "library/ui/checking_session.h"
#include "library/ui/pages/links/page_anchor_new_window.h"
#include "library/ui/pages/scripts/page_device_dependent.h"
#include "library/ui/pages/scripts/page_script_noscript.h"
#include "platform/registry.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvane::test {
namespace {


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
        CheckAtLevel(3);
        LoadEmptyRegistryInFolder();
        std::filesystem::remove(RegistryFile());
    }

    // Whether checking the page finds a device-dependent handler.
    bool Reports(std::string_view page)
    {
        CHtmlDocument checked{CFamilyElementFactory::Instance()};
        checked.Start(1, false);
        std::istringstream in{std::string(page)};
        EXPECT_EQ(checked.Load(in), 1);
        const std::vector<CFoundProblem> problems = RunCheckPass(checked, settings, nullptr);
        return std::any_of(problems.begin(), problems.end(), [](const CFoundProblem& p) {
            return p.element->GetCheckName(p.bit) == "DeviceDependent";
        });
    }
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
    RunSheetToFinish([&](CMemoryWindow& w) {
        using Page = CPageAnchorNewWindow;
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(936));
        EXPECT_EQ(page.Text(Page::kAddress), "http://weather.example.org/coast");
        EXPECT_EQ(page.Text(Page::kTarget), "_blank");
        EXPECT_EQ(Shown(page, Page::kPreview),
                  "<html><head><meta charset=\"UTF-8\"></head><body><p>See the <a href=\"http://weather.example.org/coast\" "
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
        ASSERT_TRUE(ToldLast(1, Strings(937)));
        EXPECT_EQ(document.Text(), kToursPage);
        page.Type(Page::kWarning, "(new window & tab)");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"10-1-1.html"});
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
    // The registry file keeps the warnings for the next session.
    registry.Save();
    CSrcObjectDatabase reread(RegistryFile());
    ASSERT_EQ(reread.Load(), 1);
    std::filesystem::remove(RegistryFile());
    ASSERT_TRUE(reread.FindLink(document.Name(), "fares.pdf"));
    EXPECT_TRUE(reread.FindLink(document.Name(), "fares.pdf")->HasWarning());

    // Undo takes the words out of both links and the warnings out of the registry.
    UndoOnSheet();
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

// A menu that opens under the mouse, a link that lights up, and a picture
// that grows on a double click.
constexpr char kMenuPage[] =
    "<html lang=\"en\"><head><title>Tours</title></head><body>\n"
    "<div class=\"item\" onmouseover=\"openMenu('tours')\" onmouseout=\"closeMenu('tours')\" "
    "onclick=\"go('tours.html')\">Tours</div>\n"
    "<DIV onMouseOver=\"openMenu('fares')\" onmouseout=closeMenu('fares') tabindex=\"-1\">Fares</DIV>\n"
    "<a href=\"contact.html\" onmouseover=\"highlight(this)\" onfocus=\"highlight(this)\" "
    "onmouseout=\"dim(this)\">Contact</a>\n"
    "<p><span ondblclick=\"enlarge('seals.jpg')\">Seals</span></p>\n"
    "</body></html>\n";

// The click becomes a button's: Enter and Space run its script, any other
// key (Tab among them) goes on. The menu kept out of the tab order is left to a person.
const std::string kMenuRepaired =
    "<html lang=\"en\"><head><title>Tours</title></head><body>\n"
    "<div class=\"item\" onmouseover=\"openMenu('tours')\" onmouseout=\"closeMenu('tours')\" "
    "onclick=\"go('tours.html')\" "
    "onkeydown=\"if(event.key==='Enter'||event.key===' '){event.preventDefault();go('tours.html');}\" "
    "onfocus=\"openMenu('tours')\" onblur=\"closeMenu('tours')\" role=\"button\" tabindex=\"0\">Tours</div>\n"
    "<DIV onMouseOver=\"openMenu('fares')\" onmouseout=closeMenu('fares') tabindex=\"-1\">Fares</DIV>\n"
    "<a href=\"contact.html\" onmouseover=\"highlight(this)\" onfocus=\"highlight(this)\" "
    "onmouseout=\"dim(this)\" onblur=\"dim(this)\">Contact</a>\n"
    "<p><span ondblclick=\"enlarge('seals.jpg')\">Seals</span></p>\n"
    "</body></html>\n";

TEST_F(EventPagesTest, AClickBecomesAButtonForEnterAndSpaceAndHoverFollowsTheFocusWhereTabReaches)
{
    ASSERT_EQ(OpenSheet(kMenuPage, "DeviceDependent"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        using Page = CPageDeviceDependent;
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(938));
        EXPECT_EQ(page.ItemTexts(Page::kEvents, 0),
                  (std::vector<std::string>{"<div class=\"item\"> Tours", "<div class=\"item\"> Tours",
                                            "<div class=\"item\"> Tours", "<div> Fares", "<div> Fares", "<a> Contact",
                                            "<span> Seals"}));
        EXPECT_EQ(page.ItemTexts(Page::kEvents, 1)[0], "onclick=\"go('tours.html')\"");
        const std::string button = strings.Format(943, {strings.Format(953, {"onkeydown"}) + " + role=\"button\""});
        EXPECT_EQ(page.ItemTexts(Page::kEvents, 2),
                  (std::vector<std::string>{button, "onfocus", "onblur", Strings(957), Strings(957), "onblur",
                                            Strings(942)}));
        for (int judged : {3, 4, 6})
            EXPECT_EQ(page.ItemStateText(Page::kEvents, judged), Strings(274)) << judged;
        EXPECT_TRUE(page.IsVisible(Page::kTabindexNote));
        // The first element, as the page has it and as it is written.
        auto firstTag = [](const std::string& text) {
            const std::size_t at = text.find("<div");
            return text.substr(at, text.find('>', at) + 1 - at);
        };
        EXPECT_EQ(page.Text(Page::kBefore), firstTag(kMenuPage));
        EXPECT_EQ(page.Text(Page::kAfter), firstTag(kMenuRepaired));

        // Nothing ticked adds nothing: the user is told and stays.
        page.SelectOnlyRows(Page::kEvents, {0, 1, 2, 3, 4, 5, 6});
        page.PressKey(Page::kEvents, platform::Key::Space);
        EXPECT_EQ(page.ItemStateText(Page::kEvents, 0), Strings(274));
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(944)));
        EXPECT_EQ(document.Text(), kMenuPage);
        page.PressKey(Page::kEvents, platform::Key::Space);
        w.PressHelp();
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"9-3-1.html"});
    EXPECT_EQ(document.Text(), kMenuRepaired);
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kPartlyRepaired) << "the menu Tab never reaches is not repaired";

    // One event left out: the rest is written, the problem repaired in part;
    // cancelling without keeping the repairs writes the page as it was.
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.DoubleClickRow(CPageDeviceDependent::kEvents, 5);
        EXPECT_EQ(page.ItemStateText(CPageDeviceDependent::kEvents, 5), Strings(274));
        w.Click(kIdFinish);
    });
    std::string partly = kMenuRepaired;
    partly.replace(partly.find(" onblur=\"dim(this)\""), 19, "");
    EXPECT_EQ(document.Text(), partly);
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kPartlyRepaired);
    windows.AnswerNextMessage(platform::kAnswerNo);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) { w.PressEscape(); });
    sheet.DoModal(nullptr);
    EXPECT_EQ(windows.prompt.messages.back().text, Strings(167));
    EXPECT_EQ(document.Text(), kMenuPage);
    // Checked again, the taken-back events are not there.
    found = RunCheckPass(document, settings, nullptr);
    EXPECT_TRUE(std::any_of(found.begin(), found.end(), [](const CFoundProblem& p) {
        return p.element->GetCheckName(p.bit) == "DeviceDependent";
    }));
}

TEST_F(EventPagesTest, AnUnattendedSessionAddsEveryKeyboardEventWhenTheAutomaticRepairIsOn)
{
    constexpr int kDocument = -4;
    constexpr std::uint32_t kDeviceDependent = 0x80;
    auto unattended = [&](int mode) {
        COrvaneSettings chosen;
        chosen.Load();
        chosen.SetConformanceLevel(3);
        chosen.SetAutoRepairMode(kDocument, kDeviceDependent, mode);
        CHtmlDocument alone{CFamilyElementFactory::Instance()};
        alone.Start(1, false);
        std::istringstream in{std::string(kMenuPage)};
        EXPECT_EQ(alone.Load(in), 1);
        const int result = RunUnattendedSession(alone, chosen, "/site/forms/page.html");
        return std::pair{result, alone.Text()};
    };
    const auto [offResult, offText] = unattended(0);
    EXPECT_EQ(offText, kMenuPage);
    const auto [onResult, onText] = unattended(1);
    EXPECT_EQ(onText, kMenuRepaired);
    EXPECT_NE(onResult, offResult);
}

// What a key must never stand in for: a page that cancels every mouse press,
// a row and a menu item that light up under the mouse, a drag, a click that
// cancels its event; and a click whose script holds double quotes.
constexpr char kTrapsPage[] =
    "<html lang=\"en\"><head><title>Fares</title></head>\n"
    "<body onmousedown=\"return false\">\n"
    "<p class='more' onclick='show(\"fares\", 2)'>More fares</p>\n"
    "<table><tr onmouseover=\"light(this)\" onmouseout=\"dim(this)\"><td>Adult</td></tr></table>\n"
    "<ul><li onmouseover=\"open(1)\">Tours</li></ul>\n"
    "<span onmouseup=\"drop()\">Drag</span>\n"
    "<div onclick=\"toggle(); return false;\">Menu</div>\n"
    "<a href=\"timetable.html\" onclick=\"track('timetable')\">Timetable</a>\n"
    "</body></html>\n";

// Only the click of the paragraph is written; its script keeps its double
// quotes, escaped so that the attribute still ends where it should.
const std::string kTrapsRepaired = std::string(kTrapsPage).replace(
    std::string(kTrapsPage).find("<p class='more' onclick='show(\"fares\", 2)'>"),
    std::string_view("<p class='more' onclick='show(\"fares\", 2)'>").size(),
    "<p class=\"more\" onclick='show(\"fares\", 2)' "
    "onkeydown=\"if(event.key==='Enter'||event.key===' '){event.preventDefault();show(&quot;fares&quot;, 2);}\" "
    "role=\"button\" tabindex=\"0\">");

TEST_F(EventPagesTest, NoKeyGetsAMousePressACancelOrAHoverTabNeverReaches)
{
    ASSERT_EQ(OpenSheet(kTrapsPage, "DeviceDependent"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        using Page = CPageDeviceDependent;
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.ItemTexts(Page::kEvents, 1),
                  (std::vector<std::string>{"onmousedown=\"return false\"", "onclick='show(\"fares\", 2)'",
                                            "onmouseover=\"light(this)\"", "onmouseout=\"dim(this)\"",
                                            "onmouseover=\"open(1)\"", "onmouseup=\"drop()\"",
                                            "onclick=\"toggle(); return false;\""}))
            << "a link's click is the keyboard's already";
        const std::string button = strings.Format(943, {strings.Format(953, {"onkeydown"}) + " + role=\"button\""});
        EXPECT_EQ(page.ItemTexts(Page::kEvents, 2),
                  (std::vector<std::string>{Strings(954), button, Strings(956), Strings(956), Strings(956),
                                            Strings(954), Strings(955)}));
        for (int judged : {0, 2, 3, 4, 5, 6})
            EXPECT_EQ(page.ItemStateText(Page::kEvents, judged), Strings(274)) << judged;
        // A row for a person cannot be switched on.
        page.DoubleClickRow(Page::kEvents, 0);
        EXPECT_EQ(page.ItemStateText(Page::kEvents, 0), Strings(274));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), kTrapsRepaired);
    EXPECT_EQ(sheet.Page(0).Status(), pagestatus::kPartlyRepaired);
    UndoOnSheet();
    EXPECT_EQ(document.Text(), kTrapsPage);

    // The automatic repair writes the same, and nothing a person must judge.
    CHtmlDocument alone{CFamilyElementFactory::Instance()};
    alone.Start(1, false);
    std::istringstream in{std::string(kTrapsPage)};
    ASSERT_EQ(alone.Load(in), 1);
    COrvaneSettings chosen;
    chosen.Load();
    chosen.SetConformanceLevel(3);
    constexpr int kDocument = -4;
    constexpr std::uint32_t kDeviceDependent = 0x80;
    chosen.SetAutoRepairMode(kDocument, kDeviceDependent, 1);
    RunUnattendedSession(alone, chosen, "/site/fares.html");
    EXPECT_EQ(alone.Text(), kTrapsRepaired);

    // Checked again, the page still has the events a person must judge, and the link is not among them.
    EXPECT_TRUE(Reports("<body onmousedown=\"return false\"><p>x</p></body>"));
    EXPECT_FALSE(Reports("<a href=\"t.html\" onclick=\"track()\">t</a><button onclick=\"go()\">Go</button>"));
    EXPECT_FALSE(Reports("<p onclick=\"go()\" onkeydown=\"if(event.key==='Enter'){go()}\">x</p>"));
}

// A script in the head and one in the body whose noscript only asks to turn scripts on.
constexpr char kScriptsPage[] =
    "<html lang=\"en\"><head><title>Tours</title>\r\n"
    "<script type=\"text/javascript\" src=\"scripts/menu.js\"></script>\r\n"
    "</head>\r\n<body>\r\n"
    "<p>Next departure: <span id=\"countdown\">10:00</span></p>\r\n"
    "<script type=\"text/javascript\">\r\nstartCountdown(\"countdown\");\r\n</script>\r\n"
    "<noscript>Aktivieren Sie JavaScript</noscript>\r\n"
    "</body></html>\r\n";

TEST_F(EventPagesTest, AScriptGetsTheTypedAlternativeOrALinkInANoscriptSectionWhereOneMayStand)
{
    ASSERT_EQ(OpenSheet(kScriptsPage, "ScriptNoscript"), 2);
    RunSheetToFinish([&](CMemoryWindow& w) {
        using Page = CPageScriptNoscript;
        CMemoryWindow& menu = w.PageWindow(0);
        EXPECT_EQ(menu.Text(1001), Strings(945));
        EXPECT_EQ(menu.Text(Page::kScript), "<script type=\"text/javascript\" src=\"scripts/menu.js\"></script>");
        EXPECT_TRUE(menu.IsChecked(Page::kAlternative));
        EXPECT_FALSE(menu.IsVisible(Page::kNotNeeded));
        w.PressHelp();
        // An empty alternative says nothing: the user is told and stays.
        menu.Type(Page::kText, "  ");
        w.Click(kIdNext);
        ASSERT_TRUE(ToldLast(1, Strings(300)));
        EXPECT_EQ(w.CurrentPage(), 0);
        EXPECT_EQ(document.Text(), kScriptsPage);
        menu.Type(Page::kText, "Tours & fares:\r\nsee the <site map>.");
        w.Click(kIdNext);

        CMemoryWindow& countdown = w.PageWindow(1);
        EXPECT_EQ(countdown.Text(Page::kScript),
                  "<script type=\"text/javascript\">\r\nstartCountdown(\"countdown\");\r\n</script>");
        countdown.Click(Page::kLinkExisting);
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(2, Strings(303)));
        countdown.Type(Page::kAddress, "departures.html?pier=2&day=today");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"1-1-10.html"});

    // Undo on both pages writes the page as it was.
    ExpectWrittenThenUndone(kScriptsPage,
                            "<html lang=\"en\"><head><title>Tours</title>\r\n"
                            "<script type=\"text/javascript\" src=\"scripts/menu.js\"></script>\r\n"
                            "</head>\r\n<body>\r\n<noscript><p>Tours &amp; fares:<br>see the &lt;site map&gt;.</p></noscript>\r\n"
                            "<p>Next departure: <span id=\"countdown\">10:00</span></p>\r\n"
                            "<script type=\"text/javascript\">\r\nstartCountdown(\"countdown\");\r\n</script>\r\n"
                            "<noscript><p><a href=\"departures.html?pier=2&amp;day=today\">What this script does</a>"
                            "</p></noscript>\r\n"
                            "</body></html>\r\n",
                            3);
}

} // namespace
} // namespace orvane::test
