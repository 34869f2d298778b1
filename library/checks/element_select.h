#pragma once

#include "check_info.h"
#include "label_repair.h"

#include <string>

namespace orvane {

// The element family of a selection list.
class CElementSelect : public CCatalogueElement {
public:
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::span<const CheckInfo> CheckTable() const override;
    std::string GetProblemText(std::uint32_t bit) const override;

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    CLabelRepairElements m_labelRepair;
    // The id aria-labelledby names in vain, when the last check found one.
    std::string m_missingReference;
};

} // namespace orvane
