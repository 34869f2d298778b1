#include "registry_fixture.h"

#include "library/registry/object_database.h"
#include "library/registry/registry_line_reader.h"
#include "library/registry/registry_reader.h"
#include "library/registry/registry_writer.h"
#include "platform/file_system.h"
#include "platform/xml_dom.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace orvane {
namespace {

using test::ReadFileBytes;
using test::ObjectRegistryTest;

constexpr std::string_view kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n";
// What older versions wrote: the texts' bytes as they came in.
constexpr std::string_view kLegacyHeader = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n";

std::string Registry(std::string_view body) { return std::string(kHeader) + std::string(body) + "</root>"; }
std::string LegacyRegistry(std::string_view body)
{
    return std::string(kLegacyHeader) + std::string(body) + "</root>";
}

// The number of files in the folder whose name starts with the prefix.
int CountFiles(const std::filesystem::path& folder, const std::string& prefix)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            ++count;
    }
    return count;
}

// --- The written format -------------------------------------------------------

TEST(RegistryText, AnEmptyRegistryIsTheRootAlone)
{
    CSrcObjectDatabase registry("unused.xml");
    EXPECT_EQ(RegistryText(registry), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n</root>");
}

TEST(RegistryText, ImagesComeFirstEachWithItsTextsAndDescriptions)
{
    CSrcObjectDatabase registry("unused.xml");
    auto logo = std::make_unique<CSrcImage>("logo.gif");
    logo->AddAltText("Logo");
    logo->AddAltText("Firm");
    logo->AddLongDesc(std::make_unique<CSrcLongDesc>("logo.html", "A red circle."));
    logo->SetNeedsLongDesc(false);
    registry.AddImage(std::move(logo));
    auto chart = std::make_unique<CSrcImage>("chart.png");
    chart->AddLongDesc(std::make_unique<CSrcLongDesc>("chart.html"));
    registry.AddImage(std::move(chart));
    registry.AddImage(std::make_unique<CSrcImage>("bare.gif"));
    registry.AddDocument(std::make_unique<CSrcDocument>("page.html"));

    EXPECT_EQ(RegistryText(registry),
              Registry("<image filename=\"logo.gif\" needlongdesc=\"false\">\n"
                       "<alt value=\"Logo\" />\n"
                       "<alt value=\"Firm\" />\n"
                       "<longdesc value=\"logo.html\">\n<![CDATA[A red circle.]]>\n</longdesc>\n"
                       "</image>\n"
                       "<image filename=\"chart.png\" needlongdesc=\"true\">\n"
                       "<longdesc value=\"chart.html\"></longdesc>\n"
                       "</image>\n"
                       "<image filename=\"bare.gif\" needlongdesc=\"true\"></image>\n"
                       "<document filename=\"page.html\" framesneeddescription=\"true\">\n"
                       "</document>\n"));
}

TEST(RegistryText, ADocumentWritesItsChildrenInTheirFixedOrder)
{
    CSrcObjectDatabase registry("unused.xml");
    auto document = std::make_unique<CSrcDocument>("site/page.html");
    document->SetTitle("Home");
    document->SetFramesNeedDescription(false);
    CSrcDocument& page = *document;
    registry.AddDocument(std::move(document));
    // Added in an order other than the written one.
    auto link = std::make_unique<CSrcLink>("new.html");
    link->SetHasWarning(true);
    page.AddLink(std::move(link));
    auto applet = std::make_unique<CSrcApplet>("Clock.class");
    applet->SetDescribed(true);
    page.AddApplet(std::move(applet));
    auto map = std::make_unique<CSrcImageMap>("nav");
    map->SetTextLinks(true);
    page.AddImageMap(std::move(map));
    auto table = std::make_unique<CSrcTable>("0cc175b9c0f1b6a831c399e269772661");
    table->SetLayout(true);
    table->SetColumnHeaders(true);
    table->SetLinearize(true);
    page.AddTable(std::move(table));
    page.AddTable(std::make_unique<CSrcTable>());  // no id: not written
    page.AddTable(std::make_unique<CSrcTable>("d2"));
    auto art = std::make_unique<CSrcAsciiArt>("a1");
    art->SetSkipOverLink(true);
    art->AddLongDesc(std::make_unique<CSrcLongDesc>("art.html", "Cat"));
    page.AddAsciiArt(std::move(art));
    page.AddAsciiArt(std::make_unique<CSrcAsciiArt>("a2"));

    EXPECT_EQ(RegistryText(registry),
              Registry("<document filename=\"site/page.html\" framesneeddescription=\"false\" title=\"Home\">\n"
                       "<ascii_art id=\"a1\" described=\"false\" skipover_link=\"true\">\n"
                       "<longdesc value=\"art.html\">\n<![CDATA[Cat]]>\n</longdesc>\n"
                       "</ascii_art>\n"
                       "<ascii_art id=\"a2\" described=\"false\" skipover_link=\"false\"></ascii_art>\n"
                       "<table id=\"0cc175b9c0f1b6a831c399e269772661\" type=\"layout\" rowheaders=\"false\" "
                       "colheaders=\"true\" rowheaders_abbrev=\"false\" colheaders_abbrev=\"false\" "
                       "linearize=\"true\" />\n"
                       "<table id=\"d2\" type=\"data\" rowheaders=\"false\" colheaders=\"false\" "
                       "rowheaders_abbrev=\"false\" colheaders_abbrev=\"false\" linearize=\"false\" />\n"
                       "<imagemap title=\"nav\" textlinks=\"true\" />\n"
                       "<applet id=\"Clock.class\" described=\"true\"></applet>\n"
                       "<link href=\"new.html\" haswarning=\"true\" />\n"
                       "</document>\n"));
}

TEST(RegistryText, MarkupCharactersAreEscaped)
{
    std::string out;
    AppendAttributeValue(out, "a&b<c>d\"e'f\tg\nh\ri\x01j\x7f\xe9");
    EXPECT_EQ(out, "a&amp;b&lt;c&gt;d&quot;e'f&#9;g&#10;h&#13;ij\x7f\xe9");
    out.clear();
    AppendCData(out, "x]]>y\r\nz]]\x02>");
    EXPECT_EQ(out, "<![CDATA[x]]]]><![CDATA[>y]]>&#13;<![CDATA[\nz]]]]><![CDATA[>]]>");
}

// --- Reading ------------------------------------------------------------------

TEST_F(ObjectRegistryTest, AFileOfTheWrittenFormReadsBack)
{
    WriteFile(RegistryPath(),
              Registry("<image filename=\"logo.gif\" needlongdesc=\"TRUE\">\n"
                       "<alt value=\"Logo\" />\n"
                       "<longdesc value=\"logo.html\">\n<![CDATA[  Two\nlines  ]]>\n</longdesc>\n"
                       "</image>\n"
                       "<!-- a comment -->\n"
                       "<unknown a=\"b\" />\n"
                       "<DOCUMENT filename=\"page.html\" framesneeddescription=\"true\" title=\"Home\">\n"
                       "<ascii_art id=\"a1\" described=\"true\" skipover_link=\"false\">\n"
                       "<longdesc value=\"art.html\"></longdesc>\n"
                       "</ascii_art>\n"
                       "<table id=\"t1\" type=\"Layout\" rowheaders=\"true\" colheaders=\"false\" "
                       "rowheaders_abbrev=\"true\" colheaders_abbrev=\"false\" linearize=\"true\" />\n"
                       "<imagemap title=\"nav\" textlinks=\"true\" />\n"
                       "<applet id=\"Clock.class\" described=\"true\"></applet>\n"
                       "<link href=\"new.html\" haswarning=\"true\" />\n"
                       "</DOCUMENT>\n"));
    CSrcObjectDatabase registry(RegistryPath());
    MarkRegistryChanged();
    ASSERT_EQ(registry.Load(), 1);
    EXPECT_TRUE(registry.IsLoaded());
    EXPECT_FALSE(CSrcObjectDatabase::IsChanged());

    const CSrcImage* logo = registry.FindImage("logo.gif");
    ASSERT_NE(logo, nullptr);
    EXPECT_TRUE(logo->NeedsLongDesc());
    EXPECT_EQ(logo->AltTexts(), std::vector<std::string>{"Logo"});
    ASSERT_EQ(logo->LongDescs().size(), 1u);
    EXPECT_EQ(logo->LongDescs()[0]->Text(), "  Two\nlines  ");

    const CSrcDocument* page = registry.FindDocument("page.html");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Title(), "Home");
    EXPECT_TRUE(page->FramesNeedDescription());
    const CSrcAsciiArt* art = registry.FindAsciiArt("page.html", "a1");
    ASSERT_NE(art, nullptr);
    EXPECT_TRUE(art->IsDescribed());
    EXPECT_FALSE(art->HasSkipOverLink());
    ASSERT_EQ(art->LongDescs().size(), 1u);
    EXPECT_EQ(art->LongDescs()[0]->Value(), "art.html");
    const CSrcTable* table = registry.FindTable("page.html", "t1");
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->IsLayout());
    EXPECT_TRUE(table->RowHeaders());
    EXPECT_FALSE(table->ColumnHeaders());
    EXPECT_TRUE(table->RowHeaderAbbreviations());
    EXPECT_FALSE(table->ColumnHeaderAbbreviations());
    EXPECT_TRUE(table->Linearize());
    ASSERT_EQ(page->ImageMaps().size(), 1u);
    EXPECT_TRUE(page->ImageMaps()[0]->HasTextLinks());
    ASSERT_NE(registry.FindApplet("page.html", "Clock.class"), nullptr);
    EXPECT_TRUE(registry.FindApplet("page.html", "Clock.class")->IsDescribed());
    ASSERT_NE(registry.FindLink("page.html", "new.html"), nullptr);
    EXPECT_TRUE(registry.FindLink("page.html", "new.html")->HasWarning());
}

