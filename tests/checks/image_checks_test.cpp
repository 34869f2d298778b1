#include "family_check_fixture.h"

#include "library/checks/check_index.h"
#include "library/checks/check_pass.h"
#include "library/checks/element_img.h"
#include "library/checks/element_input.h"
#include "library/checks/image_checks.h"
#include "library/html/image_map.h"
#include "library/html/tag_table.h"
#include "library/registry/object_database.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace orvane::test {
namespace {

constexpr std::uint32_t kImgAltText = 0x1, kImgAltTextLong = 0x2, kImgAltTextSuspicious = 0x4,
                        kImgLongdesc = 0x8, kImageMapTextLinks = 0x10, kImageMapIsmapTextLinks = 0x20,
                        kImageMap = 0x40, kImageDLink = 0x80;
constexpr std::uint32_t kInputAltText = 0x1, kInputAltTextLong = 0x2, kInputAltTextSuspicious = 0x4;
constexpr std::uint32_t kMapAltText = 0x1;

using ImageChecks = FamilyCheckTest;
using ImageInputChecks = FamilyCheckTest;
using MapChecks = FamilyCheckTest;

std::string Img(std::string_view attributes) { return "<img " + std::string(attributes) + ">"; }

// --- The suspicious-text test -----------------------------------------------

TEST(SuspiciousText, PlaceholderWordsMatchTheWholeTextInAnyLetterCase)
{
    EXPECT_TRUE(IsSuspiciousText("logo"));
    EXPECT_TRUE(IsSuspiciousText("LOGO"));
    EXPECT_TRUE(IsSuspiciousText("Grafiken"));
    EXPECT_TRUE(IsSuspiciousText("clip"));
    EXPECT_FALSE(IsSuspiciousText("company logo"));
    EXPECT_FALSE(IsSuspiciousText(" logo"));  // no trimming
    EXPECT_FALSE(IsSuspiciousText("bild3"));
    EXPECT_FALSE(IsSuspiciousText(""));
}

TEST(SuspiciousText, FileExtensionsAndSizesAnywhereInTheText)
{
    EXPECT_TRUE(IsSuspiciousText("TEAM.GIF"));
    EXPECT_TRUE(IsSuspiciousText("picture 12 KBytes"));
    EXPECT_TRUE(IsSuspiciousText("a.jpegx in the middle"));  // inside a longer word
    EXPECT_TRUE(IsSuspiciousText("scan.pcx"));
    EXPECT_FALSE(IsSuspiciousText("The team in Berlin"));
    EXPECT_FALSE(IsSuspiciousText("gif without a dot"));
}

// --- ImgAltText, ImgAltTextLong, ImgAltTextSuspicious -----------------------

TEST_F(ImageChecks, AnImageWithoutAltNeedsOneAndALongDescription)
{
    std::uint32_t mask = MaskOf(Img("src=team.gif"), tag::kImg);
    EXPECT_EQ(mask, kImgAltText | kImgLongdesc);  // the d link is not tested then
    EXPECT_EQ(Nth(tag::kImg)->ProblemFlag(), 1);
}

TEST_F(ImageChecks, EmptyAltPassesABareOneFails)
{
    EXPECT_FALSE(Has(Img("src=a.gif alt=\"\""), tag::kImg, kImgAltText));
    EXPECT_TRUE(Has(Img("src=a.gif alt"), tag::kImg, kImgAltText));
    EXPECT_FALSE(Has(Img("src=a.gif alt=\"Team\""), tag::kImg, kImgAltText));
}

TEST_F(ImageChecks, BlankAltFailsOnlyInsideALink)
{
    EXPECT_FALSE(Has(Img("src=a.gif alt=\"  \""), tag::kImg, kImgAltText));
    EXPECT_TRUE(Has("<a href=x.html>" + Img("src=a.gif alt=\"  \"") + "</a>", tag::kImg, kImgAltText));
    EXPECT_FALSE(Has("<a href=x.html>" + Img("src=a.gif alt=\"\"") + "</a>", tag::kImg, kImgAltText));
}

TEST_F(ImageChecks, AltTextsOfMoreThan170CharactersAreTooLong)
{
    EXPECT_FALSE(Has(Img("alt=\"" + std::string(170, 'x') + "\""), tag::kImg, kImgAltTextLong));
    EXPECT_TRUE(Has(Img("alt=\"" + std::string(171, 'x') + "\""), tag::kImg, kImgAltTextLong));
    // A line break counts once, whether the page kept its carriage return or not.
    EXPECT_FALSE(Has(Img("alt=\"" + std::string(84, 'x') + "\r\n" + std::string(85, 'x') + "\""), tag::kImg,
                     kImgAltTextLong));
}

TEST_F(ImageChecks, SuspiciousAltTexts)
{
    EXPECT_TRUE(Has(Img("src=a.gif alt=LOGO"), tag::kImg, kImgAltTextSuspicious));
    EXPECT_TRUE(Has(Img("src=a.gif alt=\"team.GIF\""), tag::kImg, kImgAltTextSuspicious));
    EXPECT_FALSE(Has(Img("src=a.gif alt=\"company logo\""), tag::kImg, kImgAltTextSuspicious));
    EXPECT_FALSE(Has(Img("src=a.gif"), tag::kImg, kImgAltTextSuspicious));
}

TEST_F(ImageChecks, TheLevelFilterSkipsChecksThatDoNotApply)
{
    settings.SetConformanceLevel(level::kA);
    std::string page = Img("src=a.gif alt=\"" + std::string(200, 'x') + "\"");
    EXPECT_TRUE(Has(page, tag::kImg, kImgAltTextLong, 0));
    EXPECT_FALSE(Has(page, tag::kImg, kImgAltTextLong, 1));  // priority 3
    EXPECT_TRUE(Has(page, tag::kImg, kImgLongdesc, 1));      // priority 1
}

TEST_F(ImageChecks, WidthAndHeightAreReadByTheCheck)
{
    Parse(Img("src=a.gif width=120 height=\"40\""));
    auto* image = dynamic_cast<CElementImg*>(Nth(tag::kImg));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), -1);
    EXPECT_EQ(image->Height(), -1);
    EXPECT_TRUE(image->NeedsLongDesc());
    image->Check(settings, document, 0);
    EXPECT_EQ(image->Width(), 120);
    EXPECT_EQ(image->Height(), 40);
}

