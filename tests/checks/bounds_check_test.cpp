// The pages at the edge of what users hand in, checked as the overview checks
// them: one very long line of dense markup or of prose, deep runs of unclosed
// tags, a tag with thousands of attributes, a comment that never ends and
// plain random bytes. Each is taken in as a file and as one text, checked by
// the whole check pass, and must still write back byte for byte; every
// problem found names an element the page still has. The full-size variants
// are measured by the benchmarks.
#include "check_fixture.h"

#include "bench/hostile_pages.h"
#include "library/html/tag_table.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace orvane::test {
namespace {

using bench::OneLineProse;
using bench::RandomBytes;
using bench::UnterminatedComment;

// Blocks of the markup the checks look at, each family at least once, with
// every line break turned into a blank.
std::string OneLineDensePage(std::size_t bytes)
{
    std::string page = "<!DOCTYPE html><html><head><title>Dense</title>"
                       "<meta http-equiv=\"refresh\" content=\"5\"><style>p { color: red }</style></head>"
                       "<body bgcolor=\"#ffffff\" text=\"#000000\">";
    for (int block = 0; page.size() < bytes; ++block) {
        const std::string n = std::to_string(block);
        page += "<h2>Section " + n + "</h2><p>Words of section " + n + " <a href=\"s" + n + ".html\">here</a>.</p>";
        page += "<img src=\"pic" + n + ".gif\"><img src=\"a" + n + ".gif\" alt=\"Picture\" longdesc=\"d" + n +
                ".html\"><a href=\"x.html\"><img src=\"b.gif\" alt=\"\"></a>";
        page += "<map name=\"m" + n + "\"><area href=\"a.html\"><area href=\"b.html\" alt=\"B\"></map>"
                "<img src=\"map.png\" usemap=\"#m" + n + "\" alt=\"Map\">";
        for (int link = 0; link < 8; ++link)
            page += "<a href=\"l" + std::to_string(link) + ".html\">L</a> ";
        page += "<form action=\"/f\"><label for=\"q" + n + "\">Search</label><input type=\"text\" id=\"q" + n +
                "\"><input type=\"image\" src=\"go.gif\"><select name=\"s\"><option>1</option></select>"
                "<textarea>type here</textarea></form>";
        page += "<table summary=\"Figures\"><caption>Figures</caption><tr><th>Year</th><th abbr=\"N\">Count</th></tr>"
                "<tr><td>2001</td><td>" + n + "</td></tr></table><table><tr><td>layout</td></tr></table>";
        page += "<pre>+-----+-----+ |  a  |  b  | +-----+-----+</pre><xmp>====</xmp>";
        page += "<object data=\"movie.swf\"></object><applet code=\"A.class\"></applet>"
                "<script>document.write('x')</script><noscript>none</noscript>";
        page += "<blink>new</blink><marquee>news</marquee><font color=\"red\">red</font>"
                "<ul><li>one</li></ul><frameset><frame src=\"f.html\"></frameset><noframes>x</noframes>";
    }
    page += "</body></html>";
    return page;
}

// Start tags of the kinds the checks walk from, none of them closed.
std::string NestedStartTags(std::size_t count)
{
    constexpr std::array<std::string_view, 16> kTags{
        "<div>", "<span>", "<b>", "<table>", "<tr>", "<td>", "<ul>", "<font size=2>", "<a href=x>",
        "<object>", "<pre>", "<label for=q>", "<select>", "<frameset>", "<img src=a.gif>", "<h1>"};
    std::string page;
    for (std::size_t i = 0; i < count; ++i)
        page.append(kTags[i % kTags.size()]);
    return page;
}

// One image with count attributes in every quoting style, the ones the checks
// look up among them, and a table cell just as crowded.
std::string ManyAttributes(std::size_t count)
{
    std::string attributes;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 4) {
        case 0: attributes += " data" + n + "=\"v" + n + "\""; break;
        case 1: attributes += " x" + n + "='v" + n + "'"; break;
        case 2: attributes += " alt=v" + n; break;
        default: attributes += " flag" + n; break;
        }
    }
    return "<html><body><img src=a.gif" + attributes + "><table><tr><td" + attributes +
           ">text</td></tr></table></body></html>\n";
}

class BoundsCheck : public CheckedPage {
protected:
    // Takes the page in as a file is read; false when it was refused.
    bool LoadAsFile(const std::string& page)
    {
        document.Start(1, false);
        std::istringstream in(page);
        return document.Load(in) == 1;
    }

    void LoadAsText(std::string_view page)
    {
        document.Start(0, false);
        document.AddLine(page);
        document.Finish();
    }

