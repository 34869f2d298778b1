#include "page_fixture.h"

#include "library/checks/element_document.h"
#include "platform/string_table.h"
#include "tests/support/test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <istream>
#include <random>
#include <streambuf>

namespace orvane::test {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> ReadLines(CHtmlDocument& document)
{
    std::vector<std::string> lines;
    document.StartReading();
    bool more = true;
    for (;;) {
        std::string line = document.NextLine(more);
        if (!more)
            break;
        lines.push_back(line);
    }
    return lines;
}

class FileLoading : public ::testing::Test {
protected:
    FileLoading()
    {
        strings.Parse("111\tCaption\n150\tCannot read: %1\n479\tno tags\n480\tno memory\n");
    }
    platform::CStringTable strings;
    platform::ScopedStrings useStrings{strings};
    CPromptCapture capture;
    CParsedPage page;
};

TEST_F(FileLoading, PutsTheDocumentElementFirst)
{
    ASSERT_EQ(page.FromFile("<p>x</p>\n"), 1);
    EXPECT_NE(dynamic_cast<CElementDocument*>(&page.At(0)), nullptr);
    EXPECT_EQ(page.At(0).Kind(), -4);
    EXPECT_EQ(page.document.AtReadingPosition(), &page.At(0));
    EXPECT_EQ(page.Written(), "<p>x</p>\n");
    EXPECT_TRUE(capture.prompt.messages.empty());
}

TEST_F(FileLoading, RefusesAFileWithoutATag)
{
    EXPECT_EQ(page.FromFile("just text\n"), 0);
    ASSERT_EQ(capture.prompt.messages.size(), 1u);
    EXPECT_EQ(capture.prompt.messages[0].caption, "Caption");
    EXPECT_EQ(capture.prompt.messages[0].text, "Cannot read: no tags");
    EXPECT_EQ(capture.prompt.messages[0].icon, platform::PromptIcon::Exclamation);
}

TEST_F(FileLoading, RefusesAFileWhoseOnlyTagIsUnknown)
{
    EXPECT_EQ(page.FromFile("<blah>text</blah>"), 0);
    EXPECT_EQ(capture.prompt.messages.size(), 1u);
}

TEST_F(FileLoading, RefusesAnEmptyFile)
{
    EXPECT_EQ(page.FromFile(""), 0);
    EXPECT_EQ(capture.prompt.messages.size(), 1u);
}

TEST_F(FileLoading, LongLineIsTakenInAsPiecesOf499Characters)
{
    std::string line(1200, 'a');
    ASSERT_EQ(page.FromFile("<p>" + line.substr(3) + "\n"), 1);
    // <p> and 496 letters fill the first piece; then 499 letters; then 202 and the line feed.
    EXPECT_THAT(page.Kinds(), ElementsAre(-4, 64, -1, -1, -1));
    EXPECT_EQ(page.At(2).Text().size(), 496u);
    EXPECT_EQ(page.At(3).Text().size(), 499u);
    EXPECT_EQ(page.At(4).Text().size(), 203u);
}

TEST_F(FileLoading, CarriageReturnBeforeALineFeedIsNotCountedInAPiece)
{
    // <p> and 495 letters, then CR LF: the line feed is the 499th character of the piece.
    std::string page1 = "<p>" + std::string(495, 'a') + "\r\nb";
    ASSERT_EQ(page.FromFile(page1), 1);
    EXPECT_EQ(page.At(2).Text(), std::string(495, 'a') + "\r\n");
    EXPECT_EQ(page.At(3).Text(), "b");
    // One letter more and the piece is full before the break.
    std::string page2 = "<p>" + std::string(496, 'a') + "\r\nb";
    ASSERT_EQ(page.FromFile(page2), 1);
    EXPECT_EQ(page.At(2).Text(), std::string(496, 'a'));
    EXPECT_EQ(page.At(3).Text(), "\r\n");
    EXPECT_EQ(page.Written(), page2);
}

TEST_F(FileLoading, KeepsCarriageReturnsByteForByte)
{
    std::string crlf = "<html>\r\n<body bgcolor=white\r\n text=black>\r\nx\r\n</body></html>\r\n";
    ASSERT_EQ(page.FromFile(crlf), 1);
    EXPECT_EQ(page.Written(), crlf);
    EXPECT_EQ(page.At(3).FindAttribute(attr::kBgcolor)->Value(), "white");
    EXPECT_EQ(page.At(3).FindAttribute(attr::kText)->Value(), "black");
}

// Hands its bytes out a few at a time and tells no length, or a wrong one,
// as a stream from a pipe or a compressed file may.
class CTrickleBuffer : public std::streambuf {
public:
    CTrickleBuffer(std::string bytes, std::streamsize told) : m_bytes(std::move(bytes)), m_told(told) {}

protected:
    int_type underflow() override
    {
        if (m_at >= m_bytes.size())
            return traits_type::eof();
        const std::size_t size = std::min<std::size_t>(1000, m_bytes.size() - m_at);
        char* start = m_bytes.data() + m_at;
        setg(start, start, start + size);
        m_at += size;
        return traits_type::to_int_type(*start);
    }
    std::streamsize showmanyc() override { return m_told; }

private:
    std::string m_bytes;
    std::size_t m_at = 0;
    std::streamsize m_told;
};

TEST_F(FileLoading, AStreamThatTellsNoLengthOrTooShortAOneIsTakenInWhole)
{
    std::string bytes = "<html><body>\n";
    while (bytes.size() < 2500000)
        bytes += "<p class=x>A line of a page\r\n<img src=a.gif\n alt=\"\"> and more</p>\n";
    bytes += "</body></html>";
    CParsedPage reference;
    ASSERT_EQ(reference.FromFile(bytes), 1);

    for (std::streamsize told : {std::streamsize{0}, std::streamsize{12345}}) {
        CTrickleBuffer buffer(bytes, told);
        std::istream in(&buffer);
        page.document.Start(1, false);
        ASSERT_EQ(page.document.Load(in), 1);
        EXPECT_EQ(page.Written(), bytes);
        EXPECT_EQ(page.Kinds(), reference.Kinds());
        EXPECT_EQ(page.Texts(), reference.Texts());
    }
}

TEST_F(FileLoading, LoadingAgainReplacesThePage)
{
    ASSERT_EQ(page.FromFile("<p>one</p>"), 1);
    ASSERT_EQ(page.FromFile("<b>two</b>"), 1);
    EXPECT_EQ(page.Written(), "<b>two</b>");
    EXPECT_EQ(page.At(1).Kind(), 8);
}

TEST(DocumentWriting, DeletedElementsAreNeitherWrittenNorRead)
{
    CParsedPage page;
    page.FromText("<p>a</p>\n<p>b</p>\n");
    page.At(5).SetDeleted(true);  // "b"
    EXPECT_EQ(page.Written(), "<p>a</p>\n<p></p>\n");
    EXPECT_THAT(ReadLines(page.document), ElementsAre("<p>a</p>\n", "<p></p>\n"));
}

TEST(DocumentWriting, WriteErrorIsReported)
{
    CParsedPage page;
    page.FromText("<p>a</p>");
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(page.document.Write(out), 0);
}

TEST(LineReading, LastLineWithoutLineFeedComesBackWithoutOne)
{
    CParsedPage page;
    page.FromText("<p>one\ntwo</p>");
    EXPECT_THAT(ReadLines(page.document), ElementsAre("<p>one\n", "two</p>"));
}

TEST(LineReading, AnElementOfSeveralLinesGivesSeveralLines)
{
    CParsedPage page;
    page.FromText("<pre>a\nb\nc\n</pre>");
    EXPECT_THAT(ReadLines(page.document), ElementsAre("<pre>a\n", "b\n", "c\n", "</pre>"));
}

TEST(LineReading, LinesJoinToTheWrittenPage)
{
    std::string text = "<html>\r\n<!-- a\nb -->\n<p\nclass=x>t</p>";
    CParsedPage page;
    page.FromText(text);
    std::string joined;
    for (const std::string& line : ReadLines(page.document))
        joined += line;
    EXPECT_EQ(joined, text);
}

TEST(LineReading, EmptyDocumentGivesNoLine)
{
    CHtmlDocument document;
    EXPECT_TRUE(ReadLines(document).empty());
}

TEST(InnerText, EachAdditionIsTrimmedWithoutSeparator)
{
    CParsedPage page;
    page.document.Start(1, false);
    page.document.AddLine("<a href=x>Hello ");
    page.document.AddLine("world</a>");
    page.document.Finish();
    EXPECT_EQ(page.document.InnerText(page.At(0), -1), "Helloworld");
}

TEST(InnerText, IsCutAtTheMaximumLengthWithAnEllipsis)
{
    CParsedPage page;
    page.FromText("<a href=x>  A long link text  <b>more</b></a>");
    EXPECT_EQ(page.document.InnerText(page.At(0), 6), "A long...");
    EXPECT_EQ(page.document.InnerText(page.At(0), -1), "A long link textmore");
}

TEST(InnerText, LineFeedsBecomeBlanksAndEndTagsHaveNone)
{
    CParsedPage page;
    page.FromText("<p>one\r\ntwo</p>");
    EXPECT_EQ(page.document.InnerText(page.At(0), -1), "one two");
    EXPECT_EQ(page.document.InnerText(page.At(2), -1), "");
    CParsedPage unpaired;
    unpaired.FromText("<p>x");
    EXPECT_EQ(unpaired.document.InnerText(unpaired.At(0), -1), "");
}

TEST(DocumentQueries, HasBodyTextNeedsATextOfMoreThan15Characters)
{
    CParsedPage page;
    page.FromText("<body>exactly 15 chars</body>");
    EXPECT_TRUE(page.document.HasBodyText());
    page.FromText("<body>fifteen chars..</body>long text outside the body");
    EXPECT_FALSE(page.document.HasBodyText());
    page.FromText("<body>short</body><body>a longer text is here");
    EXPECT_TRUE(page.document.HasBodyText());
}

TEST(DocumentQueries, FileNameDropsTheFolder)
{
    CHtmlDocument document;
    document.SetName("/srv/www/site/index.html");
    EXPECT_EQ(document.FileName(), "index.html");
    document.SetName("page.htm");
    EXPECT_EQ(document.FileName(), "page.htm");
}

TEST(Walking, NextAndPreviousSkipDeletedElements)
{
    CParsedPage page;
    page.FromText("<p>a<b>c");
    page.At(1).SetDeleted(true);
    CHtmlDocument& doc = page.document;
    doc.StartReading();
    EXPECT_EQ(doc.NextUndeleted(), &page.At(0));
    EXPECT_EQ(doc.NextUndeleted(), &page.At(2));
    EXPECT_EQ(doc.PreviousUndeleted(), &page.At(2));
    EXPECT_EQ(doc.PreviousUndeleted(), &page.At(0));
    EXPECT_EQ(doc.PreviousUndeleted(), nullptr);
    EXPECT_FALSE(doc.SetReadingPosition(nullptr));
    EXPECT_EQ(doc.ElementAfter(&page.At(3)), nullptr);
    CElement stranger;
    EXPECT_EQ(doc.Find(&stranger), nullptr);
    EXPECT_EQ(doc.ElementAfter(&stranger), nullptr);
}

TEST(Walking, GetNextVisitsDeletedElementsToo)
{
    CParsedPage page;
    page.FromText("<p>a</p>");
    page.At(1).SetDeleted(true);
    int count = 0;
    for (CHtmlDocument::Position pos = page.document.FirstPosition(); pos;) {
        page.document.GetNext(pos);
        ++count;
    }
    EXPECT_EQ(count, 3);
}

TEST(Insertion, InsertedElementsAreWrittenInPlace)
{
    CParsedPage page;
    page.FromText("<p>a</p>");
    ElementPtr before(new CElement());
    before->SetKind(-1);
    before->SetText("[");
    ElementPtr after(new CElement());
    after->SetKind(-1);
    after->SetText("]");
    ASSERT_EQ(page.document.InsertBefore(&page.At(1), std::move(before)), 1);
    ASSERT_EQ(page.document.InsertAfter(&page.At(2), std::move(after)), 1);
    EXPECT_EQ(page.Written(), "<p>[a]</p>");
    EXPECT_EQ(page.document.IndexOf(page.At(4)), 4u);
    EXPECT_EQ(page.document.ElementAfter(&page.At(2))->Text(), "]");
}

TEST(Insertion, ElementsInsertedNextToEachOtherStandInTheOrderOfASimpleList)
{
    // Inserts before and after page elements and inserted ones, with the list
    // read now and then, against a plain vector of the same texts.
    CParsedPage page;
    page.FromText("<p>a</p><b>b</b>");  // every text once, to find it in the plain list
    std::vector<std::string> expected = page.Texts();
    std::vector<CElement*> present(page.document.Elements().begin(), page.document.Elements().end());
    std::mt19937 random(11);
    for (int i = 0; i < 400; ++i) {
        std::size_t at = std::uniform_int_distribution<std::size_t>(0, present.size() - 1)(random);
        bool after = random() % 2 == 0;
        ElementPtr element(new CElement());
        element->SetKind(-1);
        element->SetText(std::to_string(i) + ",");
        CElement* raw = element.get();
        std::size_t slot = 0;
        while (expected[slot] != present[at]->Text())
            ++slot;
        slot += after ? 1 : 0;
        ASSERT_EQ(after ? page.document.InsertAfter(present[at], std::move(element))
                        : page.document.InsertBefore(present[at], std::move(element)), 1);
        expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(slot), raw->GetText());
        present.push_back(raw);
        if (i % 37 == 0) {
            ASSERT_EQ(page.Texts(), expected) << "after insert " << i;
        }
    }
    EXPECT_EQ(page.Texts(), expected);
    for (std::size_t i = 0; i < page.document.Size(); ++i)
        EXPECT_EQ(page.document.IndexOf(*page.document.At(i)), i);
}

