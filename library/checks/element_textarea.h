#pragma once

#include "labelled_control.h"

#include <string>
#include <string_view>

namespace orvane {

// The element family of a text area.
class CElementTextarea : public CLabelledControl {
public:
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::span<const CheckInfo> CheckTable() const override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;
    void CollectText(std::string_view trimmed) override;
    // The trimmed texts inside the element, joined by single blanks.
    const std::string& CollectedText() const { return m_collectedText; }

    // The text run a repair fills in right after the start tag; null until
    // the first repair page of the element was asked for.
    CElement* PreparedText() const { return m_preparedText; }

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    std::string m_collectedText;
    CElement* m_preparedText = nullptr;  // owned by the document
};

} // namespace orvane
