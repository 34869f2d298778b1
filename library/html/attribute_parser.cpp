#include "attribute_parser.h"

#include "attribute_table.h"
#include "element.h"
#include "element_arena.h"
#include "text_util.h"

#include <array>
#include <cstdint>

namespace orvane {
namespace {

// Every tag of a page is split here, so the bytes that end names, gaps and
// values are told apart by one table look-up instead of a chain of compares.
enum ByteClass : std::uint8_t {
    kEndsName = 1,
    kGap = 2,
    kEndsUnquotedValue = 4,
    kCarriageReturn = 8,  // a line break, and so all of the above, when a line feed follows
};

constexpr std::array<std::uint8_t, 256> kByteClasses = [] {
    std::array<std::uint8_t, 256> classes{};
    classes[' '] = kEndsName | kGap | kEndsUnquotedValue;
    classes['\t'] = kEndsName | kGap;
    classes['\n'] = kEndsName | kGap | kEndsUnquotedValue;
    classes['='] = kEndsName;
    classes['>'] = kEndsName | kEndsUnquotedValue;
    classes['\r'] = kCarriageReturn;
    return classes;
}();

bool HasClass(std::string_view text, std::size_t i, std::uint8_t wanted)
{
    const std::uint8_t classes = kByteClasses[static_cast<unsigned char>(text[i])];
    if (classes == kCarriageReturn)
        return i + 1 < text.size() && text[i + 1] == '\n';
    return (classes & wanted) != 0;
}

// Whether the name that ended at i gets a value, as Parse goes on to read it.
bool ValueFollows(std::string_view text, std::size_t i)
{
    if (text[i] == '>')
        return false;
    while (i < text.size() && HasClass(text, i, kGap))
        ++i;
    return i < text.size() && text[i] == '=';
}

std::size_t SkipLead(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == '<' || text[i] == ' '))
        ++i;
    return i;
}

} // namespace

std::string_view CAttributeParser::LeadingName(std::string_view text)
{
    const std::size_t start = SkipLead(text);
    std::size_t i = start;
    while (i < text.size() && !HasClass(text, i, kEndsName))
        ++i;
    return i < text.size() ? text.substr(start, i - start) : std::string_view();
}

CAttribute* CAttributeParser::NewAttribute(CElementArena* arena, std::string_view name, bool isFirst, bool borrow)
{
    CAttribute* attribute = arena ? arena->New<CAttribute>() : new CAttribute();
    attribute->m_inArena = arena != nullptr;
    if (borrow) {
        // What Store gives a fresh attribute borrowing its name.
        attribute->m_text = name.data();
        attribute->m_nameSize = static_cast<std::uint32_t>(name.size());
        attribute->m_id = static_cast<std::int16_t>(isFirst ? attr::kOther : AttributeIdOfName(name));
    } else {
        attribute->NameByText(name, isFirst);
    }
    return attribute;
}

void CAttributeParser::SetValue(CAttribute& attribute, std::string_view value, bool borrow)
{
    if (!borrow) {
        attribute.SetValue(value);
        return;
    }
    // The value follows the borrowed name in the same text, well within the
    // 4 GiB an offset holds, as the element's text is no longer.
    attribute.m_valueOffset =
        value.empty() ? 0 : static_cast<std::uint32_t>(value.data() - attribute.m_text);
    attribute.m_valueSize = static_cast<std::uint32_t>(value.size());
    attribute.m_hasValue = true;
}

void CAttributeParser::Parse(CElement& element, CElementArena* arena) const
{
    if (element.Kind() < 0 || element.Text().empty())
        return;
    element.DestroyAttributes();

    const std::string_view text = element.Text();
    const std::size_t n = text.size();
    // Names and values point into the text while it is page text kept in the
    // arena; text a repair set is copied, since it may be replaced.
    const bool borrow = arena && element.InArena() && !element.m_textOwned;
    if (!element.InArena())
        arena = nullptr;

    CAttribute** link = &element.m_firstAttribute;
    std::size_t i = SkipLead(text);
    const std::size_t leadEnd = i;
    bool first = true;
    while (i < n) {
        std::size_t nameStart = i;
        while (i < n && !HasClass(text, i, kEndsName))
            ++i;
        if (i >= n)
            return;  // a name still open at the end of the text is dropped
        CAttribute* attribute = nullptr;
        if (first && i > nameStart && nameStart == leadEnd && !ValueFollows(text, i)) {
            // The element name as LeadingName finds it again.
            element.m_implicitName = true;
            first = false;
        } else if (i > nameStart) {
            attribute = NewAttribute(arena, text.substr(nameStart, i - nameStart), first, borrow);
            *link = attribute;
            link = &attribute->m_next;
            first = false;
        }
        if (text[i] == '>') {
            ++i;
            continue;
        }
        while (i < n && HasClass(text, i, kGap))
            ++i;
        if (i >= n || text[i] != '=')
            continue;  // no value: the next name starts here
        while (i < n && (text[i] == '=' || HasClass(text, i, kGap)))
            ++i;
        std::size_t valueStart;
        std::size_t valueEnd;
        if (i < n && (text[i] == '"' || text[i] == '\'')) {
            char quote = text[i++];
            valueStart = i;
            while (i < n && text[i] != quote)
                ++i;
            valueEnd = i;
        } else {
            valueStart = i;
            while (i < n && !HasClass(text, i, kEndsUnquotedValue))
                ++i;
            valueEnd = i;
        }
        if (attribute)
            SetValue(*attribute, text.substr(valueStart, valueEnd - valueStart), borrow);
        if (i < n)
            ++i;  // the character that ended the value
        while (i < n && IsSpace(text[i]))
            ++i;
    }
}

} // namespace orvane
