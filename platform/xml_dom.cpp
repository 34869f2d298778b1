#include "xml_dom.h"

namespace orvane::platform {

CXmlNode::CXmlNode(XmlNodeType type, std::string name, std::string value)
    : m_type(type), m_name(std::move(name)), m_value(std::move(value))
{
}

bool CXmlNode::HasAttribute(std::string_view name) const
{
    for (const XmlAttribute& attribute : m_attributes) {
        if (attribute.name == name)
            return true;
    }
    return false;
}

std::string CXmlNode::Attribute(std::string_view name) const
{
    for (const XmlAttribute& attribute : m_attributes) {
        if (attribute.name == name)
            return attribute.value;
    }
    return {};
}

namespace {

void AppendText(const CXmlNode& node, std::string& out)
{
    for (const CXmlNode& child : node.Children()) {
        if (child.IsCharacterData())
            out += child.Value();
        else if (child.IsElement())
            AppendText(child, out);
    }
}

} // namespace

std::string CXmlNode::Text() const
{
    if (IsCharacterData())
        return m_value;
    std::string text;
    AppendText(*this, text);
    return text;
}

void CXmlNode::AddAttribute(std::string name, std::string value)
{
    m_attributes.push_back({std::move(name), std::move(value)});
}

void CXmlNode::AddChild(CXmlNode child) { m_children.push_back(std::move(child)); }

void CXmlDocument::Clear()
{
    m_children.clear();
    m_root = nullptr;
    m_declaredEncoding.clear();
}

} // namespace orvane::platform
