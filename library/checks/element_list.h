#pragma once

#include "check_info.h"

#include <string>

namespace orvane {

// The element family of a list (dl, ol, ul).
class CElementList : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;

    // Found by the check: the markup inside the list, up to 40 characters of
    // its text, and its first item (li or dt).
    const std::string& ListMarkup() const { return m_markup; }
    const std::string& PreviewText() const { return m_preview; }
    CElement* FirstItem() const { return m_firstItem; }
    void SetOrdinal(int number) override { m_number = number; }
    // 1 for the page's first list, 2 for the second, ...
    int ListNumber() const { return m_number; }

private:
    int m_number = 0;
    std::string m_markup;
    std::string m_preview;
    CElement* m_firstItem = nullptr;
};

} // namespace orvane
