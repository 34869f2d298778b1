#include "ui_fixture.h"

#include "library/registry/object_database.h"
#include "library/registry/src_image.h"
#include "library/ui/pages/text_alternatives/page_img_alt_text.h"
#include "library/ui/pages/text_alternatives/page_input_alt_text.h"

#include <filesystem>

namespace orvane::test {
namespace {

using Page = CPageInputAltText;

// A shop's page: the same search button at the top and at the foot, neither
// with a text alternative.
constexpr char kShopPage[] =
    "<html><head><title>Lindenhof shop</title></head><body>\r\n"
    "<form action=\"search.cgi\"><p><input type=\"text\" name=\"q\" value=\"tea\">\r\n"
    "<input type=\"image\" src=\"images/search.png\" name=\"go\" width=\"24\" height=\"24\"></p></form>\r\n"
    "<h1>Teas of the season</h1>\r\n"
    "<p>Green tea from the hills, 100 g for 4.50.</p>\r\n"
    "<form action=\"search.cgi\"><p><input type=\"text\" name=\"q\" value=\"tea\">\r\n"
    "<INPUT TYPE=IMAGE SRC=\"images/search.png\" NAME=\"go\" WIDTH=24 HEIGHT=24></p></form>\r\n"
    "</body></html>\r\n";

TEST_F(RepairRunTest, AnImageButtonGetsTheTextTheUserGivesEveryPlaceOfItsPictureAlikeAndUndoWritesThePageAsItWas)
{
    EXPECT_EQ(OpenSheet(kShopPage, "InputAltText"), 2);
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& search = w.PageWindow(0);
        EXPECT_EQ(search.Text(1001), Strings(141));
        EXPECT_EQ(search.Text(Page::kSource), "images/search.png");
        // A button this small is proposed the text of an icon.
        EXPECT_EQ(search.Text(Page::kText), Strings(308));
        EXPECT_FALSE(search.IsVisible(Page::kLongSubExplanation));
        EXPECT_FALSE(search.IsVisible(Page::kSuspiciousExplanation));
        EXPECT_FALSE(search.IsVisible(Page::kNote));
        // The button at the foot is taken care of by this page.
        EXPECT_TRUE(w.IsVisible(kOption));
        EXPECT_TRUE(w.IsChecked(kOption));
        EXPECT_TRUE(sheet.Page(1).IsSkipped());
        w.PressHelp();

        // Nothing, or blanks only, leaves the button without a name: the user is told and stays.
        search.Type(Page::kText, "");
        w.Click(kIdFinish);
        search.Type(Page::kText, "   ");
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_EQ(windows.prompt.messages.size(), 2u);
        EXPECT_EQ(windows.prompt.messages[0].text, Strings(102));
        EXPECT_EQ(windows.prompt.messages[1].text, Strings(378));
        EXPECT_EQ(windows.prompt.messages[1].buttons, platform::PromptButtons::Ok);

        // A file name is asked about; No keeps the user on the page.
        search.Type(Page::kText, "search.PNG");
        windows.AnswerNextMessage(platform::kAnswerNo);
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(3, Strings(321) + ".png" + Strings(322) + Strings(324)));
        EXPECT_EQ(document.Text(), kShopPage) << "nothing is written while the user is asked";

        search.Type(Page::kText, "Search the shop");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(windows.prompt.messages.size(), 3u);
    ExpectHelpShown({"1-1-3.html"});
    EXPECT_EQ(document.Text(),
              "<html><head><title>Lindenhof shop</title></head><body>\r\n"
              "<form action=\"search.cgi\"><p><input type=\"text\" name=\"q\" value=\"tea\">\r\n"
              "<input type=\"image\" src=\"images/search.png\" alt=\"Search the shop\" name=\"go\" width=\"24\" height=\"24\"></p></form>\r\n"
              "<h1>Teas of the season</h1>\r\n"
              "<p>Green tea from the hills, 100 g for 4.50.</p>\r\n"
              "<form action=\"search.cgi\"><p><input type=\"text\" name=\"q\" value=\"tea\">\r\n"
              "<INPUT TYPE=\"IMAGE\" SRC=\"images/search.png\" alt=\"Search the shop\" NAME=\"go\" WIDTH=\"24\" HEIGHT=\"24\"></p></form>\r\n"
              "</body></html>\r\n");
    ExpectRepaired("InputAltText");

    // Closing the session remembers the button's text by its picture's file,
    // and the next page showing that picture is offered it.
    {
        CSrcObjectDatabase next(RegistryWrittenAtClose());
        ASSERT_EQ(next.Load(), 1);
        const CSrcImage* search = next.FindImage("search.png");
        ASSERT_NE(search, nullptr);
        EXPECT_EQ(search->AltTexts(), std::vector<std::string>{"Search the shop"});

        CHtmlDocument otherPage{CFamilyElementFactory::Instance()};
        otherPage.Start(1, false);
        std::istringstream in("<html><body><form><p><input type=\"image\" src=\"../images/search.png\"></p></form></body></html>");
        ASSERT_EQ(otherPage.Load(in), 1);
        CValidatorSheet nextSheet;
        nextSheet.SetObjectRegistry(&next);
        for (const CFoundProblem& problem : RunCheckPass(otherPage, settings, nullptr)) {
            if (problem.element->GetCheckName(problem.bit) == "InputAltText")
                problem.element->AddRepairPages(nextSheet, otherPage, problem.bit);
        }
        ASSERT_EQ(nextSheet.PageCount(), 1);
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
            EXPECT_EQ(w.PageWindow(0).ItemTexts(Page::kText), std::vector<std::string>{"Search the shop"});
            w.PressEscape();
        });
        nextSheet.DoModal(nullptr);
    }

    // Undone, the page takes the foot's button back with it: the page is as it was.
    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_TRUE(w.IsChecked(kOption));
        EXPECT_EQ(w.Text(kSkipUndo), "&Undo");
        w.Click(kSkipUndo);
        EXPECT_EQ(w.Text(kSkipUndo), "&Skip");
        EXPECT_EQ(w.PageWindow(0).Text(Page::kText), "");
        EXPECT_TRUE(sheet.Page(1).IsSkipped());
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kShopPage);
    for (const CFoundProblem& problem : found) {
        if (problem.element->GetCheckName(problem.bit) == "InputAltText") {
            EXPECT_FALSE(problem.element->IsRepaired(problem.bit, 0));
        }
    }
}

