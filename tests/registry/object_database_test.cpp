#include "registry_fixture.h"

#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/registry/object_database.h"

#include "platform/paths.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

namespace orvane {
namespace {

using test::ObjectRegistryTest;

// A registry read from a file holding nothing, so that lookups are answered.
class LoadedObjectRegistryTest : public ObjectRegistryTest {
protected:
    void SetUp() override
    {
        ObjectRegistryTest::SetUp();
        WriteFile(RegistryPath(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n</root>");
        registry.SetFilePath(RegistryPath());
        ASSERT_EQ(registry.Load(), 1);
        ASSERT_FALSE(CSrcObjectDatabase::IsChanged());
    }

    CSrcObjectDatabase registry;
};

std::unique_ptr<CSrcImage> Image(std::string_view fileName, std::string_view alt = {})
{
    auto image = std::make_unique<CSrcImage>(fileName);
    if (!alt.empty())
        image->AddAltText(alt);
    return image;
}

TEST(SrcImage, FileNameKeepsWhatFollowsTheLastSlash)
{
    EXPECT_EQ(CSrcImage("images/logo.gif").FileName(), "logo.gif");
    EXPECT_EQ(CSrcImage("http://example.org/a/b/logo.gif").FileName(), "logo.gif");
    EXPECT_EQ(CSrcImage("images\\logo.gif").FileName(), "images\\logo.gif");
    EXPECT_EQ(CSrcImage("dir/").FileName(), "");
    CSrcImage image;
    image.SetFileName("pics/a.gif");
    EXPECT_EQ(image.FileName(), "a.gif");
}

TEST(SrcImage, AlternativeTextsDifferingInCaseAreOne)
{
    CSrcImage image("pics/a.gif");
    EXPECT_TRUE(image.AddAltText("Logo"));
    EXPECT_FALSE(image.AddAltText("logo"));
    EXPECT_TRUE(image.AddAltText("Logo of the firm"));
    EXPECT_EQ(image.AltTexts(), (std::vector<std::string>{"Logo", "Logo of the firm"}));
}

TEST(SrcImage, AnImageNoOneJudgedNeedsALongDescription)
{
    EXPECT_TRUE(CSrcImage("a.gif").NeedsLongDesc());
    EXPECT_TRUE(CSrcDocument("page.html").FramesNeedDescription());
}

TEST_F(ObjectRegistryTest, MergingTakesOverOnlyWhatIsMissing)
{
    CSrcImage known("a.gif");
    known.AddAltText("Logo");
    known.AddLongDesc(std::make_unique<CSrcLongDesc>("Desc.html", "kept"));
    known.SetNeedsLongDesc(false);
    CSrcImage met("pics/a.gif");
    met.AddAltText("LOGO");
    met.AddAltText("Company");
    met.AddLongDesc(std::make_unique<CSrcLongDesc>("desc.HTML", "dropped"));
    met.AddLongDesc(std::make_unique<CSrcLongDesc>("other.html"));
    met.SetNeedsLongDesc(true);
    SetRegistryChanged(false);

    EXPECT_TRUE(known.MergeFrom(met));
    EXPECT_TRUE(CSrcObjectDatabase::IsChanged());
    EXPECT_EQ(known.AltTexts(), (std::vector<std::string>{"Logo", "Company"}));
    ASSERT_EQ(known.LongDescs().size(), 2u);
    EXPECT_EQ(known.LongDescs()[0]->Text(), "kept");
    EXPECT_EQ(known.LongDescs()[1]->Value(), "other.html");
    EXPECT_FALSE(known.NeedsLongDesc());
    // What was not taken stays with the other record.
    ASSERT_EQ(met.LongDescs().size(), 1u);
    EXPECT_EQ(met.LongDescs()[0]->Value(), "desc.HTML");

    SetRegistryChanged(false);
    EXPECT_FALSE(known.MergeFrom(met));
    EXPECT_FALSE(CSrcObjectDatabase::IsChanged());
}

TEST_F(ObjectRegistryTest, SettersMarkTheRegistryChanged)
{
    CSrcTable table;
    CSrcApplet applet;
    CSrcLink link;
    CSrcAsciiArt art;
    CSrcImageMap map;
    CSrcDocument document;
    const std::function<void()> setters[] = {
        [&] { table.SetLayout(true); },          [&] { table.SetRowHeaders(true); },
        [&] { table.SetColumnHeaders(true); },   [&] { table.SetRowHeaderAbbreviations(true); },
        [&] { table.SetColumnHeaderAbbreviations(true); },
        [&] { table.SetLinearize(true); },       [&] { table.SetId("x"); },
        [&] { applet.SetDescribed(true); },      [&] { applet.SetId("x"); },
        [&] { link.SetHasWarning(true); },       [&] { art.SetDescribed(true); },
        [&] { art.SetSkipOverLink(true); },      [&] { art.SetId("x"); },
        [&] { map.SetTextLinks(true); },         [&] { document.SetFramesNeedDescription(false); },
        [&] { document.SetTitle("t"); },
    };
    for (const auto& set : setters) {
        SetRegistryChanged(false);
        set();
        EXPECT_TRUE(CSrcObjectDatabase::IsChanged());
    }
}

TEST_F(ObjectRegistryTest, RecordsChangedOnSeveralThreadsAtOnceMarkTheRegistryChanged)
{
    // As checks of several pages do with --jobs; a sanitizer for threads sees
    // a plain flag written here as a race.
    SetRegistryChanged(false);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 1000; ++i) {
                CSrcApplet applet;
                applet.SetDescribed(i % 2 == 0);
                (void)CSrcObjectDatabase::IsChanged();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_TRUE(CSrcObjectDatabase::IsChanged());
}

TEST_F(ObjectRegistryTest, NothingIsFoundBeforeTheRegistryIsLoaded)
{
    CSrcObjectDatabase registry(RegistryPath());
    EXPECT_EQ(registry.Load(), 0);  // no file yet
    CSrcImage* image = registry.AddImage(Image("a.gif", "A"));
    ASSERT_NE(image, nullptr);
    registry.AddTable(std::make_unique<CSrcTable>("t1"), "page.html");
    EXPECT_EQ(registry.FindImage("a.gif"), nullptr);
    EXPECT_EQ(registry.FindDocument("page.html"), nullptr);
    EXPECT_EQ(registry.FindTable("page.html", "t1"), nullptr);
    // The additions are still one registry: adding again merges.
    EXPECT_EQ(registry.AddImage(Image("x/a.gif", "B")), image);
    EXPECT_EQ(image->AltTexts().size(), 2u);
    EXPECT_EQ(registry.Images().size(), 1u);
    EXPECT_EQ(registry.Documents().size(), 1u);
}

TEST_F(LoadedObjectRegistryTest, AddingAKnownImageMergesIntoIt)
{
    CSrcImage* first = registry.AddImage(Image("pics/a.gif", "Logo"));
    EXPECT_TRUE(CSrcObjectDatabase::IsChanged());
    CSrcImage* second = registry.AddImage(Image("a.gif", "logo"));
    EXPECT_EQ(second, first);
    EXPECT_EQ(first->AltTexts(), std::vector<std::string>{"Logo"});
    EXPECT_EQ(registry.FindImage("a.gif"), first);
    // Looked up as a page names it, with its folder.
    EXPECT_EQ(registry.FindImage("pics/a.gif"), first);
    EXPECT_EQ(registry.FindImage("A.GIF"), nullptr);
}

TEST_F(LoadedObjectRegistryTest, ASecondDocumentOfANameIsRefused)
{
    auto first = std::make_unique<CSrcDocument>("page.html");
    CSrcDocument* stored = first.get();
    EXPECT_EQ(registry.AddDocument(std::move(first)), 1);
    auto second = std::make_unique<CSrcDocument>("page.html");
    second->SetTitle("other");
    SetRegistryChanged(false);
    EXPECT_EQ(registry.AddDocument(std::move(second)), 0);
    EXPECT_FALSE(CSrcObjectDatabase::IsChanged());
    EXPECT_EQ(registry.FindDocument("page.html"), stored);
    EXPECT_EQ(stored->Title(), "");
    EXPECT_EQ(registry.FindDocument("Page.html"), nullptr);
}

TEST_F(LoadedObjectRegistryTest, RecordsOfAKnownKeyGiveWayToTheKnownOne)
{
    CSrcApplet* applet = registry.AddApplet(std::make_unique<CSrcApplet>("Clock.class"), "page.html");
    ASSERT_NE(registry.FindDocument("page.html"), nullptr);
    EXPECT_EQ(registry.AddApplet(std::make_unique<CSrcApplet>("Clock.class"), "page.html"), applet);
    EXPECT_NE(registry.AddApplet(std::make_unique<CSrcApplet>("clock.class"), "page.html"), applet);
    EXPECT_EQ(registry.FindApplet("page.html", "Clock.class"), applet);

    CSrcLink* link = registry.AddLink(std::make_unique<CSrcLink>("a.html"), "page.html");
    EXPECT_EQ(registry.AddLink(std::make_unique<CSrcLink>("a.html"), "page.html"), link);
    EXPECT_EQ(registry.FindLink("page.html", "a.html"), link);
    EXPECT_EQ(registry.FindLink("other.html", "a.html"), nullptr);

    CSrcAsciiArt* art = registry.AddAsciiArt(std::make_unique<CSrcAsciiArt>("d1"), "page.html");
    EXPECT_EQ(registry.AddAsciiArt(std::make_unique<CSrcAsciiArt>("d1"), "page.html"), art);
    EXPECT_EQ(registry.FindAsciiArt("page.html", "d1"), art);

    CSrcTable* table = registry.AddTable(std::make_unique<CSrcTable>("t1"), "page.html");
    EXPECT_EQ(registry.AddTable(std::make_unique<CSrcTable>("t1"), "page.html"), table);
    EXPECT_EQ(registry.FindTable("page.html", "t1"), table);
    EXPECT_EQ(registry.FindTable("page.html", "T1"), nullptr);

    const CSrcDocument& document = *registry.FindDocument("page.html");
    EXPECT_EQ(document.Applets().size(), 2u);
    EXPECT_EQ(document.Links().size(), 1u);
    EXPECT_EQ(document.AsciiArts().size(), 1u);
    EXPECT_EQ(document.Tables().size(), 1u);
    EXPECT_EQ(registry.Documents().size(), 1u);
}

TEST_F(LoadedObjectRegistryTest, TablesWithoutAnIdAreAlwaysAppended)
{
    CSrcTable* first = registry.AddTable(std::make_unique<CSrcTable>(), "page.html");
    CSrcTable* second = registry.AddTable(std::make_unique<CSrcTable>(), "page.html");
    EXPECT_NE(first, second);
    EXPECT_EQ(registry.FindDocument("page.html")->Tables().size(), 2u);
}

TEST_F(LoadedObjectRegistryTest, ImageMapsAreAppendedWhateverTheirTitle)
{
    registry.AddImageMap(std::make_unique<CSrcImageMap>("nav"), "page.html");
    registry.AddImageMap(std::make_unique<CSrcImageMap>("nav"), "page.html");
    EXPECT_EQ(registry.FindDocument("page.html")->ImageMaps().size(), 2u);
}

TEST_F(LoadedObjectRegistryTest, WithoutADocumentNameARecordIsReturnedButNotStored)
{
    auto table = std::make_unique<CSrcTable>("t1");
    CSrcTable* given = table.get();
    EXPECT_EQ(registry.AddTable(std::move(table), ""), given);
    EXPECT_FALSE(CSrcObjectDatabase::IsChanged());
    given->SetLayout(true);  // still alive for the session
    auto link = std::make_unique<CSrcLink>("a.html");
    CSrcLink* givenLink = link.get();
    EXPECT_EQ(registry.AddLink(std::move(link), ""), givenLink);
    EXPECT_NE(registry.AddApplet(std::make_unique<CSrcApplet>("x"), ""), nullptr);
    EXPECT_NE(registry.AddAsciiArt(std::make_unique<CSrcAsciiArt>("x"), ""), nullptr);
    EXPECT_TRUE(registry.Documents().empty());
    EXPECT_EQ(registry.FindDocument(""), nullptr);
}

TEST_F(LoadedObjectRegistryTest, ClearingForgetsEverything)
{
    registry.AddImage(Image("a.gif", "A"));
    registry.AddTable(std::make_unique<CSrcTable>("t"), "page.html");
    registry.Clear();
    EXPECT_FALSE(registry.IsLoaded());
    EXPECT_TRUE(registry.Images().empty());
    EXPECT_TRUE(registry.Documents().empty());
}

TEST_F(LoadedObjectRegistryTest, ThePagesImagesAndImageButtonsWithSourceAndTextAreRecorded)
{
    CHtmlDocument page(CFamilyElementFactory::Instance());
    page.Start(0, false);
    page.AddLine("<html><body>"
                 "<img src=\"pics/logo.gif\" alt=\"Logo\" longdesc=\"logo.html\">"
                 "<IMG SRC=\"other/logo.gif\" ALT=\"LOGO\">"
                 "<img src=\"nav.gif\" alt=\"\">"
                 "<img alt=\"no source\">"
                 "<img src=\"x.gif\" alt=\"X\" longdesc=\"\">"
                 "<input type=image src=\"button.gif\" alt=\"Go\">"
                 "<input type=\"text\" src=\"field.gif\" alt=\"Name\">"
                 "</body></html>");
    page.Finish();
    registry.UpdateFromDocument(page);

    ASSERT_EQ(registry.Images().size(), 3u);
    const CSrcImage* logo = registry.FindImage("logo.gif");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->AltTexts(), std::vector<std::string>{"Logo"});
    ASSERT_EQ(logo->LongDescs().size(), 1u);
    EXPECT_EQ(logo->LongDescs()[0]->Value(), "logo.html");
    EXPECT_EQ(logo->LongDescs()[0]->Text(), "");
    EXPECT_TRUE(logo->NeedsLongDesc());
    const CSrcImage* x = registry.FindImage("x.gif");
    ASSERT_NE(x, nullptr);
    EXPECT_TRUE(x->LongDescs().empty());
    const CSrcImage* button = registry.FindImage("button.gif");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->AltTexts(), std::vector<std::string>{"Go"});
    EXPECT_EQ(registry.FindImage("field.gif"), nullptr);
    EXPECT_TRUE(CSrcObjectDatabase::IsChanged());
}

TEST(SrcObjectDatabase, TheDefaultFileLiesInTheUserDataFolder)
{
    CSrcObjectDatabase registry;
    EXPECT_EQ(registry.FilePath(), platform::UserDataDirectory() + "/ObjectRegistry.xml");
    registry.SetFilePath("elsewhere.xml");
    EXPECT_EQ(registry.FilePath(), "elsewhere.xml");
}

} // namespace
} // namespace orvane
