#include "ui_fixture.h"

#include "library/checks/element_pre.h"
#include "library/registry/object_database.h"
#include "library/registry/src_ascii_art.h"
#include "library/ui/pages/text_alternatives/page_ascii_art_description.h"
#include "library/ui/pages/links/page_ascii_art_skip.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

constexpr char kLogo[] =
    "<pre>\r\n"
    "     ________________________\r\n"
    "    |  ~~  THE FERRY CLUB ~~ |\r\n"
    "    |________________________|\r\n"
    "   __|__|__      ____|____\r\n"
    "  |  o  o  \\____/  o  o  o|\r\n"
    "   \\_____________________/\r\n"
    "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~\r\n"
    "</pre>";

constexpr char kMap[] =
    "<pre>\r\n"
    "  N        +-------+\r\n"
    "  |        | North |\r\n"
    "  *        +---+---+\r\n"
    "               |\r\n"
    "  +------+-----+------+\r\n"
    "  | Pier | Tea room   |\r\n"
    "  +------+------------+\r\n"
    "</pre>";

// The ferry club's news: its logo, and further down a map of the harbour.
std::string ClubPage(std::string_view logo = kLogo, std::string_view map = kMap)
{
    return "<html lang=\"en\"><head><title>The Ferry Club</title></head><body>\r\n" + std::string(logo) +
           "\r\n<h1>News for members</h1>\r\n<p>We meet on the first Thursday of the month.</p>\r\n" +
           std::string(map) + "\r\n<p>The tea room is by the pier.</p>\r\n</body></html>\r\n";
}

class AsciiArtPagesTest : public RememberingRunTest {
protected:
    std::string ArtId(int nth) const
    {
        int seen = 0;
        for (const CFoundProblem& problem : found) {
            if (const auto* pre = dynamic_cast<const CElementPre*>(problem.element); pre && problem.bit == 0x1 &&
                                                                                   seen++ == nth)
                return pre->ArtId();
        }
        ADD_FAILURE() << "no art " << nth;
        return {};
    }
};

TEST_F(AsciiArtPagesTest, EachPieceOfArtGetsALinkOverItToAnAnchorOfItsOwnInThePagesLineEndsAndUndoTakesThemOut)
{
    const std::string page = ClubPage();
    Load(page);
    StartSheetInFolder("club.html");
    ASSERT_EQ(AddPages("AsciiArtSkipover"), 2);
    using Page = CPageAsciiArtSkip;
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& logo = w.PageWindow(0);
        EXPECT_EQ(logo.Text(1001), Strings(301));
        std::ifstream shown(logo.Browser(Page::kPreview)->Address());
        const std::string preview{std::istreambuf_iterator<char>(shown), {}};
        EXPECT_EQ(preview, "<HTML><HEAD></HEAD><BODY>" + std::string(kLogo) + "</BODY></HTML>");
        EXPECT_TRUE(logo.IsChecked(Page::kInsertLink));
        EXPECT_EQ(logo.Text(Page::kLinkText), Strings(306));
        w.PressHelp();

        // A link needs a text to be read out.
        logo.Type(Page::kLinkText, "  ");
        w.Click(kIdNext);
        ASSERT_TRUE(ToldLast(1, Strings(990)));
        EXPECT_EQ(w.CurrentPage(), 0);
        EXPECT_EQ(document.Text(), page);
        logo.Type(Page::kLinkText, "Skip the logo <club>");
        w.Click(kIdNext);
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"13-10-1.html"});
    const std::string skipped = ClubPage(
        "<p><a href=\"#after-ascii-art\" title=\"Skip over the ASCII art\">Skip the logo &lt;club&gt;</a></p>\r\n" +
            std::string(kLogo) + "\r\n<a name=\"after-ascii-art\"></a>",
        "<p><a href=\"#after-ascii-art-2\" title=\"Skip over the ASCII art\">Skip over the ASCII art</a></p>\r\n" +
            std::string(kMap) + "\r\n<a name=\"after-ascii-art-2\"></a>");
    EXPECT_EQ(document.Text(), skipped);
    // The links are what the check looks for.
    EXPECT_EQ(Count(ChecksOf(skipped, document.Name(), &registry), "AsciiArtSkipover"), 0);

    ShowSheet([&](CMemoryWindow& w) {
        for (int n = 0; n < 2; ++n) {
            EXPECT_EQ(w.Text(kSkipUndo), "&Undo") << n;
            w.Click(kSkipUndo);
            if (n == 0)
                w.Click(kSkipUndo);
        }
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), page);
}

