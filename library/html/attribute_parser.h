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
    void Parse(CElement& element, CElementArena* arena) const;

private:
    // borrow: name and value point into the element's text instead of being copied.
    static CAttribute* NewAttribute(CElementArena* arena, std::string_view name, bool isFirst, bool borrow);
    static void SetValue(CAttribute& attribute, std::string_view value, bool borrow);
};

} // namespace orvane
