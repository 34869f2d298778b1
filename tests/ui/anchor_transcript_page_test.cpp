#include "ui_fixture.h"

#include "library/ui/pages/objects/page_anchor_transcript.h"

#include <filesystem>
#include <fstream>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;
using Page = CPageAnchorTranscript;

// The harbour master's morning announcement, as a sound file without a transcript.
constexpr char kRadioPage[] =
    "<html lang=\"en\"><head><title>Harbour radio</title></head><body>\n"
    "<p><a href=\"sounds/harbour-master.wav\">Listen to this morning's announcement</a> (WAV sound)</p>\n"
    "</body></html>\n";

std::string WithTranscript(std::string_view address)
{
    std::string page = kRadioPage;
    const std::string after = "announcement</a>";
    page.insert(page.find(after) + after.size(), " <a href=\"" + std::string(address) + "\">Transcript</a>");
    return page;
}

class AnchorTranscriptPageTest : public RepairRunTest {
protected:
    void SetUp() override
    {
        RepairRunTest::SetUp();
        fs::create_directories(folder / "sounds");
        std::ofstream((folder / "sounds/harbour-master.wav").string(), std::ios::binary) << "RIFF";
    }

};

TEST_F(AnchorTranscriptPageTest, TheRecordingPlaysOnThePageItsTranscriptIsWrittenLinkedUndoneAndOfferedNextTime)
{
    Load(kRadioPage);
    StartOverviewSheet(sheet, InFolder("radio.html"));
    ASSERT_EQ(AddPages("AnchorTranscript"), 1);
    const std::string transcript = "Good morning. The first ferry leaves at 6:40 & the sea is calm.";

    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(218));
        EXPECT_EQ(page.Text(Page::kRecording), "sounds/harbour-master.wav");
        EXPECT_EQ(page.Text(Page::kPlayerState), Strings(963));
        EXPECT_TRUE(page.IsEnabled(Page::kPlay));
        EXPECT_FALSE(page.IsEnabled(Page::kStop));
        EXPECT_FALSE(page.IsVisible(Page::kNotNeeded));
        EXPECT_TRUE(page.IsChecked(Page::kWriteNew));
        EXPECT_EQ(page.Text(Page::kFileName), "harbour-master-transcript.html");

        // Played from the page's folder; the player's state is told in words.
        page.Click(Page::kPlay);
        EXPECT_EQ(page.PlayedFiles(Page::kPlayer),
                  std::vector<std::string>{(folder / "sounds/harbour-master.wav").string()});
        EXPECT_EQ(page.Text(Page::kPlayerState), Strings(962));
        EXPECT_FALSE(page.IsEnabled(Page::kPlay));
        EXPECT_TRUE(page.IsEnabled(Page::kStop));
        EXPECT_EQ(page.FocusedControl(), Page::kStop);
        page.Click(Page::kStop);
        EXPECT_EQ(page.Text(Page::kPlayerState), Strings(963));
        page.Click(Page::kPlay);
        page.PlayerReachesEnd(Page::kPlayer);
        EXPECT_EQ(page.Text(Page::kPlayerState), Strings(963));
        page.Click(Page::kPlay);
        page.PlayerFails(Page::kPlayer, "The sound format is not supported.");
        EXPECT_EQ(page.Text(Page::kPlayerState),
                  platform::FormatMessage(Strings(964), {"The sound format is not supported."}));
        EXPECT_TRUE(page.IsEnabled(Page::kPlay));

        // No text, no transcript: the user is told and stays.
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(300)));
        page.Type(Page::kText, transcript);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(windows.prompt.messages.size(), 1u);
    EXPECT_EQ(document.Text(), WithTranscript("harbour-master-transcript.html"));
    EXPECT_EQ(ReadFileBytes((folder / "harbour-master-transcript.html").string()),
              platform::FormatMessage(Strings(361), {"Transcript of Listen to this morning's announcement", "en", ""}) +
                  transcript + "</p>\n</body>\n</html>\n");

    UndoOnSheet();
    EXPECT_EQ(document.Text(), kRadioPage);

    // The next check of the page offers the transcript written for the recording.
    Load(kRadioPage);
    CValidatorSheet next;
    StartOverviewSheet(next, InFolder("radio.html"));
    ASSERT_EQ(AddPages(next, [](std::string_view check) { return check == "AnchorTranscript"; }), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.ItemTexts(Page::kKnownFiles), std::vector<std::string>{"harbour-master-transcript.html"});
        page.Choose(Page::kKnownFiles, 0);
        EXPECT_EQ(page.Text(Page::kText), transcript);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(next.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(document.Text(), WithTranscript("harbour-master-transcript.html"));
}

TEST_F(AnchorTranscriptPageTest, AMissingRecordingIsNamedAndOneOnTheWebIsPlayedFromItsAddress)
{
    std::string page = kRadioPage;
    page.replace(page.find("sounds/harbour-master.wav"), 25, "sounds/yesterday.wav");
    page.insert(page.find("</body>"), "<p><a href=\"http://radio.example.org/news/today.wav\">News</a></p>\n");
    Load(page);
    StartOverviewSheet(sheet, InFolder("radio.html"));
    ASSERT_EQ(AddPages("AnchorTranscript"), 2);

    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& first = w.PageWindow(0);
        first.Click(Page::kPlay);
        EXPECT_TRUE(first.PlayedFiles(Page::kPlayer).empty());
        EXPECT_EQ(first.Text(Page::kPlayerState),
                  platform::FormatMessage(Strings(964), {platform::FormatMessage(
                                                            Strings(970), {(folder / "sounds/yesterday.wav").string()})}));
        w.Click(kSkipUndo);
        CMemoryWindow& second = w.PageWindow(1);
        second.Click(Page::kPlay);
        EXPECT_EQ(second.PlayerBaseAddress(Page::kPlayer), "http://radio.example.org/news/");
        EXPECT_EQ(second.PlayedFiles(Page::kPlayer), std::vector<std::string>{"today.wav"});
        EXPECT_EQ(second.Text(Page::kPlayerState), Strings(962));
        // Going back to the first page stops the recording.
        w.Click(platform::kIdBack);
        EXPECT_EQ(second.Text(Page::kPlayerState), Strings(963));
        EXPECT_EQ(second.MediaPlayer(Page::kPlayer)->State(), platform::MediaState::Stopped);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), page);
}

} // namespace
} // namespace orvane::test
