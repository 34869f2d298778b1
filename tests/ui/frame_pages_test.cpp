#include "ui_fixture.h"

#include "library/checks/element_frame.h"
#include "library/registry/object_database.h"
#include "library/registry/src_document.h"
#include "library/ui/pages/frames/page_frame_long_desc.h"
#include "library/ui/pages/frames/page_frame_source.h"

#include <filesystem>
#include <fstream>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

// A ferry timetable in three frames: a menu, the departures and a map shown
// as a bare picture.
constexpr char kTimetableFrames[] =
    "<html lang=\"en\"><head><title>Ferry timetable</title></head>\r\n"
    "<frameset cols=\"20%,50%,30%\">\r\n"
    "  <frame name=\"menu\" src=\"menu.html\" title=\"Menu\">\r\n"
    "  <frame name=\"departures\" src=\"departures.html\">\r\n"
    "  <frame src=\"images/harbour-map.gif\" title=\"Harbour map\">\r\n"
    "  <noframes><body><p><a href=\"menu.html\">Timetable menu</a></p></body></noframes>\r\n"
    "</frameset></html>\r\n";

using FramePagesTest = RememberingRunTest;

TEST_F(FramePagesTest, AFramePageGetsADescriptionOfItsFramesProposedFromThemWrittenAndLinkedAndUndoWritesItBack)
{
    Load(kTimetableFrames);
    StartSheetInFolder("timetable.html");
    ASSERT_EQ(AddPages("FrameLongdesc"), 1);
    using Page = CPageFrameLongDesc;
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(138));
        EXPECT_EQ(page.Text(Page::kFrames), "Frame 1, \"Menu\": menu.html\nFrame 2, \"departures\": departures.html\n"
                                            "Frame 3, \"Harbour map\": images/harbour-map.gif");
        EXPECT_TRUE(page.IsChecked(Page::kWriteNew));
        EXPECT_EQ(page.Text(Page::kFileName), "page-frames.html");
        EXPECT_EQ(page.Text(Page::kText), "This page is divided into 3 frames:\n- \"Menu\" (menu.html):\n"
                                          "- \"departures\" (departures.html):\n"
                                          "- \"Harbour map\" (images/harbour-map.gif):");
        w.PressHelp();

        // Linking asks for the address first.
        page.Click(Page::kLinkExisting);
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(303)));
        EXPECT_EQ(document.Text(), kTimetableFrames);
        page.Click(Page::kWriteNew);
        page.Type(Page::kText, "Left: the menu.\nMiddle: today's departures & arrivals.\nRight: the harbour map.");
        page.Type(Page::kFileName, "about frames");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"1-1-8.html"});
    EXPECT_EQ(ReadFileBytes(InFolder("about frames.html")),
              platform::FormatMessage(Strings(361), {"The frames of page.html", "en", ""}) +
                  "Left: the menu.<br>Middle: today's departures & arrivals.<br>Right: the harbour map.</p>\n"
                  "</body>\n</html>\n");
    std::string linked = kTimetableFrames;
    linked.replace(linked.find("title=\"Menu\">"), 13, "title=\"Menu\" longdesc=\"about frames.html\">");
    EXPECT_EQ(document.Text(), linked);

    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_EQ(w.Text(kSkipUndo), "&Undo");
        w.Click(kSkipUndo);
        EXPECT_EQ(w.Text(kSkipUndo), "&Skip");
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kTimetableFrames);
}

TEST_F(FramePagesTest, AFramePageThatNeedsNoDescriptionIsRememberedForTheNextSessionUntilUndone)
{
    Load(kTimetableFrames);
    StartSheetInFolder("timetable.html");
    ASSERT_EQ(AddPages("FrameLongdesc"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.Click(CPageFrameLongDesc::kNotNeeded);
        EXPECT_FALSE(page.IsEnabled(CPageFrameLongDesc::kText));
        w.Click(kIdFinish);
    });
    EXPECT_TRUE(windows.prompt.messages.empty());
    EXPECT_EQ(document.Text(), kTimetableFrames);
    EXPECT_FALSE(fs::exists(InFolder("page-frames.html")));

    ASSERT_EQ(registry.Save(), 1);
    CSrcObjectDatabase next(InFolder("ObjectRegistry.xml"));
    ASSERT_EQ(next.Load(), 1);
    ASSERT_NE(next.FindDocument(document.Name()), nullptr);
    EXPECT_FALSE(next.FindDocument(document.Name())->FramesNeedDescription());
    EXPECT_FALSE(Has(ChecksOf(kTimetableFrames, document.Name(), &next), "FrameLongdesc"));

    UndoOnSheet();
    ASSERT_EQ(registry.Save(), 1);
    CSrcObjectDatabase afterUndo(InFolder("ObjectRegistry.xml"));
    ASSERT_EQ(afterUndo.Load(), 1);
    EXPECT_TRUE(afterUndo.FindDocument(document.Name())->FramesNeedDescription());
    EXPECT_TRUE(Has(ChecksOf(kTimetableFrames, document.Name(), &afterUndo), "FrameLongdesc"));
}

