#include "platform/xml_dom.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QXmlStreamReader>

namespace orvane::platform {
namespace {

std::string ToUtf8(QStringView text) { return text.toUtf8().toStdString(); }

// Builds the tree with the stream reader rather than QDomDocument: the DOM
// builder drops text nodes made only of white space, and with them the
// carriage returns a writer protects as "&#13;".
bool Parse(const QByteArray& bytes, std::vector<CXmlNode>& top, std::string& declaredEncoding, std::string* error)
{
    QXmlStreamReader reader(bytes);
    reader.setNamespaceProcessing(false);
    std::vector<CXmlNode> open;  // the elements started and not yet ended
    auto append = [&](CXmlNode node) {
        if (open.empty())
            top.push_back(std::move(node));
        else
            open.back().AddChild(std::move(node));
    };
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            declaredEncoding = ToUtf8(reader.documentEncoding());
            break;
        case QXmlStreamReader::StartElement: {
            if (open.size() >= static_cast<std::size_t>(CXmlDocument::kMaxDepth)) {
                if (error)
                    *error = "elements are nested too deeply";
                return false;
            }
            CXmlNode element(XmlNodeType::Element, ToUtf8(reader.qualifiedName()));
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                element.AddAttribute(ToUtf8(attribute.qualifiedName()), ToUtf8(attribute.value()));
            open.push_back(std::move(element));
            break;
        }
        case QXmlStreamReader::EndElement: {
            CXmlNode done = std::move(open.back());
            open.pop_back();
            append(std::move(done));
            break;
        }
        case QXmlStreamReader::Characters:
            // White space around the root element belongs to no node.
            if (!open.empty()) {
                bool cdata = reader.isCDATA();
                append(CXmlNode(cdata ? XmlNodeType::CData : XmlNodeType::Text,
                                cdata ? "#cdata-section" : "#text", ToUtf8(reader.text())));
            }
            break;
        case QXmlStreamReader::Comment:
            append(CXmlNode(XmlNodeType::Comment, "#comment", ToUtf8(reader.text())));
            break;
        case QXmlStreamReader::ProcessingInstruction:
            append(CXmlNode(XmlNodeType::ProcessingInstruction, ToUtf8(reader.processingInstructionTarget()),
                            ToUtf8(reader.processingInstructionData())));
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        if (error)
            *error = "line " + std::to_string(reader.lineNumber()) + ", column " +
                     std::to_string(reader.columnNumber()) + ": " + reader.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace

bool CXmlDocument::LoadBytes(std::string_view bytes, std::string* error)
{
    Clear();
    std::vector<CXmlNode> top;
    std::string declaredEncoding;
    if (!Parse(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), top, declaredEncoding, error))
        return false;
    m_declaredEncoding = std::move(declaredEncoding);
    m_children = std::move(top);
    for (const CXmlNode& node : m_children) {
        if (node.IsElement()) {
            m_root = &node;
            break;
        }
    }
    if (!m_root) {
        if (error)
            *error = "there is no root element";
        Clear();
        return false;
    }
    return true;
}

XmlLoadStatus CXmlDocument::LoadFile(const std::string& path, std::string* error)
{
    Clear();
    QFileInfo info(QString::fromStdString(path));
    if (!info.exists()) {
        if (error)
            *error = "there is no such file";
        return XmlLoadStatus::Missing;
    }
    if (info.isDir()) {
        if (error)
            *error = "is a folder";
        return XmlLoadStatus::Unreadable;
    }
    if (!info.isFile()) {
        if (error)
            *error = "is not a regular file";
        return XmlLoadStatus::Unreadable;
    }
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString().toStdString();
        return XmlLoadStatus::Unreadable;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString().toStdString();
        return XmlLoadStatus::Unreadable;
    }
    if (!LoadBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error))
        return XmlLoadStatus::Malformed;
    return XmlLoadStatus::Loaded;
}

} // namespace orvane::platform
