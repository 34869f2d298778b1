#include "registry_line_reader.h"

#include "object_database.h"
#include "registry_records.h"

#include "library/html/page_encoding.h"
#include "library/html/text_util.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace orvane {
namespace {

// Bytes the XML reader would refuse, or read otherwise than as they stand: C0
// controls (a carriage return too, which XML folds into a line feed), U+FFFE,
// U+FFFF and UTF-16 surrogates written as UTF-8.
bool HasBytesToLeaveToTheXmlReader(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte < 0x20 && byte != '\t' && byte != '\n')
            return true;
        if (byte == 0xEF && at + 2 < bytes.size() && bytes[at + 1] == '\xBF' &&
            (bytes[at + 2] == '\xBE' || bytes[at + 2] == '\xBF'))
            return true;
        if (byte == 0xED && at + 1 < bytes.size() && static_cast<unsigned char>(bytes[at + 1]) >= 0xA0)
            return true;
    }
    return !IsValidUtf8(bytes);
}

bool IsXmlChar(std::uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendUtf8(std::string& out, std::uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The reference at the start of text ("&amp;", "&#13;", "&#x2014;") appended
// as its character; its length, or 0 for anything else.
std::size_t AppendReference(std::string_view text, std::string& out)
{
    const std::size_t end = text.find(';');
    if (end == std::string_view::npos || end < 2 || end > 12)
        return 0;
    const std::string_view name = text.substr(1, end - 1);
    static constexpr std::array<std::pair<std::string_view, char>, 5> kNamed{
        {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}}};
    for (const auto& [known, c] : kNamed) {
        if (name == known) {
            out += c;
            return end + 1;
        }
    }
    if (name[0] != '#' || name.size() < 2)
        return 0;
    const bool hex = name[1] == 'x';
    std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty())
        return 0;
    std::uint32_t code = 0;
    for (char d : digits) {
        int value = -1;
        if (d >= '0' && d <= '9')
            value = d - '0';
        else if (hex && d >= 'a' && d <= 'f')
            value = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F')
            value = d - 'A' + 10;
        if (value < 0)
            return 0;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
        if (code > 0x10FFFF)
            return 0;
    }
    if (!IsXmlChar(code))
        return 0;
    AppendUtf8(out, code);
    return end + 1;
}

bool IsNameChar(char c) { return (c >= 'a' && c <= 'z') || c == '_'; }

// One start tag: its name and attributes, values with their references resolved.
struct Tag {
    static constexpr std::size_t kMaxAttributes = 8;
    std::string_view name;
    std::array<std::string_view, kMaxAttributes> names;
    std::array<std::string, kMaxAttributes> values;
    std::size_t count = 0;
    bool closed = false;  // written as "<name ... />"

    // The value of the attribute, empty when missing; each is taken once.
    std::string Take(std::string_view attribute)
    {
        for (std::size_t i = 0; i < count; ++i) {
            if (names[i] == attribute)
                return std::move(values[i]);
        }
        return {};
    }
    bool Flag(std::string_view attribute)
    {
        for (std::size_t i = 0; i < count; ++i) {
            if (names[i] == attribute)
                return EqualsIgnoreCase(values[i], "true");
        }
        return false;
    }
};

class CLineReader {
public:
    explicit CLineReader(std::string_view text) : m_text(text) {}

    bool Read(CSrcObjectDatabase& database)
    {
        if (!Skip("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") &&
            !Skip("<?xml version=\"1.0\" encoding=\"utf-8\"?>"))
            return false;
        SkipLayout();
        if (!Skip("<root>"))
            return false;
        Tag tag;
        for (;;) {
            bool ended = false;
            if (!NextChild(tag, "root", ended))
                return false;
            if (ended)
                break;
            if (tag.name == "image") {
                std::unique_ptr<CSrcImage> image = ReadImage(tag);
                if (!image)
                    return false;
                database.AddImage(std::move(image));
            } else if (tag.name == "document") {
                std::unique_ptr<CSrcDocument> document = ReadDocument(tag);
                if (!document)
                    return false;
                database.AddDocument(std::move(document));
            } else {
                return false;
            }
        }
        SkipLayout();
        return m_at == m_text.size();
    }

private:
    bool Skip(std::string_view expected)
    {
        if (m_text.substr(m_at, expected.size()) != expected)
            return false;
        m_at += expected.size();
        return true;
    }

