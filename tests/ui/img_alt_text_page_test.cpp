#include "ui_fixture.h"

#include "library/registry/object_database.h"
#include "library/registry/src_image.h"
#include "library/ui/pages/text_alternatives/page_img_alt_text.h"

#include <filesystem>
#include <fstream>
#include <random>

namespace orvane::test {
namespace {


// A hotel's page: its logo at the top and again at the foot, a booking
// button, and a photo that is decorative and has its empty text already.
constexpr char kHotelPage[] =
    "<html><head><title>Hotel Lindenhof</title></head><body>\r\n"
    "<p><img src=\"images/logo.gif\" width=\"120\" height=\"60\"></p>\r\n"
    "<h1>Rooms</h1>\r\n"
    "<p><img src=\"images/room.jpg\" alt=\"\" width=\"300\" height=\"200\"> Our double room.</p>\r\n"
    "<p><a href=\"book.html\"><img src=\"images/book.png\" width=\"32\" height=\"32\"></a></p>\r\n"
    "<p><img src=\"images/logo.gif\" width=\"120\" height=\"60\"></p>\r\n"
    "</body></html>\r\n";

TEST_F(RepairRunTest, ImagesGetTheTextTheUserGivesOneTextServesEveryPlaceOfAnImageAndUndoWritesThePageAsItWas)
{
    EXPECT_EQ(OpenSheet(kHotelPage, "ImgAltText"), 3);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& logo = w.PageWindow(0);
        EXPECT_EQ(logo.Text(1001), Strings(129));
        EXPECT_EQ(logo.Text(CPageImgAltText::kSource), "images/logo.gif");
        EXPECT_EQ(logo.Text(CPageImgAltText::kText), "");
        EXPECT_FALSE(logo.IsVisible(CPageImgAltText::kSuspiciousExplanation));
        EXPECT_FALSE(logo.IsVisible(CPageImgAltText::kNote));
        // The logo's second place is taken care of by this page.
        EXPECT_TRUE(w.IsVisible(kOption));
        EXPECT_TRUE(w.IsChecked(kOption));
        EXPECT_TRUE(sheet.Page(2).IsSkipped());

        // No text: the user is told and stays.
        w.Click(kIdNext);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, Strings(102)));

        // A file name is asked about; No keeps the user on the page.
        logo.Type(CPageImgAltText::kText, "Logo.GIF");
        windows.AnswerNextMessage(platform::kAnswerNo);
        w.Click(kIdNext);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(2, Strings(321) + ".gif" + Strings(322) + Strings(324)));

        logo.Type(CPageImgAltText::kText, "Hotel Lindenhof");
        w.Click(kIdNext);
        EXPECT_EQ(windows.prompt.messages.size(), 2u);

        // The small booking button is proposed the text of an icon.
        CMemoryWindow& book = w.PageWindow(1);
        EXPECT_EQ(book.Text(CPageImgAltText::kText), Strings(308));
        book.Type(CPageImgAltText::kText, "Book a room");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(),
              "<html><head><title>Hotel Lindenhof</title></head><body>\r\n"
              "<p><img src=\"images/logo.gif\" alt=\"Hotel Lindenhof\" width=\"120\" height=\"60\"></p>\r\n"
              "<h1>Rooms</h1>\r\n"
              "<p><img src=\"images/room.jpg\" alt=\"\" width=\"300\" height=\"200\"> Our double room.</p>\r\n"
              "<p><a href=\"book.html\"><img src=\"images/book.png\" alt=\"Book a room\" width=\"32\" height=\"32\"></a></p>\r\n"
              "<p><img src=\"images/logo.gif\" alt=\"Hotel Lindenhof\" width=\"120\" height=\"60\"></p>\r\n"
              "</body></html>\r\n");
    ExpectRepaired("ImgAltText");

    // Closing the session remembers the texts by image file, for the next page that shows the logo.
    {
        CSrcObjectDatabase next(RegistryWrittenAtClose());
        ASSERT_EQ(next.Load(), 1);
        const CSrcImage* logo = next.FindImage("logo.gif");
        ASSERT_NE(logo, nullptr);
        EXPECT_EQ(logo->AltTexts(), std::vector<std::string>{"Hotel Lindenhof"});
    }

    // Undone, and the logo's second place brought back to be undone too, the page is as it was.
    ShowSheet([&](CMemoryWindow& w) {
        w.Click(kOption);
        for (int page = 0; page < 3; ++page) {
            EXPECT_EQ(w.Text(kSkipUndo), "&Undo") << page;
            w.Click(kSkipUndo);
            if (page < 2)
                w.Click(kSkipUndo);  // now Skip
        }
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kHotelPage);
}

