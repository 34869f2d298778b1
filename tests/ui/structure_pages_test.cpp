#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/html/element.h"
#include "library/ui/checking_session.h"
#include "library/ui/pages/structure/page_doctype_bad.h"
#include "library/ui/pages/frames/page_frameset_noframes.h"
#include "library/ui/pages/structure/page_meta_redirect.h"
#include "library/ui/pages/structure/page_meta_refresh.h"
#include "library/ui/pages/structure/page_metadata.h"
#include "platform/registry.h"

#include <filesystem>
#include <functional>

namespace orvane::test {
namespace {

constexpr int kDocument = -4;
constexpr std::uint32_t kDoctypeMissing = 0x1;
constexpr int kMeta = 57;
constexpr std::uint32_t kMapRefresh = 0x1;
constexpr std::uint32_t kMapRedirect = 0x2;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
const std::string kStrict =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">";
// Keeps a page without a declaration in the quirks mode browsers showed it in.
const std::string kQuirks = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">";
const std::string kFrameset =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\" \"http://www.w3.org/TR/html4/frameset.dtd\">";
const std::string kTransitional =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">";

// A page saved with a byte order mark and Windows line ends.
const std::string kTeaPage = std::string(kBom) +
                             "<html lang=\"en\">\r\n<head>\r\n<title>Green tea</title>\r\n</head>\r\n"
                             "<body>\r\n<h1>Green tea</h1>\r\n<p>Sencha &amp; matcha, fresh from the garden.</p>\r\n"
                             "</body>\r\n</html>\r\n";

// The settings are kept in a store of the test's own; the structure checks
// count at level AA.
class StructurePagesTest : public RepairRunAtLevelTest<2> {
protected:
    // The page the sheet shows first, answered by the user's steps, then Finish.
    void RepairOnPage(std::string_view checkName, const std::function<void(CMemoryWindow& sheetWindow, CMemoryWindow& page)>& steps)
    {
        StartSheet();
        ASSERT_EQ(AddPages(checkName), 1);
        FinishOnFirstPage(steps);
    }

    // What an unattended session writes with the check's automatic repair on
    // (or off), and its result; at level A, with the check included.
    std::pair<int, std::string> RepairUnattended(std::string_view page, int family, std::uint32_t bit, int mode = 1)
    {
        COrvaneSettings unattended;
        unattended.Load();
        unattended.SetConformanceLevel(1);
        unattended.SetAlwaysInclude(family, bit, true);
        unattended.SetAutoRepairMode(family, bit, mode);
        CHtmlDocument alone{CFamilyElementFactory::Instance()};
        alone.Start(1, false);
        std::istringstream in{std::string(page)};
        EXPECT_EQ(alone.Load(in), 1);
        const int result = RunUnattendedSession(alone, unattended, "/site/forms/page.html");
        return {result, alone.Text()};
    }

    // The example repaired on its page as proposed, and unattended: the same page.
    void ExpectAutomaticRepairAsPage(std::string_view example, std::string_view check, std::uint32_t bit,
                                     int expectedResult)
    {
        const std::string original = ExamplePage(example);
        Load(original);
        RepairOnPage(check, [](CMemoryWindow&, CMemoryWindow&) {});
        EXPECT_NE(document.Text(), original);
        const auto [result, text] = RepairUnattended(original, kMeta, bit);
        EXPECT_EQ(result, expectedResult);
        EXPECT_EQ(text, document.Text());
    }
};

TEST_F(StructurePagesTest, TheChosenDeclarationGoesAfterTheByteOrderMarkWithThePagesLineEndsAndIsUndone)
{
    Load(kTeaPage);
    RepairOnPage("DoctypeMissing", [&](CMemoryWindow& w, CMemoryWindow& page) {
        EXPECT_EQ(page.Text(1001), Strings(396));
        // Nothing remembered: the declaration that keeps the page in quirks mode
        // is proposed as the own text (a page without frames: Transitional).
        EXPECT_TRUE(page.IsChecked(CPageDoctypeBad::kOwn));
        EXPECT_EQ(page.Text(CPageDoctypeBad::kOwnText), kQuirks);
        EXPECT_TRUE(page.IsEnabled(CPageDoctypeBad::kOwnText));
        EXPECT_EQ(page.Text(CPageDoctypeBad::kPreview), kQuirks);
        // An own declaration left empty keeps the user on the page.
        page.Type(CPageDoctypeBad::kOwnText, "  ");
        w.Click(platform::kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(397)));
        EXPECT_EQ(document.Text(), kTeaPage);
        page.Click(CPageDoctypeBad::kStrict);
        EXPECT_EQ(page.Text(CPageDoctypeBad::kPreview), kStrict);
    });
    EXPECT_EQ(windows.prompt.messages.size(), 1u);
    EXPECT_EQ(document.Text(), std::string(kBom) + kStrict + "\r\n" + kTeaPage.substr(kBom.size()));
    EXPECT_EQ(settings.GetRememberedNumber(kDocument, kDoctypeMissing), CPageDoctypeBad::kStrict);