    void SkipLayout()
    {
        while (m_at < m_text.size() && (m_text[m_at] == '\n' || m_text[m_at] == ' ' || m_text[m_at] == '\t'))
            ++m_at;
    }

    std::string_view Name()
    {
        const std::size_t start = m_at;
        while (m_at < m_text.size() && IsNameChar(m_text[m_at]))
            ++m_at;
        return m_text.substr(start, m_at - start);
    }

    bool ReadValue(std::string& value)
    {
        value.clear();
        for (;;) {
            const std::size_t stop = m_text.find_first_of("\"&<\t\n", m_at);
            if (stop == std::string_view::npos)
                return false;
            value.append(m_text.substr(m_at, stop - m_at));
            m_at = stop;
            if (m_text[m_at] == '"') {
                ++m_at;
                return true;
            }
            if (m_text[m_at] != '&')
                return false;
            const std::size_t length = AppendReference(m_text.substr(m_at), value);
            if (length == 0)
                return false;
            m_at += length;
        }
    }

    // At '<': the start tag up to its '>' or "/>".
    bool ReadTag(Tag& tag)
    {
        if (!Skip("<"))
            return false;
        tag.name = Name();
        tag.count = 0;
        if (tag.name.empty())
            return false;
        for (;;) {
            if (Skip("/>")) {
                tag.closed = true;
                return true;
            }
            if (Skip(">")) {
                tag.closed = false;
                return true;
            }
            if (!Skip(" "))
                return false;
            // The writer closes an empty element with " />".
            if (Skip("/>")) {
                tag.closed = true;
                return true;
            }
            if (tag.count == Tag::kMaxAttributes)
                return false;
            const std::string_view name = Name();
            if (name.empty() || !Skip("=\""))
                return false;
            for (std::size_t i = 0; i < tag.count; ++i) {
                if (tag.names[i] == name)
                    return false;
            }
            tag.names[tag.count] = name;
            if (!ReadValue(tag.values[tag.count]))
                return false;
            ++tag.count;
        }
    }

    bool SkipEndOf(std::string_view name)
    {
        return Skip("</") && Skip(name) && Skip(">");
    }

    // The next element within the parent, or its end tag (ended); layout
    // between them is passed over.
    bool NextChild(Tag& tag, std::string_view parent, bool& ended)
    {
        SkipLayout();
        if (m_text.substr(m_at, 2) == "</") {
            ended = true;
            return SkipEndOf(parent);
        }
        ended = false;
        return ReadTag(tag);
    }

    // An element that holds nothing, as "<name ... />" or "<name ...></name>".
    bool EndOfEmpty(const Tag& tag)
    {
        if (tag.closed)
            return true;
        SkipLayout();
        return SkipEndOf(tag.name);
    }

    // Its CDATA sections, and the carriage returns kept as references
    // between them; the line breaks that lay the element out are not text.
    std::unique_ptr<CSrcLongDesc> ReadLongDesc(Tag& tag)
    {
        std::string value = tag.Take("value");
        std::string text;
        if (!tag.closed) {
            for (;;) {
                const std::size_t before = m_at;
                SkipLayout();
                const bool laidOut = m_at != before;
                if (Skip("<![CDATA[")) {
                    const std::size_t end = m_text.find("]]>", m_at);
                    // An empty section may be reported apart or not at all
                    // by the XML reader, which joins the text around it.
                    if (end == std::string_view::npos || end == m_at)
                        return nullptr;
                    text.append(m_text.substr(m_at, end - m_at));
                    m_at = end + 3;
                } else if (!laidOut && Skip("&#13;")) {
                    // Only between sections, as written: beside layout the
                    // XML reader would give the two as one text.
                    text += '\r';
                    while (Skip("&#13;"))
                        text += '\r';
                    if (m_at < m_text.size() && m_text[m_at] != '<')
                        return nullptr;
                } else if (SkipEndOf("longdesc")) {
                    break;
                } else {
                    return nullptr;
                }
            }
        }
        return std::make_unique<CSrcLongDesc>(std::move(value), std::move(text));
    }