// --- ImgLongdesc and the object registry -----------------------------------

class ImageRegistryChecks : public ImageChecks {
protected:
    void SetUp() override
    {
        ImageChecks::SetUp();
        std::random_device random;
        m_registryFile = m_folder / ("ObjectRegistry-" + std::to_string(random()) + ".xml");
    }

    // A loaded registry that knows the images given as name and needs-flag.
    std::unique_ptr<CSrcObjectDatabase> Registry(std::string_view images)
    {
        std::ofstream(m_registryFile, std::ios::binary)
            << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n" << images << "</root>";
        auto registry = std::make_unique<CSrcObjectDatabase>(m_registryFile.string());
        EXPECT_EQ(registry->Load(), 1);
        return registry;
    }

    std::filesystem::path m_registryFile;
};

TEST_F(ImageRegistryChecks, AnImageTheUserExcusedNeedsNoLongDescription)
{
    auto registry = Registry("<image filename=\"team.gif\" needlongdesc=\"false\"></image>\n");
    Parse(Img("src=pics/team.gif alt=Team") + Img("src=other.gif alt=Other"));
    document.SetObjectRegistry(registry.get());
    auto* excused = dynamic_cast<CElementImg*>(Nth(tag::kImg, 0));
    auto* other = dynamic_cast<CElementImg*>(Nth(tag::kImg, 1));
    excused->Check(settings, document, 0);
    other->Check(settings, document, 0);
    EXPECT_FALSE(excused->NeedsLongDesc());
    EXPECT_EQ(excused->ProblemMask() & (kImgLongdesc | kImageDLink), 0u);
    EXPECT_TRUE(other->NeedsLongDesc());
    EXPECT_NE(other->ProblemMask() & kImgLongdesc, 0u);

    // Without a registry the image keeps what it learnt.
    document.SetObjectRegistry(nullptr);
    excused->Check(settings, document, 0);
    EXPECT_FALSE(excused->NeedsLongDesc());
    document.SetObjectRegistry(registry.get());
}

