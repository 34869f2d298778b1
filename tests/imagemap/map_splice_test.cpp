// The converted map spliced into a page after its image, and taken out again.
#include "map_fixture.h"

#include "library/checks/family_factory.h"
#include "library/html/attribute_table.h"
#include "library/html/html_document.h"
#include "library/html/image_map.h"
#include "library/html/tag_table.h"

#include <sstream>

namespace orvane::test {
namespace {

const std::string kImageTag = "<IMG SRC=\"nav.gif\"  ALT='Navigation'\r\n     ISMAP border=0>";
const std::string kBefore = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
                            "<html>\r\n<head><title>Home</title></head>\r\n<body>\r\n"
                            "<p>Choose a part of the site:</p>\r\n"
                            "<p><a href=\"/cgi-bin/imagemap/nav.map\">";
const std::string kAfter = "</a></p>\r\n<p>Text <b>after</b> the map.</p>\r\n</body>\r\n</html>\r\n";
const std::string kNavMap = "# made by hand\n"
                            "rect /products.html 0,0 99,49\n"
                            "circle /help.html 150,25 150,45\n";

class MapSplice : public MapFileTest {
protected:
    void SetUp() override
    {
        MapFileTest::SetUp();
        std::istringstream in(kBefore + kImageTag + kAfter);
        ASSERT_EQ(page.Load(in), 1);
        for (CElement* e : page.Elements()) {
            if (e->Kind() == tag::kImg)
                image = e;
        }
        ASSERT_NE(image, nullptr);
    }

    CHtmlDocument page{CFamilyElementFactory::Instance()};
    CElement* image = nullptr;
};

TEST_F(MapSplice, ThePageGainsTheMapAfterTheImageAndNothingElseChanges)
{
    ASSERT_EQ(Convert(kNavMap), 1);
    ASSERT_EQ(converter.SpliceIntoDocument(page, *image), 1);
    EXPECT_EQ(page.Text(), kBefore + "<IMG SRC=\"nav.gif\" ALT=\"Navigation\" usemap=\"#nav.map\" border=\"0\">" +
                               converter.Markup() + kAfter);

    // The page knows the map, so the image's checks and pages find its areas.
    CImageMap* map = page.FindImageMap("nav.map");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map, converter.SplicedMap());
    EXPECT_EQ(map->Image(), image);
    ASSERT_EQ(map->Areas().size(), 2u);
    EXPECT_EQ(map->Areas()[1]->FindAttribute(attr::kHref)->Value(), "/help.html");

