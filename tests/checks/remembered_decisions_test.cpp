// A decision the registry remembers is found by the text the user reads, not
// by the page's bytes: one taken on a UTF-8 page holds on the same page saved
// in Latin-1 or written with character references.
#include "check_fixture.h"

#include "library/checks/element_pre.h"
#include "library/checks/element_table.h"
#include "library/registry/object_database.h"
#include "library/registry/object_digest.h"
#include "library/html/tag_table.h"
#include "library/tables/table_record.h"

#include <functional>
#include <memory>
#include <string>

namespace orvane::test {
namespace {

// "Größe" as each page writes it.
constexpr std::string_view kUtf8Word = "Gr\xc3\xb6\xc3\x9f" "e";
constexpr std::string_view kLatin1Word = "Gr\xf6\xdf" "e";
constexpr std::string_view kReferencesWord = "Gr&ouml;&szlig;e";

std::string Page(std::string_view head, std::string_view markup, std::string_view word)
{
    std::string body(markup);
    for (std::size_t at = body.find("{W}"); at != std::string::npos; at = body.find("{W}", at))
        body.replace(at, 3, word);
    return "<html><head>" + std::string(head) + "<title>t</title></head><body>\n" + body + "\n</body></html>\n";
}

struct RecordKind {
    std::string name;
    std::string markup;  // {W} stands for the word
    std::string check;
    // Whether the check reports a problem once the decision is known.
    bool reportedWhenDecided;
    // Records what the user decided about the element on the UTF-8 page,
    // as the repair pages do: by the text the user reads.
    std::function<void(CSrcObjectDatabase&, CHtmlDocument&)> decide;
};

const CElement* FirstOf(const CHtmlDocument& document, int kind)
{
    for (const CElement* e : document.Elements()) {
        if (e->Kind() == kind && !e->IsDeleted())
            return e;
    }
    return nullptr;
}

class RememberedDecisions : public CheckedPage {
protected:
    void SetUp() override { ASSERT_GE(registry.LoadForSession(), 0); }
    void TearDown() override
    {
        document.SetObjectRegistry(nullptr);
        CSrcObjectDatabase::SetChanged(false);
    }

