#pragma once

#include "check_info.h"

#include <string_view>

namespace orvane {

// The element family of a frame.
class CElementFrame : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;
    void SetOrdinal(int number) override { m_number = number; }
    // 1 for the page's first frame, 2 for the second, ...
    int FrameNumber() const { return m_number; }

    static constexpr std::uint32_t kTitleBit = 0x1;
    static constexpr std::uint32_t kLongdescBit = 0x2;
    static constexpr std::uint32_t kSourceBit = 0x4;

    // Whether a frame's src names a page rather than a picture or another
    // kind of file: by the extension after its last dot.
    static bool IsPageSource(std::string_view src);

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    int m_number = 0;
};

} // namespace orvane
