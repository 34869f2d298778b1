#include "ui_fixture.h"

#include "library/checks/element_frame.h"
#include "library/ui/pages/frames/page_frame_title.h"
#include "library/ui/pages/objects/page_object_title.h"

#include <fstream>
#include <iterator>

namespace orvane::test {
namespace {


// A timetable in two frames: the menu has no title, the article one of blanks.
constexpr char kTimetableFrames[] =
    "<html lang=\"en\"><head><title>Ferry timetable</title></head>\r\n"
    "<frameset cols=\"25%,75%\">\r\n"
    "  <frame name=\"menu\" src=\"menu.html\">\r\n"
    "  <FRAME NAME=article SRC=\"http://example.org/timetable.html\" TITLE=\"   \">\r\n"
    "  <noframes><body><p><a href=\"menu.html\">Timetable menu</a></p></body></noframes>\r\n"
    "</frameset></html>\r\n";

TEST_F(RepairRunTest, AFrameGetsTheTitleTypedAndIsShownByItsNameAndPageAndUndoWritesThePageAsItWas)
{
    ASSERT_EQ(OpenSheet(kTimetableFrames, "FrameTitle"), 2);
    RunSheetToFinish([&](CMemoryWindow& w) {
        using Page = CPageFrameTitle;
        CMemoryWindow& menu = w.PageWindow(0);
        EXPECT_EQ(menu.Text(1001), Strings(139));
        EXPECT_EQ(menu.Text(Page::kName), "menu");
        EXPECT_EQ(menu.Text(Page::kSource), "menu.html");
        EXPECT_EQ(menu.Browser(Page::kPreview)->Address(), "/site/forms/menu.html");
        EXPECT_EQ(menu.Text(Page::kTitle), "");
        w.PressHelp();

        // Nothing, or blanks only, is announced as no title: the user is told and stays.
        w.Click(kIdNext);
        menu.Type(Page::kTitle, "   ");
        w.Click(kIdNext);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(2, Strings(114)));
        EXPECT_EQ(windows.prompt.messages[1].icon, platform::PromptIcon::Exclamation);
        EXPECT_EQ(document.Text(), kTimetableFrames);
        menu.Type(Page::kTitle, " Timetable menu");
        w.Click(kIdNext);

        CMemoryWindow& article = w.PageWindow(1);
        EXPECT_EQ(article.Text(Page::kName), "article");
        EXPECT_EQ(article.Browser(Page::kPreview)->Address(), "http://example.org/timetable.html");
        EXPECT_EQ(article.Text(Page::kTitle), "   ");
        article.Type(Page::kTitle, "Departures \"today\"");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"12-1-1.html"});
    EXPECT_EQ(document.Text(),
              "<html lang=\"en\"><head><title>Ferry timetable</title></head>\r\n"
              "<frameset cols=\"25%,75%\">\r\n"
              "  <frame name=\"menu\" src=\"menu.html\" title=\" Timetable menu\">\r\n"
              "  <FRAME NAME=\"article\" SRC=\"http://example.org/timetable.html\" TITLE='Departures \"today\"'>\r\n"
              "  <noframes><body><p><a href=\"menu.html\">Timetable menu</a></p></body></noframes>\r\n"
              "</frameset></html>\r\n");

    ShowSheet([&](CMemoryWindow& w) {
        for (int page = 0; page < 2; ++page) {
            EXPECT_EQ(w.Text(kSkipUndo), "&Undo") << page;
            w.Click(kSkipUndo);
            EXPECT_EQ(w.Text(kSkipUndo), "&Skip") << page;
            if (page == 0)
                w.Click(kSkipUndo);
        }
        EXPECT_EQ(w.PageWindow(1).Text(CPageFrameTitle::kTitle), "   ");
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kTimetableFrames);
    for (int page = 0; page < 2; ++page)
        EXPECT_FALSE(sheet.Page(page).Element()->IsRepaired(CElementFrame::kTitleBit, 1)) << page;
}

// A harbour film embedded with a fallback link for browsers that cannot show it.
constexpr char kHarbourFilm[] =
    "<html lang=\"en\"><head><title>Harbour</title></head><body>\n"
    "<object data=\"harbour.mp4\" type=\"video/mp4\">\n"
    "<a href=\"harbour.mp4\">The harbour at dawn (video)</a>\n"
    "</object>\n"
    "</body></html>\n";

TEST_F(RepairRunTest, AnObjectGetsAnyTitleButAnEmptyOneAndIsShownAsThePageWritesIt)
{
    ASSERT_EQ(OpenSheet(kHarbourFilm, "ObjectTitle"), 1);
    const std::string markup =
        "<object data=\"harbour.mp4\" type=\"video/mp4\">\n<a href=\"harbour.mp4\">The harbour at dawn (video)</a>\n";
    RunSheetToFinish([&](CMemoryWindow& w) {
        using Page = CPageObjectTitle;
        CMemoryWindow& film = w.PageWindow(0);
        EXPECT_EQ(film.Text(1001), Strings(146));
        EXPECT_EQ(film.Text(Page::kMarkup).rfind(markup, 0), 0u) << film.Text(Page::kMarkup);
        EXPECT_EQ(film.Text(Page::kMarkup).substr(film.Text(Page::kMarkup).size() - 9), "</object>");
        const std::string preview = film.Browser(Page::kPreview)->Address();
        std::ifstream shown(preview);
        const std::string written{std::istreambuf_iterator<char>(shown), {}};
        EXPECT_EQ(written, "<HTML><HEAD></HEAD><BODY>" + film.Text(Page::kMarkup) + "</BODY></HTML>");
        w.PressHelp();

        // Only an empty title is refused; blanks are a title the check accepts.
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, Strings(112)));
        EXPECT_EQ(document.Text(), kHarbourFilm);
        film.Type(Page::kTitle, "  ");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"ObjectMissingTitle.html"});
    EXPECT_EQ(document.Text(),
              "<html lang=\"en\"><head><title>Harbour</title></head><body>\n"
              "<object data=\"harbour.mp4\" type=\"video/mp4\" title=\"  \">\n"
              "<a href=\"harbour.mp4\">The harbour at dawn (video)</a>\n"
              "</object>\n"
              "</body></html>\n");

    // Cancelling and answering No takes the title out again.
    windows.AnswerNextMessage(platform::kAnswerNo);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) { w.PressEscape(); });
    sheet.DoModal(nullptr);
    EXPECT_EQ(document.Text(), kHarbourFilm);
}

} // namespace
} // namespace orvane::test
