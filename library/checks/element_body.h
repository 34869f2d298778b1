#pragma once

#include "check_info.h"

namespace orvane {

// The element family of the page body.
class CElementBody : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
};

} // namespace orvane
