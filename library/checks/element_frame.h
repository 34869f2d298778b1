#pragma once

#include "check_info.h"

namespace orvane {

// The element family of a frame.
class CElementFrame : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::string GetProblemText(std::uint32_t bit) const override;
    void SetOrdinal(int number) override { m_number = number; }
    // 1 for the page's first frame, 2 for the second, ...
    int FrameNumber() const { return m_number; }

    static constexpr std::uint32_t kTitleBit = 0x1;

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    int m_number = 0;
};

} // namespace orvane
