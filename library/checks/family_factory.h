#pragma once

#include "library/html/element_factory.h"

namespace orvane {

// Creates the element family class of each tag kind: the factory a checked
// page is parsed with.
class CFamilyElementFactory final : public IElementFactory {
public:
    CElement* Create(int kind, CElementArena* arena) const override;
    static const CFamilyElementFactory& Instance();
};

} // namespace orvane
