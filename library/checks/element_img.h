#pragma once

#include "check_info.h"

namespace orvane {

// The element family of an image.
class CElementImg : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    std::string GetProblemText(std::uint32_t bit) const override;
    void SetEnclosingAnchor(CElement& anchor) override;
    bool IsInsideAnchor() const { return m_insideAnchor; }
    // The link the image stands in; null outside a link.
    CElement* Anchor() const { return m_anchor; }

private:
    bool m_insideAnchor = false;
    CElement* m_anchor = nullptr;
};

} // namespace orvane
