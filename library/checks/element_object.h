#pragma once

#include "check_info.h"

namespace orvane {

// The element family of an embedded object.
class CHtmlDocument;

// Something inside the element stands in for it: an image, a text longer than
// 10 characters, or a link with an address. False without an end tag.
bool HasInnerAlternative(const CHtmlDocument& document, const CElement& element);

class CElementObject : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;

    static constexpr std::uint32_t kTitleBit = 0x4;

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;
};

} // namespace orvane
