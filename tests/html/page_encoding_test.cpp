#include "library/html/html_document.h"
#include "library/html/page_encoding.h"
#include "library/html/page_language.h"
#include "library/html/page_text.h"
#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace orvane {
namespace {

PageEncoding Sniffed(std::string_view page) { return SniffPageEncoding(page); }

PageEncoding Declared(std::string_view label)
{
    return SniffPageEncoding("<html><head><meta charset=\"" + std::string(label) + "\"></head></html>");
}

// The encoding is found as a browser finds it: mark, declaration, content.
TEST(PageEncodingTest, IsFoundAsBrowsersFindIt)
{
    EXPECT_EQ(Sniffed("\xEF\xBB\xBF<p>x").name, "UTF-8");
    EXPECT_EQ(Sniffed("\xFF\xFE<\0p\0").name, "UTF-16LE");
    EXPECT_EQ(Sniffed("\xFE\xFF\0<").name, "UTF-16BE");
    EXPECT_EQ(Sniffed("\xEF\xBB\xBF<meta charset=iso-8859-1>").source, PageEncoding::Source::ByteOrderMark);

    const PageEncoding pragma = Sniffed(
        "<html><head><!-- <meta charset=koi8-r> -->\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=ISO-8859-1\"></head>");
    EXPECT_EQ(pragma.name, "windows-1252");
    EXPECT_EQ(pragma.writeName, "ISO-8859-1");
    EXPECT_EQ(pragma.declared, "ISO-8859-1");
    EXPECT_EQ(pragma.source, PageEncoding::Source::Declaration);

    EXPECT_EQ(Sniffed("<?xml version=\"1.0\" encoding=\"iso-8859-15\"?>\n<html>").name, "ISO-8859-15");
    EXPECT_EQ(Declared("latin1").name, "windows-1252");
    EXPECT_EQ(Declared("us-ascii").writeName, "us-ascii");
    EXPECT_EQ(Declared(" Windows-1252 ").name, "windows-1252");
    EXPECT_EQ(Declared("utf-16").name, "UTF-8") << "a meta read as ASCII cannot mean UTF-16";
    EXPECT_EQ(Declared("shift_jis").name, "Shift_JIS");
    // What the converter would read past is no label to a browser either.
    EXPECT_EQ(Declared("utf\a8").source, PageEncoding::Source::Utf8Content);
    EXPECT_EQ(Declared("utf-8\xFF").source, PageEncoding::Source::Fallback);

    // A declaration past the first 1024 bytes is not looked for.
    EXPECT_EQ(Sniffed("<p>" + std::string(1100, 'x') + "<meta charset=koi8-r>\xE4").name, "windows-1252");
    EXPECT_EQ(Sniffed("<p>Gr\xC3\xB6\xC3\x9F" "e</p>").name, "UTF-8");
    EXPECT_EQ(Sniffed("<p>Gr\xF6\xDF" "e</p>").name, "windows-1252");
    EXPECT_EQ(Sniffed("<p>Gr\xF6\xDF" "e</p>").source, PageEncoding::Source::Fallback);
    // A page of ASCII alone reads the same in any of them: what is written
    // into it beyond ASCII goes as references.
    EXPECT_EQ(Sniffed("<p>plain</p>").writeName, "US-ASCII");
}

TEST(PageEncodingTest, DocumentKnowsItsEncodingAndKeepsItsBytes)
{
    const std::string page = "<html><head><meta charset=\"iso-8859-15\"></head><body><p>\xA4 5</p></body></html>";
    CHtmlDocument document;
    document.Start(1, false);
    std::istringstream in(page);
    ASSERT_EQ(document.Load(in), 1);
    EXPECT_EQ(document.Encoding().name, "ISO-8859-15");
    EXPECT_EQ(document.Text(), page);
    EXPECT_EQ(document.UserText("\xA4 5", TextPlace::ElementText), "\xE2\x82\xAC 5");

    document.Start(1, false);
    ASSERT_EQ(document.AddLine("<p>Gr\xF6\xDF" "e</p>\n"), 1);
    document.Finish();
    EXPECT_EQ(document.Encoding().name, "windows-1252") << "a page taken in anew is looked at anew";
}

// The text the page's language is told from is read the one way: in the
// page's encoding (here one where 0xA4 is the euro sign and 0xBD is oe),
// every named reference resolved, scripts left out.
TEST(PageEncodingTest, TheReadableTextIsThePagesTextDecodedTheOneWay)
{
    const std::string page = "<html><head><meta charset=\"iso-8859-15\"><script>var x = '\xE9';</script></head>"
                             "<body><p>\xBDuvre &agrave; 5 \xA4, &eacute;t&eacute; &#x41;&lt;</p></body></html>";
    CHtmlDocument document;
    document.Start(1, false);
    std::istringstream in(page);
    ASSERT_EQ(document.Load(in), 1);
    const std::string text = ReadableText(document);
    EXPECT_NE(text.find("\xC5\x93uvre \xC3\xA0 5 \xE2\x82\xAC, \xC3\xA9t\xC3\xA9 A<"), std::string::npos) << text;
    EXPECT_EQ(text.find("var"), std::string::npos);
}

// Page bytes to the user's text: decoded, references resolved.
TEST(PageTextTest, PageBytesReachTheUserAsUtf8)
{
    const PageEncoding latin1 = Declared("iso-8859-1");
    const PageEncoding utf8 = Declared("utf-8");
    EXPECT_EQ(PageTextToUser("Gr\xF6\xDF" "e \x80", latin1), "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC");
    EXPECT_EQ(PageTextToUser("\xA4", Declared("iso-8859-15")), "\xE2\x82\xAC");
    EXPECT_EQ(PageTextToUser("Gr&ouml;&szlig;e", latin1), "Gr\xC3\xB6\xC3\x9F" "e");
    EXPECT_EQ(PageTextToUser("Tom &amp; Jerry &#8364; &#x20AC; &#128;", utf8),
              "Tom & Jerry \xE2\x82\xAC \xE2\x82\xAC \xE2\x82\xAC");
    EXPECT_EQ(PageTextToUser("&notin; &notit; &copy &bogus; & &#;", utf8, TextPlace::ElementText),
              "\xE2\x88\x89 \xC2\xAC" "it; \xC2\xA9 &bogus; & &#;");
    EXPECT_EQ(PageTextToUser("a.cgi?x=1&copy=2", utf8), "a.cgi?x=1&copy=2") << "a query string stays";
    EXPECT_EQ(PageTextToUser("a\xFF" "b", utf8), "a\xEF\xBF\xBD" "b") << "nothing but UTF-8 reaches the user";
    EXPECT_EQ(PageTextToUser(std::string("<\0p\0\xE4\0", 6), Sniffed("\xFF\xFE")), "<p\xC3\xA4");
}

// The user's text to page bytes: escaped for its place, in the page's
// encoding, references for what the encoding cannot hold.
TEST(PageTextTest, UserTextReachesThePageInItsEncoding)
{
    const std::string typed = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F \xE2\x82\xAC \xC5\x81 <a & \"b\">";
    EXPECT_EQ(UserTextToPage(typed, Declared("iso-8859-1"), TextPlace::AttributeValue),
              "\xE4\xF6\xFC\xDF &#8364; &#321; <a &amp; \"b\">");
    EXPECT_EQ(UserTextToPage(typed, Declared("windows-1252"), TextPlace::ElementText),
              "\xE4\xF6\xFC\xDF \x80 &#321; &lt;a &amp; \"b\"&gt;");
    EXPECT_EQ(UserTextToPage(typed, Declared("iso-8859-15"), TextPlace::ElementText),
              "\xE4\xF6\xFC\xDF \xA4 &#321; &lt;a &amp; \"b\"&gt;");
    EXPECT_EQ(UserTextToPage(typed, Declared("utf-8"), TextPlace::ElementText),
              "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F \xE2\x82\xAC \xC5\x81 &lt;a &amp; \"b\"&gt;");
    EXPECT_EQ(UserTextToPage("\xC3\xA4", Sniffed("\xFF\xFE"), TextPlace::ElementText), std::string("\xE4\0", 2));
    EXPECT_EQ(UserTextToPage("\xC3\xA4", Sniffed("<p>plain</p>"), TextPlace::ElementText), "&#228;");
    // What was typed reads back as typed, however often it crosses.
    for (const char* label : {"iso-8859-1", "windows-1252", "iso-8859-15", "utf-8", "koi8-r"}) {
        const PageEncoding encoding = Declared(label);
        EXPECT_EQ(PageTextToUser(UserTextToPage(typed, encoding, TextPlace::AttributeValue), encoding), typed) << label;
        EXPECT_EQ(UserTextToPage("&amp; &#8364;", encoding, TextPlace::ElementText), "&amp; &#8364;")
            << label << ": a reference typed on purpose stays one";
    }
}

// Text that replaces bytes of the page keeps them where it reads as they do:
// only what changed is written anew.
TEST(PageTextTest, TheUnchangedPartsOfAChangedTextKeepThePagesBytes)
{
    struct Case {
        const char* label;
        std::string bytes;
        std::string text;
        std::string written;
    };
    const Case cases[] = {
        {"iso-8859-1", "font-family: Sch&#246;ne; width: 600px", "font-family: Sch\xC3\xB6ne; width: 75%",
         "font-family: Sch&#246;ne; width: 75%"},
        {"iso-8859-1", "Sch&ouml;ne \xDF" "ee", "margin-left: 2em; Sch\xC3\xB6ne \xC3\x9F" "ee",
         "margin-left: 2em; Sch&ouml;ne \xDF" "ee"},
        {"iso-8859-1", "Gr&ouml;&szlig;e", "Gr\xC3\xB6\xC3\x9F" "er \xE2\x82\xAC", "Gr&ouml;&szlig;er &#8364;"},
        {"utf-8", "Gr\xC3\xB6\xC3\x9F" "e &amp; mehr", "Gr\xC3\xB6\xC3\x9F" "e & weniger",
         "Gr\xC3\xB6\xC3\x9F" "e &amp; weniger"},
        {"windows-1252", "&#128; \x80", "\xE2\x82\xAC \xE2\x82\xAC \xE2\x82\xAC", "&#128; \x80 \x80"},
        // A reference's name would run on into the letters typed after it: written whole.
        {"iso-8859-1", "&amp", "&ampel", "&amp;ampel"},
        {"iso-8859-1", "", "\xC3\xA4", "\xE4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes + " -> " + c.text);
        const PageEncoding encoding = Declared(c.label);
        const std::string written = UserTextToPageKeeping(c.text, c.bytes, encoding, TextPlace::AttributeValue);
        EXPECT_EQ(written, c.written);
        EXPECT_EQ(PageTextToUser(written, encoding), c.text);
    }
}

TEST(TextCodecTest, ConvertsTheStandardsEncodings)
{
    std::string out;
    for (const char* name : {"windows-1252", "ISO-8859-1", "ISO-8859-15", "windows-874",
                             "windows-1250", "KOI8-U", "macintosh", "MAC-CYRILLIC", "GBK", "gb18030",
                             "BIG5-HKSCS", "EUC-JP", "ISO-2022-JP", "CP932", "CP949", "IBM866", "ISO-8859-16"})
        EXPECT_TRUE(platform::DecodeToUtf8("abc", name, out) && out == "abc") << name;
    EXPECT_FALSE(platform::DecodeToUtf8("abc", "no-such-encoding", out));
    EXPECT_FALSE(platform::KnowsEncoding("no-such-encoding"));
}

} // namespace
} // namespace orvane