TEST_F(ImageRegistryChecks, ARecordThatAsksForALongDescriptionTurnsTheNeedBackOn)
{
    auto registry = Registry("<image filename=\"team.gif\" needlongdesc=\"true\"></image>\n");
    Parse(Img("src=team.gif alt=Team"));
    document.SetObjectRegistry(registry.get());
    auto* image = dynamic_cast<CElementImg*>(Nth(tag::kImg));
    image->SetNeedsLongDesc(false);
    image->Check(settings, document, 0);
    EXPECT_TRUE(image->NeedsLongDesc());
    EXPECT_NE(image->ProblemMask() & kImgLongdesc, 0u);
    document.SetObjectRegistry(nullptr);
}

TEST_F(ImageChecks, AnEmptyLongdescIsNoLongDescription)
{
    EXPECT_TRUE(Has(Img("src=a.gif alt=A longdesc=\"\""), tag::kImg, kImgLongdesc));
    EXPECT_FALSE(Has(Img("src=a.gif alt=A longdesc=a.html") + "<a href=a.html>[d]</a>", tag::kImg, kImgLongdesc));
}

// --- ImageDLink ----------------------------------------------------------------

TEST_F(ImageChecks, ALinkToTheLongDescriptionCloseByPasses)
{
    std::string image = Img("src=a.gif alt=A longdesc=desc/A.html");
    EXPECT_FALSE(Has(image + " [ <a href=DESC/a.HTML>d</a>", tag::kImg, kImageDLink));
    // Only short texts and end tags may stand between.
    EXPECT_FALSE(Has("<a href=x>" + image + "</a> <a href=desc/A.html>d</a>", tag::kImg, kImageDLink));
    EXPECT_TRUE(Has(image + " see here: <a href=desc/A.html>d</a>", tag::kImg, kImageDLink));
    EXPECT_TRUE(Has(image + "<br><a href=desc/A.html>d</a>", tag::kImg, kImageDLink));
    EXPECT_TRUE(Has(image + "<!-- --><a href=desc/A.html>d</a>", tag::kImg, kImageDLink));
    EXPECT_TRUE(Has(image + "<a href=other.html>d</a>", tag::kImg, kImageDLink));
    EXPECT_TRUE(Has(image + "<a name=d>d</a>", tag::kImg, kImageDLink));
    EXPECT_TRUE(Has(image + " (", tag::kImg, kImageDLink));  // the page ends first
}

TEST_F(ImageChecks, OnlyWhatFollowsTheImageCounts)
{
    std::string page = "<a href=desc.html>d</a>" + Img("src=a.gif alt=A longdesc=desc.html");
    EXPECT_TRUE(Has(page, tag::kImg, kImageDLink));
}

TEST_F(ImageChecks, DeletedElementsAreNotPartOfTheNeighbourhood)
{
    Parse(Img("src=a.gif alt=A longdesc=d.html") + "<p>long words here<a href=d.html>d</a>");
    EXPECT_NE(Recheck(tag::kImg) & kImageDLink, 0u);
    Nth(64)->SetDeleted(true);
    Nth(kind::kText)->SetDeleted(true);
    EXPECT_EQ(Recheck(tag::kImg) & kImageDLink, 0u);
}