// --- The reader of the written layout -------------------------------------------

// The records the XML reader finds in the bytes, written out; empty when it refuses them.
std::string ReadByTheXmlReader(std::string_view bytes)
{
    platform::CXmlDocument xml;
    if (!xml.LoadBytes(bytes) || !IsRegistryRoot(*xml.Root()))
        return {};
    CSrcObjectDatabase registry("unused.xml");
    ReadRegistry(*xml.Root(), registry, xml.DeclaredEncoding());
    return RegistryText(registry);
}

// The same by the reader of the written layout; nothing when it leaves the bytes to the XML reader.
std::optional<std::string> ReadByLines(std::string_view bytes)
{
    CSrcObjectDatabase registry("unused.xml");
    if (!ReadRegistryLines(bytes, registry))
        return std::nullopt;
    return RegistryText(registry);
}

TEST_F(ObjectRegistryTest, TheWrittenLayoutIsReadWithoutTheXmlReaderToTheSameRecords)
{
    // Everything the writer writes, with values that need escaping, and keys met twice.
    CSrcObjectDatabase written(RegistryPath());
    auto image = std::make_unique<CSrcImage>("caf\xc3\xa9 & \"logo\".gif");
    image->AddAltText("a <b> ]]> 'c'\ttab\nline\rcr");
    image->AddLongDesc(std::make_unique<CSrcLongDesc>("logo.html", "  Two\nlines ]]> and\r\na return  "));
    image->SetNeedsLongDesc(true);
    written.AddImage(std::move(image));
    for (const char* name : {"b/page.html", "a/page.html"}) {
        CSrcDocument* page = written.DocumentFor(name);
        page->SetTitle("Fahrpl\xc3\xa4ne \xe2\x80\x94 \xf0\x9f\x9a\x86");
        page->SetFramesNeedDescription(false);
        auto table = std::make_unique<CSrcTable>("d41d8cd98f00b204e9800998ecf8427e");
        table->SetLayout(true);
        table->SetLinearize(true);
        page->AddTable(std::move(table));
        auto art = std::make_unique<CSrcAsciiArt>("art");
        art->AddLongDesc(std::make_unique<CSrcLongDesc>("art.html", "a picture"));
        page->AddAsciiArt(std::move(art));
        page->AddApplet(std::make_unique<CSrcApplet>("Clock.class"));
        page->AddLink(std::make_unique<CSrcLink>("new.html?a=1&b=2"));
        page->AddImageMap(std::make_unique<CSrcImageMap>("nav"));
        auto inPage = std::make_unique<CSrcImage>("map.gif");
        inPage->AddAltText("Map");
        page->AddImage(std::move(inPage));
        page->RecordJudgement({"CheckFlicker", "9e107d9d372bb6826bd81d3542a419d6", "nothing flickers", "alice", "2026-12-01"});
        page->RecordJudgement({"UsingColor", "page", "warnings considered", "", ""});
    }
    const std::string text = RegistryText(written);
    const std::string twice = text.substr(0, text.size() - 7) + text.substr(text.find("<document"));

    for (const std::string& bytes : {text, twice}) {
        const std::optional<std::string> byLines = ReadByLines(bytes);
        ASSERT_TRUE(byLines.has_value()) << bytes;
        EXPECT_EQ(*byLines, ReadByTheXmlReader(bytes));
    }
    EXPECT_EQ(ReadByLines(text), text);

    // Bytes laid out otherwise are the XML reader's, which reads them as ever
    // (or refuses them); the reader of the layout never reads them otherwise.
    auto replaced = [&](std::string_view from, std::string_view to) {
        std::string changed = text;
        changed.replace(changed.find(from), from.size(), to);
        return changed;
    };
    const std::string elsewhere[] = {
        replaced("encoding=\"UTF-8\"", "encoding=\"ISO-8859-1\""),
        replaced("<root>\n", "<root>\n<!-- kept by hand -->\n"),
        replaced("<root>\n", "<root>\n<unknown a=\"b\" />\n"),
        replaced("<document", "<DOCUMENT"),
        replaced("\n<alt", "\r\n<alt"),
        replaced(" needlongdesc", "\nneedlongdesc"),
        replaced("<applet id", "<applet  id"),
        replaced("title=", "filename=\"x\" title="),
        replaced("&amp;", "&nbsp;"),
        replaced("&amp;", "&#1;"),
        replaced("&amp;", "&"),
        replaced("<![CDATA[  Two", "<![CDATA[]]><![CDATA[  Two"),
        replaced("]]>\n</longdesc>", "]]>&#13;\n</longdesc>"),
        replaced("</longdesc>", "text</longdesc>"),
        replaced("</document>", "</documen>"),
        replaced("</root>", "</root>\n<root>"),
        replaced("Fahrpl\xc3\xa4ne", "Fahrpl\xe4ne"),
        text.substr(0, text.size() - 1),
        "\xef\xbb\xbf" + text,
    };
    for (const std::string& bytes : elsewhere) {
        SCOPED_TRACE(bytes);
        EXPECT_FALSE(ReadByLines(bytes).has_value());
    }
    // Loading takes either way to the same registry, or says the file is damaged.
    for (const std::string& bytes : elsewhere) {
        WriteFile(RegistryPath(), bytes);
        CSrcObjectDatabase registry(RegistryPath());
        const std::string byXml = ReadByTheXmlReader(bytes);
        EXPECT_EQ(registry.Load(), byXml.empty() ? 0 : 1) << bytes;
        if (!byXml.empty()) {
            EXPECT_EQ(RegistryText(registry), byXml);
        }
    }
}