    // Opened again, the page shows the choice; Undo writes the page as it was.
    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_TRUE(w.PageWindow(0).IsChecked(CPageDoctypeBad::kStrict));
        w.Click(CValidatorSheet::kSkipUndoButton);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kTeaPage);
    ExpectNothingRepaired();
}

TEST_F(StructurePagesTest, ADeclarationTooLateInThePageIsReplacedAtTheTopByTheUsersOwn)
{
    const std::string page = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
                             "<!DOCTYPE html>\n<html lang=\"en\"><head><title>Tea</title></head>"
                             "<body><p>Tea</p></body></html>\n";
    // The user's own text must be one declaration. One longer than the settings
    // keep is written all the same, and the user is told it is not remembered.
    const std::string xhtml = "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                              "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">";
    Load(page);
    RepairOnPage("DoctypeMissing", [&](CMemoryWindow& w, CMemoryWindow& p) {
        p.Click(CPageDoctypeBad::kOwn);
        p.Type(CPageDoctypeBad::kOwnText, "HTML 4.01 <html>");
        w.Click(platform::kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(842)));
        EXPECT_EQ(document.Text(), page);
        p.Type(CPageDoctypeBad::kOwnText, xhtml);
    });
    ASSERT_TRUE(ToldLast(2, Strings(841)));
    EXPECT_EQ(document.Text(), xhtml + "\n" + Replaced(page, "<!DOCTYPE html>", ""));
    EXPECT_EQ(settings.GetRememberedNumber(kDocument, kDoctypeMissing), 0);
    EXPECT_EQ(settings.GetText1(kDocument, kDoctypeMissing), "");
    // A later repair run of the session undoes to the page as it was, too.
    CValidatorSheet later;
    later.SetSettings(&settings);
    later.SetDocumentPath("/site/forms/page.html");
    for (const CFoundProblem& problem : found) {
        if (problem.element->GetCheckName(problem.bit) == "DoctypeMissing")
            problem.element->AddRepairPages(later, document, problem.bit);
    }
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        w.Click(CValidatorSheet::kSkipUndoButton);
        w.PressEscape();
    });
    later.DoModal(nullptr);
    EXPECT_EQ(document.Text(), page);
}

TEST_F(StructurePagesTest, ACorpusPageWithoutDeclarationGetsOneWithEveryOtherByteKept)
{
    std::string path;
    for (const std::string& candidate : CorpusPages()) {
        if (candidate.ends_with("crlf-w3c-libwww-webcommander.html"))
            path = candidate;
    }
    if (path.empty())
        GTEST_SKIP() << "the corpus is not beside the project";
    const std::string original = ReadFileBytes(path);
    ASSERT_TRUE(original.starts_with("<html>\r\n"));
    Load(original);
    RepairOnPage("DoctypeMissing", [](CMemoryWindow&, CMemoryWindow& p) { p.Click(CPageDoctypeBad::kTransitional); });
    ExpectWrittenThenUndone(original, kTransitional + "\r\n" + original);
}