TEST_F(ImageChecks, WithoutALongdescAShortDLinkTextPasses)
{
    auto passes = [&](std::string_view after) {
        Parse(Img("src=a.gif alt=A") + std::string(after));
        return PassesDLinkTest(document, *Nth(tag::kImg));
    };
    EXPECT_TRUE(passes("<a href=a.html>[D]</a>"));
    EXPECT_TRUE(passes("<a href=a.html> (d) </a>"));
    EXPECT_TRUE(passes("<a href=a.html>desc.</a>"));
    EXPECT_FALSE(passes("<a href=a.html>details</a>"));
    EXPECT_FALSE(passes("<a href=a.html>[x]</a>"));
    EXPECT_FALSE(passes("<a href=a.html><b>d</b></a>"));
}

TEST_F(ImageChecks, TheDLinkCheckAsksTheTargetEvenWithTheFilterOff)
{
    std::string page = Img("src=a.gif alt=A longdesc=a.html");
    EXPECT_TRUE(Has(page, tag::kImg, kImageDLink, 0));
    settings.SetConformanceLevel(level::kSection508);
    settings.SetAlwaysInclude(tag::kImg, kImageDLink, false);
    EXPECT_FALSE(Has(page, tag::kImg, kImageDLink, 0));
    settings.SetConformanceLevel(level::kA);
    EXPECT_TRUE(Has(page, tag::kImg, kImageDLink, 0));
}

// --- Server-side and client-side maps ---------------------------------------------

TEST_F(ImageChecks, AServerSideMapNeedsAClientSideOneAndTextLinks)
{
    EXPECT_EQ(MaskOf(Img("src=a.gif alt=A ismap"), tag::kImg) & (kImageMap | kImageMapIsmapTextLinks),
              kImageMap | kImageMapIsmapTextLinks);
    EXPECT_EQ(MaskOf(Img("src=a.gif alt=A ismap usemap=#m"), tag::kImg) & (kImageMap | kImageMapIsmapTextLinks),
              0u);
    EXPECT_EQ(MaskOf(Img("src=a.gif alt=A"), tag::kImg) & (kImageMap | kImageMapIsmapTextLinks), 0u);
}

std::string MapOf(std::string_view name, std::initializer_list<std::string_view> hrefs)
{
    std::string map = "<map name=\"" + std::string(name) + "\">";
    for (std::string_view href : hrefs)
        map += href.empty() ? std::string("<area alt=x>") : "<area alt=x href=\"" + std::string(href) + "\">";
    return map + "</map>";
}

TEST_F(ImageChecks, EveryAreaLinkNeedsATextLinkOfItsOwn)
{
    std::string image = Img("src=a.gif alt=A usemap=#m");
    std::string map = MapOf("m", {"a.html", "a.html", "b.html"});
    const std::string a = "<a href=a.html>A</a>", b = "<a href=b.html>B</a>";
    EXPECT_TRUE(Has(image + map + a + b, tag::kImg, kImageMapTextLinks));
    EXPECT_FALSE(Has(image + map + a + b + a, tag::kImg, kImageMapTextLinks));
    EXPECT_FALSE(Has(a + image + b + map + a, tag::kImg, kImageMapTextLinks));  // anywhere on the page
    EXPECT_TRUE(Has(image + map + "<a href=A.html>A</a>" + a + b, tag::kImg, kImageMapTextLinks));
}

TEST_F(ImageChecks, AMapWithoutAreaLinksFailsTheTextLinksTest)
{
    EXPECT_TRUE(Has(Img("usemap=#m") + MapOf("m", {"", ""}) + "<a href=x>x</a>", tag::kImg, kImageMapTextLinks));
}

TEST_F(ImageChecks, AUsemapFindsItsMapByTheExactName)
{
    std::string links = "<a href=a.html>A</a>";
    EXPECT_TRUE(Has(Img("usemap=#Nav") + MapOf("Nav", {"a.html", "b.html"}) + links, tag::kImg, kImageMapTextLinks));
    EXPECT_TRUE(Has(Img("usemap=Nav") + MapOf("Nav", {"a.html", "b.html"}) + links, tag::kImg, kImageMapTextLinks));
    // A usemap that names no map sets nothing.
    EXPECT_FALSE(Has(Img("usemap=#nav") + MapOf("Nav", {"a.html", "b.html"}) + links, tag::kImg, kImageMapTextLinks));
    Parse(MapOf("Nav", {"a.html"}));
    EXPECT_NE(FindMap(document, "#Nav"), nullptr);
    EXPECT_EQ(FindMap(document, "##Nav"), nullptr);
    EXPECT_EQ(FindMap(document, "#NAV"), nullptr);
}

