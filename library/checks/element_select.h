#pragma once

#include "labelled_control.h"

#include <string>

namespace orvane {

// The element family of a selection list.
class CElementSelect : public CLabelledControl {
public:
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::span<const CheckInfo> CheckTable() const override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;
};

} // namespace orvane
