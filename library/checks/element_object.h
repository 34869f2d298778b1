#pragma once

#include "check_info.h"

namespace orvane {

// The element family of an embedded object.
class CElementObject : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
};

} // namespace orvane