// The test as a walk over the page: every link strikes out the first area of
// its address, and the test passes once no area is left.
bool MapTextLinksByWalking(const CImageMap& map, const CHtmlDocument& document)
{
    std::vector<std::string> left;
    for (const CElement* area : map.Areas()) {
        if (const CAttribute* href = area->FindAttribute(attr::kHref))
            left.emplace_back(href->Value());
    }
    for (const CElement* e : document.Elements()) {
        const CAttribute* href = e->Kind() == tag::kA && !e->IsDeleted() ? e->FindAttribute(attr::kHref) : nullptr;
        if (!href)
            continue;
        auto it = std::find(left.begin(), left.end(), href->Value());
        if (it == left.end())
            continue;
        left.erase(it);
        if (left.empty())
            return true;
    }
    return false;
}

TEST_F(ImageChecks, CountingLinksGivesWhatTheWalkGives)
{
    const std::string_view addresses[] = {"a.html", "b.html", "c.html", "A.html", ""};
    std::mt19937 random(5);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    int passed = 0;
    for (int round = 0; round < 400; ++round) {
        std::string page = Img("usemap=#m") + "<map name=m>";
        for (std::size_t i = 0, n = 1 + pick(4); i < n; ++i) {
            std::string_view href = addresses[pick(5)];
            page += href.empty() ? std::string("<area>") : "<area href=\"" + std::string(href) + "\">";
        }
        page += "</map>";
        for (std::size_t i = 0, n = pick(7); i < n; ++i) {
            std::string_view href = addresses[pick(5)];
            page += href.empty() ? std::string("<a name=n>x</a>") : "<a href=\"" + std::string(href) + "\">x</a>";
        }
        Parse(page);
        if (pick(3) == 0 && Nth(tag::kA))
            Nth(tag::kA)->SetDeleted(true);
        const CImageMap* map = FindMap(document, "m");
        ASSERT_NE(map, nullptr) << page;
        bool walked = MapTextLinksByWalking(*map, document);
        EXPECT_EQ(PassesMapTextLinksTest(*map, document), walked) << page;
        passed += walked ? 1 : 0;
    }
    EXPECT_GT(passed, 20);  // both outcomes were tried
    EXPECT_LT(passed, 380);
}

TEST_F(ImageChecks, ACheckPassCountsTheLinksOnceForAllImages)
{
    std::string page;
    for (int i = 0; i < 3; ++i) {
        std::string name = "m" + std::to_string(i);
        page += Img("alt=x usemap=#" + name) + MapOf(name, {"a.html", "b.html"});
    }
    page += "<a href=a.html>A</a><a href=b.html>B</a>";
    Parse(page);
    CCheckIndexScope scope(document);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Recheck(tag::kImg) & kImageMapTextLinks, 0u);
    // The index belongs to the pass: a link deleted meanwhile is still counted.
    Nth(tag::kA)->SetDeleted(true);
    EXPECT_EQ(Recheck(tag::kImg) & kImageMapTextLinks, 0u);
}

// --- MapAltText ------------------------------------------------------------------

TEST_F(MapChecks, EveryAreaNeedsAnAltText)
{
    Parse("<map name=m><area href=a alt=\"A\"><area href=b alt=\"\"></map>");
    EXPECT_EQ(Nth(tag::kMap)->Check(settings, document, 0), 2);
    EXPECT_EQ(Nth(tag::kMap)->ProblemMask(), kMapAltText);
    Parse("<map name=m><area href=a alt=\"A\"><area href=b alt=B></map>");
    EXPECT_EQ(Nth(tag::kMap)->Check(settings, document, 0), 0);
    EXPECT_EQ(Nth(tag::kMap)->ProblemFlag(), 0);
    Parse("<map name=m><area href=a></map>");
    EXPECT_EQ(Nth(tag::kMap)->Check(settings, document, 0), 2);
}

