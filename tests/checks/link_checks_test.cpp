#include "check_fixture.h"

#include "library/checks/element_anchor.h"
#include "library/html/tag_table.h"
#include "library/registry/object_database.h"
#include "library/registry/src_link.h"

#include <filesystem>

namespace orvane::test {
namespace {

using LinkChecks = CheckedPage;

std::string Links(int count, std::string_view between)
{
    std::string page = "<body>";
    for (int i = 0; i < count; ++i)
        page += "<a href=\"p" + std::to_string(i) + ".html\">p</a>" + std::string(between);
    return page;
}

TEST_F(LinkChecks, NamedAnchorsAreNotChecked)
{
    ExpectFound("<a name=top target=_blank>top</a>", {{"AnchorNewWindow", 0}});
    EXPECT_EQ(First(5)->ProblemFlag(), 0);
}

TEST_F(LinkChecks, SoundLinksNeedATranscriptCaseSensitively)
{
    ExpectVerdicts("AnchorTranscript", {
        {"<a href=talk.wav>x</a>", true},
        {"<a href=talk.wav?play=1>x</a>", true},
        {"<a href=http://example.com.au/news>x</a>", true},
        {"<a href=TALK.WAV>x</a>", false},
        {"<a href=talk.html>x</a>", false}
    });
}

// The transcript page writes its link right after the recording's link; a
// page that has one there, as it writes it, has the transcript. Any other
// link beside it, or a transcript link further off, does not count.
TEST_F(LinkChecks, ASoundLinkFollowedByItsTranscriptLinkIsNotReported)
{
    ExpectVerdicts("AnchorTranscript", {
        {"<a href=talk.wav>Talk</a> <a href=\"talk-transcript.html\">Transcript</a>", false},
        {"<a href=talk.wav>Talk</a>\n<a href=\"notes.html\">TRANSKRIPT</a>", false},
        {"<a href=talk.wav>Talk</a> <a href=\"talk-transcript.html\"><img src=t.gif></a>", false},
        {"<a href=talk.wav>Talk</a> <a href=\"next.html\">Next</a>", true},
        {"<a href=talk.wav>Talk</a> <a href=\"talk-transcript.wav\">Transcript</a>", true},
        {"<a href=talk.wav>Talk</a> <a name=\"transcript\">Transcript</a>", true},
        {"<a href=talk.wav>Talk</a> (1 min) <a href=\"t.html\">Transcript</a>", true},
        {"<a href=talk.wav>Talk <a href=\"t.html\">Transcript</a>", true}
    });
}

TEST_F(LinkChecks, NewWindowsUnlessTheRegistryAcceptedThem)
{
    ExpectVerdicts("AnchorNewWindow", {
        {"<a href=x.html target=_BLANK>x</a>", true},
        {"<a href=x.html target=_new>x</a>", true},
        {"<a href=x.html target=main>x</a>", false}
    });

    const std::string file = (std::filesystem::temp_directory_path() / "orvane-link-checks.xml").string();
    {
        CSrcObjectDatabase written(file);
        auto link = std::make_unique<CSrcLink>("x.html");
        link->SetHasWarning(true);
        written.AddLink(std::move(link), "page.html");
        ASSERT_EQ(written.Save(), 1);
    }
    CSrcObjectDatabase registry(file);
    ASSERT_EQ(registry.Load(), 1);
    std::filesystem::remove(file);
    EXPECT_EQ(Check("<a href=x.html target=_blank>x</a>", &registry).count("AnchorNewWindow"), 0u);
    EXPECT_EQ(Check("<a href=y.html target=_blank>x</a>", &registry).count("AnchorNewWindow"), 1u);
}

TEST_F(LinkChecks, TextLinksNeedALinkWithText)
{
    EXPECT_TRUE(Reports("<a href=x>Go</a>", "TextLinks"));
    EXPECT_TRUE(Reports("<a href=x><img src=logo.gif></a>", "TextLinks"));  // the image names itself
    EXPECT_FALSE(Reports("<a href=x> </a><a href=y><img></a>", "TextLinks"));
    EXPECT_FALSE(Reports("<p>no links</p>", "TextLinks"));
    Check("<a href=x> Go <img src=a.gif> now </a>");
    auto* anchor = dynamic_cast<CElementAnchor*>(First(5));
    ASSERT_NE(anchor, nullptr);
    EXPECT_EQ(anchor->LinkText(), "Go [image a.gif] now");
}

TEST_F(LinkChecks, SevenLinksInARunNeedASkipOverLink)
{
    EXPECT_TRUE(Reports(Links(7, "<br>| ") + "</body>", "LinksSkipover"));
    EXPECT_FALSE(Reports(Links(6, "<br>| ") + "</body>", "LinksSkipover"));
    // A text of more than 10 characters after a link ends the run.
    EXPECT_FALSE(Reports(Links(7, " and some more words ") + "</body>", "LinksSkipover"));
}

TEST_F(LinkChecks, ARunThatStartsWithALinkPastItsEndCanBeSkippedAlready)
{
    const std::string menu = Links(7, "<br>| ").substr(6);  // without its body tag
    // The skip link the repair writes, read back in the next session: its
    // target is the named anchor right after the run.
    const std::string repaired = "<body>\n<br /><a href=\"#after-links\" title=\"Skip\">Skip the links</a><br />\n" +
                                 menu + "\n<a name=\"after-links\"></a>\n<p>The text of the page.</p></body>";
    EXPECT_FALSE(Reports(repaired, "LinksSkipover"));
    // An author's own skip link to the content's id does as well.
    EXPECT_FALSE(Reports("<body><a href=\"#content\">Skip navigation</a> " + menu +
                             "<div id=\"content\"><p>The text of the page.</p></div></body>",
                         "LinksSkipover"));
    // A link to a place before the run, or to no place at all, skips nothing.
    EXPECT_TRUE(Reports("<body><h1 id=\"top\">Menu</h1><a href=\"#top\">Top</a> " + menu + "</body>", "LinksSkipover"));
    EXPECT_TRUE(Reports("<body><a href=\"#nowhere\">Skip</a> " + menu + "</body>", "LinksSkipover"));
}

// A named anchor is no stop of the keyboard: the target a skip link writes
// in front of a short navigation bar makes no run of it, nor does an anchor
// amid a run end it, though the text an anchor holds does as any text does.
TEST_F(LinkChecks, NamedAnchorsNeitherMakeNorEndARunOfLinks)
{
    const std::string bar = Links(6, "\n").substr(6);  // without its body tag
    EXPECT_FALSE(Reports("<body><pre>\n  __\n /  \\\n \\__/\n</pre>\n<a name=\"after-ascii-art\"></a>\n<div>" + bar +
                             "</div>\n<h1>The guide to the harbour</h1></body>",
                         "LinksSkipover"));
    EXPECT_TRUE(Reports(Links(3, "") + "<a name=\"middle\"></a><a id=\"m2\"></a>" + Links(4, "").substr(6) + "</body>",
                        "LinksSkipover"));
    EXPECT_FALSE(Reports(Links(3, "") + "<a name=\"news\">The news of the week</a>" + Links(4, "").substr(6) + "</body>",
                         "LinksSkipover"));
    // The run is marked on its first and last links, never on an anchor around them.
    Check("<body><a name=\"top\"></a>" + Links(7, "").substr(6) + "<a name=\"end\"></a><p>The text.</p></body>");
    std::vector<int> marks;
    for (CElement* e : document.Elements()) {
        if (auto* a = dynamic_cast<CElementAnchor*>(e))
            marks.push_back(a->SkipOverMark());
    }
    EXPECT_EQ(marks, (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 2, 0}));
}

// A long line is read in pieces, and a text the end of a piece falls in is
// two text elements; to the reader it is one text, which parts the links
// around it whole or in pieces alike.
TEST_F(LinkChecks, ATextReadInPiecesPartsARunAsOneText)
{
    const std::string words = " *afterThis, ";  // 13 characters: more than a run allows between links
    std::string before = Links(3, "") + "<a href=\"";
    const std::string end = ".html\">XMLNode</a>";
    // The piece ends after " *after".
    before += std::string(499 - 7 - before.size() - end.size(), 'x') + end;
    const std::string page = before + words + Links(3, "").substr(6) + "</body>";
    EXPECT_FALSE(Reports(page, "LinksSkipover"));
    std::vector<std::string_view> texts;
    for (CElement* e : document.Elements()) {
        if (e->Kind() == kind::kText)
            texts.push_back(e->Text());
    }
    EXPECT_NE(std::find(texts.begin(), texts.end(), " *after"), texts.end()) << "the text was not read in pieces";
    // The same text in a line of its own parts the run as well.
    EXPECT_FALSE(Reports(Links(4, "") + words + Links(3, "").substr(6) + "</body>", "LinksSkipover"));
}

TEST_F(LinkChecks, RunsMarkTheirFirstAndLastLinks)
{
    ExpectFound(Links(7, "") + "<p>A paragraph of text follows.</p>" + Links(8, "").substr(6) + "</body>",
                {{"LinksSkipover", 1}});
    std::vector<int> marks;
    for (CElement* e : document.Elements()) {
        if (auto* a = dynamic_cast<CElementAnchor*>(e))
            marks.push_back(a->SkipOverMark());
    }
    ASSERT_EQ(marks.size(), 15u);
    EXPECT_EQ(marks[0], 1);
    EXPECT_EQ(marks[6], 2);
    EXPECT_EQ(marks[7], 1);
    EXPECT_EQ(marks[14], 2);
    EXPECT_EQ(marks[3], 0);
}

TEST_F(LinkChecks, DeletedElementsTakeNoPartInARun)
{
    auto recheck = [&] {
        std::multiset<std::string> names;
        for (const CFoundProblem& problem : RunCheckPass(document, settings, nullptr))
            names.insert(problem.element->GetCheckName(problem.bit));
        return names;
    };
    auto deleteWhere = [&](auto matches) {
        for (CElement* e : document.Elements())
            e->SetDeleted(e->IsDeleted() || matches(*e));
    };

    // A deleted text no longer parts the links around it.
    const std::string threeMore = Links(3, "").substr(6);  // without its body tag
    EXPECT_EQ(Check(Links(4, "") + " and some more words " + threeMore + "</body>").count("LinksSkipover"), 0u);
    deleteWhere([](const CElement& e) { return e.Text().find("more words") != std::string_view::npos; });
    EXPECT_EQ(recheck().count("LinksSkipover"), 1u);

    // A deleted link between a link's end and a long text leaves the text parting the run.
    Check(Links(4, "") + "<a href=gone.html>gone</a> and some more words " + threeMore + "</body>");
    bool inGone = false;
    deleteWhere([&](const CElement& e) {
        inGone = inGone || e.Text().find("gone.html") != std::string_view::npos;
        const bool deleted = inGone;
        inGone = inGone && e.Kind() != tag::kA + kind::kEndOffset;
        return deleted;
    });
    EXPECT_EQ(recheck().count("LinksSkipover"), 0u);
}

} // namespace
} // namespace orvane::test