TEST_F(StructurePagesTest, TheUsersOwnDeclarationIsProposedInTheNextSessionAndRepairedWithUnattended)
{
    const std::string own = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
    Load(kTeaPage);
    RepairOnPage("DoctypeMissing", [&](CMemoryWindow&, CMemoryWindow& page) {
        page.Click(CPageDoctypeBad::kOwn);
        page.Type(CPageDoctypeBad::kOwnText, own);
    });
    EXPECT_EQ(document.Text(), std::string(kBom) + own + "\r\n" + kTeaPage.substr(kBom.size()));
    // The session ends: the settings are saved as the overview saves them.
    ASSERT_EQ(settings.Save(), 1);

    // The next session reads them from the store and proposes the same declaration.
    COrvaneSettings next;
    next.Load();
    CHtmlDocument page{CFamilyElementFactory::Instance()};
    page.Start(1, false);
    std::istringstream in{ExamplePage("departures.html")};
    ASSERT_EQ(page.Load(in), 1);
    CValidatorSheet nextSheet;
    nextSheet.SetSettings(&next);
    nextSheet.SetDocumentPath("/site/departures.html");
    int added = 0;
    for (const CFoundProblem& problem : RunCheckPass(page, next, nullptr)) {
        if (problem.element->GetCheckName(problem.bit) == "DoctypeMissing")
            added += problem.element->AddRepairPages(nextSheet, page, problem.bit);
    }
    ASSERT_EQ(added, 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& shown = w.PageWindow(0);
        EXPECT_TRUE(shown.IsChecked(CPageDoctypeBad::kOwn));
        EXPECT_EQ(shown.Text(CPageDoctypeBad::kOwnText), own);
        w.Click(platform::kIdFinish);
    });
    EXPECT_EQ(nextSheet.DoModal(nullptr), platform::kIdFinish);
    EXPECT_EQ(page.Text(), own + "\n" + ExamplePage("departures.html"));

    // Unattended, the automatic repair writes what the page writes with what it
    // proposes; the warning that its text may change language stays open.
    const auto [result, text] = RepairUnattended(ExamplePage("departures.html"), kDocument, kDoctypeMissing);
    EXPECT_EQ(result, 3);
    EXPECT_EQ(text, page.Text());
}

TEST_F(StructurePagesTest, TheDefaultDeclarationIsWhatTheAutomaticRepairWrites)
{
    Load(kTeaPage);
    RepairOnPage("DoctypeMissing", [](CMemoryWindow&, CMemoryWindow&) {});
    EXPECT_EQ(document.Text(), std::string(kBom) + kQuirks + "\r\n" + kTeaPage.substr(kBom.size()));
    settings.SetRememberedNumber(kDocument, kDoctypeMissing, 0);
    ASSERT_EQ(settings.Save(), 1);
    const auto [result, text] = RepairUnattended(kTeaPage, kDocument, kDoctypeMissing);
    EXPECT_EQ(result, 3);
    EXPECT_EQ(text, document.Text());

    // A page whose only problem it is is all repaired; with the repair off, none is.
    const std::string shortPage = "<html lang=\"en\"><head><title>Tea</title></head><body><p>Tea</p></body></html>";
    EXPECT_EQ(RepairUnattended(shortPage, kDocument, kDoctypeMissing), std::pair(1, kQuirks + "\n" + shortPage));
    EXPECT_EQ(RepairUnattended(shortPage, kDocument, kDoctypeMissing, 0), std::pair(2, shortPage));
}

TEST_F(StructurePagesTest, ATimedRefreshIsTakenOutWithALinkToItsTargetAndUndone)
{
    const std::string original = ExamplePage("departures.html");
    const std::string refresh = "<meta http-equiv=\"refresh\" content=\"60; URL=departures.html?pier=2\">\n";
    Load(original);
    RepairOnPage("MapRefresh", [&](CMemoryWindow& w, CMemoryWindow& page) {
        EXPECT_EQ(page.Text(1001), Strings(222));
        EXPECT_EQ(page.Text(CPageMetaRefresh::kMarkup), Replaced(refresh, "\n", ""));
        EXPECT_TRUE(page.IsChecked(CPageMetaRefresh::kRemove));
        EXPECT_TRUE(page.IsChecked(CPageMetaRefresh::kAddLink));
        EXPECT_EQ(page.Text(CPageMetaRefresh::kAddress), "departures.html?pier=2");
        EXPECT_EQ(page.Text(CPageMetaRefresh::kLinkText), Strings(391));
        // A link to nowhere keeps the user on the page.
        page.Type(CPageMetaRefresh::kAddress, " ");
        w.Click(platform::kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(840)));
        EXPECT_EQ(document.Text(), original);
        page.Type(CPageMetaRefresh::kAddress, "departures.html?pier=2&later");
        page.Type(CPageMetaRefresh::kLinkText, "Latest departures <pier 2>");
    });
    ExpectWrittenThenUndone(original,
                            Replaced(Replaced(original, refresh, "\n"), "<body>\n",
                                     "<body>\n<p><a href=\"departures.html?pier=2&amp;later\">Latest departures "
                                     "&lt;pier 2&gt;</a></p>\n\n"));
    ExpectNothingRepaired();
}

