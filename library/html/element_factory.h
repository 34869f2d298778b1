#pragma once

#include "element.h"
#include "element_arena.h"

#include <type_traits>

namespace orvane {

// Creates an element of class T in the arena, or on the heap when there is none.
template <class T>
T* MakeElement(CElementArena* arena)
{
    if (!arena)
        return new T();
    T* element = arena->New<T>();
    element->m_inArena = true;
    element->m_plain = std::is_same_v<T, CElement>;
    return element;
}

// Creates the element object for a kind. The document model knows only
// CElement; the check families plug their classes in through this interface,
// so the model does not depend on the checks.
class IElementFactory {
public:
    virtual ~IElementFactory() = default;
    // kind: a tag kind from 0 to 95 (the family decides the class), any other
    // kind (a plain CElement), or kind::kDocument for the document element.
    // The tokenizer makes the plain elements of a page itself.
    virtual CElement* Create(int kind, CElementArena* arena) const = 0;
};

// Makes a plain CElement for every kind.
class CPlainElementFactory final : public IElementFactory {
public:
    CElement* Create(int kind, CElementArena* arena) const override;
    static const CPlainElementFactory& Instance();
};

} // namespace orvane