TEST(Insertion, CostsTheSameWhateverTheSizeOfThePage)
{
    // The work counted is the elements placed or renumbered in the list: a
    // page and all its inserts are laid out once, not once per insert.
    auto placementsFor = [](std::uint64_t inserts) {
        CParsedPage page;
        std::string text;
        for (int i = 0; i < 2000; ++i)
            text += "<p>x</p>";
        page.FromText(text);
        const std::vector<CElement*> anchors = page.document.Elements();
        const std::uint64_t before = page.document.PlacementCount();
        CElement* chain = anchors[1];
        for (std::uint64_t i = 0; i < inserts; ++i) {
            ElementPtr element(new CElement());
            element->SetKind(-1);
            CElement* raw = element.get();
            if (i % 2 == 0) {
                EXPECT_EQ(page.document.InsertBefore(anchors[i % anchors.size()], std::move(element)), 1);
            } else {
                EXPECT_EQ(page.document.InsertAfter(chain, std::move(element)), 1);
                chain = raw;
            }
        }
        EXPECT_EQ(page.document.Size(), anchors.size() + inserts);
        return page.document.PlacementCount() - before - anchors.size();
    };
    EXPECT_EQ(placementsFor(20000), 20000u);
    EXPECT_EQ(placementsFor(40000), 40000u);
}

