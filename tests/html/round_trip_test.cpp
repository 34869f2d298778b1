#include "page_fixture.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace orvane::test {
namespace {

std::string JoinedLines(CHtmlDocument& document)
{
    std::string joined;
    document.StartReading();
    bool more = true;
    for (;;) {
        std::string line = document.NextLine(more);
        if (!more)
            break;
        joined += line;
    }
    return joined;
}

bool PartnersAreSymmetric(const CHtmlDocument& document)
{
    for (const CElement* e : document.Elements()) {
        if (e->Partner() && e->Partner()->Partner() != e)
            return false;
    }
    return true;
}

// Every way in gives the same page back, byte for byte, and the same lines.
void ExpectRoundTrips(const std::string& bytes, const std::string& label)
{
    CParsedPage asFile;
    if (asFile.FromFile(bytes) == 1) {
        EXPECT_EQ(asFile.Written(), bytes) << label << " (file)";
        EXPECT_EQ(JoinedLines(asFile.document), bytes) << label << " (file lines)";
        EXPECT_TRUE(PartnersAreSymmetric(asFile.document)) << label;
    }
    CParsedPage asText;
    asText.FromText(bytes);
    EXPECT_EQ(asText.Written(), bytes) << label << " (text)";
    EXPECT_EQ(JoinedLines(asText.document), bytes) << label << " (text lines)";
    EXPECT_TRUE(PartnersAreSymmetric(asText.document)) << label;
    CParsedPage asLines;
    asLines.FromLines(bytes);
    EXPECT_EQ(asLines.Written(), bytes) << label << " (lines)";
}

TEST(RoundTrip, EveryCorpusPageComesBackByteForByte)
{
    std::vector<std::string> pages = CorpusPages();
    if (pages.empty())
        GTEST_SKIP() << "the page corpus is not beside the project";
    for (const std::string& path : pages)
        ExpectRoundTrips(ReadFileBytes(path), path);
}

// Pages built from fragments that exercise every tokenizer state, including broken markup.
std::string RandomPage(std::mt19937& random)
{
    static const std::string kLongWord(600, 'w');
    static const char* const kFragments[] = {
        "<p>", "</p>", "text ", "\n", "\r\n", "<!-- c -->", "<!--", "-->", "--", " -- >", "<", ">",
        "<a href=\"x.html\">", "</a>", "<img src=a.gif alt=''>", "<xmp>", "</xmp>", "<script>",
        "</script>", "<style>", "</style>", "<blink>", "</blink>", "<textarea>", "</textarea>",
        "<map name=m>", "<area href=y>", "</map>", "<img usemap=#m>", "<TABLE\nBORDER=1>", "</ TABLE >",
        "<br/>", "<input checked>", "\t", "\"", "'", "=", kLongWord.c_str(), "\xe9\xfc",
        "<!DOCTYPE html>", "<!-", "< / a >", "<ul><li>x</ul>", "<h1>Title</h1>",
    };
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kFragments) - 1);
    std::uniform_int_distribution<int> count(1, 300);
    std::string page;
    for (int i = count(random); i > 0; --i)
        page += kFragments[pick(random)];
    return page;
}

TEST(RoundTrip, GeneratedPagesComeBackByteForByte)
{
    std::mt19937 random(20261208);
    for (int i = 0; i < 200; ++i)
        ExpectRoundTrips(RandomPage(random), "generated page " + std::to_string(i));
}

TEST(RoundTrip, TextLinesAndFileGiveTheSameElementsApartFromPieceBreaks)
{
    std::string page = "<html>\n<body>\n<a href=x>link <img src=a.gif></a>\n<!-- c\nd -->\n</body>\n</html>\n";
    CParsedPage asLines;
    asLines.FromLines(page);
    CParsedPage asFile;
    ASSERT_EQ(asFile.FromFile(page), 1);
    std::vector<int> fileKinds = asFile.Kinds();
    fileKinds.erase(fileKinds.begin());  // the document element only a file gets
    EXPECT_EQ(asLines.Kinds(), fileKinds);
}

} // namespace
} // namespace orvane::test
