#pragma once

#include "check_info.h"

#include <cstdint>
#include <string>

namespace orvane {

// The element family of an image.
class CElementImg : public CCatalogueElement {
public:
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::span<const CheckInfo> CheckTable() const override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;
    bool PrepareRepairPage(RepairPageRequest& request) override;
    void SetEnclosingAnchor(CElement& anchor) override;
    bool IsInsideAnchor() const { return m_insideAnchor; }
    // The link the image stands in; null outside a link.
    CElement* Anchor() const { return m_anchor; }

    // What the last check read of the width and height attributes; -1 until
    // an attribute was read.
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Whether the image needs a long description: so unless the user decided
    // otherwise for this image file earlier (the object registry keeps that).
    bool NeedsLongDesc() const { return m_needsLongDesc; }
    void SetNeedsLongDesc(bool needs) { m_needsLongDesc = needs; }
    // The "d" link a repair puts after the image (after the link the image
    // stands in, as links do not nest); null until a long description page
    // asked for it, and when the image has a "d" link already.
    CElement* PreparedDLink() const { return m_dLink; }

private:
    // The "d" link, made once; null when the image is followed by one already.
    CElement* DLinkToRepair(CHtmlDocument& document, bool unlessPresent);
    const CElement* AfterEveryLinkAround(const CHtmlDocument& document) const;

    int m_width = -1;
    int m_height = -1;
    bool m_needsLongDesc = true;
    bool m_insideAnchor = false;
    CElement* m_anchor = nullptr;
    CElement* m_dLink = nullptr;  // owned by the document
    bool m_dLinkLookedFor = false;
    // The id aria-labelledby names in vain, when the last check found one.
    std::string m_missingReference;
};

} // namespace orvane