TEST_F(StructurePagesTest, ARedirectWrittenInLowerCaseIsFoundCutAtItsBlankAndTakenOutWithoutALink)
{
    const std::string page = "<html lang=\"en\">\n<head>\n<title>Moved</title>\n"
                             "<meta lang=\"en\" http-equiv=\"Refresh\" content=\"0;url=Timetable.html (2026)\">\n"
                             "</head>\n<body><p>Moved.</p></body>\n</html>\n";
    Load(page);
    RepairOnPage("MapRedirect", [&](CMemoryWindow&, CMemoryWindow& p) {
        EXPECT_EQ(p.Text(1001), Strings(223));
        EXPECT_EQ(p.Text(CPageMetaRedirect::kAddress), "Timetable.html");
        EXPECT_EQ(p.Text(CPageMetaRedirect::kLinkText), Strings(224));
        p.Click(CPageMetaRedirect::kAddLink);
        EXPECT_FALSE(p.IsEnabled(CPageMetaRedirect::kAddress));
    });
    // The meta element holds more than the redirect: only the redirect goes.
    ExpectWrittenThenUndone(
        page, Replaced(page, "<meta lang=\"en\" http-equiv=\"Refresh\" content=\"0;url=Timetable.html (2026)\">",
                       "<meta lang=\"en\">"));
}

TEST_F(StructurePagesTest, ARefreshOfThePageItselfIsTakenOutWithNoLinkOffered)
{
    const std::string page = "<html lang=\"en\">\n<head>\n<title>Live results</title>\n"
                             "<META HTTP-EQUIV=\"REFRESH\" CONTENT=\"30\">\n</head>\n"
                             "<body><p>Results</p></body>\n</html>\n";
    Load(page);
    RepairOnPage("MapRefresh", [](CMemoryWindow&, CMemoryWindow& p) {
        for (int id : {CPageMetaRefresh::kAddLink, CPageMetaRefresh::kAddress, CPageMetaRefresh::kLinkText})
            EXPECT_FALSE(p.IsVisible(id)) << id;
        EXPECT_TRUE(p.IsChecked(CPageMetaRefresh::kRemove));
    });
    ExpectWrittenThenUndone(page, Replaced(page, "<META HTTP-EQUIV=\"REFRESH\" CONTENT=\"30\">", ""));
}

TEST_F(StructurePagesTest, TheAutomaticRefreshRepairWritesWhatItsPageProposes)
{
    // The warning that the page's text may change language stays open.
    ExpectAutomaticRepairAsPage("departures.html", "MapRefresh", kMapRefresh, 3);
}

TEST_F(StructurePagesTest, TheAutomaticRedirectRepairWritesWhatItsPageProposes)
{
    ExpectAutomaticRepairAsPage("timetable-2025.html", "MapRedirect", kMapRedirect, 3);
}

TEST_F(StructurePagesTest, APageWithoutHeadGetsOneWithTheMetadataInItsOwnLineEndsAndUndoRestoresIt)
{
    const std::string page = "<html lang=\"en\">\r\n<body>\r\n<h1>Green tea</h1>\r\n</body>\r\n</html>\r\n";
    Load(page);
    RepairOnPage("Metadata", [&](CMemoryWindow&, CMemoryWindow& p) {
        EXPECT_EQ(p.Text(1001), Strings(420));
        p.Type(CPageMetadata::kTitle, "  Green tea ");
        // A quote or an ampersand must not end the attribute or start an entity.
        p.Type(CPageMetadata::kDescription, "Sencha & \"matcha\"");
        p.Type(CPageMetadata::kKeywords, "tea, sencha");
    });
    EXPECT_TRUE(windows.prompt.messages.empty());
    EXPECT_EQ(document.Text(), "<html lang=\"en\">\r\n<head>"
                               "\r\n<meta name=\"keywords\" content=\"tea, sencha\" />"
                               "\r\n<meta name=\"description\" content=\"Sencha &amp; &quot;matcha&quot;\" />"
                               "\r\n<title>Green tea</title>\r\n</head>\r\n"
                               "\r\n<body>\r\n<h1>Green tea</h1>\r\n</body>\r\n</html>\r\n");
    ShowSheet([&](CMemoryWindow& w) {
        // Opened again, the page shows what was entered.
        EXPECT_EQ(w.PageWindow(0).Text(CPageMetadata::kTitle), "Green tea");
        EXPECT_EQ(w.PageWindow(0).Text(CPageMetadata::kKeywords), "tea, sencha");
        w.Click(CValidatorSheet::kSkipUndoButton);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), page);
}

