#include "library/checks/check_catalogue.h"
#include "library/checks/element_anchor.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "platform/services.h"
#include "platform/string_table.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace orvane {
namespace {

class ProblemTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_strings.Parse("441\t[image: %1]\n367\tThe frame page\n278\tNo language\n601\tNo doctype\n"
                        "1101\tQuoted paragraphs\n1131\tA script opens a window\n");
    }

    // The elements of a kind in a page parsed with the families.
    std::vector<CElement*> Parse(std::string_view page, int kind)
    {
        m_document.Start(0, false);
        m_document.AddLine(page);
        m_document.Finish();
        std::vector<CElement*> found;
        for (CElement* element : m_document.Elements()) {
            if (element->Kind() == kind)
                found.push_back(element);
        }
        return found;
    }

    // What an element of the page is called in the problem list, by bit.
    struct Called {
        std::size_t element;
        std::uint32_t bit;
        std::string text;
    };

    // The page holds that many elements of the kind, and each is called as
    // the table says.
    void ExpectCalled(std::string_view page, int kind, std::size_t count, std::initializer_list<Called> table)
    {
        const std::vector<CElement*> elements = Parse(page, kind);
        ASSERT_EQ(elements.size(), count);
        for (const Called& called : table) {
            SCOPED_TRACE(testing::Message() << "element " << called.element << ", bit 0x" << std::hex << called.bit);
            EXPECT_EQ(elements[called.element]->GetProblemText(called.bit, PageEncoding{}), called.text);
        }
    }

    platform::CStringTable m_strings;
    platform::ScopedStrings m_scope{m_strings};
    CHtmlDocument m_document{CFamilyElementFactory::Instance()};
};

TEST_F(ProblemTextTest, AnImageIsNamedByItsSource)
{
    ExpectCalled("<html><img src=\"logo.gif\" alt=x><img alt=y></html>", 44, 2,
                 {{0, 0x1, "logo.gif"},
                  {0, 0x80, "logo.gif"},
                  {1, 0x1, "image"}});
}

TEST_F(ProblemTextTest, AnInputIsNamedBySourceOrTypeAndName)
{
    ExpectCalled("<form><input type=image src=go.png name=send><input type=text name=q>"
                 "<input name=\"\"><input type=\"\" name=n></form>", 45, 4,
                 {{0, 0x1, "go.png - send"},
                  {1, 0x20000000, "text control - q"},
                  {2, 0x20000000, "input control"},
                  {3, 0x8, "input control - n"}});
}

TEST_F(ProblemTextTest, SelectsAndTextAreasAreNamedByKindAndName)
{
    ExpectCalled("<select name=city></select><select></select>", 72, 2,
                 {{0, 0x20000000, "select control - city"},
                  {1, 0x20000000, "select control"}});
    ExpectCalled("<textarea name=notes></textarea>", 83, 1,
                 {{0, 0x1, "textarea control - notes"}});
}

TEST_F(ProblemTextTest, AMapIsNamedByItsName)
{
    ExpectCalled("<map name=nav></map><map></map>", 54, 2,
                 {{0, 0x1, "nav"},
                  {1, 0x1, "<map>"}});  // without a name: its start tag
}

TEST_F(ProblemTextTest, ALinkIsNamedByItsAddressOrItsText)
{
    ExpectCalled("<a href=\"song.wav\" target=_blank>  Listen <img src=\"note.gif\"> <img alt=x> now </a>"
                 "<a name=top>x</a>", 5, 2,
                 {{0, 0x1, "song.wav"},
                  {0, 0x2, "Listen [image: note.gif]  now"},
                  {1, 0x1, "Sound File"},
                  {1, 0x4, "<a name=top>"}});
}

TEST_F(ProblemTextTest, AnImageOnlyLinkHasTheImageTextAsLinkText)
{
    auto links = Parse("<a href=\"/\"><img src=\"home.png\"></a><a href=\"/\"><img alt=home></a>", 5);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(static_cast<CElementAnchor*>(links[0])->LinkText(), "[image: home.png]");
    EXPECT_EQ(static_cast<CElementAnchor*>(links[1])->LinkText(), "");
}

TEST_F(ProblemTextTest, AFrameIsNamedByNumberAndName)
{
    ExpectCalled("<frameset cols=\"50%,*\"><frame name=menu src=a.html><frame src=b.html></frameset>", 31, 2,
                 {{0, 0x1, "Frame #1 menu"},
                  {1, 0x4, "Frame #2 "},
                  {0, 0x2, "The frame page"}});
}

