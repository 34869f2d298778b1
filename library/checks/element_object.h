#pragma once

#include "check_info.h"

namespace orvane {

// The element family of an embedded object.
class CHtmlDocument;

// Something inside the element stands in for it: an image, a text longer than
// 10 characters, or a link with an address. False without an end tag.
bool HasInnerAlternative(const CHtmlDocument& document, const CElement& element);
// The element as the page writes it, from its start tag to its end tag (its
// start tag alone without one), so the user sees what a repair is about.
std::string MarkupOfRange(const CHtmlDocument& document, const CElement& element);
// A text run right before the element's end tag, deleted (so not written)
// until a repair gives it the alternative content; null without an end tag.
CElement* InsertedBeforeEndTag(CHtmlDocument& document, const CElement& element);

class CElementObject : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;

    static constexpr std::uint32_t kAltRepBit = 0x2;
    static constexpr std::uint32_t kTitleBit = 0x4;

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    // Made once: a later repair run fills the same run again.
    CElement* m_alternative = nullptr;
};

} // namespace orvane