TEST_F(MapChecks, AMapCheckedAgainAfterARepairComesOutClean)
{
    Parse("<map name=m><area href=a></map>");
    CElement* map = Nth(tag::kMap);
    EXPECT_EQ(map->Check(settings, document, 0), 2);
    auto alt = std::make_unique<CAttribute>();
    alt->NameById(attr::kAlt);
    alt->SetValue("Home");
    Nth(tag::kArea)->InsertAttribute(std::move(alt));
    EXPECT_EQ(map->Check(settings, document, 0), 0);
    EXPECT_EQ(map->ProblemMask(), 0u);
}

TEST_F(MapChecks, MapsWithoutANameOrAreasAreNotChecked)
{
    Parse("<map><area href=a></map>");
    CElement* map = Nth(tag::kMap);
    map->SetProblemMask(0x1);
    EXPECT_EQ(map->Check(settings, document, 0), 4);
    EXPECT_EQ(map->ProblemMask(), 0x1u);  // untouched
    Parse("<map name=\"\"><area href=a></map>");
    EXPECT_EQ(Nth(tag::kMap)->Check(settings, document, 0), 4);
    Parse("<map name=m></map>");  // no areas: no record of it
    EXPECT_EQ(Nth(tag::kMap)->Check(settings, document, 0), 4);
    EXPECT_EQ(Nth(tag::kMap)->ProblemMask(), 0u);
}

// The element the iteration hands out after the map's check.
int KindAfterMapCheck(CHtmlDocument& document, COrvaneSettings& settings)
{
    document.StartReading();
    CElement* e = document.NextUndeleted();
    while (e && e->Kind() != tag::kMap)
        e = document.NextUndeleted();
    EXPECT_NE(e, nullptr);
    e->Check(settings, document, 0);
    CElement* next = document.NextUndeleted();
    return next ? next->Kind() : 0;
}

TEST_F(MapChecks, TheCheckMovesTheIterationPastTheAreas)
{
    Parse("<map name=m>\n<area href=a alt=A>\n<area href=b alt=B>\n</map><p>");
    EXPECT_EQ(KindAfterMapCheck(document, settings), 64);  // the end tag is consumed too
    Parse("<map name=m><area href=a alt=A><!--x--><area href=b alt=B></map>");
    EXPECT_EQ(KindAfterMapCheck(document, settings), kind::kCommentEnd);  // a comment's end is no piece
    Parse("<map name=m><area href=a alt=A>text<p><area href=b alt=B></map>");
    EXPECT_EQ(KindAfterMapCheck(document, settings), 64);  // stops before anything else
    Parse("<map name=m><area href=a alt=A> ");
    EXPECT_EQ(KindAfterMapCheck(document, settings), 0);  // the end of the page
    Parse("<map name=m><area href=a alt=A><area href=b alt=B></map>");
    Nth(1054)->SetDeleted(true);
    EXPECT_EQ(KindAfterMapCheck(document, settings), 0);
}

TEST_F(MapChecks, TheIterationMovesWithTheLevelFilterOnToo)
{
    settings.SetConformanceLevel(level::kSection508);
    Parse("<map name=m><area href=a><area href=b></map><p>");
    document.StartReading();
    CElement* map = document.NextUndeleted();
    EXPECT_EQ(map->Check(settings, document, 1), 2);  // a Section 508 check
    EXPECT_EQ(document.NextUndeleted()->Kind(), 64);
}

TEST_F(MapChecks, AnotherWalkOverThePageIsLeftAlone)
{
    Parse("<p><map name=m><area href=a alt=A></map><p>");
    document.StartReading();
    document.NextUndeleted();
    Nth(tag::kMap)->Check(settings, document, 0);
    EXPECT_EQ(document.ReadingPosition(), Nth(tag::kMap));
}

