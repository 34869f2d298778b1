#pragma once

#include "check_info.h"

#include <string>
#include <string_view>

namespace orvane {

// The element family of blinking or scrolling text (blink, marquee).
class CElementBlink : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    void CollectText(std::string_view trimmed) override;
    // The trimmed texts inside the element, joined by single blanks.
    const std::string& CollectedText() const { return m_collectedText; }

protected:
    // Readies the tag that may take the element's place: a start tag right
    // after it and, when the element is closed, an end tag right before its
    // end tag, partners of each other and deleted until a repair uses them.
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    std::string m_collectedText;
    CElement* m_replacement = nullptr;
};

} // namespace orvane
