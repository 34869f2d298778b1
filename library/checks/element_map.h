#pragma once

#include "check_info.h"

namespace orvane {

// The element family of a client-side image map.
class CElementMap : public CCatalogueElement {
public:
    // Also moves the page's shared iteration past the map's areas, which have
    // no checks of their own.
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::span<const CheckInfo> CheckTable() const override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;

protected:
    // Every area of the map gets an alt attribute to fill in (a hidden one
    // where it has none), and the page is given the map and its image.
    bool PrepareRepairPage(RepairPageRequest& request) override;
};

} // namespace orvane