    // Runs the check pass over the page taken in and holds what it found to
    // what the pass promises; returns the number of problems, leaving out the
    // document element's own (only a file gets one).
    std::size_t CheckAndExpectTheSamePage(const std::string& page, const char* intake)
    {
        found = RunCheckPass(document, settings, nullptr);
        std::size_t previous = 0;
        for (const CFoundProblem& problem : found) {
            // A live element of this document, in document order, and one
            // bit of its problem mask.
            EXPECT_NE(document.Find(problem.element), nullptr) << intake;
            if (!document.Find(problem.element))
                return 0;
            EXPECT_FALSE(problem.element->IsDeleted()) << intake;
            EXPECT_TRUE(std::has_single_bit(problem.bit)) << intake;
            EXPECT_NE(problem.element->ProblemMask() & problem.bit, 0u) << intake;
            const std::size_t at = document.IndexOf(*problem.element);
            EXPECT_GE(at, previous) << intake;
            previous = at;
        }
        std::ostringstream out;
        EXPECT_EQ(document.Write(out), 1) << intake;
        const std::string written = out.str();
        EXPECT_EQ(written.size(), page.size()) << intake;
        EXPECT_TRUE(written == page) << intake << ": the check pass changed the page";
        return static_cast<std::size_t>(std::count_if(found.begin(), found.end(), [](const CFoundProblem& problem) {
            return problem.element->Kind() != kind::kDocument;
        }));
    }

    // Both intakes of the page, each checked; the problem counts of both.
    // Pieces of a file and one text split text runs differently, so the
    // counts agree only for pages whose texts the pieces do not cut.
    std::pair<std::size_t, std::size_t> CheckBothIntakes(const std::string& page)
    {
        EXPECT_TRUE(LoadAsFile(page));
        std::size_t fromFile = CheckAndExpectTheSamePage(page, "file");
        LoadAsText(page);
        std::size_t fromText = CheckAndExpectTheSamePage(page, "text");
        return {fromFile, fromText};
    }

    std::size_t Count(int kind) const
    {
        std::size_t count = 0;
        for (const CElement* e : document.Elements())
            count += e->Kind() == kind ? 1 : 0;
        return count;
    }
};

TEST_F(BoundsCheck, ADenseOneLinePageIsCheckedAndComesBackUnchanged)
{
    const std::string page = OneLineDensePage(96 * 1024);
    auto [fromFile, fromText] = CheckBothIntakes(page);
    // The page is full of what the checks look for.
    EXPECT_GT(fromFile, 100u);
    EXPECT_GT(fromText, 100u);
    std::size_t imagesWithProblems = 0;
    for (const CFoundProblem& problem : found)
        imagesWithProblems += problem.element->Kind() == tag::kImg ? 1 : 0;
    EXPECT_GT(imagesWithProblems, 0u);
}

TEST_F(BoundsCheck, OneLineOfProseIsCheckedAndComesBackUnchanged)
{
    const std::string page = OneLineProse(256 * 1024);
    CheckBothIntakes(page);
    EXPECT_GT(Count(TagIdOfToken("<b>")), 1000u);
}

TEST_F(BoundsCheck, NestedStartTagsWithoutEndTagsAreCheckedAndComeBackUnchanged)
{
    const std::string page = NestedStartTags(16000);
    auto [fromFile, fromText] = CheckBothIntakes(page);
    // Nothing is paired, yet every image still gets its own problems.
    for (const CElement* e : document.Elements())
        ASSERT_EQ(e->Partner(), nullptr);
    EXPECT_EQ(Count(tag::kImg), 1000u);
    std::size_t imageProblems = 0;
    for (const CFoundProblem& problem : found)
        imageProblems += problem.element->Kind() == tag::kImg ? 1 : 0;
    EXPECT_GE(imageProblems, 1000u);
    EXPECT_EQ(fromFile, fromText);
}

TEST_F(BoundsCheck, TagsWithThousandsOfAttributesAreCheckedAndComeBackUnchanged)
{
    const std::string page = ManyAttributes(8000);
    CheckBothIntakes(page);
    const CElement* image = First(tag::kImg);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->AttributeCount(), 8000 + 2);  // the name and src too
    // The first alt of the many is the one the checks read.
    ASSERT_NE(image->FindAttribute(attr::kAlt), nullptr);
    EXPECT_EQ(image->FindAttribute(attr::kAlt)->Value(), "v2");
}

TEST_F(BoundsCheck, AnUnterminatedCommentIsCheckedAndComesBackUnchanged)
{
    const std::string page = UnterminatedComment(512 * 1024);
    CheckBothIntakes(page);
    // As one text, the rest of the page after the opening is a single element.
    EXPECT_EQ(document.Size(), 7u);
}

TEST_F(BoundsCheck, RandomBytesAreCheckedAndComeBackUnchanged)
{
    CPromptCapture refusals;  // a page without a tag is refused with a message
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const std::string page = RandomBytes(128 * 1024, seed * 0x9E3779B97F4A7C15ULL);
        LoadAsFile(page);  // refused or not, the elements are the page
        CheckAndExpectTheSamePage(page, "file");
        LoadAsText(page);
        CheckAndExpectTheSamePage(page, "text");
    }
}

} // namespace
} // namespace orvane::test
