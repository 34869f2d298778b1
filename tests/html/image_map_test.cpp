#include "page_fixture.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

TEST(ImageMaps, MapCollectsItsAreasUpToItsEndTag)
{
    CParsedPage page;
    page.FromText("<area href=0><map name=nav><area href=1><p><area href=2></map><area href=3>");
    ASSERT_EQ(page.document.ImageMaps().size(), 1u);
    const CImageMap& map = *page.document.ImageMaps().front();
    EXPECT_EQ(map.Name(), "nav");
    ASSERT_EQ(map.Areas().size(), 2u);
    EXPECT_EQ(map.Areas()[0]->FindAttribute(attr::kHref)->Value(), "1");
    EXPECT_EQ(map.Areas()[1]->FindAttribute(attr::kHref)->Value(), "2");
    ASSERT_EQ(map.AreaRecords().size(), 2u);
    EXPECT_EQ(map.AreaRecords()[1].index, 1);
    EXPECT_EQ(map.AreaRecords()[1].area, map.Areas()[1]);
}

TEST(ImageMaps, MapsWithoutNameOrAreasGetNoModel)
{
    CParsedPage page;
    page.FromText("<map><area href=1></map><map name=''><area></map><map name=empty></map>");
    EXPECT_TRUE(page.document.ImageMaps().empty());
}

TEST(ImageMaps, UnclosedMapRunsToTheEndAndNestedMapsShareAreas)
{
    CParsedPage page;
    page.FromLines("<map name=a><area href=1><map name=b><area href=2>");
    ASSERT_EQ(page.document.ImageMaps().size(), 2u);
    EXPECT_EQ(page.document.FindImageMap("a")->Areas().size(), 2u);
    EXPECT_EQ(page.document.FindImageMap("b")->Areas().size(), 1u);
}

TEST(ImageMaps, AWholeTextKeepsEveryMapOfItsOwnAndDropsThoseOfEarlierPages)
{
    CParsedPage page;
    page.FromText("<map name=a><area></map><map name=b><area></map>");
    ASSERT_EQ(page.document.ImageMaps().size(), 2u);
    EXPECT_EQ(page.document.ImageMaps().front()->Name(), "a");
    EXPECT_EQ(page.document.ImageMaps().back()->Name(), "b");
    // A next text without maps keeps the earlier maps; one with a map of its own
    // replaces them.
    page.FromText("<p>no map</p>");
    EXPECT_EQ(page.document.ImageMaps().size(), 2u);
    page.FromText("<map name=c><area></map>");
    ASSERT_EQ(page.document.ImageMaps().size(), 1u);
    EXPECT_EQ(page.document.ImageMaps().front()->Name(), "c");
    page.FromLines("<map name=a><area></map><map name=b><area></map>");
    EXPECT_EQ(page.document.ImageMaps().size(), 2u);
}

TEST(ImageMaps, ALaterMapOfTheSameNameReplacesTheEarlier)
{
    CParsedPage page;
    page.FromText("<map name=m><area href=1></map><map name=m><area href=2><area href=3></map>");
    ASSERT_EQ(page.document.ImageMaps().size(), 1u);
    EXPECT_EQ(page.document.ImageMaps().front()->Areas().size(), 2u);
}

TEST(ImageMaps, ImagesLinkByUsemapCaseSensitively)
{
    CParsedPage page;
    page.FromText("<img src=a usemap=#Nav><map name=Nav><area></map><img src=b usemap=#nav>");
    const CImageMap* map = page.document.FindImageMap("Nav");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->Image(), &page.At(0));
    EXPECT_EQ(map->Document(), &page.document);
}

TEST(ImageMaps, LaterImageReplacesTheLinkedOne)
{
    CParsedPage page;
    page.FromText("<map name=m><area></map><img usemap=#m><img usemap=m>");
    EXPECT_EQ(page.document.FindImageMap("m")->Image(), &page.At(4));
}

TEST(ImageMaps, ReadingFromTheDocumentMatchesTheIndexedBuild)
{
    CParsedPage page;
    page.FromText("<map name=a><area href=1><area href=2></map><area href=3>");
    CImageMap map;
    ASSERT_TRUE(page.document.SetReadingPosition(&page.At(0)));
    ASSERT_TRUE(map.ReadFromDocument(page.document));
    const CImageMap& built = *page.document.ImageMaps().front();
    ASSERT_EQ(map.Areas().size(), built.Areas().size());
    for (std::size_t i = 0; i < map.Areas().size(); ++i)
        EXPECT_EQ(map.Areas()[i], built.Areas()[i]);
    CImageMap notAMap;
    ASSERT_TRUE(page.document.SetReadingPosition(&page.At(1)));
    EXPECT_FALSE(notAMap.ReadFromDocument(page.document));
}

TEST(ImageMaps, RemovingByNameDropsALeadingHash)
{
    CParsedPage page;
    page.FromText("<map name=m><area></map>");
    page.document.RemoveImageMapByName("#m");
    EXPECT_TRUE(page.document.ImageMaps().empty());
}

} // namespace
} // namespace orvane::test

namespace orvane::test {
namespace {

TEST(ImageMapList, ModelsAddedByHandKeepTheirOrderPerName)
{
    CHtmlDocument document;
    auto make = [](const std::string& name) {
        auto map = std::make_unique<CImageMap>();
        map->SetAreas(name, nullptr, 0, 0);
        return map;
    };
    auto first = make("m");
    CImageMap* firstMap = first.get();
    auto second = make("m");
    CImageMap* secondMap = second.get();
    document.AddImageMap(std::move(first));
    document.AddImageMap(std::move(second));
    document.AddImageMap(make("other"));
    EXPECT_EQ(document.FindImageMap("m"), firstMap);
    EXPECT_EQ(document.RemoveImageMap(firstMap), 1);
    EXPECT_EQ(document.RemoveImageMap(firstMap), 0);  // gone: not dereferenced, not found
    EXPECT_EQ(document.FindImageMap("m"), secondMap);
    document.RemoveImageMapByName("#m");
    EXPECT_EQ(document.FindImageMap("m"), nullptr);
    ASSERT_EQ(document.ImageMaps().size(), 1u);
    EXPECT_EQ(document.ImageMaps().front()->Name(), "other");
}

} // namespace
} // namespace orvane::test