// Each problem of a button's text shows its own help and explanation; a
// picture that is an image here and a button there is asked about on each
// page, as the two need different words.
TEST_F(RepairRunTest, AnImageButtonsPageShowsTheHelpOfItsProblemAndNeverMergesWithAnImagesPage)
{
    const std::filesystem::path registryFile = ::testing::TempDir() + "input-alt-variants.xml";
    {
        // What an earlier session learnt of the basket button.
        CHtmlDocument earlier{CFamilyElementFactory::Instance()};
        earlier.Start(1, false);
        std::istringstream in("<p><input type=\"image\" src=\"img/basket.png\" alt=\"Show the basket\"></p>");
        ASSERT_EQ(earlier.Load(in), 1);
        std::filesystem::remove(registryFile);
        CSrcObjectDatabase closing(registryFile.string());
        closing.UpdateFromDocument(earlier);
        ASSERT_EQ(closing.Save(), 1);
    }
    CSrcObjectDatabase registry(registryFile.string());
    ASSERT_EQ(registry.Load(), 1);
    std::filesystem::remove(registryFile);

    std::string longText = "Order";
    while (longText.size() <= 170)
        longText += " the teas in the basket, to be sent within two days";
    const std::string page =
        "<html><body>\r\n"
        "<p><img src=\"images/basket.png\" width=\"120\" height=\"60\"> Your basket</p>\r\n"
        "<form action=\"order.cgi\"><p><input type=\"image\" src=\"images/basket.png\" name=\"basket\" alt=\"basket.png\">\r\n"
        "<input type=\"image\" src=\"images/order.png\" name=\"order\" alt=\"" + longText + "\"></p></form>\r\n"
        "</body></html>\r\n";
    Load(page);
    StartSheet();
    sheet.SetObjectRegistry(&registry);
    EXPECT_EQ(AddPages("ImgAltText"), 1);
    EXPECT_EQ(AddPages("InputAltTextSuspicious"), 1);
    EXPECT_EQ(AddPages("InputAltTextLong"), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        EXPECT_FALSE(sheet.Page(1).IsSkipped()) << "an image's page does not take a button's";
        EXPECT_FALSE(w.IsVisible(kOption));
        w.PageWindow(0).Type(CPageImgAltText::kText, "Basket");
        w.Click(kIdNext);

        CMemoryWindow& basket = w.PageWindow(1);
        EXPECT_EQ(basket.Text(1001), Strings(319));
        EXPECT_TRUE(basket.IsVisible(Page::kSuspiciousExplanation));
        EXPECT_FALSE(basket.IsVisible(Page::kLongSubExplanation));
        EXPECT_EQ(basket.Text(Page::kText), "basket.png");
        EXPECT_TRUE(basket.IsVisible(Page::kNote));
        EXPECT_EQ(basket.Text(Page::kNote), Strings(128));
        ASSERT_EQ(basket.ItemTexts(Page::kText), std::vector<std::string>{"Show the basket"});
        w.PressHelp();
        basket.Choose(Page::kText, 0);
        w.Click(kIdNext);

        CMemoryWindow& order = w.PageWindow(2);
        EXPECT_EQ(order.Text(1001), Strings(316));
        EXPECT_TRUE(order.IsVisible(Page::kLongSubExplanation));
        EXPECT_FALSE(order.IsVisible(Page::kSuspiciousExplanation));
        EXPECT_EQ(order.Text(Page::kText), longText);
        w.PressHelp();
        // The page is there to shorten the text: a long one is not asked about again.
        order.Type(Page::kText, longText + " and more");
        w.Click(kIdFinish);
    });
    EXPECT_TRUE(windows.prompt.messages.empty());
    ExpectHelpShown({"1-1-3b.html", "1-1-3c.html"});
    EXPECT_EQ(document.Text(),
              "<html><body>\r\n"
              "<p><img src=\"images/basket.png\" alt=\"Basket\" width=\"120\" height=\"60\"> Your basket</p>\r\n"
              "<form action=\"order.cgi\"><p><input type=\"image\" src=\"images/basket.png\" name=\"basket\" alt=\"Show the basket\">\r\n"
              "<input type=\"image\" src=\"images/order.png\" name=\"order\" alt=\"" + longText + " and more\"></p></form>\r\n"
              "</body></html>\r\n");
}

// Two buttons that name no picture file are not known to be the same button.
TEST_F(RepairRunTest, ImageButtonsWithoutAPictureFileGetAPageEach)
{
    EXPECT_EQ(OpenSheet("<form action=\"list.cgi\"><p><input type=\"image\" name=\"previous\"> <input type=\"image\" name=\"next\"></p></form>", "InputAltText"), 2);
    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_FALSE(sheet.Page(1).IsSkipped());
        EXPECT_FALSE(w.IsVisible(kOption));
        EXPECT_TRUE(w.IsEnabled(kIdNext));
        w.PressEscape();
    });
}

} // namespace
} // namespace orvane::test
