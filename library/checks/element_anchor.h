#pragma once

#include "check_info.h"

#include <vector>

namespace orvane {

// The element family of a link (a).
class CElementAnchor : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    std::string GetProblemText(std::uint32_t bit) const override;
    // What the link shows: its texts, and for each image with a source the
    // image text (string 441) naming it; trimmed.
    std::string LinkText() const;
    void AttachInner(CElement& inner) override;
    // The texts and images inside the link, in document order (not owned).
    const std::vector<CElement*>& Inner() const { return m_inner; }

private:
    std::vector<CElement*> m_inner;
};

} // namespace orvane