TEST_F(ObjectRegistryTest, MissingAttributesReadAsEmptyAndFalse)
{
    WriteFile(RegistryPath(), Registry("<image><alt /></image>\n"
                                       "<document><table /><link /><applet /></document>\n"));
    CSrcObjectDatabase registry(RegistryPath());
    ASSERT_EQ(registry.Load(), 1);
    const CSrcImage* image = registry.FindImage("");
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->NeedsLongDesc());
    EXPECT_EQ(image->AltTexts(), std::vector<std::string>{""});
    const CSrcDocument* document = registry.FindDocument("");
    ASSERT_NE(document, nullptr);
    EXPECT_FALSE(document->FramesNeedDescription());
    ASSERT_EQ(document->Tables().size(), 1u);
    EXPECT_FALSE(document->Tables()[0]->IsLayout());
    EXPECT_FALSE(document->Links()[0]->HasWarning());
    EXPECT_FALSE(document->Applets()[0]->IsDescribed());
}

TEST_F(ObjectRegistryTest, DuplicateKeysInTheFileAreMergedOrDropped)
{
    WriteFile(RegistryPath(),
              Registry("<image filename=\"a.gif\" needlongdesc=\"false\"><alt value=\"One\" />"
                       "<longdesc value=\"a.html\"><![CDATA[first]]></longdesc></image>\n"
                       "<image filename=\"x/a.gif\" needlongdesc=\"true\"><alt value=\"ONE\" /><alt value=\"Two\" />"
                       "<longdesc value=\"A.HTML\"><![CDATA[second]]></longdesc>"
                       "<longdesc value=\"b.html\" /></image>\n"
                       "<document filename=\"p.html\" framesneeddescription=\"false\" title=\"First\">"
                       "<table id=\"t\" type=\"layout\" /><table id=\"t\" type=\"data\" />"
                       "<table id=\"\" /><table id=\"\" />"
                       "<applet id=\"c\" described=\"true\" /><applet id=\"c\" described=\"false\" />"
                       "<link href=\"l\" haswarning=\"true\" /><link href=\"l\" haswarning=\"false\" />"
                       "<ascii_art id=\"r\" described=\"true\" /><ascii_art id=\"r\" described=\"false\" />"
                       "<imagemap title=\"m\" /><imagemap title=\"m\" />"
                       "</document>\n"
                       "<document filename=\"p.html\" title=\"Second\"><link href=\"other\" /></document>\n"));
    CSrcObjectDatabase registry(RegistryPath());
    ASSERT_EQ(registry.Load(), 1);
    EXPECT_FALSE(CSrcObjectDatabase::IsChanged());

    ASSERT_EQ(registry.Images().size(), 1u);
    const CSrcImage& image = *registry.Images()[0];
    EXPECT_FALSE(image.NeedsLongDesc());
    EXPECT_EQ(image.AltTexts(), (std::vector<std::string>{"One", "Two"}));
    ASSERT_EQ(image.LongDescs().size(), 2u);
    EXPECT_EQ(image.LongDescs()[0]->Text(), "first");
    EXPECT_EQ(image.LongDescs()[1]->Value(), "b.html");

    ASSERT_EQ(registry.Documents().size(), 1u);
    const CSrcDocument& page = *registry.Documents()[0];
    EXPECT_EQ(page.Title(), "First");
    EXPECT_EQ(page.Tables().size(), 3u);
    EXPECT_TRUE(page.FindTable("t")->IsLayout());
    EXPECT_EQ(page.Applets().size(), 1u);
    EXPECT_TRUE(page.Applets()[0]->IsDescribed());
    EXPECT_EQ(page.Links().size(), 1u);
    EXPECT_TRUE(page.Links()[0]->HasWarning());
    EXPECT_EQ(page.AsciiArts().size(), 1u);
    EXPECT_TRUE(page.AsciiArts()[0]->IsDescribed());
    EXPECT_EQ(page.ImageMaps().size(), 2u);
    EXPECT_EQ(registry.FindLink("p.html", "other"), nullptr);
}