TEST_F(ProblemTextTest, AFramesetIsNamedByTitleOrNumberAndSizes)
{
    ExpectCalled("<frameset title=Main rows=2><frameset rows=\"10,*\" cols=\"1,2\">"
                 "<frameset cols=3><frameset></frameset></frameset></frameset></frameset>", 32, 4,
                 {{0, 0x1, "Main"},
                  {1, 0x1, "Frameset 2, rows = 10,*, cols = 1,2"},
                  {2, 0x1, "Frameset 3, cols = 3"},
                  {3, 0x1, "Frameset 4"}});
}

TEST_F(ProblemTextTest, PageWideProblemsAreResourceStrings)
{
    ExpectCalled("<html><body></body></html>", 41, 1,
                 {{0, 0x2, "No language"},
                  {0, 0x20, "Quoted paragraphs"},
                  {0, 0x10, "<html>"}});
    ElementPtr document(CFamilyElementFactory::Instance().Create(-4, nullptr));
    EXPECT_EQ(document->GetProblemText(0x1, PageEncoding{}), "No doctype");
    ExpectCalled("<script>x()</script>", 71, 1,
                 {{0, 0x1, "script"},
                  {0, 0x2, "A script opens a window"}});
}

// A problem of an element as a whole, listed under its check's title, is
// told apart by the element's start tag as the source shows it: read in the
// page's encoding, laid out on one line, long ones cut.
TEST_F(ProblemTextTest, AProblemOfAWholeElementIsToldApartByItsStartTagReadInThePagesEncoding)
{
    PageEncoding latin1;
    latin1.name = "windows-1252";
    latin1.writeName = "ISO-8859-1";
    struct Case {
        std::string markup;
        int kind;
        std::uint32_t bit;  // TableSummary, AppletAltText, ObjectTitle, BlinkMarquee
        std::string text;
    };
    const Case cases[] = {
        {"<table title=\"Gr\xF6\xDF" "e\"\n   border=\"1\"><tr><td>x</td></tr></table>", 80, 0x1,
         "<table title=\"Gr\xC3\xB6\xC3\x9F" "e\" border=\"1\">"},
        {"<applet code=\"Gezeiten.class\" alt=\"Tom &amp; Jerry\"></applet>", 3, 0x1,
         "<applet code=\"Gezeiten.class\" alt=\"Tom &amp; Jerry\">"},
        {"<object data=\"filme/stra\xDF" "e.mp4\"></object>", 60, 0x4, "<object data=\"filme/stra\xC3\x9F" "e.mp4\">"},
        {"<marquee>Willkommen</marquee>", 11, 0x1, "<marquee>"},
        {"<table summary=\"\" class=\"abfahrten-der-f\xE4hren-und-busse\" style=\"width: 600px; border: 1px solid\">"
         "<tr><td>x</td></tr></table>",
         80, 0x1, "<table summary=\"\" class=\"abfahrten-der-f\xC3\xA4hren-und-busse\" style=\"width: ..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        const std::vector<CElement*> elements = Parse("<html><body>" + c.markup + "</body></html>", c.kind);
        ASSERT_FALSE(elements.empty());
        EXPECT_EQ(elements.front()->GetProblemText(c.bit, latin1), c.text);
    }
}

TEST(CheckAppliesTest, TheElementsPriorityAndTheSettingsDecide)
{
    COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    COrvaneSettings settings;
    settings.Load();
    COrvaneSettings::InstallCatalogue(nullptr);

    ElementPtr image(CFamilyElementFactory::Instance().Create(44, nullptr));
    image->SetKind(44);
    settings.SetConformanceLevel(1);
    EXPECT_TRUE(CheckApplies(*image, settings, 0x1));
    EXPECT_FALSE(CheckApplies(*image, settings, 0x2));  // priority 3
    settings.SetAlwaysInclude(44, 0x2, true);
    EXPECT_TRUE(CheckApplies(*image, settings, 0x2));
    settings.SetConformanceLevel(4);
    EXPECT_TRUE(CheckApplies(*image, settings, 0x8));    // Section 508
    EXPECT_FALSE(CheckApplies(*image, settings, 0x10));  // not Section 508

    // Lower headings use the entry of h1.
    ElementPtr heading(CFamilyElementFactory::Instance().Create(36, nullptr));
    heading->SetKind(36);
    settings.SetConformanceLevel(1);
    EXPECT_FALSE(CheckApplies(*heading, settings, 0x1));
    settings.SetAlwaysInclude(33, 0x1, true);
    EXPECT_TRUE(CheckApplies(*heading, settings, 0x1));
}

} // namespace
} // namespace orvane
