#pragma once

#include "check_info.h"

#include <string>

namespace orvane {

// The element family of a heading h1 to h6 (its kind tells the level).
class CElementHeader : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;

    // The heading's non-blank texts joined by blanks, cut with "..." past 125 characters.
    const std::string& HeadingText() const { return m_headingText; }

private:
    std::string m_headingText;
};

} // namespace orvane