TEST_F(ObjectRegistryTest, AMissingFileLeavesTheRegistryEmptyAndNotLoaded)
{
    CSrcObjectDatabase registry(RegistryPath());
    EXPECT_EQ(registry.Load(), 0);
    EXPECT_FALSE(registry.IsLoaded());
    // A later save writes a file holding only what was added.
    registry.AddImage(std::make_unique<CSrcImage>("a.gif"));
    test::CPromptCapture capture;
    EXPECT_EQ(registry.Save(), 1);
    EXPECT_TRUE(capture.prompt.messages.empty());
    EXPECT_EQ(ReadFileBytes(RegistryPath()),
              Registry("<image filename=\"a.gif\" needlongdesc=\"true\"></image>\n"));
}

TEST_F(ObjectRegistryTest, BrokenFilesDoNotLoad)
{
    const std::string whole = Registry("<image filename=\"a.gif\" needlongdesc=\"true\"></image>\n");
    const std::string broken[] = {
        "",
        whole.substr(0, whole.size() / 2),             // truncated
        "ObjectRegistry: not XML at all\n",
        Registry("<image filename=\"a&b.gif\" />\n"),  // an unescaped ampersand
        Registry("<image filename=\"a.gif\">\n"),      // unclosed
        "<?xml version=\"1.0\"?>\n<registry><image filename=\"a.gif\" /></registry>",  // another root
    };
    for (const std::string& bytes : broken) {
        WriteFile(RegistryPath(), bytes);
        CSrcObjectDatabase registry(RegistryPath());
        EXPECT_EQ(registry.Load(), 0) << bytes;
        EXPECT_FALSE(registry.IsLoaded());
        EXPECT_TRUE(registry.Images().empty());
    }
}