TEST_F(MapChecks, TheCheckPassReportsTheMapOnce)
{
    Parse("<map name=m><area href=a><area href=b alt=B></map>" + Img("src=a.gif alt=A longdesc=x") +
          "<a href=x>[d]</a>");
    std::vector<CFoundProblem> problems = RunCheckPass(document, settings, nullptr);
    std::vector<std::pair<int, std::uint32_t>> found;
    for (const CFoundProblem& problem : problems) {
        if (problem.element->Kind() == tag::kMap || problem.element->Kind() == tag::kImg)
            found.emplace_back(problem.element->Kind(), problem.bit);
    }
    EXPECT_EQ(found, (std::vector<std::pair<int, std::uint32_t>>{{tag::kMap, kMapAltText}}));
}

TEST_F(MapChecks, EveryMapOfAPageGivenAsOneTextIsChecked)
{
    document.Start(0, false);
    document.AddLine("<map name=first><area href=a></map><map name=second><area href=b alt=B></map>");
    document.Finish();
    std::vector<CFoundProblem> problems = RunCheckPass(document, settings, nullptr);
    std::vector<CElement*> maps;
    for (const CFoundProblem& problem : problems) {
        if (problem.element->Kind() == tag::kMap && problem.bit == kMapAltText)
            maps.push_back(problem.element);
    }
    EXPECT_EQ(maps, std::vector<CElement*>{Nth(tag::kMap)});
}

// --- Image inputs ---------------------------------------------------------------

TEST_F(ImageInputChecks, AnImageButtonNeedsANonEmptyAlt)
{
    EXPECT_TRUE(Has("<input type=IMAGE src=go.gif alt=\"\">", tag::kInput, kInputAltText));
    EXPECT_TRUE(Has("<input type=image src=go.gif alt=\"   \">", tag::kInput, kInputAltText));
    EXPECT_TRUE(Has("<input type=image src=go.gif alt>", tag::kInput, kInputAltText));
    EXPECT_TRUE(Has("<input type=image src=go.gif>", tag::kInput, kInputAltText));
    EXPECT_FALSE(Has("<input type=image src=go.gif alt=Search>", tag::kInput, kInputAltText));
}

TEST_F(ImageInputChecks, LongAndSuspiciousAltTexts)
{
    EXPECT_TRUE(Has("<input type=image alt=\"" + std::string(171, 'x') + "\">", tag::kInput, kInputAltTextLong));
    EXPECT_FALSE(Has("<input type=image alt=\"" + std::string(170, 'x') + "\">", tag::kInput, kInputAltTextLong));
    EXPECT_TRUE(Has("<input type=image alt=go.png>", tag::kInput, kInputAltTextSuspicious));
    EXPECT_FALSE(Has("<input type=image alt=Go>", tag::kInput, kInputAltTextSuspicious));
}

TEST_F(ImageInputChecks, OnlyImageInputsGetTheAltChecks)
{
    EXPECT_EQ(MaskOf("<input src=go.gif alt=\"\">", tag::kInput), 0u);
    EXPECT_EQ(MaskOf("<input type=submit alt=\"\" value=Go>", tag::kInput), 0u);
    EXPECT_EQ(MaskOf("<input type=\" image\" alt=\"\">", tag::kInput), 0u);
}

TEST_F(ImageInputChecks, WidthAndHeightOfImageInputs)
{
    Parse("<input type=image alt=Go width=30 height=20><input type=text width=5 value=x>");
    auto* image = dynamic_cast<CElementInput*>(Nth(tag::kInput, 0));
    auto* text = dynamic_cast<CElementInput*>(Nth(tag::kInput, 1));
    ASSERT_TRUE(image && text);
    image->Check(settings, document, 0);
    text->Check(settings, document, 0);
    EXPECT_EQ(image->Width(), 30);
    EXPECT_EQ(image->Height(), 20);
    EXPECT_EQ(text->Width(), -1);
}

} // namespace
} // namespace orvane::test
