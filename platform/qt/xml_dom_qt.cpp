#include "platform/xml_dom.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QXmlStreamReader>

namespace orvane::platform {
namespace {

std::string ToSingleBytes(QStringView text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i;  // one character outside the single-byte range
        bytes.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    }
    return bytes;
}

// Builds the tree with the stream reader rather than QDomDocument: the DOM
// builder drops text nodes made only of white space, and with them the
// carriage returns a writer protects as "&#13;".
bool Parse(const QByteArray& bytes, std::vector<CXmlNode>& top, std::string* error)
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
        case QXmlStreamReader::StartElement: {
            if (open.size() >= static_cast<std::size_t>(CXmlDocument::kMaxDepth)) {
                if (error)
                    *error = "elements are nested too deeply";
                return false;
            }
            CXmlNode element(XmlNodeType::Element, ToSingleBytes(reader.qualifiedName()));
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                element.AddAttribute(ToSingleBytes(attribute.qualifiedName()), ToSingleBytes(attribute.value()));
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
                                cdata ? "#cdata-section" : "#text", ToSingleBytes(reader.text())));
            }
            break;
        case QXmlStreamReader::Comment:
            append(CXmlNode(XmlNodeType::Comment, "#comment", ToSingleBytes(reader.text())));
            break;
        case QXmlStreamReader::ProcessingInstruction:
            append(CXmlNode(XmlNodeType::ProcessingInstruction, ToSingleBytes(reader.processingInstructionTarget()),
                            ToSingleBytes(reader.processingInstructionData())));
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
    if (!Parse(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), top, error))
        return false;
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