// --- Saving -------------------------------------------------------------------

TEST_F(ObjectRegistryTest, SavingWritesOnlyWhenSomethingChanged)
{
    CSrcObjectDatabase registry(RegistryPath());
    registry.Load();
    EXPECT_EQ(registry.Save(), 1);
    EXPECT_FALSE(std::filesystem::exists(RegistryPath()));

    registry.AddImage(std::make_unique<CSrcImage>("a.gif"));
    EXPECT_EQ(registry.Save(), 1);
    EXPECT_FALSE(CSrcObjectDatabase::IsChanged());
    EXPECT_TRUE(std::filesystem::exists(RegistryPath()));
    // No temporary file is left beside it.
    EXPECT_EQ(CountFiles(Folder(), ""), 1);
}

TEST_F(ObjectRegistryTest, HostileValuesComeBackUnchanged)
{
    const std::string hostile[] = {
        "say \"hi\"",      "<b>bold</b>", "fish & chips", "a]]>b", "]]>", "]]]>>", "caf\xc3\xa9 \xc3\xbc\xc3\xbf\xe2\x82\xac\xc5\x81",
        "",                "'single'",    "&amp;",        "tab\there", "two\nlines", "cr\r\nlf", "\r", "   ",
        "<![CDATA[x]]>",   "-->",         "<!-- x -->",   "?>",     "\n",   "\t",   "\r\r\n\n",
    };
    CSrcObjectDatabase out(RegistryPath());
    out.Load();
    int n = 0;
    for (const std::string& value : hostile) {
        std::string key = value + "#" + std::to_string(n++);
        auto image = std::make_unique<CSrcImage>(key);
        image->AddAltText(value);
        image->AddLongDesc(std::make_unique<CSrcLongDesc>(value, value));
        out.AddImage(std::move(image));
        std::string document = "doc " + key;
        auto page = std::make_unique<CSrcDocument>(document);
        page->SetTitle(value);
        out.AddDocument(std::move(page));
        out.AddTable(std::make_unique<CSrcTable>(value), document);
        out.AddApplet(std::make_unique<CSrcApplet>(value), document);
        out.AddLink(std::make_unique<CSrcLink>(value), document);
        auto art = std::make_unique<CSrcAsciiArt>(value);
        art->AddLongDesc(std::make_unique<CSrcLongDesc>(value, value));
        out.AddAsciiArt(std::move(art), document);
        out.AddImageMap(std::make_unique<CSrcImageMap>(value), document);
    }
    ASSERT_EQ(out.Save(), 1);

    CSrcObjectDatabase in(RegistryPath());
    ASSERT_EQ(in.Load(), 1);
    n = 0;
    for (const std::string& value : hostile) {
        SCOPED_TRACE(::testing::PrintToString(value));
        std::string key = value + "#" + std::to_string(n++);
        const CSrcImage* image = in.FindImage(key);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->AltTexts(), std::vector<std::string>{value});
        ASSERT_EQ(image->LongDescs().size(), 1u);
        EXPECT_EQ(image->LongDescs()[0]->Value(), value);
        EXPECT_EQ(image->LongDescs()[0]->Text(), value);
        std::string document = "doc " + key;
        const CSrcDocument* page = in.FindDocument(document);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->Title(), value);
        if (!value.empty()) {
            EXPECT_NE(in.FindTable(document, value), nullptr);
        }
        EXPECT_NE(in.FindApplet(document, value), nullptr);
        EXPECT_NE(in.FindLink(document, value), nullptr);
        const CSrcAsciiArt* art = in.FindAsciiArt(document, value);
        ASSERT_NE(art, nullptr);
        ASSERT_EQ(art->LongDescs().size(), 1u);
        EXPECT_EQ(art->LongDescs()[0]->Text(), value);
        ASSERT_EQ(page->ImageMaps().size(), 1u);
        EXPECT_EQ(page->ImageMaps()[0]->Title(), value);
    }
    // Written again, the file is the same byte for byte.
    EXPECT_EQ(RegistryText(in), ReadFileBytes(RegistryPath()));
}

