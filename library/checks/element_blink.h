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

private:
    std::string m_collectedText;
};

} // namespace orvane