TEST(Insertion, FailsWithoutTouchingTheDocumentWhenTheAnchorIsNotInIt)
{
    CParsedPage page;
    page.FromText("<p>a</p>");
    CElement stranger;
    ElementPtr element(new CElement());
    EXPECT_EQ(page.document.InsertAfter(&stranger, std::move(element)), 0);
    EXPECT_EQ(page.document.InsertBefore(nullptr, ElementPtr(new CElement())), 0);
    EXPECT_EQ(page.document.Size(), 3u);
    EXPECT_EQ(page.Written(), "<p>a</p>");
}

TEST(Insertion, AFragmentTakenInStandsInPlaceAndOutlivesItsDocument)
{
    CParsedPage page;
    page.FromFile("<p>a</p>\n<img src=x>\n<p>b</p>\n");
    CElement& image = page.At(5);
    ASSERT_EQ(image.Kind(), 44);
    std::vector<CElement*> taken;
    {
        CHtmlDocument fragment(page.document.Factory());
        fragment.Start(1, false);
        fragment.AddLine("<map name=m>\n");
        fragment.AddLine("<area href=a>\n</map>");
        fragment.Finish();
        taken = fragment.Elements();
        ASSERT_EQ(page.document.TakeInAfter(&image, fragment), 1);
        EXPECT_TRUE(fragment.IsEmpty());
        EXPECT_TRUE(fragment.ImageMaps().empty());
        // The fragment can be used again for another piece of markup.
        fragment.AddLine("<p>c</p>");
        fragment.Finish();
        EXPECT_EQ(fragment.Text(), "<p>c</p>");
    }
    EXPECT_EQ(page.Written(), "<p>a</p>\n<img src=x><map name=m>\n<area href=a>\n</map>\n<p>b</p>\n");
    EXPECT_EQ(taken[2]->FindAttribute(15)->Value(), "a");
    EXPECT_EQ(taken[0]->Partner(), taken.back());
    // Taken-in elements have no place in the page's source; the rest keep theirs.
    EXPECT_EQ(page.document.LocationOf(*taken[0]).line, 0u);
    EXPECT_EQ(page.document.LocationOf(*page.document.ElementAfter(taken.back())).line, 2u);

    // A whole text's restart keeps the areas, whose storage came from the fragment.
    page.document.Start(0, false);
    ASSERT_EQ(page.document.KeptAreas().size(), 1u);
    EXPECT_EQ(page.document.KeptAreas()[0]->FindAttribute(15)->Value(), "a");
}