TEST_F(ObjectRegistryTest, ControlCharactersXmlCannotHoldAreLeftOutNotFatal)
{
    CSrcObjectDatabase out(RegistryPath());
    auto image = std::make_unique<CSrcImage>("a.gif");
    image->AddAltText(std::string("bell\x07 and nul", 14) + '\0');
    image->AddLongDesc(std::make_unique<CSrcLongDesc>("d.html", "esc\x1b]]\x01>\xEF\xBF\xBE"));
    image->AddAltText("not\xEF\xBF\xBF a character");
    out.AddImage(std::move(image));
    ASSERT_EQ(out.Save(), 1);
    CSrcObjectDatabase in(RegistryPath());
    ASSERT_EQ(in.Load(), 1);
    EXPECT_EQ(in.FindImage("a.gif")->AltTexts(), (std::vector<std::string>{"bell and nul", "not a character"}));
    EXPECT_EQ(in.FindImage("a.gif")->LongDescs()[0]->Text(), "esc]]>");
}

// Bytes a caller took from a page without decoding them would make a file
// no parser reads: they are kept as windows-1252 reads them.
TEST_F(ObjectRegistryTest, BytesThatAreNotUtf8AreWrittenAsWindows1252)
{
    CSrcObjectDatabase out(RegistryPath());
    auto image = std::make_unique<CSrcImage>("gr\xf6\xdf" "e.gif");
    image->AddAltText("Gr\xf6\xdf" "e \x80");
    image->AddLongDesc(std::make_unique<CSrcLongDesc>("d.html", "\xfc"));
    out.AddImage(std::move(image));
    ASSERT_EQ(out.Save(), 1);
    EXPECT_TRUE(ReadFileBytes(RegistryPath()).starts_with(kHeader));
    CSrcObjectDatabase in(RegistryPath());
    ASSERT_EQ(in.Load(), 1);
    const CSrcImage* known = in.FindImage("gr\xc3\xb6\xc3\x9f" "e.gif");
    ASSERT_NE(known, nullptr);
    EXPECT_EQ(known->AltTexts(), std::vector<std::string>{"Gr\xc3\xb6\xc3\x9f" "e \xe2\x82\xac"});
    EXPECT_EQ(known->LongDescs()[0]->Text(), "\xc3\xbc");
}

