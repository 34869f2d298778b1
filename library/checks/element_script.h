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
    // Whether the element readied for the repair page lies inside the
    // noscript found (which then needs only content), or stands alone (and
    // writes a noscript section of its own).
    bool PreparedInsideNoscript() const { return m_preparedInside; }

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    bool HasRealNoscript(const CHtmlDocument& document);
    // Where a noscript section of the script's own goes: right after the
    // script in the body; for a script in the head, at the start of the body,
    // where a noscript section may stand, unless another script comes first.
    const CElement* PlaceForNoscript(const CHtmlDocument& document) const;

    std::vector<CElement*> m_inner;
    CElement* m_noscript = nullptr;
    CElement* m_placeholder = nullptr;
    CElement* m_prepared = nullptr;
    CElement* m_preparedPlaceholder = nullptr;
    bool m_preparedInside = false;
};

} // namespace orvane