TEST(Insertion, AFragmentIsNotTakenInAfterAStranger)
{
    CParsedPage page;
    page.FromText("<p>a</p>");
    CHtmlDocument fragment;
    fragment.AddLine("<br>");
    fragment.Finish();
    CElement stranger;
    EXPECT_EQ(page.document.TakeInAfter(&stranger, fragment), 0);
    EXPECT_EQ(page.Written(), "<p>a</p>");
    EXPECT_EQ(fragment.Text(), "<br>");
}

TEST(Lifecycle, StartInCreateModeZeroKeepsAreasForTheImageMaps)
{
    CParsedPage page;
    page.FromText("<map name=m><area href=a><area href=b></map><img usemap=#m>");
    ASSERT_EQ(page.document.ImageMaps().size(), 1u);
    CElement* firstArea = &page.At(1);
    page.document.Start(0, false);
    EXPECT_TRUE(page.document.IsEmpty());
    ASSERT_EQ(page.document.KeptAreas().size(), 2u);
    EXPECT_EQ(page.document.KeptAreas()[0], firstArea);
    ASSERT_EQ(page.document.ImageMaps().size(), 1u);
    EXPECT_EQ(page.document.ImageMaps().front()->Areas()[0], firstArea);
    // A page of its own maps drops the old maps and their areas.
    page.document.AddLine("<map name=n><area href=c></map>");
    page.document.Finish();
    EXPECT_TRUE(page.document.KeptAreas().empty());
    ASSERT_EQ(page.document.ImageMaps().size(), 1u);
    EXPECT_EQ(page.document.ImageMaps().front()->Name(), "n");
}

TEST(Lifecycle, StartInCreateModeOneDestroysMapsAndAreas)
{
    CParsedPage page;
    page.FromText("<map name=m><area href=a></map>");
    page.document.Start(0, false);
    page.document.Start(1, false);
    EXPECT_TRUE(page.document.KeptAreas().empty());
    EXPECT_TRUE(page.document.ImageMaps().empty());
}

TEST(Lifecycle, DetachingHandsTheElementsOverMarkedDeleted)
{
    CParsedPage page;
    page.FromText("<p>a</p>");
    CElement* p = &page.At(0);
    page.document.Start(1, true);
    EXPECT_TRUE(page.document.IsEmpty());
    EXPECT_TRUE(p->IsDeleted());  // still alive for whoever holds it
    EXPECT_EQ(p->Text(), "<p>");
}

TEST(Lifecycle, StartClearsTheTokenizerState)
{
    CParsedPage page;
    page.document.Start(1, false);
    page.document.AddLine("<!-- open comment <xmp>");
    page.document.Start(1, false);
    page.document.AddLine("<p>x</p>");
    page.document.Finish();
    EXPECT_THAT(page.Kinds(), ElementsAre(64, -1, 1064));
}

} // namespace
} // namespace orvane::test
