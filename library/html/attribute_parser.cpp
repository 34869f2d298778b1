#include "attribute_parser.h"

#include "element.h"
#include "element_arena.h"
#include "text_util.h"

namespace orvane {
namespace {

bool EndsName(std::string_view text, std::size_t i)
{
    char c = text[i];
    return c == ' ' || c == '\t' || c == '=' || c == '>' || IsLineBreakAt(text, i);
}

bool IsGap(std::string_view text, std::size_t i)
{
    char c = text[i];
    return c == ' ' || c == '\t' || IsLineBreakAt(text, i);
}

bool EndsUnquotedValue(std::string_view text, std::size_t i)
{
    char c = text[i];
    return c == ' ' || c == '>' || IsLineBreakAt(text, i);
}

} // namespace

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

    CAttribute* tail = nullptr;
    auto append = [&](std::string_view name, bool isFirst) -> CAttribute* {
        CAttribute* attribute = arena ? arena->New<CAttribute>() : new CAttribute();
        attribute->m_inArena = arena != nullptr;
        if (borrow)
            attribute->BorrowName(name, isFirst);
        else
            attribute->NameByText(name, isFirst);
        attribute->m_hideable = false;
        if (tail)
            tail->m_next = attribute;
        else
            element.m_firstAttribute = attribute;
        tail = attribute;
        return attribute;
    };

    std::size_t i = 0;
    while (i < n && (text[i] == '<' || text[i] == ' '))
        ++i;
    bool first = true;
    while (i < n) {
        std::size_t nameStart = i;
        while (i < n && !EndsName(text, i))
            ++i;
        if (i >= n)
            return;  // a name still open at the end of the text is dropped
        CAttribute* attribute = nullptr;
        if (i > nameStart) {
            attribute = append(text.substr(nameStart, i - nameStart), first);
            first = false;
        }
        if (text[i] == '>') {
            ++i;
            continue;
        }
        while (i < n && IsGap(text, i))
            ++i;
        if (i >= n || text[i] != '=')
            continue;  // no value: the next name starts here
        while (i < n && (text[i] == '=' || IsGap(text, i)))
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
            while (i < n && !EndsUnquotedValue(text, i))
                ++i;
            valueEnd = i;
        }
        if (attribute) {
            std::string_view value = text.substr(valueStart, valueEnd - valueStart);
            if (borrow)
                attribute->BorrowValue(value);
            else
                attribute->SetValue(value);
        }
        if (i < n)
            ++i;  // the character that ended the value
        while (i < n && IsSpace(text[i]))
            ++i;
    }
}

} // namespace orvane