// An older version declared ISO-8859-1 and wrote each text's bytes as they
// came in: Latin-1 (read as windows-1252) from pages, references and all,
// UTF-8 from the keyboard.
// Each text is read as what it was, whatever else the file holds, and the
// file is written again in UTF-8.
TEST_F(ObjectRegistryTest, AnOlderFileIsReadAsWhatItsTextsWere)
{
    WriteFile(RegistryPath(),
              LegacyRegistry("<image filename=\"gr\xf6\xdf" "e.gif\" needlongdesc=\"true\">\n"
                             "<alt value=\"Gr\xf6\xdf" "e \x80 5\" />\n"
                             "<alt value=\"Gr\xc3\xb6\xc3\x9f" "e, getippt\" />\n"
                             "<alt value=\"Gr&amp;ouml;&amp;szlig;e &amp;amp; mehr\" />\n"
                             "<longdesc value=\"karte.html\">\n<![CDATA[Stra\xc3\x9f" "e \xa0]]>\n</longdesc>\n"
                             "</image>\n"
                             "<document filename=\"seite.html\" framesneeddescription=\"true\" title=\"F\xe4hre\">\n"
                             "<judgement check=\"c\" key=\"k\" verdict=\"gepr\xc3\xbc" "ft\" by=\"J\xfcrgen\" />\n"
                             "</document>\n"));
    CSrcObjectDatabase in(RegistryPath());
    ASSERT_EQ(in.Load(), 1);
    const CSrcImage* image = in.FindImage("gr\xc3\xb6\xc3\x9f" "e.gif");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->AltTexts(), (std::vector<std::string>{"Gr\xc3\xb6\xc3\x9f" "e \xe2\x82\xac 5",
                                                           "Gr\xc3\xb6\xc3\x9f" "e, getippt",
                                                           "Gr\xc3\xb6\xc3\x9f" "e & mehr"}));
    ASSERT_EQ(image->LongDescs().size(), 1u);
    // One text is read whole one way: the no-break space makes it Latin-1.
    EXPECT_EQ(image->LongDescs()[0]->Text(), "Stra\xc3\x83\xc5\xb8" "e \xc2\xa0");
    const CSrcDocument* page = in.FindDocument("seite.html");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Title(), "F\xc3\xa4hre");
    ASSERT_EQ(page->Judgements().size(), 1u);
    EXPECT_EQ(page->Judgements()[0]->verdict, "gepr\xc3\xbc" "ft");
    EXPECT_EQ(page->Judgements()[0]->by, "J\xc3\xbcrgen");

    SetRegistryChanged(true);
    ASSERT_EQ(in.Save(), 1);
    const std::string written = ReadFileBytes(RegistryPath());
    EXPECT_TRUE(written.starts_with(kHeader));
    EXPECT_NE(written.find("<alt value=\"Gr\xc3\xb6\xc3\x9f" "e \xe2\x82\xac 5\" />"), std::string::npos);
    CSrcObjectDatabase again(RegistryPath());
    ASSERT_EQ(again.Load(), 1);
    EXPECT_EQ(RegistryText(again), written);
}