TEST_F(FramePagesTest, AFrameShowingAPictureIsPointedAtThePageOfThatNameOrKeptAndUndoWritesThePageBack)
{
    fs::create_directories(folder / "images");
    std::ofstream(InFolder("images/harbour-map.html"), std::ios::binary) << "<p><img src=\"harbour-map.gif\" alt=\"Map\"></p>";
    std::ofstream(InFolder("harbour.html"), std::ios::binary) << "<p>Harbour</p>";
    // A fourth frame whose source has no extension at all.
    std::string page = kTimetableFrames;
    page.insert(page.find("  <noframes>"), "  <frame src=\"timetable\">\r\n");
    Load(page);
    StartSheetInFolder("timetable.html");
    ASSERT_EQ(AddPages("FrameSource"), 2);
    using Page = CPageFrameSource;
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& map = w.PageWindow(0);
        EXPECT_EQ(map.Text(1001), Strings(195));
        EXPECT_EQ(map.Text(Page::kSource), "images/harbour-map.gif");
        EXPECT_EQ(map.Text(Page::kFound), platform::FormatMessage(Strings(985), {"images/harbour-map.gif"}));
        EXPECT_NE(map.Browser(Page::kPreview)->Address(), "");
        EXPECT_TRUE(map.IsChecked(Page::kPointAtPage));
        EXPECT_EQ(map.Text(Page::kAddress), "images/harbour-map.html");
        w.PressHelp();

        // No address, or one that is no page either: the user is told and stays.
        map.Type(Page::kAddress, " ");
        w.Click(kIdNext);
        ASSERT_TRUE(ToldLast(1, Strings(987)));
        map.Type(Page::kAddress, "images/harbour-map.png");
        windows.AnswerNextMessage(platform::kAnswerNo);
        w.Click(kIdNext);
        ASSERT_TRUE(ToldLast(2, platform::FormatMessage(Strings(988), {"images/harbour-map.png"})));
        EXPECT_EQ(w.CurrentPage(), 0);
        EXPECT_EQ(document.Text(), page);

        // The page chosen in the file dialog, relative to the page's folder.
        windows.AnswerNextFileDialog(InFolder("harbour.html"));
        map.Click(Page::kChoose);
        EXPECT_EQ(windows.fileRequests.back().title, Strings(989));
        EXPECT_EQ(map.Text(Page::kAddress), "harbour.html");
        w.Click(kIdNext);

        // A source without a dot: nothing of that name is there, so nothing is proposed.
        CMemoryWindow& timetable = w.PageWindow(1);
        EXPECT_EQ(timetable.Text(Page::kAddress), "");
        timetable.Click(Page::kKeep);
        EXPECT_FALSE(timetable.IsEnabled(Page::kAddress));
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"6-2-1.html"});
    std::string pointed = page;
    pointed.replace(pointed.find("images/harbour-map.gif"), 22, "harbour.html");
    EXPECT_EQ(document.Text(), pointed);
    EXPECT_TRUE(sheet.Page(0).Element()->IsRepaired(CElementFrame::kSourceBit, 1));
    // The file kept is declined, not repaired: the problem stays open.
    EXPECT_FALSE(sheet.Page(1).Element()->IsRepaired(CElementFrame::kSourceBit, 1));
    EXPECT_EQ(sheet.Page(1).Status(), pagestatus::kNotRepaired);

    // Undone, the frame shows its file again.
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        EXPECT_EQ(w.Text(kSkipUndo), "&Skip");
        w.PressEscape();
    });
    windows.AnswerNextMessage(platform::kAnswerYes);
    sheet.DoModal(nullptr);
    EXPECT_EQ(document.Text(), page);
    EXPECT_FALSE(sheet.Page(0).Element()->IsRepaired(CElementFrame::kSourceBit, 1));
}

} // namespace
} // namespace orvane::test
