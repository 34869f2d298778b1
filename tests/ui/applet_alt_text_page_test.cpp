#include "ui_fixture.h"

#include "library/registry/object_database.h"
#include "library/ui/pages/objects/page_applet_alt_text.h"

#include <filesystem>
#include <fstream>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;
using Page = CPageAppletAltText;

// A harbour page whose tide chart is an applet with nothing for those whose
// browser runs none.
constexpr char kTidesPage[] =
    "<html lang=\"en\"><head><title>Tides</title></head><body>\r\n"
    "<h1>Tides at the harbour</h1>\r\n"
    "<applet code=\"TideChart.class\" width=\"400\" height=\"200\">\r\n"
    "<param name=\"quay\" value=\"North\">\r\n"
    "</applet>\r\n"
    "<p>Ferries leave at high water.</p>\r\n"
    "</body></html>\r\n";

std::string WithApplet(std::string_view startTag, std::string_view content)
{
    std::string page = kTidesPage;
    const std::string old = "<applet code=\"TideChart.class\" width=\"400\" height=\"200\">\r\n"
                            "<param name=\"quay\" value=\"North\">\r\n";
    page.replace(page.find(old), old.size(),
                 std::string(startTag) + "\r\n<param name=\"quay\" value=\"North\">\r\n" + std::string(content));
    return page;
}

class AppletAltTextPageTest : public RepairRunTest {
protected:
    void SetUp() override
    {
        RepairRunTest::SetUp();
        LoadEmptyRegistryInFolder();
    }

    bool Described() const
    {
        const CSrcApplet* applet = registry.FindApplet(document.Name(), "TideChart.class");
        return applet && applet->IsDescribed();
    }
};

TEST_F(AppletAltTextPageTest, TheTypedTextBecomesAltAndContentIsRememberedForTheNextCheckAndUndoneByteForByte)
{
    Load(kTidesPage, &registry);
    StartSheetInFolder("tides.html");
    ASSERT_EQ(AddPages("AppletAltText"), 1);

    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(1001), Strings(135));
        EXPECT_EQ(page.Text(Page::kApplet), "TideChart.class");
        EXPECT_EQ(page.Text(Page::kMarkup), "<applet code=\"TideChart.class\" width=\"400\" height=\"200\">\r\n"
                                            "<param name=\"quay\" value=\"North\">\r\n</applet>");
        EXPECT_TRUE(page.IsChecked(Page::kAlternative));
        EXPECT_FALSE(page.IsEnabled(Page::kFileName));

        // Nothing typed: the user is told, and stays.
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(300)));
        EXPECT_EQ(document.Text(), kTidesPage);

        page.Type(Page::kText, "Tide heights at the North quay today:\nHigh water 06:12 & 18:40 <about 4 m>");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(windows.prompt.messages.size(), 1u);
    EXPECT_EQ(document.Text(),
              WithApplet("<applet code=\"TideChart.class\" width=\"400\" height=\"200\" alt=\"Tide heights at the North "
                         "quay today: High water 06:12 &amp; 18:40 <about 4 m>\">",
                         "<p>Tide heights at the North quay today:<br>\r\n"
                         "High water 06:12 &amp; 18:40 &lt;about 4 m&gt;</p>\r\n"));
    EXPECT_TRUE(Described());

    // The next session knows the applet is described, from the file.
    ASSERT_EQ(registry.Save(), 1);
    {
        CSrcObjectDatabase next((folder / "ObjectRegistry.xml").string());
        ASSERT_EQ(next.Load(), 1);
        CHtmlDocument again{CFamilyElementFactory::Instance()};
        again.Start(1, false);
        again.SetName(document.Name());
        std::istringstream in{std::string(kTidesPage)};
        ASSERT_EQ(again.Load(in), 1);
        for (const CFoundProblem& problem : RunCheckPass(again, settings, &next))
            EXPECT_NE(problem.element->GetCheckName(problem.bit), "AppletAltText");
    }

    // Undone, the page is as it was and the applet no longer counts as described.
    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_EQ(w.Text(kSkipUndo), "&Undo");
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kTidesPage);
    EXPECT_FALSE(Described());
}

TEST_F(AppletAltTextPageTest, AnAltTextIsProposedADescriptionFileIsLinkedFromInsideAndADescribedAppletOnlyRemembered)
{
    std::ofstream((folder / "tides-text.html").string(), std::ios::binary)
        << "<html><head><title>Tides</title></head><body>\n<p>High water at 06:12.</p>\n</body></html>";
    const std::string withAlt = WithApplet("<applet code=\"TideChart.class\" alt=\"Tide chart\" width=\"400\" height=\"200\">", "");
    Load(withAlt, &registry);
    StartSheetInFolder("tides.html");
    ASSERT_EQ(AddPages("AppletAltText"), 1);

    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(Page::kText), "Tide chart");

        // A link without an address is refused.
        page.Click(Page::kLinkExisting);
        w.Click(kIdFinish);
        ASSERT_TRUE(ToldLast(1, Strings(303)));

        page.Type(Page::kAddress, "tides-text.html");
        page.MoveFocus(Page::kText);
        EXPECT_EQ(page.Text(Page::kText), "<p>High water at 06:12.</p>");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(),
              WithApplet("<applet code=\"TideChart.class\" alt=\"Tide chart\" width=\"400\" height=\"200\">",
                         "<p><a href=\"tides-text.html\">Description of the applet</a></p>\r\n"));
    EXPECT_TRUE(Described());

    // Said to be described by the page's own text: nothing is written, the
    // registry alone remembers it; undo forgets it again.
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        w.Click(kSkipUndo);
        EXPECT_EQ(document.Text(), withAlt);
        EXPECT_FALSE(Described());
        page.Click(Page::kNotNeeded);
        EXPECT_FALSE(page.IsEnabled(Page::kText));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), withAlt);
    EXPECT_TRUE(Described());
}

} // namespace
} // namespace orvane::test
