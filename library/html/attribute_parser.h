#pragma once

#include <string_view>

namespace orvane {

class CAttribute;
class CElement;
class CElementArena;

// Splits the text of a tag into its attributes; the first is the element name.
class CAttributeParser {
public:
    // Parses elements of kind 0 or more with a non-empty text; attributes go in
    // the arena when the element lives there, else on the heap.
    // A name written without a value, first in the text, is not made into a
    // record: the element derives it from its text when asked (see
    // CElement::FirstAttribute), which spares a record for nearly every tag.
    void Parse(CElement& element, CElementArena* arena) const;

    // The name that starts a tag's text as Parse reads it; empty when the text
    // starts with no name or the name runs to the end of the text.
    static std::string_view LeadingName(std::string_view text);

private:
    // borrow: name and value point into the element's text instead of being copied.
    static CAttribute* NewAttribute(CElementArena* arena, std::string_view name, bool isFirst, bool borrow);
    static void SetValue(CAttribute& attribute, std::string_view value, bool borrow);
};

} // namespace orvane