TEST_F(StructurePagesTest, NothingEnteredKeepsTheUserOnTheMetadataPageAndKeywordsAloneWriteOnlyThem)
{
    const std::string page = "<html lang=\"en\"><head><title></title></head><body><p>Tea</p></body></html>\n";
    Load(page);
    RepairOnPage("Metadata", [&](CMemoryWindow& w, CMemoryWindow& p) {
        p.Type(CPageMetadata::kTitle, "   ");
        w.Click(platform::kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(421)));
        EXPECT_EQ(document.Text(), page);
        p.Type(CPageMetadata::kKeywords, "tea");
    });
    EXPECT_EQ(windows.prompt.messages.size(), 1u);
    EXPECT_EQ(document.Text(), Replaced(page, "<head>", "<head>\n<meta name=\"keywords\" content=\"tea\" />"));
}

TEST_F(StructurePagesTest, AnEmptyTitleElementGetsTheEnteredTitleAsItsContent)
{
    const std::string page = "<html lang=\"en\"><head>\n<title></title>\n</head><body><p>Tea</p></body></html>\n";
    Load(page);
    RepairOnPage("Metadata", [&](CMemoryWindow&, CMemoryWindow& p) { p.Type(CPageMetadata::kTitle, "Tea <hot>"); });
    ExpectWrittenThenUndone(page, Replaced(page, "<title></title>", "<title>Tea &lt;hot&gt;</title>"));
}

TEST_F(StructurePagesTest, AFramesetGetsANoframesSectionLinkingItsFramesBeforeItsEndTagUnlessTheUserUnticksIt)
{
    const std::string page = "<html lang=\"en\">\r\n<head><title>Ferries</title></head>\r\n"
                             "<frameset cols=\"30%,70%\">\r\n<frame src=\"menu.html\" title=\"Menu &amp; fares\">\r\n"
                             "<frame src=\"news.html?a=1&amp;b=2\" name=\"news\">\r\n</frameset>\r\n</html>\r\n";
    Load(page);
    RepairOnPage("FramesetNoframes", [&](CMemoryWindow&, CMemoryWindow& p) {
        EXPECT_EQ(p.Text(1001), Strings(161));
        EXPECT_TRUE(p.IsChecked(CPageFramesetNoframes::kInsert));
        EXPECT_TRUE(p.IsVisible(CPageFramesetNoframes::kInsert));
        EXPECT_FALSE(p.IsVisible(CPageFramesetNoframes::kPlaceholderMessage));
        EXPECT_EQ(p.Text(CPageFramesetNoframes::kProblemText), "Frameset 1, cols = 30%,70%");
    });
    // The frames' pages linked, by title or else name, each written as the page escapes it.
    ExpectWrittenThenUndone(page, Replaced(page, "\r\n</frameset>",
                                           "\r\n\r\n<noframes>\r\n<p>" + Strings(1241) +
                                               "</p>\r\n<ul>\r\n<li><a href=\"menu.html\">Menu &amp; fares</a></li>\r\n"
                                               "<li><a href=\"news.html?a=1&amp;b=2\">news</a></li>\r\n</ul>\r\n"
                                               "</noframes>\r\n</frameset>"));
    ShowSheet([&](CMemoryWindow& w) {
        w.PageWindow(0).Click(CPageFramesetNoframes::kInsert);
        w.Click(platform::kIdFinish);
    });
    EXPECT_EQ(document.Text(), page);
    ExpectNothingRepaired();
}

TEST_F(StructurePagesTest, APlaceholderNoframesSectionIsPointedOutAndNothingIsWritten)
{
    const std::string page = "<html lang=\"en\"><frameset rows=\"20%,80%\"><frame src=\"top.html\">"
                             "<noframes>Diese Seite verwendet Frames</noframes></frameset></html>\n";
    Load(page);
    RepairOnPage("FramesetNoframes", [&](CMemoryWindow&, CMemoryWindow& p) {
        EXPECT_FALSE(p.IsVisible(CPageFramesetNoframes::kInsert));
        EXPECT_TRUE(p.IsVisible(CPageFramesetNoframes::kPlaceholderMessage));
    });
    ExpectWrittenThenUndone(page, page);
}

} // namespace
} // namespace orvane::test