    const std::string utf8Head = "<meta charset=\"utf-8\">";
    const std::string latin1Head = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">";
    CSrcObjectDatabase registry;  // in the test's own home
};

TEST_F(RememberedDecisions, AreFoundOnThePageInAnotherEncodingOrWrittenWithReferences)
{
    const std::string utf8(kUtf8Word);
    const std::vector<RecordKind> kinds = {
        {"applet", "<applet code=\"{W}.class\" width=10 height=10></applet>", "AppletAltText", false,
         [&](CSrcObjectDatabase& r, CHtmlDocument&) {
             r.AddApplet(std::make_unique<CSrcApplet>(utf8 + ".class"), "page.html")->SetDescribed(true);
         }},
        {"link", "<a href=\"{W}.html\" target=\"_blank\">x</a>", "AnchorNewWindow", false,
         [&](CSrcObjectDatabase& r, CHtmlDocument&) {
             r.AddLink(std::make_unique<CSrcLink>(utf8 + ".html"), "page.html")->SetHasWarning(true);
         }},
        {"ASCII art", "<pre>\n<b>=====</b>\n{W}\n\n\n\n</pre>", "AsciiArtDescription", false,
         [](CSrcObjectDatabase& r, CHtmlDocument& page) {
             const auto* art = dynamic_cast<const CElementPre*>(FirstOf(page, tag::kPre));
             ASSERT_NE(art, nullptr);
             ASSERT_FALSE(art->ArtId().empty());
             r.AddAsciiArt(std::make_unique<CSrcAsciiArt>(art->ArtId()), "page.html")->SetDescribed(true);
         }},
        // A layout table whose reading in order nobody confirmed is reported;
        // an unclassified one is not checked as any kind.
        {"table by its cells", "<table><tr><td>{W}</td><td>&nbsp;</td></tr></table>", "TableLinearize", true,
         [](CSrcObjectDatabase&, CHtmlDocument& page) {
             auto* table = dynamic_cast<CElementTable*>(const_cast<CElement*>(FirstOf(page, tag::kTable)));
             ASSERT_NE(table, nullptr);
             ASSERT_NE(table->TableRecord().RegistryRecord(), nullptr);
             table->TableRecord().SetType(table_type::kLayout);
         }},
        {"table by its summary", "<table summary=\"{W}\"><tr><td>1</td></tr></table>", "TableLinearize", true,
         [](CSrcObjectDatabase&, CHtmlDocument& page) {
             auto* table = dynamic_cast<CElementTable*>(const_cast<CElement*>(FirstOf(page, tag::kTable)));
             ASSERT_NE(table, nullptr);
             ASSERT_NE(table->TableRecord().RegistryRecord(), nullptr);
             table->TableRecord().SetType(table_type::kLayout);
         }},
    };
    for (const RecordKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        registry.Clear();
        ASSERT_GE(registry.LoadForSession(), 0);
        const std::string utf8Page = Page(utf8Head, kind.markup, kUtf8Word);
        // Nothing decided yet: the check says what it says of an undecided element.
        EXPECT_EQ(Check(utf8Page, &registry).count(kind.check) > 0, !kind.reportedWhenDecided);
        kind.decide(registry, document);
        if (::testing::Test::HasFatalFailure())
            return;
        EXPECT_EQ(Check(utf8Page, &registry).count(kind.check) > 0, kind.reportedWhenDecided) << "UTF-8";
        EXPECT_EQ(Check(Page(latin1Head, kind.markup, kLatin1Word), &registry).count(kind.check) > 0,
                  kind.reportedWhenDecided) << "Latin-1";
        EXPECT_EQ(Check(Page("", kind.markup, kReferencesWord), &registry).count(kind.check) > 0,
                  kind.reportedWhenDecided) << "references";
        // Another word is another element.
        EXPECT_EQ(Check(Page(latin1Head, kind.markup, "Gr\xf6\xdf" "er"), &registry).count(kind.check) > 0,
                  !kind.reportedWhenDecided) << "another word";
    }
}

// A registry written while tables and art were known by their bytes keeps
// its decisions: the element is found by the key it was recorded under.
TEST_F(RememberedDecisions, RecordsKeyedByTheBytesOfAnOlderRegistryAreStillFound)
{
    const std::string page = Page("", "<table><tr><td>Tom &amp; Jerry</td></tr></table>\n"
                                      "<pre>\n<b>=====</b>\nTom &amp; Jerry\n\n\n\n</pre>", "");
    Check(page, &registry);
    auto* table = dynamic_cast<CElementTable*>(const_cast<CElement*>(FirstOf(document, tag::kTable)));
    const auto* art = dynamic_cast<const CElementPre*>(FirstOf(document, tag::kPre));
    ASSERT_TRUE(table && art);
    const std::string bytesTableKey = table->TableRecord().BytesRegistryKey();
    ASSERT_NE(bytesTableKey, table->TableRecord().Id());
    const std::string bytesArtId = ObjectDigest(document.InnerText(*art, -1));
    ASSERT_NE(bytesArtId, art->ArtId());

    registry.Clear();
    ASSERT_GE(registry.LoadForSession(), 0);
    auto older = std::make_unique<CSrcTable>(bytesTableKey);
    older->SetLayout(true);
    registry.AddTable(std::move(older), "page.html");
    registry.AddAsciiArt(std::make_unique<CSrcAsciiArt>(bytesArtId), "page.html")->SetDescribed(true);
    const std::multiset<std::string> names = Check(page, &registry);
    EXPECT_EQ(names.count("TableLinearize"), 1U);
    EXPECT_EQ(names.count("AsciiArtDescription"), 0U);
    table = dynamic_cast<CElementTable*>(const_cast<CElement*>(FirstOf(document, tag::kTable)));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->TableRecord().Id(), bytesTableKey);
}

} // namespace
} // namespace orvane::test
