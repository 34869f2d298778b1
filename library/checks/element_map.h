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
    std::string GetProblemText(std::uint32_t bit) const override;
};

} // namespace orvane
