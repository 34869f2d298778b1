#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/ui/pages/presentation/page_body_color.h"

namespace orvane::test {
namespace {

using Page = CPageBodyColor;

constexpr char kPage[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html lang=\"en\">\r\n"
    "<head><title>Harbour news</title></head>\r\n"
    "<body bgcolor=\"#ffffff\" text=\"#777777\" link=\"#0000FF\" class=\"news\">\r\n"
    "<p>The ferry leaves at <a href=\"times.html\">nine</a>.</p>\r\n</body></html>\r\n";

std::string WithBodyTag(std::string_view page, std::string_view tag)
{
    std::string text(page);
    const std::size_t start = text.find("<body");
    text.replace(start, text.find('>', start) + 1 - start, tag);
    return text;
}

// The colour check counts at level AAA.
class BodyColorPageTest : public RepairRunTest {
protected:
    void SetUp() override
    {
        RepairRunTest::SetUp();
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        settings.SetConformanceLevel(3);
    }

    void Open(std::string_view page)
    {
        ASSERT_EQ(OpenSheet(page, "BodyColorContrst"), 1);
    }

    static void TypeColour(CMemoryWindow& page, Page::Colour colour, int red, int green, int blue)
    {
        page.Type(Page::kFields[colour][0], std::to_string(red));
        page.Type(Page::kFields[colour][1], std::to_string(green));
        page.Type(Page::kFields[colour][2], std::to_string(blue));
    }

    const CPageValidatorBase& ThePage() const { return sheet.Page(0); }
};

TEST_F(BodyColorPageTest, TheColoursGoIntoTheBodyTagAloneAndUndoGivesThePageBackAsItWas)
{
    Open(kPage);
    windows.AnswerNextColourDialog(0x660033);  // red 0x33, green 0, blue 0x66
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(443));
        EXPECT_TRUE(page.IsVisible(Page::kMissingExplanation));
        EXPECT_FALSE(page.IsVisible(Page::kContrastExplanation));
        // What the page has: grey text on white, which neither test passes.
        EXPECT_EQ(page.Position(Page::kFields[Page::kText][0]), 0x77);
        EXPECT_EQ(page.Text(Page::kWebSafe[Page::kBackground]), Strings(801));
        EXPECT_EQ(page.Text(Page::kWebSafe[Page::kText]), Strings(802));
        EXPECT_EQ(page.Text(Page::kContrast[Page::kText]), Strings(804));
        EXPECT_EQ(page.Text(Page::kRatio[Page::kText]), "4.48:1 - fails 4.5:1, passes 3:1 (large text only)");
        EXPECT_EQ(page.Text(Page::kContrast[Page::kLink]), Strings(803));
        EXPECT_EQ(page.Text(Page::kWebSafe[Page::kVisitedLink]), "?");
        EXPECT_EQ(page.Text(Page::kContrast[Page::kVisitedLink]), "?");
        EXPECT_EQ(page.ColourSampleOf(Page::kSwatches[Page::kText]).description, "Text colour: #777777, grey");
        EXPECT_EQ(page.ColourSampleOf(Page::kSwatches[Page::kActiveLink]).description, "Active link colour: not set");
        const platform::ColourSample& sample = page.ColourSampleOf(Page::kSample);
        ASSERT_EQ(sample.lines.size(), 4u);
        EXPECT_EQ(sample.ground, std::optional<platform::Colour>(0xffffff));
        EXPECT_EQ(sample.lines[0].colour, std::optional<platform::Colour>(0x777777));
        EXPECT_FALSE(sample.lines[2].colour) << "the visited link colour is not set: drawn as the marker";

        // Darker text, the active link by its numbers, the visited link by the chooser.
        TypeColour(page, Page::kText, 0x33, 0x33, 0x33);
        EXPECT_EQ(page.Text(Page::kContrast[Page::kText]), Strings(803));
        EXPECT_EQ(page.ColourSampleOf(Page::kSample).lines[0].colour, std::optional<platform::Colour>(0x333333));
        TypeColour(page, Page::kActiveLink, 153, 0, 0);
        page.Click(Page::kChoose[Page::kVisitedLink]);
        EXPECT_EQ(page.Position(Page::kFields[Page::kVisitedLink][2]), 0x66);
        EXPECT_EQ(page.Text(Page::kWebSafe[Page::kVisitedLink]), Strings(801));
        EXPECT_EQ(page.ColourSampleOf(Page::kSwatches[Page::kVisitedLink]).description,
                  "Visited link colour: #330066, dark purple");
        w.Click(platform::kIdFinish);
    });
    EXPECT_EQ(windows.colourDialogTitles, std::vector<std::string>{Strings(456)});
    EXPECT_TRUE(windows.prompt.messages.empty());
    EXPECT_EQ(ThePage().Status(), pagestatus::kRepaired);
    // The link colour, given and unchanged, stays as the page wrote it.
    const std::string repaired = WithBodyTag(
        kPage, "<body bgcolor=\"#ffffff\" text=\"#333333\" link=\"#0000FF\" class=\"news\" alink=\"#990000\" "
               "vlink=\"#330066\">");
    EXPECT_EQ(document.Text(), repaired);

