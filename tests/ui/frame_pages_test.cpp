#include "ui_fixture.h"

#include "library/registry/object_database.h"
#include "library/registry/src_document.h"
#include "library/ui/page_frame_long_desc.h"

#include <filesystem>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;
using platform::kIdFinish;
using platform::kIdNext;
constexpr int kSkipUndo = CValidatorSheet::kSkipUndoButton;

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

class FramePagesTest : public RepairRunTest {
protected:
    void SetUp() override
    {
        RepairRunTest::SetUp();
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(::testing::TempDir()) / (std::string("orvane-") + test->test_suite_name() + "-" + test->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        registry.SetFilePath(InFolder("ObjectRegistry.xml"));
    }
    void TearDown() override { fs::remove_all(folder); }

    void StartSheetInFolder()
    {
        StartSheet();
        sheet.SetDocumentPath(InFolder("timetable.html"));
        sheet.SetObjectRegistry(&registry);
    }

    std::string InFolder(std::string_view name) const { return (folder / name).string(); }

    // The checks of the page in a later session, with what that session's registry knows.
    std::vector<std::string> ChecksOfNextSession(std::string_view page, CSrcObjectDatabase& known)
    {
        CHtmlDocument again{CFamilyElementFactory::Instance()};
        again.Start(1, false);
        again.SetName(document.Name());
        std::istringstream in{std::string(page)};
        EXPECT_EQ(again.Load(in), 1);
        std::vector<std::string> names;
        for (const CFoundProblem& problem : RunCheckPass(again, settings, &known))
            names.push_back(problem.element->GetCheckName(problem.bit));
        return names;
    }

    fs::path folder;
    CSrcObjectDatabase registry;
};

bool Has(const std::vector<std::string>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST_F(FramePagesTest, AFramePageGetsADescriptionOfItsFramesProposedFromThemWrittenAndLinkedAndUndoWritesItBack)
{
    Load(kTimetableFrames);
    StartSheetInFolder();
    ASSERT_EQ(AddPages("FrameLongdesc"), 1);
    using Page = CPageFrameLongDesc;
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
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
        ASSERT_EQ(windows.prompt.messages.size(), 1u);
        EXPECT_EQ(windows.prompt.messages[0].text, Strings(303));
        EXPECT_EQ(document.Text(), kTimetableFrames);
        page.Click(Page::kWriteNew);
        page.Type(Page::kText, "Left: the menu.\nMiddle: today's departures & arrivals.\nRight: the harbour map.");
        page.Type(Page::kFileName, "about frames");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(sheet.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(DialogRecord().helpTopics, std::vector<std::string>{"1-1-8.html"});
    EXPECT_EQ(ReadFileBytes(InFolder("about frames.html")),
              platform::FormatMessage(Strings(361), {"The frames of page.html"}) +
                  "Left: the menu.<br>Middle: today's departures & arrivals.<br>Right: the harbour map.</p>\n"
                  "</body>\n</html>\n");
    std::string linked = kTimetableFrames;
    linked.replace(linked.find("title=\"Menu\">"), 13, "title=\"Menu\" longdesc=\"about frames.html\">");
    EXPECT_EQ(document.Text(), linked);

    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        EXPECT_EQ(w.Text(kSkipUndo), "&Undo");
        w.Click(kSkipUndo);
        EXPECT_EQ(w.Text(kSkipUndo), "&Skip");
        w.PressEscape();
    });
    sheet.DoModal(nullptr);
    EXPECT_EQ(document.Text(), kTimetableFrames);
}

TEST_F(FramePagesTest, AFramePageThatNeedsNoDescriptionIsRememberedForTheNextSessionUntilUndone)
{
    Load(kTimetableFrames);
    StartSheetInFolder();
    ASSERT_EQ(AddPages("FrameLongdesc"), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        page.Click(CPageFrameLongDesc::kNotNeeded);
        EXPECT_FALSE(page.IsEnabled(CPageFrameLongDesc::kText));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(sheet.DoModal(nullptr), kIdFinish);
    EXPECT_TRUE(windows.prompt.messages.empty());
    EXPECT_EQ(document.Text(), kTimetableFrames);
    EXPECT_FALSE(fs::exists(InFolder("page-frames.html")));

    ASSERT_EQ(registry.Save(), 1);
    CSrcObjectDatabase next(InFolder("ObjectRegistry.xml"));
    ASSERT_EQ(next.Load(), 1);
    ASSERT_NE(next.FindDocument(document.Name()), nullptr);
    EXPECT_FALSE(next.FindDocument(document.Name())->FramesNeedDescription());
    EXPECT_FALSE(Has(ChecksOfNextSession(kTimetableFrames, next), "FrameLongdesc"));

    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    sheet.DoModal(nullptr);
    ASSERT_EQ(registry.Save(), 1);
    CSrcObjectDatabase afterUndo(InFolder("ObjectRegistry.xml"));
    ASSERT_EQ(afterUndo.Load(), 1);
    EXPECT_TRUE(afterUndo.FindDocument(document.Name())->FramesNeedDescription());
    EXPECT_TRUE(Has(ChecksOfNextSession(kTimetableFrames, afterUndo), "FrameLongdesc"));
}

} // namespace
} // namespace orvane::test
