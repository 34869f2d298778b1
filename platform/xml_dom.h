#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform {

// A parsed XML file as a tree of nodes. Texts come back in UTF-8, the way the
// core holds the user's text, whatever encoding the file declares. Every text
// node is kept, white space only ones included, so character references such
// as "&#13;" survive.

enum class XmlNodeType { Element, Text, CData, Comment, ProcessingInstruction };

struct XmlAttribute {
    std::string name;
    std::string value;
};

class CXmlNode {
public:
    CXmlNode() = default;
    CXmlNode(XmlNodeType type, std::string name, std::string value = {});

    XmlNodeType Type() const { return m_type; }
    bool IsElement() const { return m_type == XmlNodeType::Element; }
    bool IsCharacterData() const { return m_type == XmlNodeType::Text || m_type == XmlNodeType::CData; }

    // The tag name of an element, the target of a processing instruction,
    // "#text", "#cdata-section" or "#comment" for the others.
    const std::string& Name() const { return m_name; }
    // The characters of a text, CDATA or comment node, the data of a processing instruction.
    const std::string& Value() const { return m_value; }

    const std::vector<XmlAttribute>& Attributes() const { return m_attributes; }
    bool HasAttribute(std::string_view name) const;
    // The value of the attribute of that exact name; empty when it is missing.
    std::string Attribute(std::string_view name) const;

    const std::vector<CXmlNode>& Children() const { return m_children; }
    // All character data below the node, in document order.
    std::string Text() const;

    // Used while the tree is built.
    void AddAttribute(std::string name, std::string value);
    void AddChild(CXmlNode child);

private:
    XmlNodeType m_type = XmlNodeType::Element;
    std::string m_name;
    std::string m_value;
    std::vector<XmlAttribute> m_attributes;
    std::vector<CXmlNode> m_children;
};

enum class XmlLoadStatus {
    Loaded,
    Missing,     // no file of that name
    Unreadable,  // there is something, but it cannot be read (a folder, no permission)
    Malformed,   // read, but not well-formed XML
};

class CXmlDocument {
public:
    CXmlDocument() = default;
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Reads and parses a file; on failure the document is empty and *error
    // says why.
    XmlLoadStatus LoadFile(const std::string& path, std::string* error = nullptr);
    // Parses bytes held in memory (the encoding declaration decides how they are decoded).
    bool LoadBytes(std::string_view bytes, std::string* error = nullptr);

    bool IsLoaded() const { return m_root != nullptr; }
    // The nodes at the top level: comments, processing instructions and the root element.
    const std::vector<CXmlNode>& Children() const { return m_children; }
    // The root element; null when nothing is loaded.
    const CXmlNode* Root() const { return m_root; }
    // The encoding the XML declaration names, as written; empty when it
    // names none (the file is then UTF-8 or UTF-16 by its first bytes).
    const std::string& DeclaredEncoding() const { return m_declaredEncoding; }
    void Clear();

    // Deeper nesting than this is refused as malformed, so hostile files
    // cannot exhaust the stack of code that walks the tree.
    static constexpr int kMaxDepth = 1000;

private:
    std::vector<CXmlNode> m_children;
    const CXmlNode* m_root = nullptr;
    std::string m_declaredEncoding;
};

} // namespace orvane::platform
