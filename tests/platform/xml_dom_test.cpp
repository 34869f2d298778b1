#include "platform/xml_dom.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvane::platform {
namespace {

std::filesystem::path TestFolder()
{
    const char* home = std::getenv("ORVANE_HOME");
    std::filesystem::path base = home && *home ? std::filesystem::path(home) : std::filesystem::temp_directory_path();
    std::filesystem::path folder = base / "xml-dom-tests" /
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::create_directories(folder);
    return folder;
}

std::string WriteFile(const std::string& name, const std::string& bytes)
{
    std::string path = (TestFolder() / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(XmlDocument, WalksElementsAttributesAndText)
{
    CXmlDocument xml;
    ASSERT_TRUE(xml.LoadBytes("<?xml version=\"1.0\"?>\n<!-- before -->\n<root a=\"1\" b='two'>"
                              "<child>text<![CDATA[<raw>]]></child><?pi data?><!--c--><empty/></root>"));
    ASSERT_EQ(xml.Children().size(), 2u);
    EXPECT_EQ(xml.Children()[0].Type(), XmlNodeType::Comment);
    EXPECT_EQ(xml.Children()[0].Value(), " before ");
    const CXmlNode& root = *xml.Root();
    EXPECT_EQ(root.Name(), "root");
    EXPECT_EQ(root.Attribute("a"), "1");
    EXPECT_EQ(root.Attribute("b"), "two");
    EXPECT_TRUE(root.HasAttribute("b"));
    EXPECT_FALSE(root.HasAttribute("B"));
    EXPECT_EQ(root.Attribute("missing"), "");
    ASSERT_EQ(root.Children().size(), 4u);
    const CXmlNode& child = root.Children()[0];
    ASSERT_EQ(child.Children().size(), 2u);
    EXPECT_EQ(child.Children()[0].Type(), XmlNodeType::Text);
    EXPECT_EQ(child.Children()[0].Name(), "#text");
    EXPECT_EQ(child.Children()[1].Type(), XmlNodeType::CData);
    EXPECT_EQ(child.Text(), "text<raw>");
    EXPECT_EQ(root.Children()[1].Type(), XmlNodeType::ProcessingInstruction);
    EXPECT_EQ(root.Children()[1].Name(), "pi");
    EXPECT_EQ(root.Children()[1].Value(), "data");
    EXPECT_EQ(root.Children()[2].Type(), XmlNodeType::Comment);
    EXPECT_EQ(root.Children()[3].Name(), "empty");
    EXPECT_TRUE(root.Children()[3].Children().empty());
    EXPECT_EQ(root.Text(), "text<raw>");
}

TEST(XmlDocument, ReferencesAndWhiteSpaceAreKept)
{
    CXmlDocument xml;
    ASSERT_TRUE(xml.LoadBytes("<r v=\"a&amp;b&lt;&gt;&quot;&#9;&#10;&#13;\" w=\"x\ny\">\n  <e>&#13;</e>\n</r>"));
    const CXmlNode& root = *xml.Root();
    EXPECT_EQ(root.Attribute("v"), "a&b<>\"\t\n\r");
    // A literal line break in an attribute is a blank to every parser.
    EXPECT_EQ(root.Attribute("w"), "x y");
    ASSERT_EQ(root.Children().size(), 3u);
    EXPECT_EQ(root.Children()[0].Value(), "\n  ");
    EXPECT_EQ(root.Children()[1].Text(), "\r");
}

TEST(XmlDocument, TextComesBackInUtf8AndTheDeclaredEncodingIsKnown)
{
    CXmlDocument latin;
    ASSERT_TRUE(latin.LoadBytes("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"caf\xe9\x80\xff\"><e>\xfc</e></r>"));
    EXPECT_EQ(latin.Root()->Attribute("v"), "caf\xc3\xa9\xc2\x80\xc3\xbf");
    EXPECT_EQ(latin.Root()->Text(), "\xc3\xbc");
    EXPECT_EQ(latin.DeclaredEncoding(), "ISO-8859-1");
    CXmlDocument utf8;
    // e acute, a euro sign and a character beyond the basic plane.
    ASSERT_TRUE(utf8.LoadBytes("<r v=\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\"/>"));
    EXPECT_EQ(utf8.Root()->Attribute("v"), "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80");
    EXPECT_EQ(utf8.DeclaredEncoding(), "");
}

TEST(XmlDocument, PrefixedNamesNeedNoNamespaceDeclaration)
{
    CXmlDocument xml;
    ASSERT_TRUE(xml.LoadBytes("<a:root x:y=\"1\"/>"));
    EXPECT_EQ(xml.Root()->Name(), "a:root");
    EXPECT_EQ(xml.Root()->Attribute("x:y"), "1");
}

TEST(XmlDocument, MalformedInputIsRefusedWithAReason)
{
    const char* inputs[] = {
        "", "   ", "plain text", "<r>", "<r></s>", "<r a=\"1\" a=\"2\"/>", "<r/><r/>", "<r>&undefined;</r>",
        "<r>\x01</r>", "<?xml version=\"1.0\"?>",
    };
    for (const char* input : inputs) {
        CXmlDocument xml;
        std::string error;
        EXPECT_FALSE(xml.LoadBytes(input, &error)) << input;
        EXPECT_FALSE(error.empty()) << input;
        EXPECT_FALSE(xml.IsLoaded());
        EXPECT_EQ(xml.Root(), nullptr);
    }
}

TEST(XmlDocument, DeepNestingIsRefused)
{
    std::string deep;
    for (int i = 0; i < CXmlDocument::kMaxDepth + 1; ++i)
        deep += "<a>";
    for (int i = 0; i < CXmlDocument::kMaxDepth + 1; ++i)
        deep += "</a>";
    CXmlDocument xml;
    EXPECT_FALSE(xml.LoadBytes(deep));
    std::string allowed = deep.substr(3, deep.size() - 7);
    EXPECT_TRUE(xml.LoadBytes(allowed));
}

TEST(XmlDocument, EntityExpansionIsBounded)
{
    std::string bomb = "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">";
    for (char c = 'b'; c <= 'j'; ++c) {
        std::string previous(1, static_cast<char>(c - 1));
        bomb += std::string("<!ENTITY ") + c + " \"";
        for (int i = 0; i < 10; ++i)
            bomb += "&" + previous + ";";
        bomb += "\">";
    }
    bomb += "]><r>&j;</r>";
    CXmlDocument xml;
    EXPECT_FALSE(xml.LoadBytes(bomb));
}

TEST(XmlDocument, FilesTellMissingUnreadableAndMalformedApart)
{
    CXmlDocument xml;
    std::string good = WriteFile("good.xml", "<r><e/></r>");
    EXPECT_EQ(xml.LoadFile(good), XmlLoadStatus::Loaded);
    EXPECT_EQ(xml.Root()->Children().size(), 1u);

    std::string error;
    EXPECT_EQ(xml.LoadFile((TestFolder() / "absent.xml").string(), &error), XmlLoadStatus::Missing);
    EXPECT_FALSE(xml.IsLoaded());
    EXPECT_EQ(xml.LoadFile(TestFolder().string(), &error), XmlLoadStatus::Unreadable);
    EXPECT_EQ(xml.LoadFile(WriteFile("bad.xml", "<r>"), &error), XmlLoadStatus::Malformed);
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace orvane::platform
