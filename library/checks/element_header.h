#pragma once

#include "check_info.h"

namespace orvane {

// The element family of a heading h1 to h6 (its kind tells the level).
class CElementHeader : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
};

} // namespace orvane
