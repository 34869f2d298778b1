#pragma once

#include "check_info.h"

#include <string>
#include <string_view>

namespace orvane {

// Where a refresh leads: what follows "URL=" (in any case) in its content,
// up to the first blank, without quotes around it; empty when it names none.
std::string RefreshTarget(std::string_view content);

// The element family of a meta element.
class CElementMeta : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;

    static constexpr std::uint32_t kRefreshBit = 0x1;
    static constexpr std::uint32_t kRedirectBit = 0x2;

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    // The paragraph with a link to the target, deleted until a repair writes it.
    CElement* m_preparedLink = nullptr;
};

} // namespace orvane
