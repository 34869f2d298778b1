#pragma once

#include "check_info.h"

#include <vector>

namespace orvane {

// The element family of a style sheet.
class CElementStyle : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    void AttachInner(CElement& inner) override;
    // A style sheet that sets colours.
    bool UsesColour() const override;
    // The texts inside the style sheet, in document order (not owned).
    const std::vector<CElement*>& Inner() const { return m_inner; }

private:
    std::vector<CElement*> m_inner;
};

} // namespace orvane