// A text alternative is read out in full wherever the image stands: a long
// one is asked about, and No keeps the user on the page to shorten it.
TEST_F(RepairRunTest, ATextTooLongForAnAlternativeIsAskedAboutAndNoKeepsTheUser)
{
    const std::string page = "<html><body>\r\n<p><img src=\"img/harbour-map.png\"></p>\r\n</body></html>\r\n";
    EXPECT_EQ(OpenSheet(page, "ImgAltText"), 1);
    std::string description = "Map of the harbour";
    while (description.size() <= 170)
        description += ", with the ferry quay, the fish market and the old lighthouse";
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& image = w.PageWindow(0);
        image.Type(CPageImgAltText::kText, description);
        windows.AnswerNextMessage(platform::kAnswerNo);
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(318) + description));
        EXPECT_EQ(windows.prompt.messages[0].buttons, platform::PromptButtons::YesNo);
        EXPECT_EQ(document.Text(), page) << "nothing is written while the user is asked";

        image.Type(CPageImgAltText::kText, "Map of the harbour");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(windows.prompt.messages.size(), 1u);
    EXPECT_EQ(document.Text(), "<html><body>\r\n<p><img src=\"img/harbour-map.png\" alt=\"Map of the harbour\"></p>\r\n</body></html>\r\n");
}

TEST_F(RepairRunTest, AnImagesPageProposesTheTextsRememberedForItsFileAndQuestionsASuspiciousOne)
{
    // A registry file of this test's own that remembers a text for the logo.
    const std::filesystem::path registryFile =
        std::filesystem::temp_directory_path() / ("ObjectRegistry-" + std::to_string(std::random_device()()) + ".xml");
    std::ofstream(registryFile, std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n"
           "<image filename=\"logo.gif\" needlongdesc=\"true\"><alt value=\"Hotel Lindenhof\"/></image>\n</root>";
    CSrcObjectDatabase registry(registryFile.string());
    ASSERT_EQ(registry.Load(), 1);
    std::filesystem::remove(registryFile);
    Load("<html><body>\r\n<p><img src=\"img/logo.gif\" alt=\"logo\"></p>\r\n</body></html>\r\n");
    StartSheet();
    sheet.SetObjectRegistry(&registry);
    EXPECT_EQ(AddPages("ImgAltTextSuspicious"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(319));
        EXPECT_TRUE(page.IsVisible(CPageImgAltText::kSuspiciousExplanation));
        EXPECT_EQ(page.Text(CPageImgAltText::kText), "logo");
        EXPECT_TRUE(page.IsVisible(CPageImgAltText::kNote));
        EXPECT_EQ(page.Text(CPageImgAltText::kNote), Strings(128));
        EXPECT_FALSE(w.IsVisible(kOption));
        ASSERT_EQ(page.ItemTexts(CPageImgAltText::kText), std::vector<std::string>{"Hotel Lindenhof"});
        page.Choose(CPageImgAltText::kText, 0);
        w.Click(kIdFinish);
    });
    EXPECT_TRUE(windows.prompt.messages.empty());
    EXPECT_EQ(document.Text(), "<html><body>\r\n<p><img src=\"img/logo.gif\" alt=\"Hotel Lindenhof\"></p>\r\n</body></html>\r\n");
}

} // namespace
} // namespace orvane::test

namespace orvane::test {
namespace {

// An image that is a link's content is the link's name: blanks would leave the
// link unnamed, so they are refused there and accepted for a decorative image.
TEST_F(RepairRunTest, ATextOfBlanksIsRefusedForAnImageInALinkAndAcceptedOutside)
{
    const std::string page =
        "<html><body>\r\n"
        "<p><a href=\"rooms.html\"><img src=\"images/rooms.png\"></a></p>\r\n"
        "<p><img src=\"images/wave.png\"></p>\r\n"
        "</body></html>\r\n";
    EXPECT_EQ(OpenSheet(page, "ImgAltText"), 2);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& link = w.PageWindow(0);
        link.Type(CPageImgAltText::kText, "   ");
        w.Click(platform::kIdNext);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, Strings(378)));
        EXPECT_EQ(windows.prompt.messages[0].caption, Strings(111));
        EXPECT_EQ(document.Text(), page);
        link.Type(CPageImgAltText::kText, "Our rooms");
        w.Click(platform::kIdNext);

        w.PageWindow(1).Type(CPageImgAltText::kText, "   ");
        w.Click(platform::kIdFinish);
    });
    EXPECT_EQ(windows.prompt.messages.size(), 1u);
    EXPECT_EQ(document.Text(),
              "<html><body>\r\n"
              "<p><a href=\"rooms.html\"><img src=\"images/rooms.png\" alt=\"Our rooms\"></a></p>\r\n"
              "<p><img src=\"images/wave.png\" alt=\"   \"></p>\r\n"
              "</body></html>\r\n");
}

} // namespace
} // namespace orvane::test