TEST_F(AsciiArtPagesTest, ArtJudgedShortEnoughIsRememberedForTheNextSessionUntilUndone)
{
    const std::string page = ClubPage();
    Load(page);
    StartSheetInFolder("club.html");
    ASSERT_EQ(AddPages("AsciiArtSkipover"), 2);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& logo = w.PageWindow(0);
        logo.Click(CPageAsciiArtSkip::kShortEnough);
        EXPECT_FALSE(logo.IsEnabled(CPageAsciiArtSkip::kLinkText));
        w.Click(kIdNext);
        w.PressEscape();
    });
    windows.AnswerNextMessage(platform::kAnswerYes);
    sheet.DoModal(nullptr);
    EXPECT_EQ(document.Text(), page);
    ASSERT_EQ(registry.Save(), 1);
    CSrcObjectDatabase next(InFolder("ObjectRegistry.xml"));
    ASSERT_EQ(next.Load(), 1);
    ASSERT_NE(next.FindAsciiArt(document.Name(), ArtId(0)), nullptr);
    EXPECT_TRUE(next.FindAsciiArt(document.Name(), ArtId(0))->HasSkipOverLink());
    // Only the map is asked about again.
    EXPECT_EQ(Count(ChecksOf(page, document.Name(), &next), "AsciiArtSkipover"), 1);

    UndoOnSheet();
    ASSERT_EQ(registry.Save(), 1);
    CSrcObjectDatabase afterUndo(InFolder("ObjectRegistry.xml"));
    ASSERT_EQ(afterUndo.Load(), 1);
    EXPECT_FALSE(afterUndo.FindAsciiArt(document.Name(), ArtId(0))->HasSkipOverLink());
    EXPECT_EQ(Count(ChecksOf(page, document.Name(), &afterUndo), "AsciiArtSkipover"), 2);
}

TEST_F(AsciiArtPagesTest, ArtIsDescribedBeforeItOrInAFileItLinksToAndTheDescriptionIsOfferedWhereverTheArtStands)
{
    const std::string page = ClubPage();
    Load(page);
    StartSheetInFolder("club.html");
    ASSERT_EQ(AddPages("AsciiArtDescription"), 2);
    using Page = CPageAsciiArtDescription;
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& logo = w.PageWindow(0);
        EXPECT_EQ(logo.Text(1001), Strings(296));
        EXPECT_NE(logo.Browser(Page::kPreview)->Address(), "");
        EXPECT_TRUE(logo.IsVisible(Page::kAlternative));
        EXPECT_TRUE(logo.IsChecked(Page::kAlternative));
        w.PressHelp();
        w.Click(kIdNext);
        ASSERT_TRUE(ToldLast(1, Strings(300)));
        logo.Type(Page::kText, "The Ferry Club's logo:\na ferry on the waves & its name");
        w.Click(kIdNext);

        CMemoryWindow& map = w.PageWindow(1);
        map.Click(Page::kWriteNew);
        map.Type(Page::kText, "The pier lies south of the tea room.");
        map.Type(Page::kFileName, "harbour-map");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"1-1-12.html"});
    const std::string described = ClubPage(
        "<p>The Ferry Club's logo:<br>\r\na ferry on the waves &amp; its name</p>\r\n" + std::string(kLogo),
        "<p><a href=\"harbour-map.html\" title=\"Long description\">Description of the ASCII art</a></p>\r\n" +
            std::string(kMap));
    EXPECT_EQ(document.Text(), described);
    EXPECT_EQ(ReadFileBytes(InFolder("harbour-map.html")),
              platform::FormatMessage(Strings(361), {"Description of the ASCII art on page.html", "en", ""}) +
                  "The pier lies south of the tea room.</p>\n</body>\n</html>\n");

    // The next session knows both pieces as described, and another page of
    // the site with the same logo is offered the same description.
    ASSERT_EQ(registry.Save(), 1);
    CSrcObjectDatabase next(InFolder("ObjectRegistry.xml"));
    ASSERT_EQ(next.Load(), 1);
    EXPECT_EQ(Count(ChecksOf(page, document.Name(), &next), "AsciiArtDescription"), 0);

    // Undone, the club's page is as it was, and its art no longer counts as described.
    UndoOnSheet(3);
    EXPECT_EQ(document.Text(), page);
    EXPECT_FALSE(sheet.Page(0).Element()->IsRepaired(CElementPre::kDescriptionBit, 1));
    ASSERT_EQ(registry.Save(), 1);
    CSrcObjectDatabase afterUndo(InFolder("ObjectRegistry.xml"));
    ASSERT_EQ(afterUndo.Load(), 1);
    EXPECT_EQ(Count(ChecksOf(page, document.Name(), &afterUndo), "AsciiArtDescription"), 2);

    CHtmlDocument other{CFamilyElementFactory::Instance()};
    other.Start(1, false);
    other.SetName("/site/forms/other.html");
    std::istringstream in{ClubPage(kLogo, "")};
    ASSERT_EQ(other.Load(in), 1);
    CValidatorSheet otherRun;
    StartSheet(otherRun, InFolder("other.html"));
    otherRun.SetObjectRegistry(&next);
    for (const CFoundProblem& problem : RunCheckPass(other, settings, &next)) {
        if (problem.element->GetCheckName(problem.bit) == "AsciiArtDescription")
            problem.element->AddRepairPages(otherRun, other, problem.bit);
    }
    ASSERT_EQ(otherRun.PageCount(), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& logo = w.PageWindow(0);
        EXPECT_TRUE(logo.IsChecked(Page::kAlternative));
        EXPECT_EQ(logo.Text(Page::kText), "The Ferry Club's logo:\na ferry on the waves & its name");
        w.PressEscape();
    });
    otherRun.DoModal(nullptr);
}

} // namespace
} // namespace orvane::test