    std::unique_ptr<CSrcImage> ReadImage(Tag& tag)
    {
        auto image = std::make_unique<CSrcImage>(tag.Take("filename"));
        image->SetNeedsLongDesc(tag.Flag("needlongdesc"));
        if (tag.closed)
            return image;
        Tag child;
        for (;;) {
            bool ended = false;
            if (!NextChild(child, "image", ended))
                return nullptr;
            if (ended)
                return image;
            if (child.name == "alt") {
                if (!EndOfEmpty(child))
                    return nullptr;
                image->AddAltText(child.Take("value"));
            } else if (child.name == "longdesc") {
                std::unique_ptr<CSrcLongDesc> longDesc = ReadLongDesc(child);
                if (!longDesc)
                    return nullptr;
                image->AddLongDesc(std::move(longDesc));
            } else {
                return nullptr;
            }
        }
    }

    std::unique_ptr<CSrcAsciiArt> ReadAsciiArt(Tag& tag)
    {
        std::unique_ptr<CSrcAsciiArt> art = AsciiArtRecord(tag);
        if (tag.closed)
            return art;
        Tag child;
        for (;;) {
            bool ended = false;
            if (!NextChild(child, "ascii_art", ended))
                return nullptr;
            if (ended)
                return art;
            if (child.name != "longdesc")
                return nullptr;
            std::unique_ptr<CSrcLongDesc> longDesc = ReadLongDesc(child);
            if (!longDesc)
                return nullptr;
            art->AddLongDesc(std::move(longDesc));
        }
    }

    std::unique_ptr<CSrcDocument> ReadDocument(Tag& tag)
    {
        auto document = std::make_unique<CSrcDocument>(tag.Take("filename"));
        document->SetTitle(tag.Take("title"));
        document->SetFramesNeedDescription(tag.Flag("framesneeddescription"));
        if (tag.closed)
            return document;
        Tag child;
        for (;;) {
            bool ended = false;
            if (!NextChild(child, "document", ended))
                return nullptr;
            if (ended)
                return document;
            if (child.name == "judgement") {
                if (!EndOfEmpty(child))
                    return nullptr;
                std::string check = child.Take("check");
                std::string key = child.Take("key");
                std::string verdict = child.Take("verdict");
                std::string by = child.Take("by");
                document->RecordJudgement(
                    {std::move(check), std::move(key), std::move(verdict), std::move(by), child.Take("date")});
            } else if (child.name == "table") {
                if (!EndOfEmpty(child))
                    return nullptr;
                document->AddTable(TableRecord(child));
            } else if (child.name == "applet") {
                if (!EndOfEmpty(child))
                    return nullptr;
                document->AddApplet(AppletRecord(child));
            } else if (child.name == "imagemap") {
                if (!EndOfEmpty(child))
                    return nullptr;
                document->AddImageMap(ImageMapRecord(child));
            } else if (child.name == "link") {
                if (!EndOfEmpty(child))
                    return nullptr;
                document->AddLink(LinkRecord(child));
            } else if (child.name == "ascii_art") {
                std::unique_ptr<CSrcAsciiArt> art = ReadAsciiArt(child);
                if (!art)
                    return nullptr;
                document->AddAsciiArt(std::move(art));
            } else if (child.name == "image") {
                std::unique_ptr<CSrcImage> image = ReadImage(child);
                if (!image)
                    return nullptr;
                document->AddImage(std::move(image));
            } else {
                return nullptr;
            }
        }
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

} // namespace

bool ReadRegistryLines(std::string_view bytes, CSrcObjectDatabase& database)
{
    if (HasBytesToLeaveToTheXmlReader(bytes))
        return false;
    return CLineReader(bytes).Read(database);
}

} // namespace orvane
