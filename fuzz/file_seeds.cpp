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

} // namespace orvane::fuzz