    ShowSheet([&](CMemoryWindow& w) {
        w.Click(CValidatorSheet::kSkipUndoButton);
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Position(Page::kFields[Page::kText][0]), 0x77) << "the fields show the page's colours again";
        EXPECT_EQ(page.Text(Page::kWebSafe[Page::kActiveLink]), "?");
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kPage);
    EXPECT_EQ(ThePage().Status(), pagestatus::kNotRepaired);
}

TEST_F(BodyColorPageTest, TheContrastVerdictsAtTheirEdgesAndTheWebSafeMarks)
{
    Open(kPage);
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        const int verdict = Page::kContrast[Page::kText];
        // Brightness 75 on white differs by exactly 180: not enough, however
        // far apart the components are; 74 is.
        TypeColour(page, Page::kText, 75, 75, 75);
        EXPECT_EQ(page.Text(verdict), Strings(804));
        TypeColour(page, Page::kText, 74, 74, 74);
        EXPECT_EQ(page.Text(verdict), Strings(803));
        // Components 500 apart in all are not enough, however dark; 501 are.
        TypeColour(page, Page::kText, 0, 10, 255);
        EXPECT_EQ(page.Text(verdict), Strings(804));
        page.Type(Page::kFields[Page::kText][1], "9");
        EXPECT_EQ(page.Text(verdict), Strings(803));
        // Black on dark grey: the components differ by 510, the brightness by 170 only.
        TypeColour(page, Page::kBackground, 170, 170, 170);
        TypeColour(page, Page::kText, 0, 0, 0);
        EXPECT_EQ(page.Text(verdict), Strings(804));
        EXPECT_EQ(page.Text(Page::kContrast[Page::kLink]), Strings(804)) << "a new background judges every colour";
        // A value beyond 255 is taken as 255.
        page.Type(Page::kFields[Page::kBackground][0], "300");
        EXPECT_EQ(page.Position(Page::kFields[Page::kBackground][0]), 255);
        TypeColour(page, Page::kBackground, 0, 51, 102);
        EXPECT_EQ(page.Text(Page::kWebSafe[Page::kBackground]), Strings(801));
        TypeColour(page, Page::kBackground, 0, 50, 100);
        EXPECT_EQ(page.Text(Page::kWebSafe[Page::kBackground]), Strings(802));
        // The ratio is never rounded up to a mark the pair does not reach.
        TypeColour(page, Page::kBackground, 255, 255, 255);
        TypeColour(page, Page::kText, 0x76, 0x76, 0x76);
        EXPECT_EQ(page.Text(Page::kRatio[Page::kText]), "4.54:1 - passes 4.5:1");
        TypeColour(page, Page::kText, 0x95, 0x95, 0x95);
        EXPECT_EQ(page.Text(Page::kRatio[Page::kText]), "2.99:1 - fails 3:1");
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kPage);
}

TEST_F(BodyColorPageTest, MissingOrPoorColoursAreAskedAboutYesStaysNoWritesWhatWasChosen)
{
    const std::string noBackground = WithBodyTag(
        kPage, "<body text=\"#000000\" link=\"#0000ff\" vlink=\"#551a8b\" alink=\"#ff0000\">");
    Open(noBackground);
    windows.AnswerNextMessage(platform::kAnswerYes);
    windows.AnswerNextColourDialog(0xCDAB0A);  // red 10, green 171, blue 205
    windows.AnswerNextMessage(platform::kAnswerNo);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(Page::kContrast[Page::kText]), "?") << "no background to judge against";
        w.Click(platform::kIdFinish);
        ASSERT_FALSE(w.HasEnded()) << "Yes stays on the page";
        EXPECT_EQ(document.Text(), noBackground);
        page.Click(Page::kChoose[Page::kText]);
        w.Click(platform::kIdFinish);
    });
    ASSERT_EQ(windows.prompt.messages.size(), 2u);
    const std::string question = Strings(452) + Strings(453) + "." + Strings(478);
    EXPECT_EQ(windows.prompt.messages[0].text, question) << "only the background is named";
    EXPECT_EQ(windows.prompt.messages[1].text, question);
    EXPECT_EQ(windows.prompt.messages[0].buttons, platform::PromptButtons::YesNoCancel);
    EXPECT_EQ(ThePage().Status(), pagestatus::kPartlyRepaired);
    EXPECT_EQ(document.Text(), WithBodyTag(kPage, "<body text=\"#0AABCD\" link=\"#0000ff\" vlink=\"#551a8b\" "
                                                  "alink=\"#ff0000\">"));
}

// All set but poor: the failing pairs are named, text first, and No writes
// them as they are.
TEST_F(BodyColorPageTest, PoorContrastIsAskedAboutNamingEachFailingColour)
{
    Open(kPage);
    windows.AnswerNextMessage(platform::kAnswerNo);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        TypeColour(page, Page::kActiveLink, 255, 255, 0);
        TypeColour(page, Page::kVisitedLink, 0, 0, 0);
        w.Click(platform::kIdFinish);
    });
    ASSERT_TRUE(ToldLast(1, Strings(451) + Strings(454) + ", " + Strings(455) + "." + Strings(478)));
    EXPECT_EQ(ThePage().Status(), pagestatus::kPartlyRepaired);
    EXPECT_EQ(document.Text(), WithBodyTag(kPage, "<body bgcolor=\"#ffffff\" text=\"#777777\" link=\"#0000FF\" "
                                                  "class=\"news\" alink=\"#FFFF00\" vlink=\"#000000\">"));
}

} // namespace
} // namespace orvane::test
