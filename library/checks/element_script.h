#pragma once

#include "check_info.h"

#include <vector>

namespace orvane {

// The element family of a script.
class CElementScript : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::string GetProblemText(std::uint32_t bit) const override;
    void AttachInner(CElement& inner) override;
    // The texts and comment pieces inside the script, in document order (not owned).
    const std::vector<CElement*>& Inner() const { return m_inner; }

    // The noscript section that serves the script, and the placeholder text found in it.
    CElement* Noscript() const { return m_noscript; }
    CElement* NoscriptPlaceholder() const { return m_placeholder; }

private:
    bool HasRealNoscript(const CHtmlDocument& document);

    std::vector<CElement*> m_inner;
    CElement* m_noscript = nullptr;
    CElement* m_placeholder = nullptr;
};

} // namespace orvane
