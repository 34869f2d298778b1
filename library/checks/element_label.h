#pragma once

#include "check_info.h"

namespace orvane {

// The element family of a label (and head, which shares its kind).
class CElementLabel : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
};

} // namespace orvane
