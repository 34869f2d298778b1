#include "registry_reader.h"

#include "object_database.h"
#include "registry_records.h"

#include "library/html/page_encoding.h"
#include "library/html/page_text.h"
#include "library/html/text_util.h"

#include "platform/xml_dom.h"

namespace orvane {
namespace {

using platform::CXmlNode;
using platform::XmlNodeType;

bool Named(const CXmlNode& node, std::string_view name) { return node.IsElement() && EqualsIgnoreCase(node.Name(), name); }

bool Flag(const CXmlNode& node, std::string_view name) { return EqualsIgnoreCase(node.Attribute(name), "true"); }

// An element's attributes as the records read them.
struct NodeFields {
    const CXmlNode& node;
    std::string Take(std::string_view name) const { return node.Attribute(name); }
    bool Flag(std::string_view name) const { return orvane::Flag(node, name); }
};

// White space that only lays the file out, around the CDATA of a description.
bool IsLayout(std::string_view text)
{
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            return false;
    }
    return true;
}

// The description's text: its CDATA sections and the text between them,
// without the line breaks that lay the element out. A carriage return kept
// as a reference between sections is text.
std::string DescriptionText(const CXmlNode& node)
{
    std::string text;
    for (const CXmlNode& child : node.Children()) {
        if (child.Type() == XmlNodeType::CData || (child.Type() == XmlNodeType::Text && !IsLayout(child.Value())))
            text += child.Value();
    }
    return text;
}

std::unique_ptr<CSrcLongDesc> ReadLongDesc(const CXmlNode& node)
{
    return std::make_unique<CSrcLongDesc>(node.Attribute("value"), DescriptionText(node));
}

std::unique_ptr<CSrcImage> ReadImage(const CXmlNode& node)
{
    auto image = std::make_unique<CSrcImage>(node.Attribute("filename"));
    image->SetNeedsLongDesc(Flag(node, "needlongdesc"));
    for (const CXmlNode& child : node.Children()) {
        if (Named(child, "alt"))
            image->AddAltText(child.Attribute("value"));
        else if (Named(child, "longdesc"))
            image->AddLongDesc(ReadLongDesc(child));
    }
    return image;
}

std::unique_ptr<CSrcAsciiArt> ReadAsciiArt(const CXmlNode& node)
{
    NodeFields fields{node};
    std::unique_ptr<CSrcAsciiArt> art = AsciiArtRecord(fields);
    for (const CXmlNode& child : node.Children()) {
        if (Named(child, "longdesc"))
            art->AddLongDesc(ReadLongDesc(child));
    }
    return art;
}

std::unique_ptr<CSrcDocument> ReadDocument(const CXmlNode& node)
{
    auto document = std::make_unique<CSrcDocument>(node.Attribute("filename"));
    document->SetTitle(node.Attribute("title"));
    document->SetFramesNeedDescription(Flag(node, "framesneeddescription"));
    for (const CXmlNode& child : node.Children()) {
        if (Named(child, "ascii_art")) {
            document->AddAsciiArt(ReadAsciiArt(child));
        } else if (Named(child, "applet")) {
            NodeFields fields{child};
            document->AddApplet(AppletRecord(fields));
        } else if (Named(child, "imagemap")) {
            NodeFields fields{child};
            document->AddImageMap(ImageMapRecord(fields));
        } else if (Named(child, "link")) {
            NodeFields fields{child};
            document->AddLink(LinkRecord(fields));
        } else if (Named(child, "table")) {
            NodeFields fields{child};
            document->AddTable(TableRecord(fields));
        } else if (Named(child, "judgement")) {
            document->RecordJudgement({child.Attribute("check"), child.Attribute("key"), child.Attribute("verdict"),
                                       child.Attribute("by"), child.Attribute("date")});
        } else if (Named(child, "image")) {
            // Written with the document, so read back with it.
            document->AddImage(ReadImage(child));
        }
    }
    return document;
}

// Whether an older version took the attribute from a page as it stood, with
// its character references: an image's file name, and its texts and
// description addresses; an applet's code, a link's address and an image
// map's name.
bool IsPageValue(const CXmlNode& node, std::string_view attribute, bool inImage)
{
    if (Named(node, "image"))
        return attribute == "filename";
    if (Named(node, "applet"))
        return attribute == "id";
    if (Named(node, "link"))
        return attribute == "href";
    if (Named(node, "imagemap"))
        return attribute == "title";
    return inImage && (Named(node, "alt") || Named(node, "longdesc")) && attribute == "value";
}

// The element again with every text and attribute value made what an older
// version meant it to be; values it took from pages have their references
// resolved, as a page's text is now kept.
CXmlNode LegacyTextsDecoded(const CXmlNode& node, bool inImage = false)
{
    CXmlNode decoded(node.Type(), node.Name(), LegacyRegistryText(node.Value()));
    for (const platform::XmlAttribute& attribute : node.Attributes()) {
        std::string value = LegacyRegistryText(attribute.value);
        if (IsPageValue(node, attribute.name, inImage))
            value = ResolveCharacterReferences(value, TextPlace::AttributeValue);
        decoded.AddAttribute(attribute.name, std::move(value));
    }
    for (const CXmlNode& child : node.Children())
        decoded.AddChild(LegacyTextsDecoded(child, Named(node, "image")));
    return decoded;
}

} // namespace

bool IsRegistryRoot(const CXmlNode& root) { return Named(root, "root"); }

bool IsLegacyRegistryEncoding(std::string_view declaredEncoding)
{
    for (std::string_view label : {"iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "latin-1", "l1"}) {
        if (EqualsIgnoreCase(declaredEncoding, label))
            return true;
    }
    return false;
}

std::string LegacyRegistryText(std::string_view parsed)
{
    bool nonAscii = false;
    IsValidUtf8(parsed, &nonAscii);
    if (!nonAscii)
        return std::string(parsed);
    // Every character came from one byte of the file, so each is below U+0100.
    std::string bytes;
    bytes.reserve(parsed.size());
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        const auto lead = static_cast<unsigned char>(parsed[i]);
        if (lead < 0x80 || i + 1 >= parsed.size()) {
            bytes += parsed[i];
        } else {
            const auto trail = static_cast<unsigned char>(parsed[++i]);
            bytes += static_cast<char>(((lead & 0x03) << 6) | (trail & 0x3F));
        }
    }
    if (IsValidUtf8(bytes))
        return bytes;
    PageEncoding windows1252;
    windows1252.name = "windows-1252";
    windows1252.writeName = "windows-1252";
    return PageBytesToUtf8(bytes, windows1252);
}

void ReadRegistry(const CXmlNode& root, CSrcObjectDatabase& database, std::string_view declaredEncoding)
{
    if (IsLegacyRegistryEncoding(declaredEncoding)) {
        const CXmlNode decoded = LegacyTextsDecoded(root);
        ReadRegistry(decoded, database);
        return;
    }
    for (const CXmlNode& node : root.Children()) {
        if (Named(node, "image"))
            database.AddImage(ReadImage(node));
        else if (Named(node, "document"))
            database.AddDocument(ReadDocument(node));
    }
}

} // namespace orvane
