#pragma once

#include "check_info.h"

#include <vector>

namespace orvane {

// The element family of a script.
class CElementScript : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    std::string GetProblemText(std::uint32_t bit) const override;
    void AttachInner(CElement& inner) override;
    // The texts and comment pieces inside the script, in document order (not owned).
    const std::vector<CElement*>& Inner() const { return m_inner; }

private:
    std::vector<CElement*> m_inner;
};

} // namespace orvane
