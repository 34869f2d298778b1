// Pages at the edge of what users hand in: one very long line, deep runs of
// unclosed tags, a tag with thousands of attributes, a comment that never ends
// and plain random bytes. Each must be taken in whole and written back byte
// for byte; the full-size variants are measured by the benchmarks.
#include "page_fixture.h"

#include "bench/hostile_pages.h"
#include "library/html/tag_table.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace orvane::test {
namespace {

std::string Joined(CHtmlDocument& document)
{
    std::string joined;
    document.StartReading();
    bool more = true;
    for (std::string line = document.NextLine(more); more; line = document.NextLine(more))
        joined += line;
    return joined;
}

TEST(Bounds, OneLineOfTwoMegabytesIsCutIntoPiecesAndComesBackAsOneLine)
{
    std::string page = "<html><body>";
    while (page.size() < 2 * 1024 * 1024)
        page += "<p class=x>words of a page without any line break <img src=a.gif alt=\"\"> ";
    page += "</body></html>";

    CParsedPage asFile;
    ASSERT_EQ(asFile.FromFile(page), 1);
    EXPECT_EQ(asFile.Written(), page);
    EXPECT_EQ(Joined(asFile.document), page);
    // No text run of the file loader is longer than its pieces.
    for (const CElement* e : asFile.document.Elements()) {
        if (e->Kind() == kind::kText) {
            ASSERT_LE(e->Text().size(), 499u);
        }
    }

    CParsedPage asText;
    asText.FromText(page);
    EXPECT_EQ(asText.Written(), page);
    EXPECT_EQ(asText.document.LocationOf(*asText.document.Elements().back()).line, 1u);
}

TEST(Bounds, ManyNestedStartTagsWithoutEndTagsStayUnpaired)
{
    constexpr std::size_t kTags = 100000;
    std::string page;
    for (std::size_t i = 0; i < kTags; ++i)
        page += (i % 2 == 0) ? "<div>" : "<font size=2>";

    CParsedPage asFile;
    ASSERT_EQ(asFile.FromFile(page), 1);
    ASSERT_EQ(asFile.document.Size(), kTags + 1);  // and the document element
    for (const CElement* e : asFile.document.Elements())
        ASSERT_EQ(e->Partner(), nullptr);
    EXPECT_EQ(asFile.Written(), page);

    // One end tag at the end pairs with the innermost start of its kind only.
    CParsedPage closed;
    closed.FromText(page + "</div>");
    const auto& elements = closed.document.Elements();
    EXPECT_EQ(elements.back()->Partner(), elements[kTags - 2]);
    EXPECT_EQ(elements[kTags - 4]->Partner(), nullptr);
}

TEST(Bounds, OneTagWithTenThousandAttributesKeepsThemAllInOrder)
{
    constexpr std::size_t kAttributes = 10000;
    std::string page = "<html><body><p";
    for (std::size_t i = 0; i < kAttributes; ++i)
        page += " a" + std::to_string(i) + (i % 2 ? "='v" : "=\"v") + std::to_string(i) + (i % 2 ? "'" : "\"");
    page += ">text</p></body></html>\n";

    CParsedPage asFile;
    ASSERT_EQ(asFile.FromFile(page), 1);
    const CElement* p = nullptr;
    for (const CElement* e : asFile.document.Elements()) {
        if (e->Kind() == 64)
            p = e;
    }
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Text().size(), page.find(">text") - page.find("<p") + 1);  // one element across pieces
    ASSERT_EQ(p->AttributeCount(), static_cast<int>(kAttributes + 1));
    const CAttribute* last = p->FirstAttribute();
    while (last->Next())
        last = last->Next();
    EXPECT_EQ(last->Name(), "a9999");
    EXPECT_EQ(last->Value(), "v9999");
    EXPECT_EQ(asFile.Written(), page);
}

TEST(Bounds, AnUnterminatedCommentRunsToTheEndOfThePage)
{
    std::string page = "<html><body><!-- old navigation";
    const std::size_t opened = page.find("<!--") + 4;
    while (page.size() < 2 * 1024 * 1024)
        page += "\nkept for later - not shown - do not use > nor -> here";

    // Line by line: one comment piece per line; the last line was never
    // flushed and becomes text, as any unfinished token at the end does.
    CParsedPage asFile;
    ASSERT_EQ(asFile.FromFile(page), 1);
    const auto& elements = asFile.document.Elements();
    EXPECT_EQ(elements.back()->Kind(), kind::kText);
    for (std::size_t i = 4; i + 1 < elements.size(); ++i)
        ASSERT_EQ(elements[i]->Kind(), kind::kComment) << i;
    EXPECT_EQ(asFile.Written(), page);

    // As one text the whole rest of the page is one unfinished token.
    CParsedPage asText;
    asText.FromText(page);
    ASSERT_EQ(asText.document.Size(), 4u);
    EXPECT_EQ(asText.document.At(2)->Text(), "<!--");
    EXPECT_EQ(asText.document.At(3)->Kind(), kind::kText);
    EXPECT_EQ(asText.document.At(3)->Text().size(), page.size() - opened);
    EXPECT_EQ(asText.Written(), page);
}

TEST(Bounds, RandomBytesComeBackUnchangedInEveryIntake)
{
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        const std::string page = bench::RandomBytes(512 * 1024, seed * 0x9E3779B97F4A7C15ULL);
        CParsedPage asFile;
        asFile.FromFile(page);  // refused or not, the elements are the page
        EXPECT_EQ(asFile.Written(), page) << seed;
        CParsedPage asText;
        asText.FromText(page);
        EXPECT_EQ(asText.Written(), page) << seed;
        EXPECT_EQ(Joined(asText.document), page) << seed;
        CParsedPage asLines;
        asLines.FromLines(page);
        EXPECT_EQ(asLines.Written(), page) << seed;
    }
}

TEST(Bounds, ZeroBytesAndLoneBracketsInBulkAreKept)
{
    std::string page(64 * 1024, '\0');
    for (std::size_t i = 0; i < page.size(); i += 3)
        page[i] = (i % 2) ? '<' : '>';
    page += "<p>";
    CParsedPage asFile;
    ASSERT_EQ(asFile.FromFile(page), 1);
    EXPECT_EQ(asFile.Written(), page);
}

TEST(Bounds, TheLargestNumberReadsTheSameInHexAndInDecimal)
{
    CAttribute width;
    width.NameByText("width", false);
    width.SetValue("#7fffffffffffffff");
    const long long largest = width.NumericValue();
    EXPECT_EQ(largest, 9223372036854775807LL);
    width.SetNumericValue(largest);
    EXPECT_EQ(width.Value(), "9223372036854775807");
    EXPECT_EQ(width.NumericValue(), largest);

    // Past the largest number, reading stops before the digit that would overflow.
    width.SetValue("92233720368547758070");
    EXPECT_EQ(width.NumericValue(), largest);
    width.SetValue("-9223372036854775808");
    EXPECT_EQ(width.NumericValue(), -922337203685477580LL);
}

} // namespace
} // namespace orvane::test
