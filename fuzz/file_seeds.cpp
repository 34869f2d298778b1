#include "file_seeds.h"

namespace orvane::fuzz {

std::vector<std::string> RegistrySeeds()
{
    const std::string head = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n";
    return {
        head + "</root>",
        head +
            "<image filename=\"chart.gif\" needlongdesc=\"true\">\n"
            "<alt value=\"Sales &amp; costs\" />\n<alt value=\"Chart\" />\n"
            "<longdesc value=\"chart.html\">\n<![CDATA[Sales rose <b>twice</b>.]]>&#13;<![CDATA[\n]]>\n</longdesc>\n"
            "</image>\n"
            "<image filename=\"logo.png\" needlongdesc=\"false\"></image>\n"
            "<document filename=\"index.html\" framesneeddescription=\"true\" title=\"Home &quot;page&quot;\">\n"
            "<table id=\"t1\" type=\"data\" rowheaders=\"true\" colheaders=\"false\" rowheaders_abbrev=\"false\" "
            "colheaders_abbrev=\"true\" linearize=\"false\" />\n"
            "<table id=\"t2\" type=\"layout\" rowheaders=\"false\" colheaders=\"false\" rowheaders_abbrev=\"false\" "
            "colheaders_abbrev=\"false\" linearize=\"true\" />\n"
            "<ascii_art id=\"art1\" described=\"true\" skipover_link=\"false\">\n"
            "<longdesc value=\"\">\n<![CDATA[A smiling face]]]]><![CDATA[>]]>\n</longdesc>\n</ascii_art>\n"
            "<imagemap title=\"Navigation\" textlinks=\"true\" />\n"
            "<applet id=\"clock\" described=\"false\"></applet>\n"
            "<link href=\"http://example.org/a?b=1&amp;c=2\" haswarning=\"true\" />\n"
            "</document>\n"
            "<document filename=\"index.html\" framesneeddescription=\"false\"></document>\n"
            "</root>",
        head + "<image filename=\"a.gif\"><alt value=\"tab&#9;line&#10;end\"/></image><unknown/>\n</root>",
        // The layout this version writes, read without the XML reader.
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n"
        "<image filename=\"caf\xc3\xa9.gif\" needlongdesc=\"true\">\n<alt value=\"a &lt;b&gt; &#13;\" />\n"
        "<longdesc value=\"d.html\">\n<![CDATA[two]]>&#13;<![CDATA[\nlines]]]]><![CDATA[>]]>\n</longdesc>\n</image>\n"
        "<document filename=\"a/index.html\" framesneeddescription=\"false\" title=\"Start\">\n"
        "<table id=\"t1\" type=\"layout\" rowheaders=\"false\" colheaders=\"false\" rowheaders_abbrev=\"false\" "
        "colheaders_abbrev=\"false\" linearize=\"true\" />\n"
        "<applet id=\"clock\" described=\"true\"></applet>\n"
        "<judgement check=\"CheckFlicker\" key=\"9e107d9d372bb6826bd81d3542a419d6\" verdict=\"nothing flickers\" "
        "by=\"alice\" date=\"2026-12-01\" />\n"
        "<judgement check=\"UsingColor\" key=\"page\" verdict=\"warnings considered\" />\n"
        "</document>\n<document filename=\"a/index.html\" framesneeddescription=\"true\">\n</document>\n</root>",
        "<ROOT><IMAGE FILENAME=\"a.gif\"/></ROOT>",
        "<?xml version=\"1.0\"?><!DOCTYPE root [<!ENTITY e \"entity\">]><root><document filename=\"&e;\"/></root>",
        "<other/>",
        head + "<image filename=\"a.gif\">",
        "",
    };
}

std::vector<std::string> LanguageCodeSeeds()
{
    return {
        "en,eng,English\nde,deu,German\nfr,fra,French\n",
        "en,eng,English\r\nde,,German\r\n,,\r\n",
        " en , eng ,English, spoken\n\tfr,\tfra,French",
        std::string(250, 'x') + ",yy,Long line\nzz,zzz\n",
        "\n\n,\n,,,\n\r\r\n",
    };
}

std::vector<std::string> SettingsStoreSeeds()
{
    return {
        "[Accessibility\\Orvane]\n"
        "\"FileSaves\"=dword:00000001\n"
        "\"OriginalExtension\"=\".htmlold\"\n"
        "\"ValidateExtension\"=\".htmlvalid\"\n"
        "\"WaiConformance\"=\"AA\"\n"
        "\"InsertIcon\"=dword:00000001\n"
        "\"IconsLocation\"=\"http://example.org/icons\"\n"
        "\"IgnoreRepaired\"=dword:00000000\n"
        "\"ImageDLink\"=dword:00050101\n"
        "\"ImageDLink-1\"=\"text one\"\n"
        "\"ImageDLink-2\"=\"text\\ttwo\\x00after\"\n",
        "; hand edited\n[accessibility\\orvane\\]\n\"filesaves\"=dword:00000103\n\"WaiConformance\"=dword:3\n"
        "\"InsertIcon\"=\"yes\"\n\"Unknown\"=hex:01,02\n[Other\\Key]\n\"Kept\"=\"value\"\n",
        "[Accessibility\\Orvane]\r\n\"WaiConformance\"=\"508\"\r\n\"FileSaves\"=dword:ffffffff\r\n"
        "\"OriginalExtension\"=\"" + std::string(40, 'e') + "\"\r\n",
        "[Accessibility\\Orvane]\n\"IgnoreRepaired\"=dword:1\n[Accessibility\\Orvane]\n\"IgnoreRepaired\"=dword:0\n",
        "[]\n[Accessibility\\Orvane\n\"=\"\n\"\\q\"=\"x\"\n\"a\"=\"unterminated\n",
        "",
    };
}

std::vector<std::string> ImageMapSeeds()
{
    return {
        // NCSA: keyword, URL, then the corners.
        "# NCSA map of the navigation bar\n"
        "default /index.html\n"
        "rect /products.html 0,0 99,49\n"
        "circle /help.html 150,25 150,45\n"
        "poly /contact.html 200,0 250,49 200,49 200,0\n"
        "point /dot.html 7,9\n",
        // CERN: keyword, the corners in parentheses, then the URL; line ends of every kind.
        "rectangle (0,0) (99,49) http://example.org/products.html\r\n"
        "circle (150,25) 20 http://example.org/help.html\r"
        "polygon (200,0) (250,49) (200,49) http://example.org/contact.html\r\n"
        "default http://example.org/\r\n",
        // Lines that continue the area before, quoted URLs, markup characters, tabs.
        "RECT\t\"/a b.html\"\n  10,20\n(30,40)\n/second.html\n"
        "poly /find?a=1&b=<2>&c=\"3\" 1,1,2,2,3,3 \n#comment\n\n",
        // Broken: coordinates before any shape, a token over 200 characters, a
        // circle of five numbers, digits beyond any integer, a lone keyword.
        "10,10 20,20\nrect /long.html " + std::string(210, 'x') + " 1,1 2,2\n"
        "circle /odd.html 1,2,3,4,5\ncircle /big.html 99999999999999999999,1 2,3\nrect\n",
        "# only comments\n# rect /a.html 0,0 1,1\n",
        "",
    };
}

} // namespace orvane::fuzz