TEST_F(ObjectRegistryTest, AnUnreadableFileIsSetAsideBeforeItIsReplaced)
{
    const std::string broken = "<?xml version=\"1.0\"?>\n<root><image filename=\"a&b\"></root>";
    WriteFile(RegistryPath(), broken);
    CSrcObjectDatabase registry(RegistryPath());
    EXPECT_EQ(registry.Load(), 0);
    registry.AddImage(std::make_unique<CSrcImage>("new.gif"));

    test::CPromptCapture capture;
    EXPECT_EQ(registry.Save(), 1);
    ASSERT_EQ(CountFiles(Folder(), "ObjectRegistry.xml.unreadable-"), 1);
    for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
        if (entry.path().filename().string().rfind("ObjectRegistry.xml.unreadable-", 0) == 0) {
            EXPECT_EQ(ReadFileBytes(entry.path().string()), broken);
        }
    }
    ASSERT_EQ(capture.prompt.messages.size(), 1u);
    EXPECT_EQ(capture.prompt.messages[0].icon, platform::PromptIcon::Exclamation);

    CSrcObjectDatabase reread(RegistryPath());
    ASSERT_EQ(reread.Load(), 1);
    EXPECT_NE(reread.FindImage("new.gif"), nullptr);
    // The next save replaces a file that was read; nothing more is set aside or said.
    reread.AddImage(std::make_unique<CSrcImage>("more.gif"));
    EXPECT_EQ(reread.Save(), 1);
    EXPECT_EQ(CountFiles(Folder(), "ObjectRegistry.xml.unreadable-"), 1);
    EXPECT_EQ(capture.prompt.messages.size(), 1u);
}

TEST_F(ObjectRegistryTest, AFolderInPlaceOfTheFileIsSetAsideToo)
{
    std::filesystem::create_directories(RegistryPath() + "/inside");
    CSrcObjectDatabase registry(RegistryPath());
    EXPECT_EQ(registry.Load(), 0);
    registry.AddImage(std::make_unique<CSrcImage>("a.gif"));
    test::CPromptCapture capture;
    EXPECT_EQ(registry.Save(), 1);
    EXPECT_EQ(CountFiles(Folder(), "ObjectRegistry.xml.unreadable-"), 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(RegistryPath()));
}

TEST_F(ObjectRegistryTest, ASaveThatCannotBeWrittenReportsFailureAndStaysChanged)
{
    // A folder below a plain file can never be made, whoever runs the test.
    WriteFile(PathOf("plain"), "x");
    CSrcObjectDatabase registry(PathOf("plain") + "/ObjectRegistry.xml");
    registry.Load();
    registry.AddImage(std::make_unique<CSrcImage>("a.gif"));
    test::CPromptCapture capture;
    EXPECT_EQ(registry.Save(), 0);
    EXPECT_TRUE(CSrcObjectDatabase::IsChanged());
    EXPECT_TRUE(capture.prompt.messages.empty());
    EXPECT_EQ(ReadFileBytes(PathOf("plain")), "x");
}

TEST_F(ObjectRegistryTest, AFailedSaveLeavesTheOldFileWhole)
{
    const std::string old = Registry("<image filename=\"old.gif\" needlongdesc=\"true\"></image>\n");
    WriteFile(RegistryPath(), old);
    CSrcObjectDatabase registry(RegistryPath());
    ASSERT_EQ(registry.Load(), 1);
    registry.AddImage(std::make_unique<CSrcImage>("new.gif"));
    // A folder stands where the new file is written first: the save fails,
    // for root as for anyone.
    ASSERT_TRUE(std::filesystem::create_directory(platform::TemporaryPathFor(RegistryPath())));
    EXPECT_EQ(registry.Save(), 0);
    EXPECT_TRUE(CSrcObjectDatabase::IsChanged());
    EXPECT_EQ(ReadFileBytes(RegistryPath()), old);
}

} // namespace
} // namespace orvane
