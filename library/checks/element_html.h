#pragma once

#include "check_info.h"

namespace orvane {

// The element family of the html element.
class CElementHtml : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    bool PrepareQuoteTags(CHtmlDocument& document);
};

} // namespace orvane
