#pragma once

#include "check_info.h"

namespace orvane {

// The element family of a frameset.
class CElementFrameset : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;
    void SetOrdinal(int number) override { m_number = number; }
    // 1 for the page's first frameset, 2 for the second, ...
    int FramesetNumber() const { return m_number; }

    // The noframes section holds only a placeholder sentence.
    bool NoframesIsPlaceholder() const { return m_noframesPlaceholder; }

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    bool MissesRealNoframes(const CHtmlDocument& document);

    int m_number = 0;
    bool m_noframesPlaceholder = false;
    // The default section the repair puts before the end tag, deleted until it does.
    CElement* m_preparedNoframes = nullptr;
};

} // namespace orvane