    // The spliced elements stand nowhere in the source the user has; what
    // follows them keeps its line and column.
    EXPECT_EQ(page.LocationOf(*map->Areas()[0]).line, 0u);
    const CElement* anchorEnd = nullptr;
    for (const CElement* e : page.Elements()) {
        if (e->Kind() == tag::kA + kind::kEndOffset)
            anchorEnd = e;
    }
    ASSERT_NE(anchorEnd, nullptr);
    EXPECT_EQ(page.LocationOf(*anchorEnd).line, 7u);
    EXPECT_EQ(page.LocationOf(*anchorEnd).column, 21u);
}

TEST_F(MapSplice, UndoGivesThePageBackByteForByte)
{
    const std::size_t elements = page.Size();
    ASSERT_EQ(Convert(kNavMap), 1);
    ASSERT_EQ(converter.SpliceIntoDocument(page, *image), 1);
    ASSERT_EQ(converter.UndoSplice(), 1);
    EXPECT_EQ(page.Text(), kBefore + kImageTag + kAfter);
    const CAttribute* ismap = image->FindAttribute(attr::kIsmap);
    ASSERT_NE(ismap, nullptr);
    EXPECT_EQ(ismap->Name(), "ISMAP");
    EXPECT_EQ(image->FindAttribute(attr::kUsemap), nullptr);
    EXPECT_EQ(page.FindImageMap("nav.map"), nullptr);
    EXPECT_EQ(converter.SplicedMap(), nullptr);
    // The map's elements stay in the list, deleted.
    EXPECT_GT(page.Size(), elements);
    EXPECT_EQ(converter.UndoSplice(), 0);
}

TEST_F(MapSplice, ASecondSpliceReplacesTheFirst)
{
    ASSERT_EQ(Convert(kNavMap), 1);
    ASSERT_EQ(converter.SpliceIntoDocument(page, *image), 1);
    ASSERT_EQ(Convert("default /index.html\n", "other.map"), 1);
    ASSERT_EQ(converter.SpliceIntoDocument(page, *image), 1);
    EXPECT_EQ(page.Text(), kBefore + "<IMG SRC=\"nav.gif\" ALT=\"Navigation\" usemap=\"#other.map\" border=\"0\">" +
                               "\n<map name=\"other.map\">\n<area shape=\"default\" href=\"/index.html\" />\n</map>\n" +
                               kAfter);
    EXPECT_EQ(page.FindImageMap("nav.map"), nullptr);
    EXPECT_NE(page.FindImageMap("other.map"), nullptr);
    ASSERT_EQ(converter.UndoSplice(), 1);
    EXPECT_EQ(page.Text(), kBefore + kImageTag + kAfter);
}

TEST_F(MapSplice, AnImageThatUsesAMapIsPointedAtTheNewOneAndBack)
{
    std::istringstream in("<p><img src=a.gif usemap=\"#old\"></p>\n");
    ASSERT_EQ(page.Load(in), 1);
    CElement* usesMap = page.At(2);
    ASSERT_EQ(Convert(kNavMap), 1);
    ASSERT_EQ(converter.SpliceIntoDocument(page, *usesMap), 1);
    EXPECT_EQ(usesMap->FindAttribute(attr::kUsemap)->Value(), "#nav.map");
    ASSERT_EQ(converter.UndoSplice(), 1);
    EXPECT_EQ(page.Text(), "<p><img src=a.gif usemap=\"#old\"></p>\n");
    EXPECT_EQ(usesMap->FindAttribute(attr::kUsemap)->Value(), "#old");
    EXPECT_EQ(usesMap->FindAttribute(attr::kIsmap), nullptr);
}

TEST_F(MapSplice, AnImageWithBothIsmapAndUsemapEndsWithOneUsemap)
{
    const std::string before = "<p><a href=\"/cgi-bin/nav\"><img src=a.gif ismap usemap=\"#old\"></a></p>\n";
    std::istringstream in(before);
    ASSERT_EQ(page.Load(in), 1);
    CElement* both = nullptr;
    for (CElement* e : page.Elements()) {
        if (e->Kind() == tag::kImg)
            both = e;
    }
    ASSERT_NE(both, nullptr);
    ASSERT_EQ(Convert(kNavMap), 1);
    ASSERT_EQ(converter.SpliceIntoDocument(page, *both), 1);
    const std::string spliced = page.Text();
    EXPECT_EQ(spliced.find("ismap"), std::string::npos) << spliced;
    const std::size_t first = spliced.find("usemap=");
    ASSERT_NE(first, std::string::npos) << spliced;
    EXPECT_EQ(spliced.find("usemap=", first + 1), std::string::npos) << spliced;
    EXPECT_NE(spliced.find("usemap=\"#nav.map\""), std::string::npos) << spliced;

    ASSERT_EQ(converter.UndoSplice(), 1);
    EXPECT_EQ(page.Text(), before);
}

TEST_F(MapSplice, ValuesWithMarkupCharactersReadBackAsBuilt)
{
    ASSERT_EQ(Convert("rect /find?a=1&b=<2> 0,0 9,9\n", "a&b\".map"), 1);
    converter.Areas()[0].alt = "Say \"hi\" & <go>";
    ASSERT_EQ(converter.SpliceIntoDocument(page, *image), 1);

    // Taken in afresh, the page has the one area with every attribute whole,
    // and the image names the map as the map names itself.
    CHtmlDocument again;
    std::istringstream in(page.Text());
    ASSERT_EQ(again.Load(in), 1);
    const CElement* map = nullptr;
    const CElement* area = nullptr;
    const CElement* usesMap = nullptr;
    int areas = 0;
    for (const CElement* e : again.Elements()) {
        if (e->Kind() == tag::kMap)
            map = e;
        if (e->Kind() == tag::kImg)
            usesMap = e;
        if (e->Kind() == tag::kArea) {
            area = e;
            ++areas;
        }
    }
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(areas, 1);
    EXPECT_EQ(area->FindAttribute(attr::kHref)->Value(), "/find?a=1&amp;b=&lt;2&gt;");
    EXPECT_EQ(area->FindAttribute(attr::kAlt)->Value(), "Say &quot;hi&quot; &amp; &lt;go&gt;");
    EXPECT_EQ(area->FindAttribute(attr::kCoords)->Value(), "0,0,9,9");
    EXPECT_EQ(map->FindAttribute(attr::kName)->Value(), "a&amp;b&quot;.map");
    EXPECT_EQ(usesMap->FindAttribute(attr::kUsemap)->Value(), "#a&amp;b&quot;.map");
}

TEST_F(MapSplice, NothingUsableLeavesThePageAlone)
{
    const std::string original = page.Text();
    EXPECT_EQ(Convert("# only a comment\nrect\n"), 0);
    EXPECT_EQ(converter.SpliceIntoDocument(page, *image), 0);
    EXPECT_EQ(converter.Failure(), MapFailure::NoAreas);

    ASSERT_EQ(Convert(kNavMap), 1);
    CElement stranger;
    EXPECT_EQ(converter.SpliceIntoDocument(page, stranger), 0);
    EXPECT_EQ(converter.Failure(), MapFailure::ImageNotInPage);
    EXPECT_EQ(converter.FailureText(), "The image is no longer in the page.");

    EXPECT_EQ(page.Text(), original);
    EXPECT_NE(image->FindAttribute(attr::kIsmap), nullptr);
    EXPECT_TRUE(page.ImageMaps().empty());
    EXPECT_EQ(converter.UndoSplice(), 0);
}

} // namespace
} // namespace orvane::test
