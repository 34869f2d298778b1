#pragma once

namespace orvane {

class CElement;
class CElementArena;

// Splits the text of a tag into its attributes; the first is the element name.
class CAttributeParser {
public:
    // Parses elements of kind 0 or more with a non-empty text; attributes go in
    // the arena when the element lives there, else on the heap.
    void Parse(CElement& element, CElementArena* arena) const;
};

} // namespace orvane
