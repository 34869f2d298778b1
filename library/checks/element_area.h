#pragma once

#include "check_info.h"

namespace orvane {

// The element family of an image map area.
class CElementArea : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    // The alt attribute a page of its map fills in, made hidden when missing;
    // null when it cannot be added.
    CAttribute* AltToRepair();
};

} // namespace orvane
